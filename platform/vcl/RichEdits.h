// The framework's rich edit over the system's rich edit class (RichEdit20A):
// a memo whose window also reads RTF, counts a line break as one character,
// reports selection changes (OnSelectionChange) and, when asked for with its
// event mask, detects addresses in the text and reports clicks on them to
// its parent (EN_LINK).
#pragma once

#include "platform/vcl/EditCtrls.h"

#include <memory>

enum TSearchType { stWholeWord, stMatchCase };
using TSearchTypes = TSet<TSearchType>;

class TCustomRichEdit;

// The rich edit's Lines: the memo's lines, except that files and streams
// are read and written through the window's stream, as RTF (as plain text
// with PlainText).
class TRichEditStrings : public TStrings {
public:
    TRichEditStrings(TCustomRichEdit* RichEdit, TStrings* MemoLines) : richEdit_(RichEdit), memoLines_(MemoLines) {}

    AnsiString Get(Integer Index) const override { return memoLines_->Get(Index); }
    Integer GetCount() const override { return memoLines_->Count(); }
    void Put(Integer Index, const AnsiString& S) override { memoLines_->Put(Index, S); }
    void Insert(Integer Index, const AnsiString& S) override { memoLines_->Insert(Index, S); }
    void Delete(Integer Index) override { memoLines_->Delete(Index); }
    void Clear() override { memoLines_->Clear(); }
    AnsiString GetTextStr() const override { return memoLines_->Text(); }
    void SetTextStr(const AnsiString& Value) override { memoLines_->SetText(Value); }
    void LoadFromStream(TStream* Stream) override;
    void SaveToStream(TStream* Stream) override;

protected:
    void SetUpdateState(bool Updating) override;

private:
    TCustomRichEdit* richEdit_;
    TStrings* memoLines_;
};

class TCustomRichEdit : public TCustomMemo {
public:
    explicit TCustomRichEdit(TComponent* AOwner);
    ~TCustomRichEdit() override;

    TStrings* Lines() const { return richLines_.get(); }
    void SetLines(TStrings* Value) { richLines_->Assign(Value); }
    // Prints the whole text as a document titled Caption, page after page.
    virtual void Print(const AnsiString& Caption);

    // Lines load and save as plain text when set, else as RTF.
    bool PlainText() const { return plainText_; }
    void SetPlainText(bool Value) { plainText_ = Value; }
    bool HideScrollBars() const { return hideScrollBars_; }
    void SetHideScrollBars(bool Value);
    // The position of SearchStr within Length characters from StartPos, or -1.
    Integer FindText(const AnsiString& SearchStr, Integer StartPos, Integer Length, TSearchTypes Options);
    // The whole text through the window's stream, as RTF (or plain text with PlainText).
    AnsiString RichText();
    void SetRichText(const AnsiString& Value);

    void Dispatch(TMessage& Message) override;

    TNotifyEvent OnSelectionChange;

protected:
    void CreateParams(TCreateParams& Params) override;
    void CreateWnd() override;
    // The window's own selected text (EM_GETSELTEXT): the text as set may
    // count its line breaks otherwise than the selection's positions do.
    AnsiString GetSelText() override;
    virtual void SelectionChange();

private:
    void applyColor();
    void cnNotify(TMessage& Message);

    std::unique_ptr<TRichEditStrings> richLines_;
    bool plainText_ = false;
    bool hideScrollBars_ = true;
};

class TRichEdit : public TCustomRichEdit {
public:
    using TCustomRichEdit::TCustomRichEdit;
};
