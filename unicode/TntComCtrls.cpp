#include "unicode/TntComCtrls.h"

#include "platform/core/CodePages.h"
#include "platform/core/SysUtils.h"
#include "platform/win/CommCtrl.h"
#include "platform/win/Messages.h"
#include "platform/win/Windows.h"
#include "unicode/TntClasses.h"
#include "unicode/TntControls.h"
#include "unicode/TntForms.h"
#include "unicode/TntStdActns.h"
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

void CreateUnicodeHandle_ComCtl(TWinControl* Control, const TCreateParams& Params, const WideString& ClassName) {
    if (ClassName.empty())
        throw EAssertionFailed("TNT Internal Error: Only call CreateUnicodeHandle_ComCtl for Common Controls.");
    CreateUnicodeHandle(Control, Params, ClassName);
    if (Win32PlatformIsUnicode) SendMessageW(Control->Handle(), CCM_SETUNICODEFORMAT, 1, 0);
}

// ---- Tab sheets and page controls ------------------------------------------------------------

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

void TTntPageControl::CreateWindowHandle(const TCreateParams& Params) {
    CreateUnicodeHandle_ComCtl(this, Params, u"SysTabControl32");
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
    switch (Message.Msg) {
    case CM_DIALOGCHAR:
        dialogChar(Message);
        break;
    case CM_DOCKNOTIFICATION:
        dockNotification(Message);
        break;
    default:
        TPageControl::Dispatch(Message);
    }
}

std::unique_ptr<TTabSheet> TTntPageControl::NewDockSheet(TControl* Client) {
    auto sheet = std::make_unique<TTntTabSheet>(this);
    if (dynamic_cast<TCustomForm*>(Client)) sheet->SetCaption(TntControl_GetText(Client));
    return sheet;
}

namespace {

// The text of a WM_SETTEXT a docked control received: UTF-16 from a Unicode window.
WideString dockedText(TControl* Client, LPARAM Text) {
    auto* windowed = dynamic_cast<TWinControl*>(Client);
    if (windowed && windowed->HandleAllocated() && IsWindowUnicode(windowed->WindowHandle()))
        return Text ? WideString(reinterpret_cast<const WideChar*>(Text)) : WideString();
    return Text ? AnsiToWide(reinterpret_cast<const char*>(Text)) : WideString();
}

} // namespace

// The tab shows the first line of a docked control's new caption.
void TTntPageControl::dockNotification(TMessage& Message) {
    auto* client = reinterpret_cast<TControl*>(Message.WParam);
    const auto& notice = *reinterpret_cast<const TDockNotifyRec*>(Message.LParam);
    auto* page = dynamic_cast<TTntTabSheet*>(GetPageFromDockClient(client));
    if (notice.ClientMsg != WM_SETTEXT || !page) {
        TPageControl::Dispatch(Message);
        return;
    }
    const WideString text = dockedText(client, notice.MsgLParam);
    page->SetCaption(text.substr(0, text.find_first_of(u"\r\n")));
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
    // Without a wide match the children are asked; the captions had their
    // test, the framework's ANSI one is not made again.
    TWinControl::Dispatch(Message);
}

// ---- Tab control -----------------------------------------------------------------------------------

namespace {

constexpr std::size_t TabTextCapacity = 4096;
constexpr const char* STabFailRetrieve = "Failed to retrieve tab at index %d";
constexpr const char* STabFailSetWide = "Failed to set tab \"%s\" at index %d";

UINT readingFlags(TWinControl* Control) {
    return Control->UseRightToLeftReading() ? TCIF_RTLREADING : 0;
}

} // namespace

bool TTntTabStrings::unicodeWindow() const {
    return Win32PlatformIsUnicode && IsWindowUnicode(control_->Handle());
}

WideString TTntTabStrings::Get(Integer Index) const {
    if (!unicodeWindow()) return AnsiToWide(ansiTabs_->Strings(Index));
    WideString buffer(TabTextCapacity, u'\0');
    TCITEMW item{};
    item.mask = TCIF_TEXT | readingFlags(control_);
    item.pszText = buffer.data();
    item.cchTextMax = static_cast<int>(TabTextCapacity);
    if (!SendMessageW(control_->Handle(), TCM_GETITEMW, static_cast<WPARAM>(Index), reinterpret_cast<LPARAM>(&item)))
        throw EListError(Format(STabFailRetrieve, {Index}));
    return WideString(item.pszText);
}

// The framework's list keeps the ANSI copy (and writes it to the window);
// the window then gets the wide text.
void TTntTabStrings::Put(Integer Index, const WideString& S) {
    ansiTabs_->Put(Index, WideToAnsi(S));
    if (unicodeWindow()) setWideText(Index, S);
}

void TTntTabStrings::Insert(Integer Index, const WideString& S) {
    ansiTabs_->Insert(Index, WideToAnsi(S));
    if (unicodeWindow()) setWideText(Index, S);
}

void TTntTabStrings::setWideText(Integer Index, const WideString& S) {
    WideString text = S;
    TCITEMW item{};
    item.mask = TCIF_TEXT | TCIF_IMAGE | readingFlags(control_);
    item.pszText = text.data();
    item.iImage = control_->GetImageIndex(Index);
    if (!SendMessageW(control_->Handle(), TCM_SETITEMW, static_cast<WPARAM>(Index), reinterpret_cast<LPARAM>(&item)))
        throw EListError(Format(STabFailSetWide, {WideToAnsi(S), Index}));
    control_->UpdateTabImages();
}

void TTntTabStrings::SetUpdateState(bool Updating) {
    if (Updating)
        ansiTabs_->BeginUpdate();
    else
        ansiTabs_->EndUpdate();
}

TTntCustomTabControl::TTntCustomTabControl(TComponent* AOwner)
    : TTntHinted(AOwner), tabs_(std::make_unique<TTntTabStrings>(this, TCustomTabControl::Tabs())) {}

TTntCustomTabControl::~TTntCustomTabControl() {
    tabs_.reset();
    savedTabs_.reset();
}

void TTntCustomTabControl::CreateWindowHandle(const TCreateParams& Params) {
    CreateUnicodeHandle_ComCtl(this, Params, u"SysTabControl32");
}

void TTntCustomTabControl::DestroyWnd() {
    if (tabs_->Count() > 0) {
        savedTabs_ = std::make_unique<TTntStringList>();
        savedTabs_->Assign(tabs_.get());
        savedTabIndex_ = TabIndex();
    }
    TTntHinted::DestroyWnd();
}

void TTntCustomTabControl::CreateWnd() {
    TTntHinted::CreateWnd();
    if (!savedTabs_) return;
    // The framework gave the new window the ANSI texts; the wide ones replace them.
    for (Integer i = 0; i < savedTabs_->Count(); ++i)
        tabs_->Put(i, savedTabs_->Strings(i));
    savedTabs_.reset();
    SetTabIndex(savedTabIndex_);
}

void TTntCustomTabControl::Dispatch(TMessage& Message) {
    if (Message.Msg == CM_DIALOGCHAR)
        dialogChar(Message);
    else
        TTntHinted::Dispatch(Message);
}

void TTntCustomTabControl::dialogChar(TMessage& Message) {
    for (Integer i = 0; i < tabs_->Count(); ++i) {
        if (!IsWideCharAccel(LOWORD(Message.WParam), tabs_->Strings(i)) || !CanShowTab(i) || !CanFocus()) continue;
        Message.Result = 1;
        if (CanChange()) {
            SetTabIndex(i);
            Change();
        }
        return;
    }
    TWinControl::Dispatch(Message);
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

void TTntCustomStatusBar::CreateWindowHandle(const TCreateParams& Params) {
    CreateUnicodeHandle_ComCtl(this, Params, u"msctls_statusbar32");
}

bool TTntCustomStatusBar::ExecuteAction(TBasicAction* Action) {
    auto* hint = dynamic_cast<TTntHintAction*>(Action);
    // An assigned OnHint is called by the framework's ExecuteAction.
    if (!AutoHint() || !hint || OnHint) return TTntHinted::ExecuteAction(Action);
    if (!SimplePanel() && Panels()->Count() > 0)
        GetPanels()->GetItem(0)->SetText(hint->Hint());
    else
        SetSimpleText(hint->Hint());
    return true;
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


namespace {
const TClass tntTabSheetClass = DescribeClass<TTntTabSheet, TTabSheet>([](TClassBuilder<TTntTabSheet>& c) {
    c.Property("Caption", &TTntTabSheet::Caption, &TTntTabSheet::SetCaption)
        .Stored(&TTntTabSheet::IsCaptionStored);
    c.Property("Hint", &TTntTabSheet::Hint, &TTntTabSheet::SetHint).Stored(&TTntTabSheet::IsHintStored);
});
const TClass tntTabControlClass =
    DescribeClass<TTntTabControl, TCustomTabControl>([](TClassBuilder<TTntTabControl>& c) {
        c.Property("Hint", &TTntTabControl::Hint, &TTntTabControl::SetHint)
            .Stored(&TTntTabControl::IsHintStored);
    });
const TClass tntPageControlClass =
    DescribeClass<TTntPageControl, TPageControl>([](TClassBuilder<TTntPageControl>& c) {
        c.Property("Hint", &TTntPageControl::Hint, &TTntPageControl::SetHint)
            .Stored(&TTntPageControl::IsHintStored);
    });
const TClass tntStatusPanelClass =
    DescribeClass<TTntStatusPanel, TStatusPanel>([](TClassBuilder<TTntStatusPanel>& c) {
        c.Property("Text", &TTntStatusPanel::Text, &TTntStatusPanel::SetText);
    });
const TClass tntStatusPanelsClass = DescribeClass<TTntStatusPanels, TStatusPanels>();
const TClass tntStatusBarClass =
    DescribeClass<TTntStatusBar, TCustomStatusBar>([](TClassBuilder<TTntStatusBar>& c) {
        DescribeStatusBarProperties(c);
        c.Property("Hint", &TTntStatusBar::Hint, &TTntStatusBar::SetHint)
            .Stored(&TTntStatusBar::IsHintStored);
    });
} // namespace
