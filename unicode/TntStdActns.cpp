#include "unicode/TntStdActns.h"

#include "platform/core/SysUtils.h"
#include "platform/win/Messages.h"
#include "platform/win/Windows.h"
#include "unicode/TntControls.h"

namespace {

bool isHighSurrogate(WideChar Char) {
    return Char >= 0xD800 && Char <= 0xDBFF;
}

bool isLowSurrogate(WideChar Char) {
    return Char >= 0xDC00 && Char <= 0xDFFF;
}

template <typename T> T* checkedDialog(TCommonDialog* Dialog) {
    auto* dialog = dynamic_cast<T*>(Dialog);
    if (!dialog) throw EInvalidCast(SInvalidCast);
    return dialog;
}

} // namespace

void TntStdActn_AfterInherited_Assign(TCustomAction* Action, TPersistent* Source) {
    TntAction_AfterInherited_Assign(Action, Source);
    if (auto* dialogAction = dynamic_cast<TCommonDialogAction*>(Action))
        if (auto* dialogSource = dynamic_cast<TCommonDialogAction*>(Source)) {
            dialogAction->BeforeExecute = dialogSource->BeforeExecute;
            dialogAction->OnAccept = dialogSource->OnAccept;
            dialogAction->OnCancel = dialogSource->OnCancel;
        }
    if (auto* openWith = dynamic_cast<TFileOpenWith*>(Action))
        if (auto* openWithSource = dynamic_cast<TFileOpenWith*>(Source))
            openWith->SetFileName(openWithSource->FileName());
    if (auto* findNext = dynamic_cast<TSearchFindNext*>(Action))
        if (auto* findNextSource = dynamic_cast<TSearchFindNext*>(Source))
            findNext->SetSearchFind(findNextSource->SearchFind());
}

void TTntEditDelete::UpdateTarget(TObject*) {
    SetEnabled(true);
}

// Without a selection the character after the caret is selected first; a
// surrogate pair goes whole.
void TTntEditDelete::ExecuteTarget(TObject* Target) {
    TCustomEdit* edit = GetControl(Target);
    const auto selection = static_cast<UINT_PTR>(SendMessageW(edit->Handle(), EM_GETSEL, 0, 0));
    const std::size_t start = LOWORD(selection);
    if (HIWORD(selection) == start) {
        const WideString text = TntControl_GetText(edit);
        const bool pair =
            start + 1 < text.size() && isHighSurrogate(text[start]) && isLowSurrogate(text[start + 1]);
        SendMessageW(edit->Handle(), EM_SETSEL, start, static_cast<LPARAM>(start + (pair ? 2 : 1)));
    }
    edit->ClearSelection();
}

TTntOpenDialog* TTntFileOpen::Dialog() {
    return checkedDialog<TTntOpenDialog>(DialogObject());
}

std::unique_ptr<TCommonDialog> TTntFileOpen::CreateDialog() {
    return std::make_unique<TTntOpenDialog>(nullptr);
}

TTntOpenDialog* TTntFileOpenWith::Dialog() {
    return checkedDialog<TTntOpenDialog>(DialogObject());
}

std::unique_ptr<TCommonDialog> TTntFileOpenWith::CreateDialog() {
    return std::make_unique<TTntOpenDialog>(nullptr);
}

TTntSaveDialog* TTntFileSaveAs::Dialog() {
    return checkedDialog<TTntSaveDialog>(DialogObject());
}

std::unique_ptr<TCommonDialog> TTntFileSaveAs::CreateDialog() {
    return std::make_unique<TTntSaveDialog>(nullptr);
}

namespace {

// The wide Caption and Hint are published and always written.
template <typename T> void publishCaptionAndHint(TClassBuilder<T>& c) {
    c.Property("Caption", &T::Caption, &T::SetCaption).Stored(true);
    c.Property("Hint", &T::Hint, &T::SetHint).Stored(true);
}

template <typename T, typename Base> TClass describeCaptioned() {
    return DescribeClass<T, Base>([](TClassBuilder<T>& c) { publishCaptionAndHint(c); });
}

// A wide file action publishes its own dialog: the framework's property names
// a dialog class the wide one need not derive from.
template <typename T, typename Base> TClass describeFileAction() {
    return DescribeClass<T, Base>([](TClassBuilder<T>& c) {
        publishCaptionAndHint(c);
        c.Property("Dialog", &T::Dialog);
    });
}

const TClass tntHintActionClass =
    DescribeClass<TTntHintAction, THintAction>([](TClassBuilder<TTntHintAction>& c) {
        c.Property("Hint", &TTntHintAction::Hint, &TTntHintAction::SetHint);
    });
const TClass tntStandardActionClasses[] = {
    describeCaptioned<TTntEditAction, TEditAction>(),
    describeCaptioned<TTntEditCut, TEditCut>(),
    describeCaptioned<TTntEditCopy, TEditCopy>(),
    describeCaptioned<TTntEditPaste, TEditPaste>(),
    describeCaptioned<TTntEditSelectAll, TEditSelectAll>(),
    describeCaptioned<TTntEditUndo, TEditUndo>(),
    describeCaptioned<TTntEditDelete, TEditDelete>(),
    describeCaptioned<TTntWindowAction, TWindowAction>(),
    describeCaptioned<TTntWindowClose, TWindowClose>(),
    describeCaptioned<TTntWindowCascade, TWindowCascade>(),
    describeCaptioned<TTntWindowTileHorizontal, TWindowTileHorizontal>(),
    describeCaptioned<TTntWindowTileVertical, TWindowTileVertical>(),
    describeCaptioned<TTntWindowMinimizeAll, TWindowMinimizeAll>(),
    describeCaptioned<TTntWindowArrange, TWindowArrange>(),
    describeCaptioned<TTntHelpAction, THelpAction>(),
    describeCaptioned<TTntHelpContents, THelpContents>(),
    describeCaptioned<TTntHelpTopicSearch, THelpTopicSearch>(),
    describeCaptioned<TTntHelpOnHelp, THelpOnHelp>(),
    describeCaptioned<TTntHelpContextAction, THelpContextAction>(),
    DescribeClass<TTntCommonDialogAction, TCommonDialogAction>(),
    DescribeClass<TTntFileAction, TFileAction>(),
    describeFileAction<TTntFileOpen, TFileOpen>(),
    describeFileAction<TTntFileOpenWith, TFileOpenWith>(),
    describeFileAction<TTntFileSaveAs, TFileSaveAs>(),
    describeCaptioned<TTntFilePrintSetup, TFilePrintSetup>(),
    describeCaptioned<TTntFileExit, TFileExit>(),
    DescribeClass<TTntSearchAction, TSearchAction>(),
    describeCaptioned<TTntSearchFind, TSearchFind>(),
    describeCaptioned<TTntSearchReplace, TSearchReplace>(),
    describeCaptioned<TTntSearchFindFirst, TSearchFindFirst>(),
    describeCaptioned<TTntSearchFindNext, TSearchFindNext>(),
    describeCaptioned<TTntFontEdit, TFontEdit>(),
    describeCaptioned<TTntColorSelect, TColorSelect>(),
    describeCaptioned<TTntPrintDlg, TPrintDlg>(),
};

// Form resources find the actions by class name.
struct RegisterWideStandardActions {
    RegisterWideStandardActions() {
        RegisterClass(tntHintActionClass);
        for (TClass type : tntStandardActionClasses)
            RegisterClass(type);
    }
} registerWideStandardActions;

} // namespace
