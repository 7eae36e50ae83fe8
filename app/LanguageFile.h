// Language files: one "key=value" line per user-interface text, read whole by
// the wide string list (its byte-order mark picks the encoding) and applied
// line by line in file order, so that a later line for the same key wins.
// The hint table and the message texts live here; the window's own texts are
// set by the main window (MainLanguage.cpp).
#pragma once

#include "platform/core/Types.h"

#include <array>

class TWideStrings;

struct TLanguageEntry {
    // The characters before the line's first "=", as 8 bits; empty when the
    // line has no "=".
    AnsiString Key;
    // Everything after that "=", as it stands.
    WideString Value;
};

TLanguageEntry SplitLanguageLine(const WideString& Line);

// Every control's Tag picks its hint: entries 1 to 22 come from the language
// file, 0 and 23 to 30 stay empty.
inline constexpr Integer HintCount = 31;
extern std::array<WideString, HintCount> HintTexts;

// The captions and texts of the two message boxes of the copy and the export.
extern WideString MessCopyTxtCap;
extern WideString MessCopyTxt1;
extern WideString MessCopyTxt2;
extern WideString MessExportCap;
extern WideString MessExport1;
extern WideString MessExport2;

// Sets the hint or message text the entry names; false for any other key.
bool ApplyLanguageText(const TLanguageEntry& Entry);

// Back to the English start values (the program's start and the tests).
void ResetLanguageTexts();
