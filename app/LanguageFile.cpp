#include "app/LanguageFile.h"

#include "platform/core/CodePages.h"

#include <utility>

std::array<WideString, HintCount> HintTexts;
WideString MessCopyTxtCap;
WideString MessCopyTxt1;
WideString MessCopyTxt2;
WideString MessExportCap;
WideString MessExport1;
WideString MessExport2;

namespace {

struct THintKey {
    const char* Key;
    Integer Entry;
    const char16_t* English;
};

// The English texts are those of "English.lng", which is not read at start.
const THintKey hintKeys[] = {
    {"hOpenDatabase", 1, u"Open a script database"},
    {"hExport", 2, u"Export the page and its files"},
    {"hPreview", 3, u"Preview the page"},
    {"hEdit", 4, u"Show the source code"},
    {"hHtml", 5, u"Show the summary HTML code"},
    {"hSettings", 6, u"Settings"},
    {"hDescription", 7, u"Show or hide the description"},
    {"hWordWrap", 8, u"Word wrap on or off"},
    {"hHelp", 9, u"Help"},
    {"hHighlight", 10, u"Highlight JavaScript or HTML"},
    {"hPreviewIE", 11, u"Show the page in the default browser"},
    {"hPreviewOpera", 12, u"Show the page in Opera"},
    {"hPreviewFireFox", 13, u"Show the page in FireFox"},
    {"hGoBack", 14, u"Back"},
    {"hGoForward", 15, u"Forward"},
    {"hReloadPage", 16, u"Reload the page"},
    {"hReloadScript", 17, u"Reload the script"},
    {"hCopyToClipbrd", 18, u"Copy the code to the clipboard"},
    {"hColorChooser", 19, u"Color Chooser"},
    {"hColorToClipBoard", 20, u"Click to copy the color to the clipboard"},
    {"hClickOnPalette", 21, u"Click on the palette to take its color"},
    {"hZoom", 22, u"Magnifier: take a color from anywhere on the screen"},
};

struct TMessageKey {
    const char* Key;
    WideString* Text;
    const char16_t* English;
};

const TMessageKey messageKeys[] = {
    {"MessCopyTxtCap", &MessCopyTxtCap, u"Copy text"},
    {"MessCopyTxt1", &MessCopyTxt1, u"The text is copied in clipboard. Add the code to the"},
    {"MessCopyTxt2", &MessCopyTxt2, u"section in your html-document."},
    {"MessExportCap", &MessExportCap, u"Export"},
    {"MessExport1", &MessExport1, u"Following files: "},
    {"MessExport2", &MessExport2, u"also exported in: "},
};

// The texts are in force from the program's start.
const bool startValuesSet = (ResetLanguageTexts(), true);

} // namespace

TLanguageEntry SplitLanguageLine(const WideString& Line) {
    const std::size_t equals = Line.find(u'=');
    if (equals == WideString::npos) return {};
    return {WideToAnsi(Line.substr(0, equals)), Line.substr(equals + 1)};
}

bool ApplyLanguageText(const TLanguageEntry& Entry) {
    for (const THintKey& hint : hintKeys)
        if (Entry.Key == hint.Key) {
            HintTexts[hint.Entry] = Entry.Value;
            return true;
        }
    for (const TMessageKey& message : messageKeys)
        if (Entry.Key == message.Key) {
            *message.Text = Entry.Value;
            return true;
        }
    return false;
}

void ResetLanguageTexts() {
    HintTexts = {};
    for (const THintKey& hint : hintKeys)
        HintTexts[hint.Entry] = hint.English;
    for (const TMessageKey& message : messageKeys)
        *message.Text = message.English;
}
