// Edit fields with a small button at their right edge: TCustomComboEdit and
// TComboEdit (the button runs OnButtonClick), TFileDirEdit (a folder picture
// on the button, files dropped from the shell) and TFilenameEdit (the button
// runs an open or save dialog whose choice goes into the field).
#pragma once

#include "platform/vcl/Dialogs.h"
#include "platform/vcl/EditCtrls.h"
#include "rx/RXCtrls.h"

#include <memory>

class EComboEditError : public Exception {
public:
    using Exception::Exception;
};

enum TGlyphKind { gkCustom, gkDefault, gkDropDown, gkEllipsis };

// What a descendant of TCustomComboEdit shows below the field when it has a
// popup: a control with a value of its own, in the field's text form (an
// empty text stands for no value).
class TComboEditPopup : public TCustomControl {
public:
    using TCustomControl::TCustomControl;
    virtual AnsiString PopupValue() = 0;
    virtual void SetPopupValue(const AnsiString& Value) = 0;
};

// The button of a combo edit.
class TEditButton : public TRxSpeedButton {
public:
    explicit TEditButton(TComponent* AOwner);
    void Click() override;

protected:
    void Paint() override;
    void MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override;

private:
    bool noAction_ = false;
};

class TCustomComboEdit : public TCustomMaskEdit {
public:
    explicit TCustomComboEdit(TComponent* AOwner);
    void BeforeDestruction() override;

    TEditButton* Button() const { return button_; }
    TWinControl* ButtonHost() const { return buttonHost_; }
    Integer ButtonWidth() const;
    void SetButtonWidth(Integer Value);
    bool IsButtonWidthStored() const;
    const AnsiString& ButtonHint() const { return button_->Hint(); }
    void SetButtonHint(const AnsiString& Value) { button_->SetHint(Value); }
    TBitmap* Glyph() const { return button_->Glyph(); }
    void SetGlyph(TBitmap* Value);
    bool IsGlyphStored() const { return glyphKind_ == gkCustom; }
    TRxNumGlyphs NumGlyphs() const { return button_->NumGlyphs(); }
    void SetNumGlyphs(TRxNumGlyphs Value);
    TGlyphKind GlyphKind() const { return glyphKind_; }
    void SetGlyphKind(TGlyphKind Value);
    TShortCut ClickKey() const { return clickKey_; }
    void SetClickKey(TShortCut Value) { clickKey_ = Value; }
    // Typing, cutting and pasting are allowed; the program may set Text either way.
    bool DirectInput() const { return directInput_; }
    void SetDirectInput(bool Value);
    // The read-only state asked for (the window is also read-only without DirectInput).
    bool ReadOnly() const { return GetReadOnly(); }
    void SetReadOnly(bool Value);
    // The button works while the field is read-only.
    bool AlwaysEnable() const { return alwaysEnable_; }
    void SetAlwaysEnable(bool Value) { alwaysEnable_ = Value; }
    TAlignment Alignment() const { return alignment_; }
    void SetAlignment(TAlignment Value);
    // Selects the whole text, only while DirectInput is on.
    void SelectAll();
    // The popup is showing.
    bool PopupVisible() const { return popupVisible_; }
    // 0: the popup's right edge under the field's; 1: its left edge under the field's.
    Byte PopupAlign() const { return popupAlign_; }
    void SetPopupAlign(Byte Value) { popupAlign_ = Value; }
    // The popup, when a descendant supplies one; not owned.
    TComboEditPopup* Popup() const { return popup_; }

    void Dispatch(TMessage& Message) override;

    TNotifyEvent OnButtonClick;

protected:
    // The picture of gkDefault; null here. FreeAfterUse tells the caller to free it.
    virtual TBitmap* GetDefaultBitmap(bool& FreeAfterUse);
    // Shows the popup under the field (above it near the screen's bottom)
    // with the field's value; DisableEdit makes the field read-only meanwhile.
    virtual void OpenPopup(bool DisableEdit);
    virtual void ShowPopupAt(const TPoint& Position);
    virtual void HidePopup();
    virtual bool CanAcceptPopupValue(AnsiString& Value);
    // The popup's value becomes Text, as if typed.
    virtual void ApplyPopupValue(const AnsiString& Value);
    virtual void SetPopupValue(const AnsiString& Value);
    virtual AnsiString GetPopupValue();
    // Called instead of OnChange while the popup is open.
    virtual void PopupValueChanged() {}
    virtual bool GetReadOnly() const { return readOnly_; }
    // OnButtonClick, then the popup opens or closes (accepting its value).
    virtual void ButtonClick();
    // Hides the popup; with Accept its value goes into the field.
    void ClosePopup(bool Accept);
    void SetPopup(TComboEditPopup* Value) { popup_ = Value; }
    void CreateParams(TCreateParams& Params) override;
    void CreateWnd() override;
    bool EditCanModify() override { return !readOnly_; }
    void Change() override;
    void KeyDown(Word& Key, TShiftState Shift) override;
    void KeyPress(char& Key) override;
    void MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override;
    void RecreateGlyph();

private:
    // Its press closes an open popup.
    friend class TEditButton;
    void EditButtonClick(TObject* Sender);
    void setEditRect();
    void updateButtonPlace();
    Integer minHeight();
    Integer textHeight();
    void wmSize(TMessage& Message);
    void wmSetFocus(TMessage& Message);
    void wmKillFocus(TMessage& Message);
    void cmCancelMode(TMessage& Message);
    void cnCtlColor(TMessage& Message);
    TPoint popupPosition();
    void applyReadOnly();
    Integer naturalButtonWidth() const;
    std::unique_ptr<TBitmap> ellipsisGlyph() const;

    TEditButton* button_ = nullptr;
    TWinControl* buttonHost_ = nullptr;
    TShortCut clickKey_;
    bool readOnly_ = false;
    bool directInput_ = true;
    bool alwaysEnable_ = false;
    TAlignment alignment_ = taLeftJustify;
    TGlyphKind glyphKind_ = gkCustom;
    Byte defaultNumGlyphs_ = 1;
    TComboEditPopup* popup_ = nullptr;
    bool popupVisible_ = false;
    bool focused_ = false;
    Byte popupAlign_ = 0;
};

class TComboEdit : public TCustomComboEdit {
public:
    using TCustomComboEdit::TCustomComboEdit;
};

// ---- File names ----------------------------------------------------------------------------

using TExecOpenDialogEvent = Closure<void(TObject* Sender, AnsiString& Name, bool& Action)>;

class TFileDirEdit : public TCustomComboEdit {
public:
    explicit TFileDirEdit(TComponent* AOwner);
    ~TFileDirEdit() override;

    // Files dropped from the shell go into the field.
    bool AcceptFiles() const { return acceptFiles_; }
    void SetAcceptFiles(bool Value);
    void Dispatch(TMessage& Message) override;

    TNotifyEvent OnDropFiles;
    TExecOpenDialogEvent OnBeforeDialog;
    TExecOpenDialogEvent OnAfterDialog;

protected:
    TBitmap* GetDefaultBitmap(bool& FreeAfterUse) override;
    virtual AnsiString GetLongName() = 0;
    virtual AnsiString GetShortName() = 0;
    virtual void ReceiveFileName(const AnsiString& AFileName) = 0;
    virtual void ClearFileList() {}
    virtual void DoBeforeDialog(AnsiString& FileName, bool& Action);
    virtual void DoAfterDialog(AnsiString& FileName, bool& Action);
    void CreateHandle() override;
    void DestroyWindowHandle() override;
    bool MultipleDirs() const { return multipleDirs_; }
    void SetMultipleDirs(bool Value) { multipleDirs_ = Value; }

private:
    void wmDropFiles(TMessage& Message);
    void registerDrops(bool Accept);

    bool acceptFiles_ = false;
    bool multipleDirs_ = false;
};

enum TFileDialogKind { dkOpen, dkSave, dkOpenPicture, dkSavePicture };

class TFilenameEdit : public TFileDirEdit {
public:
    explicit TFilenameEdit(TComponent* AOwner);
    ~TFilenameEdit() override;

    TOpenDialog* Dialog() const { return dialog_.get(); }
    TFileDialogKind DialogKind() const { return dialogKind_; }
    void SetDialogKind(TFileDialogKind Value);
    // The name part of Text: the whole text when a file of that name exists,
    // else its first command-line word without quotes.
    AnsiString FileName();
    // EComboEditError "Invalid file name - %s" for a name with < > " [ ] |.
    void SetFileName(const AnsiString& Value);
    const AnsiString& DefaultExt() const { return dialog_->DefaultExt(); }
    void SetDefaultExt(const AnsiString& Value) { dialog_->SetDefaultExt(Value); }
    const AnsiString& Filter() const { return dialog_->Filter(); }
    void SetFilter(const AnsiString& Value) { dialog_->SetFilter(Value); }
    bool IsFilterStored() const;
    Integer FilterIndex() const { return dialog_->FilterIndex(); }
    void SetFilterIndex(Integer Value) { dialog_->SetFilterIndex(Value); }
    const AnsiString& InitialDir() const { return dialog_->InitialDir(); }
    void SetInitialDir(const AnsiString& Value) { dialog_->SetInitialDir(Value); }
    TFileEditStyle FileEditStyle() const { return dialog_->FileEditStyle(); }
    void SetFileEditStyle(TFileEditStyle Value) { dialog_->SetFileEditStyle(Value); }
    TStrings* HistoryList() const { return dialog_->HistoryList(); }
    void SetHistoryList(TStrings* Value) { dialog_->SetHistoryList(Value); }
    TOpenOptions DialogOptions() const { return dialog_->Options(); }
    void SetDialogOptions(TOpenOptions Value);
    const AnsiString& DialogTitle() const { return dialog_->Title(); }
    void SetDialogTitle(const AnsiString& Value) { dialog_->SetTitle(Value); }
    bool IsDialogTitleStored() const;

protected:
    void ButtonClick() override;
    AnsiString GetLongName() override;
    AnsiString GetShortName() override;
    void ReceiveFileName(const AnsiString& AFileName) override;
    void ClearFileList() override;

private:
    void createDialog();
    // Points the dialog at the folder and name of Name before it opens.
    void prepareDialog(const AnsiString& Name);

    std::unique_ptr<TOpenDialog> dialog_;
    TFileDialogKind dialogKind_ = dkOpen;
};
