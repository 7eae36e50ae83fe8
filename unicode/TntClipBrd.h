// UTF-16 text on the clipboard: the class library's clipboard object with a
// wide text property beside its ANSI one.
#pragma once

#include "platform/vcl/Clipbrd.h"

class TTntClipboard : public TClipboard {
public:
    // The clipboard's UTF-16 text; the ANSI text widened when there is none.
    WideString GetAsWideText();
    // Places Value as ANSI text (CF_TEXT) first, then exactly as CF_UNICODETEXT.
    void SetAsWideText(const WideString& Value);
    WideString AsWideText() { return GetAsWideText(); }
};

// The program's wide clipboard object, made on first use.
TTntClipboard* TntClipboard();
