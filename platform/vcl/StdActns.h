// The framework's standard actions: edit actions on the focused edit control
// (cut, copy, paste, select all, undo, delete), window actions, help actions,
// the dialog actions that run a common dialog (file open and save, search and
// replace in an edit, font, colour), program exit and the hint action.
#pragma once

#include "platform/vcl/ActnList.h"
#include "platform/vcl/Dialogs.h"
#include "platform/vcl/EditCtrls.h"

#include <memory>

class TCustomForm;

// Carries a hint to whatever shows hints.
class THintAction : public TCustomAction {
public:
    explicit THintAction(TComponent* AOwner);
};

// ---- Edit actions ----------------------------------------------------------------------

// Serves the focused edit control, or only Control when it is set.
class TEditAction : public TAction {
public:
    explicit TEditAction(TComponent* AOwner);
    TCustomEdit* Control() const { return control_; }
    void SetControl(TCustomEdit* Value);
    bool HandlesTarget(TObject* Target) override;
    void UpdateTarget(TObject* Target) override;
    void Notification(TComponent* AComponent, TOperation Operation) override;

protected:
    TCustomEdit* GetControl(TObject* Target) const;

private:
    TCustomEdit* control_ = nullptr;
};

// Enabled with a selection in an edit that may be changed.
class TEditCut : public TEditAction {
public:
    using TEditAction::TEditAction;
    void ExecuteTarget(TObject* Target) override;
    void UpdateTarget(TObject* Target) override;
};

// Enabled with a selection.
class TEditCopy : public TEditAction {
public:
    using TEditAction::TEditAction;
    void ExecuteTarget(TObject* Target) override;
    void UpdateTarget(TObject* Target) override;
};

// Enabled while the clipboard holds text and the edit may be changed.
class TEditPaste : public TEditAction {
public:
    using TEditAction::TEditAction;
    void ExecuteTarget(TObject* Target) override;
    void UpdateTarget(TObject* Target) override;
};

// Enabled while the edit holds text.
class TEditSelectAll : public TEditAction {
public:
    using TEditAction::TEditAction;
    void ExecuteTarget(TObject* Target) override;
    void UpdateTarget(TObject* Target) override;
};

// Enabled while the edit can undo.
class TEditUndo : public TEditAction {
public:
    using TEditAction::TEditAction;
    void ExecuteTarget(TObject* Target) override;
    void UpdateTarget(TObject* Target) override;
};

// Clears the selection; enabled with one in an edit that may be changed.
class TEditDelete : public TEditAction {
public:
    using TEditAction::TEditAction;
    void ExecuteTarget(TObject* Target) override;
    void UpdateTarget(TObject* Target) override;
};

// ---- Window actions ------------------------------------------------------------------------

// Serve the form Form, or the active form. Forms here have no child windows
// to arrange, so only closing acts.
class TWindowAction : public TAction {
public:
    explicit TWindowAction(TComponent* AOwner);
    TCustomForm* Form() const { return form_; }
    void SetForm(TCustomForm* Value);
    bool HandlesTarget(TObject* Target) override;
    void Notification(TComponent* AComponent, TOperation Operation) override;

protected:
    TCustomForm* GetForm(TObject* Target) const;

private:
    TCustomForm* form_ = nullptr;
};

class TWindowClose : public TWindowAction {
public:
    using TWindowAction::TWindowAction;
    void ExecuteTarget(TObject* Target) override;
};

class TWindowCascade : public TWindowAction {
public:
    using TWindowAction::TWindowAction;
    void UpdateTarget(TObject* Target) override;
};

class TWindowTileHorizontal : public TWindowCascade {
public:
    using TWindowCascade::TWindowCascade;
};

class TWindowTileVertical : public TWindowCascade {
public:
    using TWindowCascade::TWindowCascade;
};

class TWindowMinimizeAll : public TWindowCascade {
public:
    using TWindowCascade::TWindowCascade;
};

class TWindowArrange : public TWindowCascade {
public:
    using TWindowCascade::TWindowCascade;
};

// ---- Help actions ----------------------------------------------------------------------------

// The program's help is shown by its own handlers; without an OnExecute
// the help actions are disabled.
class THelpAction : public TAction {
public:
    using TAction::TAction;
};

class THelpContents : public THelpAction {
public:
    using THelpAction::THelpAction;
};

class THelpTopicSearch : public THelpAction {
public:
    using THelpAction::THelpAction;
};

class THelpOnHelp : public THelpAction {
public:
    using THelpAction::THelpAction;
};

class THelpContextAction : public THelpAction {
public:
    using THelpAction::THelpAction;
};

// ---- Dialog actions ----------------------------------------------------------------------------

// Runs its dialog: BeforeExecute, then OnAccept or OnCancel by the answer.
class TCommonDialogAction : public TCustomAction {
public:
    explicit TCommonDialogAction(TComponent* AOwner);
    ~TCommonDialogAction() override;
    bool HandlesTarget(TObject* Target) override;
    void ExecuteTarget(TObject* Target) override;
    // The dialog, made by the class on first use.
    TCommonDialog* DialogObject();
    // Whether the last dialog was confirmed.
    bool ExecuteResult() const { return executeResult_; }
    TNotifyEvent BeforeExecute;
    TNotifyEvent OnAccept;
    TNotifyEvent OnCancel;

protected:
    virtual std::unique_ptr<TCommonDialog> CreateDialog();

private:
    std::unique_ptr<TCommonDialog> dialog_;
    bool executeResult_ = false;
};

class TFileAction : public TCommonDialogAction {
public:
    using TCommonDialogAction::TCommonDialogAction;
};

class TFileOpen : public TFileAction {
public:
    using TFileAction::TFileAction;
    TOpenDialog* Dialog() { return static_cast<TOpenDialog*>(DialogObject()); }

protected:
    std::unique_ptr<TCommonDialog> CreateDialog() override;
};

// Opens the chosen file (FileName, when set, without asking) with the desktop's handler.
class TFileOpenWith : public TFileOpen {
public:
    using TFileOpen::TFileOpen;
    const AnsiString& FileName() const { return fileName_; }
    void SetFileName(const AnsiString& Value) { fileName_ = Value; }
    void ExecuteTarget(TObject* Target) override;

private:
    AnsiString fileName_;
};

class TFileSaveAs : public TFileAction {
public:
    using TFileAction::TFileAction;
    // A derived action may make a dialog of another kind, which answers none here.
    TSaveDialog* Dialog() { return dynamic_cast<TSaveDialog*>(DialogObject()); }

protected:
    std::unique_ptr<TCommonDialog> CreateDialog() override;
};

// There is no printing here: without an OnExecute the action is disabled.
class TFilePrintSetup : public TCommonDialogAction {
public:
    using TCommonDialogAction::TCommonDialogAction;
    bool HandlesTarget(TObject* Target) override;
};

class TFileExit : public TCustomAction {
public:
    explicit TFileExit(TComponent* AOwner);
    bool HandlesTarget(TObject* Target) override;
    // Closes the main form, which ends the program.
    void ExecuteTarget(TObject* Target) override;
};

// Searches the text of an edit control (Control, or the focused one) with
// its find or replace dialog.
class TSearchAction : public TCommonDialogAction {
public:
    explicit TSearchAction(TComponent* AOwner);
    TCustomEdit* Control() const { return control_; }
    void SetControl(TCustomEdit* Value);
    bool HandlesTarget(TObject* Target) override;
    void UpdateTarget(TObject* Target) override;
    // Shows the (modeless) dialog for the target.
    void ExecuteTarget(TObject* Target) override;
    TFindDialog* Dialog() { return static_cast<TFindDialog*>(DialogObject()); }
    // Finds FindText from the selection on (or before it, upwards) and
    // selects it; false when it is not there.
    bool Search();
    void Notification(TComponent* AComponent, TOperation Operation) override;

protected:
    std::unique_ptr<TCommonDialog> CreateDialog() override;
    TCustomEdit* searchControl() const;
    void find(TObject* Sender);

private:
    TCustomEdit* control_ = nullptr;
    TCustomEdit* target_ = nullptr;
};

class TSearchFind : public TSearchAction {
public:
    using TSearchAction::TSearchAction;
};

// Replace puts the replacement over a selection that matches, then finds
// the next; Replace All replaces every match.
class TSearchReplace : public TSearchAction {
public:
    using TSearchAction::TSearchAction;
    TReplaceDialog* Dialog() { return static_cast<TReplaceDialog*>(DialogObject()); }

protected:
    std::unique_ptr<TCommonDialog> CreateDialog() override;

private:
    void replace(TObject* Sender);
};

// Searches again for the text of the dialog, from the start of the text.
class TSearchFindFirst : public TSearchFind {
public:
    using TSearchFind::TSearchFind;
    void ExecuteTarget(TObject* Target) override;
};

// Searches again for the text of SearchFind's dialog without showing it.
class TSearchFindNext : public TCustomAction {
public:
    explicit TSearchFindNext(TComponent* AOwner);
    TSearchFind* SearchFind() const { return searchFind_; }
    void SetSearchFind(TSearchFind* Value);
    bool HandlesTarget(TObject* Target) override;
    void UpdateTarget(TObject* Target) override;
    void ExecuteTarget(TObject* Target) override;
    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    TSearchFind* searchFind_ = nullptr;
};

class TFontEdit : public TCommonDialogAction {
public:
    using TCommonDialogAction::TCommonDialogAction;
    TFontDialog* Dialog() { return static_cast<TFontDialog*>(DialogObject()); }

protected:
    std::unique_ptr<TCommonDialog> CreateDialog() override;
};

class TColorSelect : public TCommonDialogAction {
public:
    using TCommonDialogAction::TCommonDialogAction;
    TColorDialog* Dialog() { return static_cast<TColorDialog*>(DialogObject()); }

protected:
    std::unique_ptr<TCommonDialog> CreateDialog() override;
};

// There is no printing here: without an OnExecute the action is disabled.
class TPrintDlg : public TCommonDialogAction {
public:
    using TCommonDialogAction::TCommonDialogAction;
    bool HandlesTarget(TObject* Target) override;
};
