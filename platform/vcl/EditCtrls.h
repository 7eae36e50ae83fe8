// The framework's edit controls over the system's EDIT class: TCustomEdit and
// TEdit (one line of text), TCustomMaskEdit and TMaskEdit (an edit that keeps
// an edit mask), TCustomMemo and TMemo (many lines, with Lines as a string
// list over the window's text). The window holds the text; the controls talk
// to it with the EM_ messages and hear of its changes through CN_COMMAND.
// Programs include StdCtrls.h, which includes this unit.
#pragma once

#include "platform/core/Classes.h"
#include "platform/vcl/Controls.h"

#include <memory>

// The alignment of a text in its box.
enum TAlignment { taLeftJustify, taRightJustify, taCenter };
enum TEditCharCase { ecNormal, ecUpperCase, ecLowerCase };
enum TScrollStyle { ssNone, ssHorizontal, ssVertical, ssBoth };

class TCustomEdit : public TWinControl {
public:
    explicit TCustomEdit(TComponent* AOwner);

    // Entering the control by the keyboard selects the whole text.
    bool AutoSelect() const { return autoSelect_; }
    void SetAutoSelect(bool Value) { autoSelect_ = Value; }
    // With a single border the height follows the font.
    void SetAutoSize(bool Value) override;
    TBorderStyle BorderStyle() const { return borderStyle_; }
    void SetBorderStyle(TBorderStyle Value);
    TEditCharCase CharCase() const { return charCase_; }
    void SetCharCase(TEditCharCase Value);
    bool HideSelection() const { return hideSelection_; }
    void SetHideSelection(bool Value);
    // What the user may type at most; 0 for no limit.
    Integer MaxLength() const { return maxLength_; }
    void SetMaxLength(Integer Value);
    bool OEMConvert() const { return oemConvert_; }
    void SetOEMConvert(bool Value);
    // #0 shows the text itself. Without a window the character is only kept.
    char PasswordChar() const { return passwordChar_; }
    void SetPasswordChar(char Value);
    bool ReadOnly() const { return readOnly_; }
    void SetReadOnly(bool Value);
    bool Modified();
    void SetModified(bool Value);
    bool CanUndo();

    // The selection, counted in the window's characters.
    Integer SelStart() { return GetSelStart(); }
    Integer SelLength() { return GetSelLength(); }
    AnsiString SelText() { return GetSelText(); }
    virtual Integer GetSelStart();
    virtual void SetSelStart(Integer Value);
    virtual Integer GetSelLength();
    virtual void SetSelLength(Integer Value);
    virtual AnsiString GetSelText();
    // Replaces the selection (not undoable).
    virtual void SetSelText(const AnsiString& Value);
    Integer GetSelTextBuf(char* Buffer, Integer BufSize);
    void SetSelTextBuf(const char* Buffer);

    void Clear();
    void ClearSelection();
    void CopyToClipboard();
    void CutToClipboard();
    void PasteFromClipboard();
    void Undo();
    void ClearUndo();
    void SelectAll();

    void Dispatch(TMessage& Message) override;

    TNotifyEvent OnChange;

protected:
    void CreateParams(TCreateParams& Params) override;
    void CreateWnd() override;
    void DestroyWnd() override;
    void AdjustSize() override;
    // The text changed: OnChange.
    virtual void Change();

    // Handlers of the messages TCustomEdit takes, for descendants that handle them first.
    void CNCommand(TMessage& Message);
    void CNCtlColor(TMessage& Message);
    void CMEnter(TMessage& Message);
    void CMTextChanged(TMessage& Message);
    void CMFontChanged(TMessage& Message);
    void WMSetFont(TMessage& Message);

private:
    void updateHeight();
    void adjustHeight();

    Integer maxLength_ = 0;
    TBorderStyle borderStyle_ = bsSingle;
    char passwordChar_ = 0;
    bool readOnly_ = false;
    bool autoSelect_ = true;
    bool hideSelection_ = true;
    bool oemConvert_ = false;
    TEditCharCase charCase_ = ecNormal;
    // The window's modified flag while there is no window.
    bool modified_ = false;
    // No OnChange while the window is made or destroyed.
    bool creating_ = false;
};

class TEdit : public TCustomEdit {
public:
    using TCustomEdit::TCustomEdit;
};

// An edit with an edit mask. The mask is kept and streamed; this framework
// applies none, so the edit behaves as a plain edit whatever its mask.
class TCustomMaskEdit : public TCustomEdit {
public:
    using TCustomEdit::TCustomEdit;

    const AnsiString& EditMask() const { return editMask_; }
    void SetEditMask(const AnsiString& Value) { editMask_ = Value; }
    bool IsMasked() const { return !editMask_.empty(); }
    // The text as the user edits it: the text itself without a mask.
    AnsiString EditText() { return Text(); }
    void SetEditText(const AnsiString& Value) { SetText(Value); }
    // Checks the text against the mask; nothing to check without one.
    virtual void ValidateEdit() {}

protected:
    // Whether an edit of the masked text may go ahead.
    virtual bool EditCanModify() { return true; }

private:
    AnsiString editMask_;
};

class TMaskEdit : public TCustomMaskEdit {
public:
    using TCustomMaskEdit::TCustomMaskEdit;
};

class TCustomMemo : public TCustomEdit {
public:
    explicit TCustomMemo(TComponent* AOwner);
    ~TCustomMemo() override;

    // The window's lines: reading and changing them makes the window when
    // there is none (which needs a parent). A last empty line is not counted.
    TStrings* Lines() const { return lines_.get(); }
    void SetLines(TStrings* Value) { lines_->Assign(Value); }
    TAlignment Alignment() const { return alignment_; }
    void SetAlignment(TAlignment Value);
    TScrollStyle ScrollBars() const { return scrollBars_; }
    void SetScrollBars(TScrollStyle Value);
    // Enter starts a new line; without it Enter goes to the form (Ctrl+Enter still breaks the line).
    bool WantReturns() const { return wantReturns_; }
    void SetWantReturns(bool Value) { wantReturns_ = Value; }
    // Tab types a tab; without it Tab moves the focus.
    bool WantTabs() const { return wantTabs_; }
    void SetWantTabs(bool Value) { wantTabs_ = Value; }
    // Lines wrap at the right edge unless a horizontal scroll bar is shown.
    bool WordWrap() const { return wordWrap_; }
    void SetWordWrap(bool Value);

    void Dispatch(TMessage& Message) override;

protected:
    void CreateParams(TCreateParams& Params) override;
    void KeyPress(char& Key) override;
    void WMGetDlgCode(TMessage& Message);

private:
    std::unique_ptr<TStrings> lines_;
    TAlignment alignment_ = taLeftJustify;
    TScrollStyle scrollBars_ = ssNone;
    bool wantReturns_ = true;
    bool wantTabs_ = false;
    bool wordWrap_ = true;
};

class TMemo : public TCustomMemo {
public:
    using TCustomMemo::TCustomMemo;
};
