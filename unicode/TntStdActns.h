// The framework's standard actions with wide captions and hints. Each keeps
// its framework action's behaviour; the dialog actions make the wide file
// dialogs, and the delete action also deletes without a selection.
#pragma once

#include "platform/vcl/StdActns.h"
#include "unicode/TntActnList.h"
#include "unicode/TntClasses.h"
#include "unicode/TntDialogs.h"

// The Assign step of every wide standard action, after the framework's: the
// wide caption and hint, the dialog events of two dialog actions, the file
// name of two open-with actions and the find action of two find-next actions.
void TntStdActn_AfterInherited_Assign(TCustomAction* Action, TPersistent* Source);

// What each wide standard action adds to its framework class.
template <typename Base> class TTntStandardAction : public Base, public ITntAction {
public:
    using Base::Base;
    WideString Caption() { return TntAction_GetCaption(this); }
    void SetCaption(const WideString& Value) { TntAction_SetCaption(this, Value); }
    WideString Hint() { return TntAction_GetHint(this); }
    void SetHint(const WideString& Value) { TntAction_SetHint(this, Value); }
    void Assign(TPersistent* Source) override {
        Base::Assign(Source);
        TntStdActn_AfterInherited_Assign(this, Source);
    }
    void DefineProperties(TFiler* Filer) override {
        Base::DefineProperties(Filer);
        TntPersistent_AfterInherited_DefineProperties(Filer, this);
    }
};

// The hint action the wide application carries its wide hint with.
class TTntHintAction : public TTntStandardAction<THintAction> {
public:
    using TTntStandardAction::TTntStandardAction;
};

class TTntEditAction : public TTntStandardAction<TEditAction> {
public:
    using TTntStandardAction::TTntStandardAction;
};
class TTntEditCut : public TTntStandardAction<TEditCut> {
public:
    using TTntStandardAction::TTntStandardAction;
};
class TTntEditCopy : public TTntStandardAction<TEditCopy> {
public:
    using TTntStandardAction::TTntStandardAction;
};
class TTntEditPaste : public TTntStandardAction<TEditPaste> {
public:
    using TTntStandardAction::TTntStandardAction;
};
class TTntEditSelectAll : public TTntStandardAction<TEditSelectAll> {
public:
    using TTntStandardAction::TTntStandardAction;
};
class TTntEditUndo : public TTntStandardAction<TEditUndo> {
public:
    using TTntStandardAction::TTntStandardAction;
};
// Always enabled on its edit: without a selection it deletes the character
// after the caret (a surrogate pair whole).
class TTntEditDelete : public TTntStandardAction<TEditDelete> {
public:
    using TTntStandardAction::TTntStandardAction;
    void UpdateTarget(TObject* Target) override;
    void ExecuteTarget(TObject* Target) override;
};

class TTntWindowAction : public TTntStandardAction<TWindowAction> {
public:
    using TTntStandardAction::TTntStandardAction;
};
class TTntWindowClose : public TTntStandardAction<TWindowClose> {
public:
    using TTntStandardAction::TTntStandardAction;
};
class TTntWindowCascade : public TTntStandardAction<TWindowCascade> {
public:
    using TTntStandardAction::TTntStandardAction;
};
class TTntWindowTileHorizontal : public TTntStandardAction<TWindowTileHorizontal> {
public:
    using TTntStandardAction::TTntStandardAction;
};
class TTntWindowTileVertical : public TTntStandardAction<TWindowTileVertical> {
public:
    using TTntStandardAction::TTntStandardAction;
};
class TTntWindowMinimizeAll : public TTntStandardAction<TWindowMinimizeAll> {
public:
    using TTntStandardAction::TTntStandardAction;
};
class TTntWindowArrange : public TTntStandardAction<TWindowArrange> {
public:
    using TTntStandardAction::TTntStandardAction;
};

class TTntHelpAction : public TTntStandardAction<THelpAction> {
public:
    using TTntStandardAction::TTntStandardAction;
};
class TTntHelpContents : public TTntStandardAction<THelpContents> {
public:
    using TTntStandardAction::TTntStandardAction;
};
class TTntHelpTopicSearch : public TTntStandardAction<THelpTopicSearch> {
public:
    using TTntStandardAction::TTntStandardAction;
};
class TTntHelpOnHelp : public TTntStandardAction<THelpOnHelp> {
public:
    using TTntStandardAction::TTntStandardAction;
};
class TTntHelpContextAction : public TTntStandardAction<THelpContextAction> {
public:
    using TTntStandardAction::TTntStandardAction;
};

class TTntCommonDialogAction : public TTntStandardAction<TCommonDialogAction> {
public:
    using TTntStandardAction::TTntStandardAction;
};
class TTntFileAction : public TTntStandardAction<TFileAction> {
public:
    using TTntStandardAction::TTntStandardAction;
};

// The file actions run the wide dialogs. EInvalidCast when the dialog is not one.
class TTntFileOpen : public TTntStandardAction<TFileOpen> {
public:
    using TTntStandardAction::TTntStandardAction;
    TTntOpenDialog* Dialog();

protected:
    std::unique_ptr<TCommonDialog> CreateDialog() override;
};
class TTntFileOpenWith : public TTntStandardAction<TFileOpenWith> {
public:
    using TTntStandardAction::TTntStandardAction;
    TTntOpenDialog* Dialog();

protected:
    std::unique_ptr<TCommonDialog> CreateDialog() override;
};
class TTntFileSaveAs : public TTntStandardAction<TFileSaveAs> {
public:
    using TTntStandardAction::TTntStandardAction;
    TTntSaveDialog* Dialog();

protected:
    std::unique_ptr<TCommonDialog> CreateDialog() override;
};
class TTntFilePrintSetup : public TTntStandardAction<TFilePrintSetup> {
public:
    using TTntStandardAction::TTntStandardAction;
};
class TTntFileExit : public TTntStandardAction<TFileExit> {
public:
    using TTntStandardAction::TTntStandardAction;
};

class TTntSearchAction : public TTntStandardAction<TSearchAction> {
public:
    using TTntStandardAction::TTntStandardAction;
};
class TTntSearchFind : public TTntStandardAction<TSearchFind> {
public:
    using TTntStandardAction::TTntStandardAction;
};
class TTntSearchReplace : public TTntStandardAction<TSearchReplace> {
public:
    using TTntStandardAction::TTntStandardAction;
};
class TTntSearchFindFirst : public TTntStandardAction<TSearchFindFirst> {
public:
    using TTntStandardAction::TTntStandardAction;
};
class TTntSearchFindNext : public TTntStandardAction<TSearchFindNext> {
public:
    using TTntStandardAction::TTntStandardAction;
};

class TTntFontEdit : public TTntStandardAction<TFontEdit> {
public:
    using TTntStandardAction::TTntStandardAction;
};
class TTntColorSelect : public TTntStandardAction<TColorSelect> {
public:
    using TTntStandardAction::TTntStandardAction;
};
class TTntPrintDlg : public TTntStandardAction<TPrintDlg> {
public:
    using TTntStandardAction::TTntStandardAction;
};
