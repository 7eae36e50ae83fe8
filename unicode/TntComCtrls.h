// The common controls with UTF-16 text: the page control, whose tabs show
// the wide captions of their sheets; the tab control, whose tab list is
// wide; and the status bar, whose panels and simple text keep wide texts
// beside the framework's ANSI ones and reach the Unicode window wide.
#pragma once

#include "platform/vcl/ComCtrls.h"
#include "unicode/TntStdCtrls.h"

#include <memory>

// Makes a common control's Unicode window (ClassName the system class; empty
// raises EAssertionFailed) and has it send its notifications in UTF-16.
void CreateUnicodeHandle_ComCtl(TWinControl* Control, const TCreateParams& Params, const WideString& ClassName);

class TTntTabSheet : public TTntCaptioned<TTabSheet> {
public:
    using TTntCaptioned::TTntCaptioned;
    // An ANSI caption set while there is no window becomes the wide caption.
    void Dispatch(TMessage& Message) override;

protected:
    void CreateWindowHandle(const TCreateParams& Params) override;

private:
    bool settingText_ = false;
};

class TTntPageControl : public TTntHinted<TPageControl> {
public:
    using TTntHinted::TTntHinted;
    // The framework's ANSI tab texts (TCM_INSERTITEMA, TCM_SETITEMA) reach
    // the window as the sheets' wide captions; its records stay as they were.
    void WndProc(TMessage& Message) override;
    // A wide hot key of a visible tab selects its page (OnChanging may
    // refuse); a control docks in on a wide sheet, whose caption follows the
    // control's first line.
    void Dispatch(TMessage& Message) override;

protected:
    void CreateWindowHandle(const TCreateParams& Params) override;
    std::unique_ptr<TTabSheet> NewDockSheet(TControl* Client) override;

private:
    TTabSheet* sheetOfItem(WPARAM Index, const TCITEMA& Item) const;
    void setItemWide(TMessage& Message);
    void passWithoutText(TMessage& Message);
    void dialogChar(TMessage& Message);
    void dockNotification(TMessage& Message);
};

// ---- Tab control ----------------------------------------------------------------------------------

class TTntCustomTabControl;

// The wide tab list of a tab control: texts in the Unicode window (the
// framework's ANSI list keeps count, objects and its ANSI copy).
class TTntTabStrings : public TTntStrings {
public:
    TTntTabStrings(TTntCustomTabControl* Control, TStrings* AnsiTabs) : control_(Control), ansiTabs_(AnsiTabs) {}
    // EListError "Failed to retrieve tab at index %d".
    WideString Get(Integer Index) const override;
    Integer GetCount() const override { return ansiTabs_->Count(); }
    TObject* GetObject(Integer Index) const override { return ansiTabs_->Objects(Index); }
    // EListError "Failed to set tab "%s" at index %d".
    void Put(Integer Index, const WideString& S) override;
    void PutObject(Integer Index, TObject* AObject) override { ansiTabs_->SetObjects(Index, AObject); }
    void Clear() override { ansiTabs_->Clear(); }
    void Delete(Integer Index) override { ansiTabs_->Delete(Index); }
    void Insert(Integer Index, const WideString& S) override;

protected:
    void SetUpdateState(bool Updating) override;

private:
    bool unicodeWindow() const;
    void setWideText(Integer Index, const WideString& S);

    TTntCustomTabControl* control_;
    TStrings* ansiTabs_;
};

class TTntCustomTabControl : public TTntHinted<TCustomTabControl> {
public:
    explicit TTntCustomTabControl(TComponent* AOwner);
    ~TTntCustomTabControl() override;
    TTntStrings* Tabs() const { return tabs_.get(); }
    void SetTabs(TTntStrings* Value) { tabs_->Assign(Value); }
    // A wide hot key of a tab selects it (OnChanging may refuse).
    void Dispatch(TMessage& Message) override;

protected:
    void CreateWindowHandle(const TCreateParams& Params) override;
    // The wide tabs and the tab index outlive the window.
    void CreateWnd() override;
    void DestroyWnd() override;

private:
    friend class TTntTabStrings;
    void dialogChar(TMessage& Message);

    std::unique_ptr<TTntTabStrings> tabs_;
    Integer savedTabIndex_ = -1;
    std::unique_ptr<TTntStringList> savedTabs_;
};

class TTntTabControl : public TTntCustomTabControl {
public:
    using TTntCustomTabControl::TTntCustomTabControl;
};

// ---- Status bar -------------------------------------------------------------------------------------

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

class TTntCustomStatusBar : public TTntHinted<TCustomStatusBar> {
public:
    using TTntHinted::TTntHinted;
    WideString SimpleText();
    void SetSimpleText(const WideString& Value);
    TTntStatusPanels* GetPanels() const;
    // The framework's ANSI panel texts (SB_SETTEXTA) reach the window as the wide texts.
    void WndProc(TMessage& Message) override;
    // With AutoHint and no OnHint, a wide hint action's hint shows wide.
    bool ExecuteAction(TBasicAction* Action) override;

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
