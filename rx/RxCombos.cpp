// The owner-drawn combo box keeps the framework's combo style for its list
// and adds the fixed owner-draw style to the window; the colour combo box
// fills its items from a table of sixteen colours (and None and Default)
// each time its window is made.
#include "rx/RxCombos.h"

#include "platform/core/SysUtils.h"
#include "platform/win/ComboBoxControl.h"
#include "platform/win/DrawText.h"
#include "platform/win/Gdi.h"
#include "platform/win/Messages.h"
#include "rx/RXCtrls.h"

#include <algorithm>
#include <cstdint>

namespace {

constexpr Integer MinItemHeight = 9;
constexpr DWORD ComboStyleBits = 0x3;
// The swatch: 2 pixels in from the item, 22 wide before a name, which starts 6 further on.
constexpr Integer SwatchInset = 2;
constexpr Integer SwatchWidth = 22;
constexpr Integer NameGap = 6;
constexpr Integer NoNameRightInset = 3;
constexpr Byte BrightComponent = 192;
constexpr std::size_t MaxNameLength = 255;
const char* const DefaultColorName = "Default";

const TColor colorTable[] = {clBlack, clMaroon, clGreen, clOlive,  clNavy, clPurple,  clTeal, clGray,    clSilver,
                             clRed,   clLime,   clYellow, clBlue, clFuchsia, clAqua, clWhite, clNone, clDefault};

TObject* colorObject(TColor Color) {
    return reinterpret_cast<TObject*>(static_cast<std::uintptr_t>(static_cast<std::uint32_t>(Color)));
}

// The colour's identifier without "cl", or the framework's text of it.
AnsiString colorName(TColor Color) {
    const AnsiString text = ColorToString(Color);
    return text.rfind("cl", 0) == 0 ? text.substr(2) : text;
}

} // namespace

// ---- TOwnerDrawComboBox ------------------------------------------------------------------

TOwnerDrawComboBox::TOwnerDrawComboBox(TComponent* AOwner) : TCustomComboBox(AOwner) {
    TCustomComboBox::SetStyle(csDropDownList);
}

void TOwnerDrawComboBox::SetStyle(TComboBoxStyle Value) {
    if (ownerDrawStyle_ == Value) return;
    ownerDrawStyle_ = Value;
    TCustomComboBox::SetStyle(Value);
}

Integer TOwnerDrawComboBox::GetItemHeight() {
    return std::max(ScreenCharacterHeight(Font()->Handle()) + 1, MinItemHeight);
}

// Writing the framework's item height asks for a new window, which this
// style does not need: the request is ignored meanwhile.
void TOwnerDrawComboBox::applyItemHeight() {
    const Integer height = GetItemHeight();
    itemHeightChanging_ = true;
    try {
        SetItemHeight(height);
    } catch (...) {
        itemHeightChanging_ = false;
        throw;
    }
    itemHeightChanging_ = false;
    if (HandleAllocated()) SendMessageA(Handle(), CB_SETITEMHEIGHT, 0, height);
}

void TOwnerDrawComboBox::CreateParams(TCreateParams& Params) {
    TCustomComboBox::CreateParams(Params);
    Params.Style &= ~ComboStyleBits;
    static constexpr DWORD styles[] = {CBS_DROPDOWN, CBS_SIMPLE, CBS_DROPDOWNLIST};
    const DWORD style = ownerDrawStyle_ <= csDropDownList ? styles[ownerDrawStyle_] : CBS_DROPDOWNLIST;
    Params.Style |= CBS_OWNERDRAWFIXED | style;
}

void TOwnerDrawComboBox::CreateWnd() {
    TCustomComboBox::CreateWnd();
    applyItemHeight();
}

void TOwnerDrawComboBox::Dispatch(TMessage& Message) {
    switch (Message.Msg) {
    case CM_RECREATEWND:
        if (!itemHeightChanging_) TCustomComboBox::Dispatch(Message);
        break;
    case CM_FONTCHANGED:
        TCustomComboBox::Dispatch(Message);
        applyItemHeight();
        RecreateWnd();
        break;
    default:
        TCustomComboBox::Dispatch(Message);
    }
}

// ---- TColorComboBox ------------------------------------------------------------------------

TColorComboBox::TColorComboBox(TComponent* AOwner)
    : TOwnerDrawComboBox(AOwner), colorNames_(std::make_unique<TStringList>()) {
    colorNames_->OnChange = TNotifyEvent(this, &TColorComboBox::ColorNamesChanged);
}

TColorComboBox::~TColorComboBox() {
    colorNames_->OnChange = nullptr;
}

TColor TColorComboBox::ItemColor(Integer Index) const {
    return static_cast<TColor>(reinterpret_cast<std::uintptr_t>(Items()->Objects(Index)));
}

void TColorComboBox::PopulateList() {
    Items()->BeginUpdate();
    try {
        Items()->Clear();
        for (Integer position = 0; position < static_cast<Integer>(std::size(colorTable)); ++position) {
            const TColor color = colorTable[position];
            if (color == clDefault && !options_.Contains(coIncludeDefault)) continue;
            if (color == clNone && !options_.Contains(coIncludeNone)) continue;
            AnsiString name = position < colorNames_->Count() ? colorNames_->Strings(position) : AnsiString();
            if (name.empty()) name = color == clDefault ? AnsiString(DefaultColorName) : colorName(color);
            Items()->AddObject(name, colorObject(color));
        }
    } catch (...) {
        Items()->EndUpdate();
        throw;
    }
    Items()->EndUpdate();
}

void TColorComboBox::CreateWnd() {
    TOwnerDrawComboBox::CreateWnd();
    PopulateList();
    SetColorValue(colorValue_);
}

TColor TColorComboBox::ColorValue() {
    if (Style() == csDropDownList || ItemIndex() >= 0) return colorValue_;
    const AnsiString text = Text();
    const Integer index = Items()->IndexOf(text);
    if (index >= 0) return ItemColor(index);
    Integer number = 0;
    return TryStrToInt(text, number) ? static_cast<TColor>(number) : colorValue_;
}

void TColorComboBox::SetColorValue(TColor Value) {
    if (ItemIndex() >= 0 && Value == colorValue_) return;
    colorValue_ = Value;
    for (Integer i = 0; i < Items()->Count(); ++i) {
        if (ItemColor(i) != Value) continue;
        if (ItemIndex() != i) SetItemIndex(i);
        DoChange();
        return;
    }
    if (Style() == csDropDownList)
        SetItemIndex(-1);
    else
        SetText(colorName(Value));
    DoChange();
}

void TColorComboBox::DoChange() {
    if (!ComponentState().Contains(csReading) && OnChange) OnChange(this);
}

void TColorComboBox::SetDisplayNames(bool Value) {
    if (displayNames_ == Value) return;
    displayNames_ = Value;
    Invalidate();
}

void TColorComboBox::SetOptions(TColorComboOptions Value) {
    if (options_ == Value) return;
    options_ = Value;
    if (HandleAllocated()) RecreateWnd();
}

void TColorComboBox::ColorNamesChanged(TObject*) {
    if (!HandleAllocated()) return;
    colorValue_ = ColorValue();
    RecreateWnd();
}

void TColorComboBox::DrawItem(Integer Index, const TRect& Rect, TOwnerDrawState State) {
    TCanvas* canvas = Canvas();
    TRect swatch{Rect.Left + SwatchInset, Rect.Top + SwatchInset, 0, Rect.Bottom - SwatchInset};
    swatch.Right = displayNames_ ? swatch.Left + SwatchWidth : Rect.Right - NoNameRightInset;
    canvas->FillRect(Rect);
    const TColor color = ItemColor(Index);
    const TColor rgb = ColorToRGB(color);
    const bool bright =
        GetRValue(rgb) > BrightComponent || GetGValue(rgb) > BrightComponent || GetBValue(rgb) > BrightComponent;
    canvas->Pen()->SetColor(bright ? clBlack : State.Contains(odSelected) ? clWhite : color);
    canvas->Rectangle(swatch);
    const TColor brushColor = canvas->Brush()->Color();
    try {
        canvas->Brush()->SetColor(color);
        canvas->FillRect({swatch.Left + 1, swatch.Top + 1, swatch.Right - 1, swatch.Bottom - 1});
    } catch (...) {
        canvas->Brush()->SetColor(brushColor);
        throw;
    }
    canvas->Brush()->SetColor(brushColor);
    if (!displayNames_) return;
    const AnsiString name = Items()->Strings(Index).substr(0, MaxNameLength);
    RECT textRect{Rect.Left + SwatchWidth + NameGap, Rect.Top, Rect.Right, Rect.Bottom};
    const UINT flags = static_cast<UINT>(DrawTextBiDiModeFlags(DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX));
    canvas->RequiredState(TCanvasState{csHandleValid, csFontValid, csBrushValid});
    DrawTextA(canvas->Handle(), name.c_str(), static_cast<int>(name.size()), &textRect, flags);
}

void TColorComboBox::Click() {
    if (ItemIndex() >= 0) SetColorValue(ItemColor(ItemIndex()));
    TOwnerDrawComboBox::Click();
}

void TColorComboBox::Change() {
    TOwnerDrawComboBox::Change();
    const TColor value = ColorValue();
    if (value == colorValue_) return;
    colorValue_ = value;
    DoChange();
}

// ---- Published properties ------------------------------------------------------------------

namespace {

const TTypeInfo* const colorComboOptionType =
    DefineEnum<TColorComboOption>("TColorComboOption", {"coIncludeDefault", "coIncludeNone"});

const TClass ownerDrawComboBoxClass =
    DescribeClass<TOwnerDrawComboBox, TCustomComboBox>([](TClassBuilder<TOwnerDrawComboBox>& c) {
        c.Property("Style", &TOwnerDrawComboBox::Style, &TOwnerDrawComboBox::SetStyle).Default(csDropDownList);
    });

const TClass colorComboBoxClass =
    DescribeClass<TColorComboBox, TOwnerDrawComboBox>([](TClassBuilder<TColorComboBox>& c) {
        using T = TColorComboBox;
        c.Property("ColorValue", &T::ColorValue, &T::SetColorValue).Type(TypeInfoColor()).Default(clBlack);
        c.Property("ColorNames", &T::ColorNames, &T::SetColorNames);
        c.Property("DisplayNames", &T::DisplayNames, &T::SetDisplayNames).Default(true);
        c.Property("Options", &T::Options, &T::SetOptions).Default(TColorComboOptions{});
        c.Property("OnChange", &T::OnChange, &T::OnChange);
    });

struct RegisterComboClasses {
    RegisterComboClasses() { RegisterClasses({ClassOf<TColorComboBox>()}); }
} registerComboClasses;

} // namespace
