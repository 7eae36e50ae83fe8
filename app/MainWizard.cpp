// The parameter wizard of the main window: the rows of input controls that a
// script's definition lines ask for, the substitution of their values into
// the three source editors, and file row 1's copy in the temporary folder.
#include "app/Main.h"

#include "app/BareNames.h"
#include "app/TempFiles.h"
#include "app/WizardDefinitions.h"
#include "colour/ColorConvert.h"
#include "components/ColorPickerButton.h"
#include "editor/SynEdit.h"
#include "gl/glGrBox.h"
#include "platform/core/Classes.h"
#include "platform/core/CodePages.h"
#include "platform/core/FileUtils.h"
#include "platform/core/SysUtils.h"
#include "platform/vcl/RichEdits.h"
#include "platform/vcl/TypInfo.h"
#include "rx/RXSpin.h"
#include "rx/ToolEdit.h"
#include "unicode/TntComCtrls.h"
#include "unicode/TntExtCtrls.h"
#include "unicode/TntStdCtrls.h"

#include <array>
#include <utility>
#include <vector>

namespace {

struct RowControls {
    const char* panel;
    const char* value;
    const char* label;
    Integer count;
};

// By TWizardKind.
constexpr std::array<RowControls, 4> rowControls = {{{"WizEditPanel", "WTextEdit", "WTextLabel", 6},
                                                     {"WizColorPanel", "WColorEdit", "WColorLabel", 7},
                                                     {"WizIntPanel", "WIntEdit", "WIntLabel", 6},
                                                     {"WizFilePanel", "WFilenameEdit", "WFileLabel", 6}}};

const RowControls& controlsOf(TWizardKind Kind) {
    return rowControls[static_cast<std::size_t>(Kind)];
}

// Holds a flag up for its own lifetime.
class RaisedFlag {
public:
    explicit RaisedFlag(bool& Flag) : flag_(Flag) { flag_ = true; }
    ~RaisedFlag() { flag_ = false; }
    RaisedFlag(const RaisedFlag&) = delete;
    RaisedFlag& operator=(const RaisedFlag&) = delete;

private:
    bool& flag_;
};

// The containers of the rows as they stack in the scroll box, each with its rows' panels.
constexpr std::array<std::pair<const char*, TWizardKind>, 4> rowContainers = {
    {{"WizColorRows", TWizardKind::Colour},
     {"WizTextRows", TWizardKind::Text},
     {"WizIntRows", TWizardKind::Number},
     {"WizFileRows", TWizardKind::File}}};

// Each control of `Controls` placed above the next, `Parent`'s alignment held
// until all stand so: the alignment then stacks them in this order.
void stackInOrder(TWinControl* Parent, const std::vector<TControl*>& Controls) {
    Parent->DisableAlign();
    try {
        Integer top = 0;
        for (TControl* control : Controls)
            control->SetTop(top++);
    } catch (...) {
        Parent->EnableAlign();
        throw;
    }
    Parent->EnableAlign();
}

constexpr Integer ColourRows = 7;
constexpr Integer WizardPageIndex = 2;
constexpr Integer ChosenFileRow = 1;

} // namespace

TComponent* TMainForm::WizardControl(const AnsiString& Prefix, Integer Row) const {
    return FindComponent(Prefix + IntToStr(Row));
}

// ---- Building and applying ----------------------------------------------------------------

void TMainForm::WizardAction(TObject*) {
    hideWizardRows();
    // A picker that changes here writes its edit; the rows in use are written again below.
    for (Integer row = 1; row <= ColourRows; ++row)
        static_cast<TColorPickerButton*>(WizardControl("WColorBtn", row))->SetSelectionColor(clBtnFace);
    substituteWizardLines(true);
    stackWizardRows();
    // The window lays out the rows just shown.
    SetWidth(Width() + 1);
    SetWidth(Width() - 1);
}

void TMainForm::WizardPrevAction(TObject*) {
    HeadEdit->SynSetText(TmpHeadEdit->Text());
    Body_Edit->SynSetText(TmpBody_Edit->Text());
    BodyEdit->SynSetText(TmpBodyEdit->Text());
    substituteWizardLines(false);
    PageBrowse(this);
}

// Each line in order substitutes its row's value; with ShowRows the row is
// shown first, holding the line's default, label and filter.
void TMainForm::substituteWizardLines(bool ShowRows) {
    for (Integer i = 0; i < WizardLines->Count(); ++i) {
        const AnsiString line = (*WizardLines)[i];
        WizFindText = line.substr(0, WizardKeyLength);
        const std::optional<TWizardDefinition> definition = ParseWizardLine(line);
        if (!definition) continue;
        if (ShowRows) showWizardRow(*definition);
        WizReplaceText = wizardValue(*definition);
        ReplaceDialog1Replace(this);
    }
}

void TMainForm::ReplaceDialog1Replace(TObject*) {
    if (WizFindText.empty()) return;
    for (TSynEdit* editor : {HeadEdit, Body_Edit, BodyEdit}) {
        const std::size_t offset = PlaceholderOffset(editor->Text(), WizFindText);
        if (offset == AnsiString::npos) continue;
        editor->SetSelStart(static_cast<Integer>(offset));
        editor->SetSelLength(static_cast<Integer>(WizFindText.size()));
        editor->SetSelTextExternal(WizReplaceText);
    }
}

// ---- Rows ------------------------------------------------------------------------------------

void TMainForm::hideWizardRows() {
    for (const RowControls& kind : rowControls)
        for (Integer row = 1; row <= kind.count; ++row)
            static_cast<TControl*>(WizardControl(kind.panel, row))->SetVisible(false);
}

// Top-aligned controls stack by where each stands, and a row hidden and shown
// again stands where an earlier script's layout left it: the rows and their
// containers are put back in number order before the window lays them out.
void TMainForm::stackWizardRows() {
    std::vector<TControl*> containers;
    for (const auto& [name, kind] : rowContainers) {
        auto* container = static_cast<TWinControl*>(FindComponent(name));
        std::vector<TControl*> rows;
        for (Integer row = 1; row <= controlsOf(kind).count; ++row)
            rows.push_back(static_cast<TControl*>(WizardControl(controlsOf(kind).panel, row)));
        stackInOrder(container, rows);
        containers.push_back(container);
    }
    stackInOrder(containers.front()->Parent(), containers);
}

void TMainForm::showWizardRow(const TWizardDefinition& Definition) {
    const RowControls& names = controlsOf(Definition.Kind);
    static_cast<TControl*>(WizardControl(names.panel, Definition.Row))->SetVisible(true);
    setWizardValue(Definition, Definition.Default);
    if (Definition.Kind == TWizardKind::File)
        static_cast<TFilenameEdit*>(WizardControl(names.value, Definition.Row))->SetFilter(Definition.Filter);
    static_cast<TTntLabel*>(WizardControl(names.label, Definition.Row))
        ->SetCaption(AnsiToWide(Definition.Label));
}

void TMainForm::setWizardValue(const TWizardDefinition& Definition, const AnsiString& Value) {
    TComponent* control = WizardControl(controlsOf(Definition.Kind).value, Definition.Row);
    if (Definition.Kind == TWizardKind::Text)
        static_cast<TTntEdit*>(control)->SetText(AnsiToWide(Value));
    else
        static_cast<TControl*>(control)->SetText(Value);
}

// The value as the row's control holds it; a text row's through the ANSI code page.
AnsiString TMainForm::wizardValue(const TWizardDefinition& Definition) const {
    TComponent* control = WizardControl(controlsOf(Definition.Kind).value, Definition.Row);
    if (Definition.Kind == TWizardKind::Text) return WideToAnsi(static_cast<TTntEdit*>(control)->Text());
    return static_cast<TControl*>(control)->Text();
}

// ---- Colour rows ---------------------------------------------------------------------------

void TMainForm::colourPicked(Integer Row) {
    const TColor colour = static_cast<TColorPickerButton*>(WizardControl("WColorBtn", Row))->SelectionColor();
    static_cast<TComboEdit*>(WizardControl("WColorEdit", Row))->SetText("#" + Color2Hex(colour));
}

void TMainForm::WColorBtn1Change(TObject*) {
    colourPicked(1);
}

void TMainForm::WColorBtn2Change(TObject*) {
    colourPicked(2);
}

void TMainForm::WColorBtn3Change(TObject*) {
    colourPicked(3);
}

void TMainForm::WColorBtn4Change(TObject*) {
    colourPicked(4);
}

void TMainForm::WColorBtn5Change(TObject*) {
    colourPicked(5);
}

void TMainForm::WColorBtn6Change(TObject*) {
    colourPicked(6);
}

void TMainForm::WColorBtn7Change(TObject*) {
    colourPicked(7);
}

// The colour page copies "#" and six digits; this hands them to the wizard.
void TMainForm::WColorEditButtonClick(TObject* Sender) {
    static_cast<TComboEdit*>(Sender)->PasteFromClipboard();
}

void TMainForm::SourcePageControlChange(TObject*) {
    WizardTabShown = SourcePageControl->ActivePageIndex() == WizardPageIndex;
}

// ---- File row 1 ----------------------------------------------------------------------------

void TMainForm::WOldFile(TObject*) {
    WOldFileName = static_cast<TControl*>(WizardControl("WFilenameEdit", ChosenFileRow))->Text();
}

// The row shows the chosen file's whole bare name; the copy is taken from
// the path the dialog returned, whatever the current folder. Giving the row
// that name changes its text again, which must not start this over: a name
// with blanks would read as a command line and be cut at the first blank.
// For the same reason a text that names no file here (a script's default,
// which lies in the temporary folder) is taken whole, not as FileName reads it.
void TMainForm::WFilenameAction(TObject*) {
    if (namingChosenFile_) return;
    auto* edit = static_cast<TFilenameEdit*>(WizardControl("WFilenameEdit", ChosenFileRow));
    const AnsiString chosen = FileExists(edit->FileName()) ? edit->FileName() : edit->Text();
    const AnsiString name = BareName(chosen);
    {
        RaisedFlag naming(namingChosenFile_);
        edit->SetText(name);
    }
    if (name.empty()) return;
    CopyFile(chosen, TempDir + name, false); // a file that can't be copied is simply not shown
    listChosenFile(name);
}

// "Att.lst" names the row's new copy once, and no longer the copy of the
// previous choice, which goes unless it is the same file.
void TMainForm::listChosenFile(const AnsiString& Name) {
    const AnsiString listName = TempDir + AttachedListFile;
    TStringList list;
    if (FileExists(listName)) list.LoadFromFile(listName);
    for (Integer i = list.Count() - 1; i >= 0; --i)
        if (list[i] == WOldFileName || list[i] == Name) list.Delete(i);
    const AnsiString oldName = BareName(WOldFileName);
    if (!oldName.empty() && oldName != Name && FileExists(TempDir + oldName)) DeleteFile(TempDir + oldName);
    list.Add(Name);
    list.SaveToFile(listName);
}

void TMainForm::DescribeWizard(TClassBuilder<TMainForm>& c) {
    c.Method("WizardPrevAction", &TMainForm::WizardPrevAction);
    c.Method("WColorBtn1Change", &TMainForm::WColorBtn1Change);
    c.Method("WColorBtn2Change", &TMainForm::WColorBtn2Change);
    c.Method("WColorBtn3Change", &TMainForm::WColorBtn3Change);
    c.Method("WColorBtn4Change", &TMainForm::WColorBtn4Change);
    c.Method("WColorBtn5Change", &TMainForm::WColorBtn5Change);
    c.Method("WColorBtn6Change", &TMainForm::WColorBtn6Change);
    c.Method("WColorBtn7Change", &TMainForm::WColorBtn7Change);
    c.Method("WColorEditButtonClick", &TMainForm::WColorEditButtonClick);
    c.Method("SourcePageControlChange", &TMainForm::SourcePageControlChange);
    c.Method("WOldFile", &TMainForm::WOldFile);
    c.Method("WFilenameAction", &TMainForm::WFilenameAction);
}
