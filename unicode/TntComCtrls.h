// The common controls with UTF-16 text: the page control, whose tabs show
// the wide captions of their sheets, and the status bar, whose panels and
// simple text keep wide texts beside the framework's ANSI ones and reach
// the Unicode window wide.
#pragma once

#include "platform/vcl/ComCtrls.h"

class TTntTabSheet : public TTabSheet {
public:
    using TTabSheet::TTabSheet;
    WideString Caption();
    void SetCaption(const WideString& Value);
    WideString Hint();
    void SetHint(const WideString& Value);
    // An ANSI caption set while there is no window becomes the wide caption.
    void Dispatch(TMessage& Message) override;
    void DefineProperties(TFiler* Filer) override;

protected:
    void CreateWindowHandle(const TCreateParams& Params) override;

private:
    bool settingText_ = false;
};

class TTntPageControl : public TPageControl {
public:
    using TPageControl::TPageControl;
    WideString Hint();
    void SetHint(const WideString& Value);
    // The framework's ANSI tab texts (TCM_INSERTITEMA, TCM_SETITEMA) reach
    // the window as the sheets' wide captions; its records stay as they were.
    void WndProc(TMessage& Message) override;
    // A wide hot key of a visible tab selects its page (OnChanging may refuse).
    void Dispatch(TMessage& Message) override;
    void DefineProperties(TFiler* Filer) override;

protected:
    void CreateWindowHandle(const TCreateParams& Params) override;

private:
    TTabSheet* sheetOfItem(WPARAM Index, const TCITEMA& Item) const;
    void setItemWide(TMessage& Message);
    void passWithoutText(TMessage& Message);
    void dialogChar(TMessage& Message);
};

class TTntStatusPanel : public TStatusPanel {
public:
    using TStatusPanel::TStatusPanel;
    WideString Text();
    // A new wide text with the old ANSI form still redraws the panel.
    void SetText(const WideString& Value);
    void Assign(TPersistent* Source) override;
    void DefineProperties(TFiler* Filer) override;

private:
    void setAnsiText(const AnsiString& Value) { TStatusPanel::SetText(Value); }
    WideString text_;
};

class TTntStatusPanels : public TStatusPanels {
public:
    using TStatusPanels::TStatusPanels;
    // EListError outside the panels; EInvalidCast for a panel that is not wide.
    TTntStatusPanel* GetItem(Integer Index) const;
};

class TTntCustomStatusBar : public TCustomStatusBar {
public:
    using TCustomStatusBar::TCustomStatusBar;
    WideString SimpleText();
    void SetSimpleText(const WideString& Value);
    TTntStatusPanels* GetPanels() const;
    WideString Hint();
    void SetHint(const WideString& Value);
    // The framework's ANSI panel texts (SB_SETTEXTA) reach the window as the wide texts.
    void WndProc(TMessage& Message) override;
    void DefineProperties(TFiler* Filer) override;

protected:
    void CreateWindowHandle(const TCreateParams& Params) override;
    TStatusPanels* CreatePanels() override;
    TStatusPanelClass GetPanelClass() override;

private:
    void setAnsiSimpleText(const AnsiString& Value) { TCustomStatusBar::SetSimpleText(Value); }
    WideString panelText(const TMessage& Message);
    WideString simpleText_;
};

class TTntStatusBar : public TTntCustomStatusBar {
public:
    using TTntCustomStatusBar::TTntCustomStatusBar;
};
