// The standard actions.
#include "platform/vcl/StdActns.h"

#include "platform/vcl/Clipbrd.h"
#include "platform/vcl/Forms.h"
#include "platform/win/Clipboard.h"
#include "platform/win/Shell.h"
#include "platform/win/SystemInfo.h"

#include <cctype>
#include <optional>

namespace {

bool isWordCharacter(char character) {
    return std::isalnum(static_cast<unsigned char>(character)) || character == '_';
}

bool sameCharacter(char a, char b, bool matchCase) {
    if (matchCase) return a == b;
    return std::toupper(static_cast<unsigned char>(a)) == std::toupper(static_cast<unsigned char>(b));
}

bool matchesAt(const AnsiString& text, std::size_t position, const AnsiString& wanted, bool matchCase,
               bool wholeWord) {
    if (position + wanted.size() > text.size()) return false;
    for (std::size_t index = 0; index < wanted.size(); ++index)
        if (!sameCharacter(text[position + index], wanted[index], matchCase)) return false;
    if (!wholeWord) return true;
    bool startsWord = position == 0 || !isWordCharacter(text[position - 1]);
    std::size_t end = position + wanted.size();
    return startsWord && (end == text.size() || !isWordCharacter(text[end]));
}

// The position of the next match from `from` onwards (or, upwards, before it).
std::optional<std::size_t> findIn(const AnsiString& text, std::size_t from, const AnsiString& wanted,
                                  bool down, bool matchCase, bool wholeWord) {
    if (wanted.empty() || wanted.size() > text.size()) return std::nullopt;
    std::size_t last = text.size() - wanted.size();
    if (down) {
        for (std::size_t position = from; position <= last; ++position)
            if (matchesAt(text, position, wanted, matchCase, wholeWord)) return position;
        return std::nullopt;
    }
    for (std::size_t position = std::min(from, last + 1); position-- > 0;)
        if (matchesAt(text, position, wanted, matchCase, wholeWord)) return position;
    return std::nullopt;
}

} // namespace

THintAction::THintAction(TComponent* AOwner) : TCustomAction(AOwner) {
    SetDisableIfNoHandler(false);
}

// ---- Edit actions -------------------------------------------------------------------------

TEditAction::TEditAction(TComponent* AOwner) : TAction(AOwner) {}

void TEditAction::SetControl(TCustomEdit* Value) {
    if (control_) control_->RemoveFreeNotification(this);
    control_ = Value;
    if (control_) control_->FreeNotification(this);
}

TCustomEdit* TEditAction::GetControl(TObject* Target) const {
    return control_ ? control_ : dynamic_cast<TCustomEdit*>(Target);
}

bool TEditAction::HandlesTarget(TObject* Target) {
    TCustomEdit* edit = dynamic_cast<TCustomEdit*>(Target);
    return edit && (!control_ || edit == control_) && edit->Focused();
}

void TEditAction::UpdateTarget(TObject*) {
    SetEnabled(true);
}

void TEditAction::Notification(TComponent* AComponent, TOperation Operation) {
    TAction::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == control_) control_ = nullptr;
}

void TEditCut::ExecuteTarget(TObject* Target) {
    GetControl(Target)->CutToClipboard();
}

void TEditCut::UpdateTarget(TObject* Target) {
    TCustomEdit* edit = GetControl(Target);
    SetEnabled(edit->SelLength() > 0 && !edit->ReadOnly());
}

void TEditCopy::ExecuteTarget(TObject* Target) {
    GetControl(Target)->CopyToClipboard();
}

void TEditCopy::UpdateTarget(TObject* Target) {
    SetEnabled(GetControl(Target)->SelLength() > 0);
}

void TEditPaste::ExecuteTarget(TObject* Target) {
    GetControl(Target)->PasteFromClipboard();
}

void TEditPaste::UpdateTarget(TObject* Target) {
    SetEnabled(Clipboard()->HasFormat(CF_TEXT) && !GetControl(Target)->ReadOnly());
}

void TEditSelectAll::ExecuteTarget(TObject* Target) {
    GetControl(Target)->SelectAll();
}

void TEditSelectAll::UpdateTarget(TObject* Target) {
    SetEnabled(GetControl(Target)->GetTextLen() > 0);
}

void TEditUndo::ExecuteTarget(TObject* Target) {
    GetControl(Target)->Undo();
}

void TEditUndo::UpdateTarget(TObject* Target) {
    SetEnabled(GetControl(Target)->CanUndo());
}

void TEditDelete::ExecuteTarget(TObject* Target) {
    GetControl(Target)->ClearSelection();
}

void TEditDelete::UpdateTarget(TObject* Target) {
    TCustomEdit* edit = GetControl(Target);
    SetEnabled(edit->SelLength() > 0 && !edit->ReadOnly());
}

// ---- Window actions ---------------------------------------------------------------------------

TWindowAction::TWindowAction(TComponent* AOwner) : TAction(AOwner) {}

void TWindowAction::SetForm(TCustomForm* Value) {
    if (form_) form_->RemoveFreeNotification(this);
    form_ = Value;
    if (form_) form_->FreeNotification(this);
}

TCustomForm* TWindowAction::GetForm(TObject* Target) const {
    return form_ ? form_ : dynamic_cast<TCustomForm*>(Target);
}

bool TWindowAction::HandlesTarget(TObject* Target) {
    return form_ || dynamic_cast<TCustomForm*>(Target);
}

void TWindowAction::Notification(TComponent* AComponent, TOperation Operation) {
    TAction::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == form_) form_ = nullptr;
}

void TWindowClose::ExecuteTarget(TObject* Target) {
    if (TCustomForm* form = GetForm(Target)) form->Close();
}

void TWindowCascade::UpdateTarget(TObject*) {
    SetEnabled(false);
}

// ---- Dialog actions -------------------------------------------------------------------------------

TCommonDialogAction::TCommonDialogAction(TComponent* AOwner) : TCustomAction(AOwner) {}

TCommonDialogAction::~TCommonDialogAction() = default;

std::unique_ptr<TCommonDialog> TCommonDialogAction::CreateDialog() {
    return nullptr;
}

TCommonDialog* TCommonDialogAction::DialogObject() {
    if (!dialog_) dialog_ = CreateDialog();
    return dialog_.get();
}

bool TCommonDialogAction::HandlesTarget(TObject*) {
    return true;
}

void TCommonDialogAction::ExecuteTarget(TObject*) {
    TCommonDialog* dialog = DialogObject();
    if (!dialog) return;
    if (BeforeExecute) BeforeExecute(this);
    executeResult_ = dialog->Execute();
    if (executeResult_ && OnAccept) OnAccept(this);
    if (!executeResult_ && OnCancel) OnCancel(this);
}

std::unique_ptr<TCommonDialog> TFileOpen::CreateDialog() {
    return std::make_unique<TOpenDialog>(nullptr);
}

// The desktop's handler for the file type opens it.
void TFileOpenWith::ExecuteTarget(TObject* Target) {
    AnsiString file = fileName_;
    if (file.empty()) {
        TFileOpen::ExecuteTarget(Target);
        if (!ExecuteResult()) return;
        file = Dialog()->FileName();
    }
    ShellExecuteA(nullptr, "open", file.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

std::unique_ptr<TCommonDialog> TFileSaveAs::CreateDialog() {
    return std::make_unique<TSaveDialog>(nullptr);
}

bool TFilePrintSetup::HandlesTarget(TObject*) {
    return false;
}

bool TPrintDlg::HandlesTarget(TObject*) {
    return false;
}

TFileExit::TFileExit(TComponent* AOwner) : TCustomAction(AOwner) {}

bool TFileExit::HandlesTarget(TObject*) {
    return true;
}

void TFileExit::ExecuteTarget(TObject*) {
    if (TCustomForm* main = Application->MainForm())
        main->Close();
    else
        Application->Terminate();
}

std::unique_ptr<TCommonDialog> TFontEdit::CreateDialog() {
    return std::make_unique<TFontDialog>(nullptr);
}

std::unique_ptr<TCommonDialog> TColorSelect::CreateDialog() {
    return std::make_unique<TColorDialog>(nullptr);
}

// ---- Search actions ----------------------------------------------------------------------------------

TSearchAction::TSearchAction(TComponent* AOwner) : TCommonDialogAction(AOwner) {}

void TSearchAction::SetControl(TCustomEdit* Value) {
    if (control_) control_->RemoveFreeNotification(this);
    control_ = Value;
    if (control_) control_->FreeNotification(this);
}

std::unique_ptr<TCommonDialog> TSearchAction::CreateDialog() {
    auto dialog = std::make_unique<TFindDialog>(nullptr);
    dialog->OnFind = TNotifyEvent(this, &TSearchAction::find);
    return dialog;
}

bool TSearchAction::HandlesTarget(TObject* Target) {
    if (control_) return true;
    auto* edit = dynamic_cast<TCustomEdit*>(Target);
    return edit && edit->Focused();
}

void TSearchAction::UpdateTarget(TObject* Target) {
    TCustomEdit* edit = control_ ? control_ : dynamic_cast<TCustomEdit*>(Target);
    SetEnabled(edit && edit->GetTextLen() > 0);
}

void TSearchAction::ExecuteTarget(TObject* Target) {
    target_ = control_ ? control_ : dynamic_cast<TCustomEdit*>(Target);
    if (target_) target_->FreeNotification(this);
    TCommonDialogAction::ExecuteTarget(Target);
}

TCustomEdit* TSearchAction::searchControl() const {
    return control_ ? control_ : target_;
}

bool TSearchAction::Search() {
    TCustomEdit* edit = searchControl();
    if (!edit) return false;
    TFindDialog* dialog = Dialog();
    TFindOptions options = dialog->Options();
    bool down = options.Contains(frDown);
    AnsiString text = edit->Text();
    auto from = static_cast<std::size_t>(down ? edit->SelStart() + edit->SelLength() : edit->SelStart());
    std::optional<std::size_t> found = findIn(text, from, dialog->FindText(), down,
                                              options.Contains(frMatchCase), options.Contains(frWholeWord));
    if (!found) {
        MessageBeep(MB_OK);
        return false;
    }
    edit->SetSelStart(static_cast<Integer>(*found));
    edit->SetSelLength(static_cast<Integer>(dialog->FindText().size()));
    return true;
}

void TSearchAction::find(TObject*) {
    Search();
}

void TSearchAction::Notification(TComponent* AComponent, TOperation Operation) {
    TCommonDialogAction::Notification(AComponent, Operation);
    if (Operation != opRemove) return;
    if (AComponent == control_) control_ = nullptr;
    if (AComponent == target_) target_ = nullptr;
}

std::unique_ptr<TCommonDialog> TSearchReplace::CreateDialog() {
    auto dialog = std::make_unique<TReplaceDialog>(nullptr);
    dialog->OnFind = TNotifyEvent(this, &TSearchReplace::find);
    dialog->OnReplace = TNotifyEvent(this, &TSearchReplace::replace);
    return dialog;
}

void TSearchReplace::replace(TObject*) {
    TCustomEdit* edit = searchControl();
    if (!edit) return;
    TReplaceDialog* dialog = Dialog();
    TFindOptions options = dialog->Options();
    bool matchCase = options.Contains(frMatchCase);
    if (options.Contains(frReplaceAll)) {
        edit->SetSelStart(0);
        edit->SetSelLength(0);
        dialog->SetOptions(options + TFindOptions{frDown});
        while (Search())
            edit->SetSelText(dialog->ReplaceText());
        dialog->SetOptions(options);
        return;
    }
    AnsiString selected = edit->SelText();
    if (matchesAt(selected, 0, dialog->FindText(), matchCase, false) &&
        selected.size() == dialog->FindText().size())
        edit->SetSelText(dialog->ReplaceText());
    Search();
}

void TSearchFindFirst::ExecuteTarget(TObject* Target) {
    if (auto* edit = Control() ? Control() : dynamic_cast<TCustomEdit*>(Target)) {
        edit->SetSelStart(0);
        edit->SetSelLength(0);
    }
    TSearchFind::ExecuteTarget(Target);
}

TSearchFindNext::TSearchFindNext(TComponent* AOwner) : TCustomAction(AOwner) {}

void TSearchFindNext::SetSearchFind(TSearchFind* Value) {
    if (searchFind_) searchFind_->RemoveFreeNotification(this);
    searchFind_ = Value;
    if (searchFind_) searchFind_->FreeNotification(this);
}

bool TSearchFindNext::HandlesTarget(TObject* Target) {
    return searchFind_ && searchFind_->HandlesTarget(Target);
}

void TSearchFindNext::UpdateTarget(TObject* Target) {
    searchFind_->UpdateTarget(Target);
    SetEnabled(searchFind_->Enabled());
}

void TSearchFindNext::ExecuteTarget(TObject* Target) {
    if (searchFind_->Dialog()->FindText().empty())
        searchFind_->ExecuteTarget(Target);
    else
        searchFind_->Search();
}

void TSearchFindNext::Notification(TComponent* AComponent, TOperation Operation) {
    TCustomAction::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == searchFind_) searchFind_ = nullptr;
}

// ---- Streaming -------------------------------------------------------------------------------------------

namespace {

const TClass hintActionClass = DescribeClass<THintAction, TCustomAction>();
const TClass editActionClass = DescribeClass<TEditAction, TAction>([](TClassBuilder<TEditAction>& c) {
    c.Property("Control", &TEditAction::Control, &TEditAction::SetControl);
});
const TClass editCutClass = DescribeClass<TEditCut, TEditAction>();
const TClass editCopyClass = DescribeClass<TEditCopy, TEditAction>();
const TClass editPasteClass = DescribeClass<TEditPaste, TEditAction>();
const TClass editSelectAllClass = DescribeClass<TEditSelectAll, TEditAction>();
const TClass editUndoClass = DescribeClass<TEditUndo, TEditAction>();
const TClass editDeleteClass = DescribeClass<TEditDelete, TEditAction>();

const TClass windowActionClass = DescribeClass<TWindowAction, TAction>([](TClassBuilder<TWindowAction>& c) {
    c.Property("Form", &TWindowAction::Form, &TWindowAction::SetForm);
});
const TClass windowCloseClass = DescribeClass<TWindowClose, TWindowAction>();
const TClass windowCascadeClass = DescribeClass<TWindowCascade, TWindowAction>();
const TClass windowTileHorizontalClass = DescribeClass<TWindowTileHorizontal, TWindowCascade>();
const TClass windowTileVerticalClass = DescribeClass<TWindowTileVertical, TWindowCascade>();
const TClass windowMinimizeAllClass = DescribeClass<TWindowMinimizeAll, TWindowCascade>();
const TClass windowArrangeClass = DescribeClass<TWindowArrange, TWindowCascade>();

const TClass helpActionClass = DescribeClass<THelpAction, TAction>();
const TClass helpContentsClass = DescribeClass<THelpContents, THelpAction>();
const TClass helpTopicSearchClass = DescribeClass<THelpTopicSearch, THelpAction>();
const TClass helpOnHelpClass = DescribeClass<THelpOnHelp, THelpAction>();
const TClass helpContextActionClass = DescribeClass<THelpContextAction, THelpAction>();

const TClass commonDialogActionClass =
    DescribeClass<TCommonDialogAction, TCustomAction>([](TClassBuilder<TCommonDialogAction>& c) {
        c.Property("BeforeExecute", &TCommonDialogAction::BeforeExecute, &TCommonDialogAction::BeforeExecute);
        c.Property("OnAccept", &TCommonDialogAction::OnAccept, &TCommonDialogAction::OnAccept);
        c.Property("OnCancel", &TCommonDialogAction::OnCancel, &TCommonDialogAction::OnCancel);
    });
const TClass fileActionClass = DescribeClass<TFileAction, TCommonDialogAction>();
const TClass fileOpenClass = DescribeClass<TFileOpen, TFileAction>(
    [](TClassBuilder<TFileOpen>& c) { c.Property("Dialog", &TFileOpen::Dialog); });
const TClass fileOpenWithClass = DescribeClass<TFileOpenWith, TFileOpen>([](TClassBuilder<TFileOpenWith>& c) {
    c.Property("FileName", &TFileOpenWith::FileName, &TFileOpenWith::SetFileName);
});
const TClass fileSaveAsClass = DescribeClass<TFileSaveAs, TFileAction>(
    [](TClassBuilder<TFileSaveAs>& c) { c.Property("Dialog", &TFileSaveAs::Dialog); });
const TClass filePrintSetupClass = DescribeClass<TFilePrintSetup, TCommonDialogAction>();
const TClass fileExitClass = DescribeClass<TFileExit, TCustomAction>();

const TClass searchActionClass =
    DescribeClass<TSearchAction, TCommonDialogAction>([](TClassBuilder<TSearchAction>& c) {
        c.Property("Control", &TSearchAction::Control, &TSearchAction::SetControl);
    });
const TClass searchFindClass = DescribeClass<TSearchFind, TSearchAction>(
    [](TClassBuilder<TSearchFind>& c) { c.Property("Dialog", &TSearchFind::Dialog); });
const TClass searchReplaceClass = DescribeClass<TSearchReplace, TSearchAction>(
    [](TClassBuilder<TSearchReplace>& c) { c.Property("Dialog", &TSearchReplace::Dialog); });
const TClass searchFindFirstClass = DescribeClass<TSearchFindFirst, TSearchFind>();
const TClass searchFindNextClass =
    DescribeClass<TSearchFindNext, TCustomAction>([](TClassBuilder<TSearchFindNext>& c) {
        c.Property("SearchFind", &TSearchFindNext::SearchFind, &TSearchFindNext::SetSearchFind);
    });

const TClass fontEditClass = DescribeClass<TFontEdit, TCommonDialogAction>(
    [](TClassBuilder<TFontEdit>& c) { c.Property("Dialog", &TFontEdit::Dialog); });
const TClass colorSelectClass = DescribeClass<TColorSelect, TCommonDialogAction>(
    [](TClassBuilder<TColorSelect>& c) { c.Property("Dialog", &TColorSelect::Dialog); });
const TClass printDlgClass = DescribeClass<TPrintDlg, TCommonDialogAction>();

struct RegisterStandardActions {
    RegisterStandardActions() {
        RegisterClasses({ClassOf<THintAction>(),
                         ClassOf<TEditCut>(),
                         ClassOf<TEditCopy>(),
                         ClassOf<TEditPaste>(),
                         ClassOf<TEditSelectAll>(),
                         ClassOf<TEditUndo>(),
                         ClassOf<TEditDelete>(),
                         ClassOf<TWindowClose>(),
                         ClassOf<TWindowCascade>(),
                         ClassOf<TWindowTileHorizontal>(),
                         ClassOf<TWindowTileVertical>(),
                         ClassOf<TWindowMinimizeAll>(),
                         ClassOf<TWindowArrange>(),
                         ClassOf<THelpContents>(),
                         ClassOf<THelpTopicSearch>(),
                         ClassOf<THelpOnHelp>(),
                         ClassOf<THelpContextAction>(),
                         ClassOf<TFileOpen>(),
                         ClassOf<TFileOpenWith>(),
                         ClassOf<TFileSaveAs>(),
                         ClassOf<TFilePrintSetup>(),
                         ClassOf<TFileExit>(),
                         ClassOf<TSearchFind>(),
                         ClassOf<TSearchReplace>(),
                         ClassOf<TSearchFindFirst>(),
                         ClassOf<TSearchFindNext>(),
                         ClassOf<TFontEdit>(),
                         ClassOf<TColorSelect>(),
                         ClassOf<TPrintDlg>()});
    }
} registerStandardActions;

} // namespace
