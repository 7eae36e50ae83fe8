// The tool bar and tool buttons with UTF-16 captions: a wide button's caption
// reaches the bar's Unicode window as a UTF-16 string, a button standing for
// a wide menu item takes its wide caption and hint, and the bar keeps its own
// wide caption.
#pragma once

#include "platform/vcl/ToolBars.h"
#include "unicode/TntStdCtrls.h"

class TTntToolButton : public TTntCaptioned<TToolButton> {
public:
    using TTntCaptioned::TTntCaptioned;
    // The framework's; then a wide menu item's wide caption and hint.
    void SetMenuItem(TMenuItem* Value) override;
    void Dispatch(TMessage& Message) override;
};

class TTntToolBar : public TTntHinted<TToolBar> {
public:
    using TTntHinted::TTntHinted;
    WideString Caption() { return TntControl_GetText(this); }
    void SetCaption(const WideString& Value) { TntControl_SetText(this, Value); }
    bool IsCaptionStored() const { return TntControl_IsCaptionStored(const_cast<TTntToolBar*>(this)); }
    // Unicode window: its text is the bar's wide caption, and a wide
    // button's caption is added as a UTF-16 string before it is inserted.
    void WndProc(TMessage& Message) override;

protected:
    void CreateWindowHandle(const TCreateParams& Params) override;

private:
    void insertButton(TMessage& Message);
    void getText(TMessage& Message) const;

    WideString caption_;
};
