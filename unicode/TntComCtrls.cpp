#include "unicode/TntComCtrls.h"

#include "platform/core/CodePages.h"
#include "platform/core/SysUtils.h"
#include "platform/win/CommCtrl.h"
#include "platform/win/Messages.h"
#include "unicode/TntClasses.h"
#include "unicode/TntControls.h"
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
