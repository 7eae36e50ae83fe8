// The framework's dialog components over the common dialogs: open and save
// (filters "text|mask;mask|...", default extension, initial folder, several
// files), colour, font, and the modeless find and replace dialogs that report
// through OnFind and OnReplace; and the message and input boxes.
#pragma once

#include "platform/core/Classes.h"
#include "platform/vcl/Controls.h"
#include "platform/win/CommonDialogs.h"

#include <memory>

class TCommonDialog : public TComponent {
public:
    explicit TCommonDialog(TComponent* AOwner) : TComponent(AOwner) {}
    // True when the user confirmed (for the find dialogs: when it is shown).
    virtual bool Execute() = 0;
    bool Ctl3D() const { return ctl3D_; }
    void SetCtl3D(bool Value) { ctl3D_ = Value; }
    // Not 0: a file dialog has a Help button that asks the application for this topic.
    Integer HelpContext() const { return helpContext_; }
    void SetHelpContext(Integer Value) { helpContext_ = Value; }
    TNotifyEvent OnShow;
    TNotifyEvent OnClose;

protected:
    virtual void DoShow();
    virtual void DoClose();
    // The window that owns the dialog: the active form's, else the application's.
    HWND OwnerWindow() const;

private:
    bool ctl3D_ = true;
    Integer helpContext_ = 0;
};

// ---- Open and save ----------------------------------------------------------------

enum TOpenOption {
    ofReadOnly,
    ofOverwritePrompt,
    ofHideReadOnly,
    ofNoChangeDir,
    ofShowHelp,
    ofNoValidate,
    ofAllowMultiSelect,
    ofExtensionDifferent,
    ofPathMustExist,
    ofFileMustExist,
    ofCreatePrompt,
    ofShareAware,
    ofNoReadOnlyReturn,
    ofNoTestFileCreate,
    ofNoNetworkButton,
    ofNoLongNames,
    ofOldStyleDialog,
    ofNoDereferenceLinks,
    ofEnableIncludeNotify,
    ofEnableSizing,
    ofDontAddToRecent,
    ofForceShowHidden
};
using TOpenOptions = TSet<TOpenOption>;
constexpr TOpenOptions DefaultOpenOptions{ofHideReadOnly, ofEnableSizing};

// The name field of a file dialog: a plain field, or a field with a
// drop-down list of the HistoryList's names.
enum TFileEditStyle { fsEdit, fsComboBox };

using TCloseQueryEvent = Closure<void(TObject* Sender, bool& CanClose)>;
// A file dialog without an initial folder opens in the current directory
// (".") rather than where the system would choose.
extern bool ForceCurrentDirectory;

// The system function a file dialog runs: GetOpenFileNameA or GetSaveFileNameA.
using TFileDialogFunction = BOOL (*)(OPENFILENAMEA* Request);

class TOpenDialog : public TCommonDialog {
public:
    explicit TOpenDialog(TComponent* AOwner);
    ~TOpenDialog() override;

    bool Execute() override;
    const AnsiString& DefaultExt() const { return defaultExt_; }
    void SetDefaultExt(const AnsiString& Value) { defaultExt_ = Value; }
    const AnsiString& FileName() const { return fileName_; }
    void SetFileName(const AnsiString& Value) { fileName_ = Value; }
    // The names chosen; several with ofAllowMultiSelect.
    TStrings* Files() const { return files_.get(); }
    const AnsiString& Filter() const { return filter_; }
    void SetFilter(const AnsiString& Value) { filter_ = Value; }
    Integer FilterIndex() const { return filterIndex_; }
    void SetFilterIndex(Integer Value) { filterIndex_ = Value; }
    const AnsiString& InitialDir() const { return initialDir_; }
    void SetInitialDir(const AnsiString& Value) { initialDir_ = Value; }
    TOpenOptions Options() const { return options_; }
    void SetOptions(TOpenOptions Value) { options_ = Value; }
    const AnsiString& Title() const { return title_; }
    void SetTitle(const AnsiString& Value) { title_ = Value; }
    TFileEditStyle FileEditStyle() const { return fileEditStyle_; }
    void SetFileEditStyle(TFileEditStyle Value) { fileEditStyle_ = Value; }
    // The names the name field offers with fsComboBox.
    TStrings* HistoryList() const { return historyList_.get(); }
    void SetHistoryList(TStrings* Value) { historyList_->Assign(Value); }
    // Asked after the user chose; a false answer brings the dialog back.
    TCloseQueryEvent OnCanClose;

    // Builds the request from the properties, runs Func and takes the answer.
    virtual bool DoExecute(TFileDialogFunction Func);
    // The dialog's own window while it runs (its parent is the chooser, which
    // answers CDM_GETFILEPATH and its kin); null otherwise.
    HWND Handle() const { return handle_; }

protected:
    // The hook every file dialog of the framework runs with (lCustData is the
    // dialog): after each choice it takes the names (TakeFileNames) and asks
    // OnCanClose; a refusal empties Files and brings the chooser back.
    static UINT_PTR FileDialogHook(HWND Dialog, UINT Message, WPARAM wParam, LPARAM lParam);
    // Files and FileName from the record the running dialog answered in
    // (an OPENFILENAMEA here; the wide dialogs read their own kind).
    virtual void TakeFileNames(const void* Request);
    // Empties the names of a refused choice.
    virtual void ClearFileNames();
    // The picture dialogs show the picture selected.
    bool PreviewsPictures() const { return previewsPictures_; }
    void SetPreviewsPictures(bool Value) { previewsPictures_ = Value; }

private:
    void offerExtras();

    void takeFileNames(const OPENFILENAMEA& Request);
    bool canCloseChoice(const void* Request);

    HWND handle_ = nullptr;
    AnsiString defaultExt_;
    AnsiString fileName_;
    std::unique_ptr<TStringList> files_;
    AnsiString filter_;
    Integer filterIndex_ = 1;
    AnsiString initialDir_;
    TOpenOptions options_ = DefaultOpenOptions;
    AnsiString title_;
    TFileEditStyle fileEditStyle_ = fsEdit;
    std::unique_ptr<TStringList> historyList_;
    bool previewsPictures_ = false;
};

class TSaveDialog : public TOpenDialog {
public:
    using TOpenDialog::TOpenDialog;
    bool Execute() override;
};

// ---- Colour and font --------------------------------------------------------------------

enum TColorDialogOption { cdFullOpen, cdPreventFullOpen, cdShowHelp, cdSolidColor, cdAnyColor };
using TColorDialogOptions = TSet<TColorDialogOption>;

class TColorDialog : public TCommonDialog {
public:
    explicit TColorDialog(TComponent* AOwner);
    ~TColorDialog() override;
    bool Execute() override;
    TColor Color() const { return color_; }
    void SetColor(TColor Value) { color_ = Value; }
    // "ColorA=" .. "ColorP=" with a colour in hexadecimal ("ColorA=FF8000").
    TStrings* CustomColors() const { return customColors_.get(); }
    void SetCustomColors(TStrings* Value) { customColors_->Assign(Value); }
    TColorDialogOptions Options() const { return options_; }
    void SetOptions(TColorDialogOptions Value) { options_ = Value; }

private:
    TColor color_ = clBlack;
    std::unique_ptr<TStringList> customColors_;
    TColorDialogOptions options_;
};

enum TFontDialogOption {
    fdAnsiOnly,
    fdTrueTypeOnly,
    fdEffects,
    fdFixedPitchOnly,
    fdForceFontExist,
    fdNoFaceSel,
    fdNoOEMFonts,
    fdNoSimulations,
    fdNoSizeSel,
    fdNoStyleSel,
    fdNoVectorFonts,
    fdShowHelp,
    fdWysiwyg,
    fdLimitSize,
    fdScalableOnly,
    fdApplyButton
};
using TFontDialogOptions = TSet<TFontDialogOption>;

class TFontDialog : public TCommonDialog {
public:
    explicit TFontDialog(TComponent* AOwner);
    ~TFontDialog() override;
    bool Execute() override;
    TFont* Font() const { return font_.get(); }
    void SetFont(TFont* Value) { font_->Assign(Value); }
    TFontDialogOptions Options() const { return options_; }
    void SetOptions(TFontDialogOptions Value) { options_ = Value; }
    Integer MinFontSize() const { return minFontSize_; }
    void SetMinFontSize(Integer Value) { minFontSize_ = Value; }
    Integer MaxFontSize() const { return maxFontSize_; }
    void SetMaxFontSize(Integer Value) { maxFontSize_ = Value; }

private:
    std::unique_ptr<TFont> font_;
    TFontDialogOptions options_{fdEffects};
    Integer minFontSize_ = 0;
    Integer maxFontSize_ = 0;
};

// ---- Find and replace ---------------------------------------------------------------------

enum TFindOption {
    frDown,
    frFindNext,
    frHideMatchCase,
    frHideWholeWord,
    frHideUpDown,
    frMatchCase,
    frDisableMatchCase,
    frDisableUpDown,
    frDisableWholeWord,
    frReplace,
    frReplaceAll,
    frWholeWord,
    frShowHelp
};
using TFindOptions = TSet<TFindOption>;

// A modeless dialog: Execute shows it and returns; the user's requests come
// as OnFind (and OnReplace) with FindText and Options brought up to date,
// its closing as OnClose.
class TFindDialog : public TCommonDialog {
public:
    explicit TFindDialog(TComponent* AOwner);
    ~TFindDialog() override;
    bool Execute() override;
    void CloseDialog();
    // The dialog window while it is shown.
    HWND Handle() const { return handle_; }
    const AnsiString& FindText() const { return findText_; }
    void SetFindText(const AnsiString& Value);
    TFindOptions Options() const { return options_; }
    void SetOptions(TFindOptions Value) { options_ = Value; }
    TNotifyEvent OnFind;

protected:
    virtual HWND createDialog(FINDREPLACEA& Request);
    virtual void Find();
    virtual void Replace() {}

    FINDREPLACEA request_;
    AnsiString findText_;
    AnsiString replaceText_;

private:
    bool findMessage(TMessage& Message);
    void unhook();

    TFindOptions options_{frDown};
    HWND handle_ = nullptr;
    bool hooked_ = false;
    // The buffers the dialog writes the texts into.
    std::unique_ptr<char[]> findBuffer_;
    std::unique_ptr<char[]> replaceBuffer_;
};

class TReplaceDialog : public TFindDialog {
public:
    using TFindDialog::TFindDialog;
    const AnsiString& ReplaceText() const { return replaceText_; }
    void SetReplaceText(const AnsiString& Value) { replaceText_ = Value; }
    TNotifyEvent OnReplace;

protected:
    HWND createDialog(FINDREPLACEA& Request) override;
    void Replace() override;
};

// ---- Message and input boxes -----------------------------------------------------------------

enum TMsgDlgType { mtWarning, mtError, mtInformation, mtConfirmation, mtCustom };
enum TMsgDlgBtn {
    mbYes,
    mbNo,
    mbOK,
    mbCancel,
    mbAbort,
    mbRetry,
    mbIgnore,
    mbAll,
    mbNoToAll,
    mbYesToAll,
    mbHelp
};
using TMsgDlgButtons = TSet<TMsgDlgBtn>;
constexpr TMsgDlgButtons mbYesNoCancel{mbYes, mbNo, mbCancel};
constexpr TMsgDlgButtons mbOKCancel{mbOK, mbCancel};
constexpr TMsgDlgButtons mbAbortRetryIgnore{mbAbort, mbRetry, mbIgnore};

// A message box with the type's caption ("Warning", "Error", "Information",
// "Confirm", the application's title) and icon; the answer as a modal result.
// The buttons the system's boxes offer together are shown (OK, OK Cancel,
// Yes No, Yes No Cancel, Abort Retry Ignore, Retry Cancel); the others of a set are left out.
Integer MessageDlg(const AnsiString& Msg, TMsgDlgType DlgType, TMsgDlgButtons Buttons, Integer HelpCtx);
void ShowMessage(const AnsiString& Msg);
// A small modal form with the prompt, an edit holding Value and OK and
// Cancel; true and the new text in Value on OK.
bool InputQuery(const AnsiString& ACaption, const AnsiString& APrompt, AnsiString& Value);
AnsiString InputBox(const AnsiString& ACaption, const AnsiString& APrompt, const AnsiString& ADefault);
