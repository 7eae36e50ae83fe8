#include "unicode/TntToolBars.h"

#include "platform/core/CodePages.h"
#include "platform/vcl/Menus.h"
#include "platform/win/CommonControls.h"
#include "platform/win/Messages.h"
#include "platform/win/Windows.h"
#include "unicode/TntComCtrls.h"
#include "unicode/TntMenus.h"
#include "unicode/TntSystem.h"

// ---- TTntToolButton ----------------------------------------------------------------------------

void TTntToolButton::SetMenuItem(TMenuItem* Value) {
    TToolButton::SetMenuItem(Value);
    if (auto* item = dynamic_cast<TTntMenuItem*>(Value)) {
        SetCaption(item->Caption());
        SetHint(item->Hint());
    }
}

// A graphic control's hint is made wide here; windowed controls have their trap for it.
void TTntToolButton::Dispatch(TMessage& Message) {
    if (Message.Msg == CM_HINTSHOW) ProcessCMHintShowMsg(Message);
    TTntCaptioned::Dispatch(Message);
}

// ---- TTntToolBar -------------------------------------------------------------------------------

void TTntToolBar::CreateWindowHandle(const TCreateParams& Params) {
    CreateUnicodeHandle_ComCtl(this, Params, u"ToolbarWindow32");
}

void TTntToolBar::WndProc(TMessage& Message) {
    if (!Win32PlatformIsUnicode) {
        TTntHinted::WndProc(Message);
        return;
    }
    switch (Message.Msg) {
    case TB_INSERTBUTTONA:
        insertButton(Message);
        return;
    case WM_SETTEXT:
        caption_ = TextOf(reinterpret_cast<const WCHAR*>(Message.LParam));
        Message.Result = TRUE;
        return;
    case WM_GETTEXT:
        getText(Message);
        return;
    case WM_GETTEXTLENGTH:
        Message.Result = static_cast<LRESULT>(caption_.size());
        return;
    default:
        TTntHinted::WndProc(Message);
    }
}

// The framework's record goes on as a copy with the index of the wide string.
void TTntToolBar::insertButton(TMessage& Message) {
    TBBUTTON button = *reinterpret_cast<const TBBUTTON*>(Message.LParam);
    auto* wide = dynamic_cast<TTntToolButton*>(reinterpret_cast<TToolButton*>(button.dwData));
    if (button.iString != -1 && wide) {
        // A list of one string: the caption, its NUL and the list's closing NUL.
        const WideString caption = wide->Caption() + WideString(1, u'\0');
        button.iString = SendMessageW(Handle(), TB_ADDSTRINGW, 0, reinterpret_cast<LPARAM>(caption.c_str()));
    }
    TMessage copy{Message.Msg, Message.WParam, reinterpret_cast<LPARAM>(&button), 0};
    TTntHinted::WndProc(copy);
    Message.Result = copy.Result;
}

// At most the buffer's size less one character (nothing into a buffer of none).
void TTntToolBar::getText(TMessage& Message) const {
    const auto size = static_cast<int>(Message.WParam);
    auto* buffer = reinterpret_cast<WCHAR*>(Message.LParam);
    Message.Result = buffer && size > 0 ? CopyText(caption_, buffer, size) : 0;
}

namespace {
const TClass tntToolButtonClass =
    DescribeClass<TTntToolButton, TToolButton>([](TClassBuilder<TTntToolButton>& c) {
        c.Property("Caption", &TTntToolButton::Caption, &TTntToolButton::SetCaption)
            .Stored(&TTntToolButton::IsCaptionStored);
        c.Property("Hint", &TTntToolButton::Hint, &TTntToolButton::SetHint)
            .Stored(&TTntToolButton::IsHintStored);
    });
const TClass tntToolBarClass = DescribeClass<TTntToolBar, TToolBar>([](TClassBuilder<TTntToolBar>& c) {
    c.Property("Caption", &TTntToolBar::Caption, &TTntToolBar::SetCaption)
        .Stored(&TTntToolBar::IsCaptionStored);
    c.Property("Hint", &TTntToolBar::Hint, &TTntToolBar::SetHint).Stored(&TTntToolBar::IsHintStored);
});

struct RegisterTntToolBar {
    RegisterTntToolBar() { RegisterClasses({tntToolBarClass, tntToolButtonClass}); }
} registerTntToolBar;
} // namespace
