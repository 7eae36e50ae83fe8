// The settings page and the tool bar's editor and browser switches: colours
// of the highlighting and the editors, word wrap, the highlighter, the
// information strip, the two browser programs, and what the embedded browser
// reports. Every change is written to the settings file at once.
#include "app/Main.h"

#include "app/Settings.h"
#include "app/TempFiles.h"
#include "editor/SynEdit.h"
#include "highlighters/SynHighlighterHtml.h"
#include "highlighters/SynHighlighterJScript.h"
#include "platform/core/IniFiles.h"
#include "platform/vcl/ComCtrls.h"
#include "platform/vcl/RichEdits.h"
#include "platform/vcl/StdCtrls.h"
#include "platform/vcl/ToolBars.h"
#include "platform/vcl/TypInfo.h"
#include "platform/win/Shell.h"
#include "rx/RxCombos.h"
#include "rx/ToolEdit.h"
#include "unicode/TntComCtrls.h"
#include "unicode/TntExtCtrls.h"
#include "unicode/TntMenus.h"
#include "unicode/TntStdCtrls.h"

#include <vector>

using namespace settings;

namespace {

// Colours are kept as the signed decimal of their 32-bit value, which the
// start-up reader takes back (system colours are negative).
void writeColor(TIniFile& Ini, const char* Key, TColor Color) {
    Ini.WriteInteger(ColorSection, Key, static_cast<Integer>(Color));
}

AnsiString previewPage() {
    return TempDir + PreviewPageFile;
}

// The keys each colour box writes; none for any other control.
std::vector<const char*> colorKeysOf(const TMainForm& Form, const TColorComboBox* Box) {
    if (!Box) return {};
    if (Box == Form.EventColorComboBox) return {"Event"};
    if (Box == Form.IdentColorComboBox) return {"Identifier", "Identifier_H"};
    if (Box == Form.KeyColorComboBox) return {"Key"};
    if (Box == Form.NonResColorComboBox) return {"NonReserved"};
    if (Box == Form.NumberColorComboBox) return {"Number"};
    if (Box == Form.StringColorComboBox) return {"String"};
    // Written twice, as the settings page always has.
    if (Box == Form.SymbolColorComboBox) return {"Symbol", "Symbol"};
    if (Box == Form.BackColorComboBox) return {"Back"};
    return {};
}

void recolor(TMainForm& Form, const TColorComboBox* Box, TColor Color) {
    TSynJScriptSyn& js = *Form.JScriptSyn;
    TSynHTMLSyn& html = *Form.SynHTMLSyn;
    if (Box == Form.EventColorComboBox) js.EventAttri()->SetForeground(Color);
    if (Box == Form.IdentColorComboBox) {
        js.IdentifierAttri()->SetForeground(Color);
        html.IdentifierAttri()->SetForeground(Color);
    }
    if (Box == Form.KeyColorComboBox) {
        js.KeyAttri()->SetForeground(Color);
        html.KeyAttri()->SetForeground(Color);
    }
    if (Box == Form.NonResColorComboBox) js.NonReservedKeyAttri()->SetForeground(Color);
    if (Box == Form.NumberColorComboBox) js.NumberAttri()->SetForeground(Color);
    if (Box == Form.StringColorComboBox) js.StringAttri()->SetForeground(Color);
    if (Box == Form.SymbolColorComboBox) {
        js.SymbolAttri()->SetForeground(Color);
        html.SymbolAttri()->SetForeground(Color);
    }
    if (Box == Form.BackColorComboBox)
        for (TSynEdit* editor :
             {Form.SettEdit, Form.SummaryEdit, Form.HeadEdit, Form.BodyEdit, Form.Body_Edit})
            editor->SetColor(Color);
}

// A program takes a path with blanks as one argument only when it is quoted.
AnsiString asArgument(const AnsiString& Path) {
    return Path.find(' ') == AnsiString::npos ? Path : "\"" + Path + "\"";
}

} // namespace

// The box acted on is the one with the focus: a box changed while another
// control holds it writes nothing.
void TMainForm::ColorComboBoxChange(TObject*) {
    auto* box = dynamic_cast<TColorComboBox*>(ActiveControl());
    const std::vector<const char*> keys = colorKeysOf(*this, box);
    if (keys.empty()) return;
    const TColor color = box->ColorValue();
    {
        TIniFile ini(SettingsFileName());
        for (const char* key : keys)
            writeColor(ini, key, color);
    }
    recolor(*this, box, color);
}

// A check button's handler sees the state from before the click and turns
// the button over itself.
void TMainForm::WrapButtonClick(TObject*) {
    const bool wrapOn = !WrapButton->Down();
    for (TSynEdit* editor : {SummaryEdit, SettEdit, HeadEdit, Body_Edit, BodyEdit})
        editor->SetWordWrap(wrapOn);
    Wrap = wrapOn;
    TIniFile(SettingsFileName()).WriteBool(FormSection, "Wrap", Wrap);
    WrapButton->SetImageIndex(wrapOn ? WrapOnImage : WrapOffImage);
    WrapButton->SetDown(!WrapButton->Down());
}

// Body_Edit holds only the BODY tag's attributes and keeps its highlighter.
void TMainForm::HigLightBtnClick(TObject*) {
    const bool javaScript = !HigLightBtn->Down();
    setHighlighter(javaScript);
    TIniFile(SettingsFileName()).WriteBool(FormSection, "Highlight", javaScript);
    HigLightBtn->SetDown(!HigLightBtn->Down());
}

// The choice is kept; the export does not consult it.
void TMainForm::ShowExportCheckBox1Click(TObject*) {
    ShowExport = ShowExportCheckBox->Checked();
    TIniFile(SettingsFileName()).WriteBool(FormSection, "ShowExport", ShowExport);
}

void TMainForm::MenuInfoPanel1Click(TObject*) {
    const bool shown = MenuInfoPanel->Checked();
    Panel3->SetHeight(Panel3->Height() + (shown ? InfoStripGrowth : -InfoStripGrowth));
    MenuInfoPanel->SetChecked(!shown);
    InfoButton->SetDown(!shown);
    for (TControl* text : {static_cast<TControl*>(InfoEdit), static_cast<TControl*>(RemarksEdit),
                           static_cast<TControl*>(FilesMemo)})
        text->SetVisible(!shown);
    InfoPanel = MenuInfoPanel->Checked();
    TIniFile(SettingsFileName()).WriteBool(FormSection, "InfoPanel", InfoPanel);
}

// ---- External browsers ----

// Nothing is reported when no browser takes the page.
void TMainForm::ViewDefBrowBtnClick(TObject*) {
    ShellExecuteA(Handle(), "open", previewPage().c_str(), nullptr, nullptr, SW_SHOW);
}

void TMainForm::OperaBtnClick(TObject*) {
    startBrowserProgram(OperaEdit);
}

void TMainForm::FireFoxBtnClick(TObject*) {
    startBrowserProgram(FireFoxEdit);
}

// A program that cannot be started fails silently.
void TMainForm::startBrowserProgram(TFilenameEdit* Edit) {
    ShellExecuteA(Handle(), nullptr, Edit->FileName().c_str(), asArgument(previewPage()).c_str(), nullptr,
                  SW_SHOWNORMAL);
}

void TMainForm::OperaEditChange(TObject*) {
    writeBrowserProgram(OperaEdit, "Opera");
}

void TMainForm::FireFoxEditChange(TObject*) {
    writeBrowserProgram(FireFoxEdit, "FireFox");
}

// The edit shows the program alone; when that changes its text, the change
// runs this once more, nested, and writes the same name.
void TMainForm::writeBrowserProgram(TFilenameEdit* Edit, const char* Key) {
    const AnsiString program = Edit->FileName();
    Edit->SetText(program);
    TIniFile(SettingsFileName()).WriteString(PathSection, Key, program);
}

// ---- What the embedded browser reports ----

// The window's timer keeps its once-a-second tick, which asks nothing of the window.
void TMainForm::Timer1Timer(TObject*) {}

void TMainForm::CppWebBrowser1ProgressChange(TObject*, Integer Progress, Integer ProgressMax) {
    StatusProgress->SetVisible(true);
    StatusProgress->SetMax(ProgressMax);
    StatusProgress->SetPosition(Progress);
}

void TMainForm::CppWebBrowser1StatusTextChange(TObject*, const WideString& Text) {
    BrowsStatusBar->SetSimpleText(Text);
}

void TMainForm::CppWebBrowser1TitleChange(TObject*, const WideString& Text) {
    CaptionPanel->SetCaption(Text);
}

void TMainForm::DescribeSettings(TClassBuilder<TMainForm>& Builder) {
    Builder.Method("ColorComboBoxChange", &TMainForm::ColorComboBoxChange);
    Builder.Method("WrapButtonClick", &TMainForm::WrapButtonClick);
    Builder.Method("HigLightBtnClick", &TMainForm::HigLightBtnClick);
    Builder.Method("ShowExportCheckBox1Click", &TMainForm::ShowExportCheckBox1Click);
    Builder.Method("MenuInfoPanel1Click", &TMainForm::MenuInfoPanel1Click);
    Builder.Method("ViewDefBrowBtnClick", &TMainForm::ViewDefBrowBtnClick);
    Builder.Method("OperaBtnClick", &TMainForm::OperaBtnClick);
    Builder.Method("FireFoxBtnClick", &TMainForm::FireFoxBtnClick);
    Builder.Method("OperaEditChange", &TMainForm::OperaEditChange);
    Builder.Method("FireFoxEditChange", &TMainForm::FireFoxEditChange);
    Builder.Method("Timer1Timer", &TMainForm::Timer1Timer);
    Builder.Method("CppWebBrowser1ProgressChange", &TMainForm::CppWebBrowser1ProgressChange);
    Builder.Method("CppWebBrowser1StatusTextChange", &TMainForm::CppWebBrowser1StatusTextChange);
    Builder.Method("CppWebBrowser1TitleChange", &TMainForm::CppWebBrowser1TitleChange);
}
