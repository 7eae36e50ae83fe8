// The framework's rich edit over the system's rich edit class (RichEdit20A):
// a memo whose window also reads RTF, counts a line break as one character,
// reports selection changes (OnSelectionChange) and, when asked for with its
// event mask, detects addresses in the text and reports clicks on them to
// its parent (EN_LINK).
#pragma once

#include "platform/vcl/EditCtrls.h"

enum TSearchType { stWholeWord, stMatchCase };
using TSearchTypes = TSet<TSearchType>;

class TCustomRichEdit : public TCustomMemo {
public:
    explicit TCustomRichEdit(TComponent* AOwner);

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

    bool plainText_ = false;
    bool hideScrollBars_ = true;
};

class TRichEdit : public TCustomRichEdit {
public:
    using TCustomRichEdit::TCustomRichEdit;
};
