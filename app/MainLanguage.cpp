// The main window's texts from a language file: the choice on the settings
// page, the translation of every caption the file names, and the hints in
// the status bar.
#include "app/Main.h"

#include "app/LanguageFile.h"
#include "app/Settings.h"
#include "platform/core/CodePages.h"
#include "platform/core/IniFiles.h"
#include "platform/core/SysUtils.h"
#include "platform/vcl/FileCtrl.h"
#include "platform/vcl/TypInfo.h"
#include "unicode/TntClasses.h"
#include "unicode/TntComCtrls.h"
#include "unicode/TntControls.h"
#include "unicode/TntMenus.h"
#include "unicode/TntStdCtrls.h"

namespace {

constexpr const char* EnglishLanguageFile = "English.lng";
// The hint panel is the status bar's last one.
constexpr Integer HintPanel = 3;

struct TMenuKey {
    const char* Key;
    TTntMenuItem* TMainForm::*Item;
};

const TMenuKey menuKeys[] = {
    {"mFile", &TMainForm::MenuFile},
    {"mOpen", &TMainForm::MenuOpen},
    {"mExport", &TMainForm::MenuExport},
    {"mExit", &TMainForm::MenuExit},
    {"mView", &TMainForm::MenuView},
    {"mSource", &TMainForm::MenuSource},
    {"mSummary", &TMainForm::MenuSummary},
    {"mPreview", &TMainForm::MenuPreview},
    {"mDescription", &TMainForm::MenuInfoPanel},
    {"mSettings", &TMainForm::MenuSettings},
    {"mHelp", &TMainForm::MenuHelp},
    {"mContents", &TMainForm::MenuContents},
    {"mHomePage", &TMainForm::MenuHomePage},
    {"mAbout", &TMainForm::MenuAbout},
    {"mColorChooser", &TMainForm::MenuColorChooser},
};

// Unicode controls take the value as it stands; the framework's own controls
// take it in the ANSI code page.
enum class TTextKind { Wide, Ansi };

struct TCaptionKey {
    const char* Key;
    const char* Control;
    TTextKind Kind;
};

// Looked up by name: several of these belong to other parts of the window.
const TCaptionKey captionKeys[] = {
    {"lLanguage", "LangBox", TTextKind::Wide},
    {"lHighlight", "HighlightBox", TTextKind::Ansi},
    {"lShowExp", "ShowExportCheckBox", TTextKind::Wide},
    {"lAuthor", "AuthorLabel", TTextKind::Wide},
    {"lPreview", "TabSheet1", TTextKind::Wide},
    {"lSource_code", "TabSheet2", TTextKind::Wide},
    {"lSummary_HTML", "TabSheet3", TTextKind::Wide},
    {"lColor", "ColorTabSheet", TTextKind::Wide},
    {"lSettings", "TabSheet4", TTextKind::Wide},
    {"lFiles", "FilesLabel", TTextKind::Wide},
    {"lDescription", "DescriptLabel", TTextKind::Wide},
    {"lDataBases", "DataBasesLabel", TTextKind::Ansi},
    {"lSaturate", "SaturateLabel", TTextKind::Wide},
    {"lBright", "BrightLabel", TTextKind::Wide},
    {"lPalette1", "Palette1GroupBox", TTextKind::Ansi},
    {"lPalette2", "Palette2GroupBox", TTextKind::Ansi},
    {"lColorPalette", "ColorPalGroup", TTextKind::Wide},
    {"lInputColor", "InputColorLabel", TTextKind::Wide},
    {"lInputColor", "ColorBaseGroup", TTextKind::Ansi},
    {"lColorClipboard", "ClipbrdLabel", TTextKind::Wide},
    {"lZoom", "ZoomGroupBox", TTextKind::Wide},
    {"lZoomCapture", "ZoomAutoChkBox", TTextKind::Ansi},
    {"lColorScheme", "ColorShemeRdoGr", TTextKind::Ansi},
    {"lOffset", "OffsetLabel", TTextKind::Wide},
    {"lWizard", "WizGroupBox", TTextKind::Ansi},
    {"lOutputColor", "ColPalRdoGr", TTextKind::Ansi},
    {"lMainColor", "MainColorGrBox", TTextKind::Wide},
    {"lEmptyWiz", "WizLabel", TTextKind::Wide},
    {"lApplyWiz", "WizApplytBtn", TTextKind::Wide},
    {"lPrevWiz", "PrevWizPanel", TTextKind::Wide},
};

AnsiString languageFilePath(const AnsiString& Name) {
    return AppDir + "/Lang/" + Name;
}

void setCaption(TControl* Control, TTextKind Kind, const WideString& Value) {
    if (Kind == TTextKind::Wide)
        TntControl_SetText(Control, Value);
    else
        Control->SetText(WideToAnsi(Value));
}

} // namespace

void TMainForm::SelectLang(TObject*) {
    for (Integer i = 0; i < LangListBox->Items()->Count(); ++i)
        if (LangListBox->Selected(i)) LangFile = LangListBox->Items()->Strings(i);
    {
        TIniFile ini(SettingsFileName());
        ini.WriteString(settings::FormSection, "LangFile", LangFile);
    }
    loadLanguageFile();
}

// A stale name (a file since removed) changes nothing.
void TMainForm::loadLanguageFile() {
    const AnsiString path = languageFilePath(LangFile);
    if (!FileExists(path)) return;
    TntMemo1->Lines()->LoadFromFile(AnsiToWide(path));
    Translate(this);
}

// The form's texts are the English ones: only another language is read at start.
void TMainForm::applyStoredLanguage() {
    if (LangFile != EnglishLanguageFile) loadLanguageFile();
}

void TMainForm::Translate(TObject*) {
    TTntStrings* lines = TntMemo1->Lines();
    for (Integer i = 0; i < lines->Count(); ++i) {
        const TLanguageEntry entry = SplitLanguageLine(lines->Strings(i));
        if (entry.Key.empty()) continue;
        translateEntry(entry);
    }
}

void TMainForm::translateEntry(const TLanguageEntry& Entry) {
    for (const TMenuKey& menu : menuKeys)
        if (Entry.Key == menu.Key) (this->*menu.Item)->SetCaption(Entry.Value);
    for (const TCaptionKey& caption : captionKeys)
        if (Entry.Key == caption.Key)
            if (auto* control = dynamic_cast<TControl*>(FindComponent(caption.Control)))
                setCaption(control, caption.Kind, Entry.Value);
    ApplyLanguageText(Entry);
}

void TMainForm::HintMouseMove(TObject* Sender, TShiftState, Integer, Integer) {
    const Integer tag = static_cast<TComponent*>(Sender)->Tag();
    if (tag < 0 || tag >= HintCount) return;
    StatusBar->GetPanels()->GetItem(HintPanel)->SetText(HintTexts[tag]);
}

void TMainForm::DescribeLanguage(TClassBuilder<TMainForm>& Builder) {
    Builder.Method("SelectLang", &TMainForm::SelectLang);
    Builder.Method("Translate", &TMainForm::Translate);
}
