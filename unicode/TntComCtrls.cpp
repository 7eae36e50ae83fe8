#include "unicode/TntComCtrls.h"

#include "platform/core/CodePages.h"
#include "platform/core/SysUtils.h"
#include "platform/win/CommCtrl.h"
#include "platform/win/Messages.h"
#include "unicode/TntClasses.h"
#include "unicode/TntControls.h"
#include "unicode/TntForms.h"
#include "unicode/TntSystem.h"

namespace {

constexpr WideChar Tab = u'\t';
constexpr Integer SimpleTextIndex = 255;

template <typename Text> std::size_t leadingTabs(const Text& Value) {
    std::size_t count = 0;
    while (count < Value.size() && Value[count] == Tab)
        ++count;
    return count;
}

// The framework marks a centred panel with one leading tab and a right-aligned one with two.
void syncLeadingTabs(WideString& WideText, const AnsiString& AnsiText) {
    const std::size_t wanted = leadingTabs(AnsiText);
    while (leadingTabs(WideText) < wanted)
        WideText.insert(WideText.begin(), Tab);
    while (leadingTabs(WideText) > wanted)
        WideText.erase(0, 1);
}

} // namespace

// ---- Tab sheets and page controls ------------------------------------------------------------

WideString TTntTabSheet::Caption() {
    return TntControl_GetText(this);
}

void TTntTabSheet::SetCaption(const WideString& Value) {
    TntControl_SetText(this, Value);
}

WideString TTntTabSheet::Hint() {
    return TntControl_GetHint(this);
}

void TTntTabSheet::SetHint(const WideString& Value) {
    TntControl_SetHint(this, Value);
}

void TTntTabSheet::CreateWindowHandle(const TCreateParams& Params) {
    CreateUnicodeHandle(this, Params, WideString());
}

void TTntTabSheet::Dispatch(TMessage& Message) {
    if (Message.Msg != WM_SETTEXT || !Win32PlatformIsUnicode || HandleAllocated() || settingText_) {
        TTabSheet::Dispatch(Message);
        return;
    }
    const auto* text = reinterpret_cast<const char*>(Message.LParam);
    const AnsiString ansi = text ? text : "";
    if (ansi == WideToAnsi(Caption())) {
        TTabSheet::Dispatch(Message);
        return;
    }
    settingText_ = true;
    try {
        TntControl_SetText(this, AnsiToWide(ansi));
    } catch (...) {
        settingText_ = false;
        throw;
    }
    settingText_ = false;
}

void TTntTabSheet::DefineProperties(TFiler* Filer) {
    TTabSheet::DefineProperties(Filer);
    TntPersistent_AfterInherited_DefineProperties(Filer, this);
}

WideString TTntPageControl::Hint() {
    return TntControl_GetHint(this);
}

void TTntPageControl::SetHint(const WideString& Value) {
    TntControl_SetHint(this, Value);
}

void TTntPageControl::CreateWindowHandle(const TCreateParams& Params) {
    CreateUnicodeHandle(this, Params, u"SysTabControl32");
}

TTabSheet* TTntPageControl::sheetOfItem(WPARAM Index, const TCITEMA& Item) const {
    TObject* object = nullptr;
    if (Item.mask & TCIF_PARAM)
        object = reinterpret_cast<TObject*>(Item.lParam);
    else if ((Item.mask & TCIF_TEXT) && static_cast<Integer>(Index) < Tabs()->Count())
        object = Tabs()->Objects(static_cast<Integer>(Index));
    else
        return nullptr;
    auto* sheet = dynamic_cast<TTabSheet*>(object);
    if (object && !sheet) throw EInvalidCast(SInvalidCast);
    return sheet;
}

// A copy of the framework's record carries the wide caption, which lives until the window has it.
void TTntPageControl::setItemWide(TMessage& Message) {
    const auto& item = *reinterpret_cast<const TCITEMA*>(Message.LParam);
    TTabSheet* sheet = sheetOfItem(Message.WParam, item);
    if (!sheet) {
        passWithoutText(Message);
        return;
    }
    auto* wideSheet = dynamic_cast<TTntTabSheet*>(sheet);
    WideString caption = wideSheet ? wideSheet->Caption() : AnsiToWide(sheet->Caption());
    TCITEMW wide;
    wide.mask = item.mask | TCIF_TEXT | (UseRightToLeftReading() ? TCIF_RTLREADING : 0);
    wide.dwState = item.dwState;
    wide.dwStateMask = item.dwStateMask;
    wide.pszText = caption.data();
    wide.cchTextMax = item.cchTextMax;
    wide.iImage = item.iImage;
    wide.lParam = item.lParam;
    Message.Result =
        SendMessageW(WindowHandle(), TCM_SETITEMW, Message.WParam, reinterpret_cast<LPARAM>(&wide));
}

void TTntPageControl::WndProc(TMessage& Message) {
    if (!Win32PlatformIsUnicode || !HandleAllocated() ||
        (Message.Msg != TCM_SETITEMA && Message.Msg != TCM_INSERTITEMA)) {
        TPageControl::WndProc(Message);
        return;
    }
    if (Message.Msg == TCM_SETITEMA) {
        setItemWide(Message);
        return;
    }
    // The tab gets its caption from the TCM_SETITEMA that attaches its sheet.
    passWithoutText(Message);
}

// The ANSI text is not applied: the framework's record goes on as a copy without it.
void TTntPageControl::passWithoutText(TMessage& Message) {
    TCITEMA withoutText = *reinterpret_cast<const TCITEMA*>(Message.LParam);
    withoutText.mask &= ~TCIF_TEXT;
    TMessage copy{Message.Msg, Message.WParam, reinterpret_cast<LPARAM>(&withoutText), 0};
    TPageControl::WndProc(copy);
    Message.Result = copy.Result;
}

void TTntPageControl::Dispatch(TMessage& Message) {
    if (Message.Msg == CM_DIALOGCHAR)
        dialogChar(Message);
    else
        TPageControl::Dispatch(Message);
}

void TTntPageControl::dialogChar(TMessage& Message) {
    for (Integer i = 0; i < PageCount(); ++i) {
        TTabSheet* page = Pages(i);
        auto* wide = dynamic_cast<TTntTabSheet*>(page);
        const WideString caption = wide ? wide->Caption() : AnsiToWide(page->Caption());
        const Integer tab = page->TabIndex();
        if (tab < 0 || !IsWideCharAccel(LOWORD(Message.WParam), caption) || !CanShowTab(tab) || !CanFocus())
            continue;
        Message.Result = 1;
        if (CanChange()) {
            SetTabIndex(tab);
            Change();
        }
        return;
    }
    TPageControl::Dispatch(Message);
}

void TTntPageControl::DefineProperties(TFiler* Filer) {
    TPageControl::DefineProperties(Filer);
    TntPersistent_AfterInherited_DefineProperties(Filer, this);
}

// ---- Panels -------------------------------------------------------------------------------------

WideString TTntStatusPanel::Text() {
    return GetSyncedWideString(text_, TStatusPanel::Text());
}

void TTntStatusPanel::SetText(const WideString& Value) {
    SetSyncedWideString(Value, text_, TStatusPanel::Text(),
                        TSetAnsiStrEvent(this, &TTntStatusPanel::setAnsiText));
}

void TTntStatusPanel::Assign(TPersistent* Source) {
    TStatusPanel::Assign(Source);
    if (auto* panel = dynamic_cast<TTntStatusPanel*>(Source)) SetText(panel->Text());
}

void TTntStatusPanel::DefineProperties(TFiler* Filer) {
    TStatusPanel::DefineProperties(Filer);
    TntPersistent_AfterInherited_DefineProperties(Filer, this);
}

TTntStatusPanel* TTntStatusPanels::GetItem(Integer Index) const {
    auto* panel = dynamic_cast<TTntStatusPanel*>(Items(Index));
    if (!panel) throw EInvalidCast(SInvalidCast);
    return panel;
}

// ---- Status bar -----------------------------------------------------------------------------------

WideString TTntCustomStatusBar::SimpleText() {
    syncLeadingTabs(simpleText_, TCustomStatusBar::SimpleText());
    return GetSyncedWideString(simpleText_, TCustomStatusBar::SimpleText());
}

void TTntCustomStatusBar::SetSimpleText(const WideString& Value) {
    SetSyncedWideString(Value, simpleText_, TCustomStatusBar::SimpleText(),
                        TSetAnsiStrEvent(this, &TTntCustomStatusBar::setAnsiSimpleText));
}

TTntStatusPanels* TTntCustomStatusBar::GetPanels() const {
    auto* panels = dynamic_cast<TTntStatusPanels*>(Panels());
    if (!panels) throw EInvalidCast(SInvalidCast);
    return panels;
}

WideString TTntCustomStatusBar::Hint() {
    return TntControl_GetHint(this);
}

void TTntCustomStatusBar::SetHint(const WideString& Value) {
    TntControl_SetHint(this, Value);
}

void TTntCustomStatusBar::CreateWindowHandle(const TCreateParams& Params) {
    CreateUnicodeHandle(this, Params, u"msctls_statusbar32");
}

TStatusPanels* TTntCustomStatusBar::CreatePanels() {
    return new TTntStatusPanels(this, GetPanelClass());
}

TStatusPanelClass TTntCustomStatusBar::GetPanelClass() {
    return ClassOf<TTntStatusPanel>();
}

WideString TTntCustomStatusBar::panelText(const TMessage& Message) {
    const Integer index = LOBYTE(LOWORD(Message.WParam));
    const auto* ansi = reinterpret_cast<const char*>(Message.LParam);
    const AnsiString ansiText = ansi ? ansi : "";
    WideString text;
    if (index >= SimpleTextIndex)
        text = SimpleText();
    else if (Panels()->Count() > 0)
        text = GetPanels()->GetItem(index)->Text();
    else
        text = AnsiToWide(ansiText);
    syncLeadingTabs(text, ansiText);
    return text;
}

void TTntCustomStatusBar::WndProc(TMessage& Message) {
    if (Win32PlatformIsUnicode && Message.Msg == SB_SETTEXTA && !(Message.WParam & SBT_OWNERDRAW) &&
        HandleAllocated()) {
        const WideString text = panelText(Message);
        Message.Result =
            SendMessageW(WindowHandle(), SB_SETTEXTW, Message.WParam, reinterpret_cast<LPARAM>(text.c_str()));
        return;
    }
    if (Win32PlatformIsUnicode && Message.Msg == WM_GETTEXTLENGTH) {
        Message.Result = static_cast<LRESULT>(SimpleText().size());
        return;
    }
    TCustomStatusBar::WndProc(Message);
}

void TTntCustomStatusBar::DefineProperties(TFiler* Filer) {
    TCustomStatusBar::DefineProperties(Filer);
    TntPersistent_AfterInherited_DefineProperties(Filer, this);
}

namespace {
const TClass tntTabSheetClass = DescribeClass<TTntTabSheet, TTabSheet>([](TClassBuilder<TTntTabSheet>& c) {
    c.Property("Caption", &TTntTabSheet::Caption, &TTntTabSheet::SetCaption);
    c.Property("Hint", &TTntTabSheet::Hint, &TTntTabSheet::SetHint);
});
const TClass tntPageControlClass =
    DescribeClass<TTntPageControl, TPageControl>([](TClassBuilder<TTntPageControl>& c) {
        c.Property("Hint", &TTntPageControl::Hint, &TTntPageControl::SetHint);
    });
const TClass tntStatusPanelClass =
    DescribeClass<TTntStatusPanel, TStatusPanel>([](TClassBuilder<TTntStatusPanel>& c) {
        c.Property("Text", &TTntStatusPanel::Text, &TTntStatusPanel::SetText);
    });
const TClass tntStatusPanelsClass = DescribeClass<TTntStatusPanels, TStatusPanels>();
const TClass tntStatusBarClass =
    DescribeClass<TTntStatusBar, TCustomStatusBar>([](TClassBuilder<TTntStatusBar>& c) {
        DescribeStatusBarProperties(c);
        c.Property("Hint", &TTntStatusBar::Hint, &TTntStatusBar::SetHint);
    });
} // namespace
