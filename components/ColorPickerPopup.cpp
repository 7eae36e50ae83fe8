// The drop-down window of the colour picker button: the layout of its
// entries, the selection and hover entries, painting, the mouse and the
// keyboard, placement on the screen and hints. The custom colour area that
// the window grows by lives in ColorPickerComb.cpp.
#include "components/ColorPickerButton.h"
#include "components/ColorPickerSupport.h"

#include "platform/core/SysUtils.h"
#include "platform/win/DefWindowProc.h"
#include "platform/win/DrawText.h"
#include "platform/win/Edges.h"
#include "platform/win/Fonts.h"
#include "platform/win/Gdi.h"
#include "platform/win/Keyboard.h"
#include "platform/win/Mouse.h"
#include "platform/win/Painting.h"
#include "platform/win/SystemInfo.h"
#include "platform/win/WindowPos.h"
#include "platform/win/WindowTree.h"
#include "platform/win/Windows.h"

#include <algorithm>

using namespace ColorPickerButton;

namespace {

struct NamedColor {
    const char* Name;
    TColor Value;
};

// The 40 named colours of the grid, then the 25 system colours.
constexpr NamedColor ColorTable[] = {
    {"Black", 0x000000},
    {"Brown", 0x003399},
    {"Olive Green", 0x003333},
    {"Dark Green", 0x003300},
    {"Dark Teal", 0x663300},
    {"Dark blue", 0x800000},
    {"Indigo", 0x993333},
    {"Gray-80%", 0x333333},
    {"Dark Red", 0x000080},
    {"Orange", 0x0066FF},
    {"Dark Yellow", 0x008080},
    {"Green", 0x008000},
    {"Teal", 0x808000},
    {"Blue", 0xFF0000},
    {"Blue-Gray", 0x996666},
    {"Gray-50%", 0x808080},
    {"Red", 0x0000FF},
    {"Light Orange", 0x0099FF},
    {"Lime", 0x00CC99},
    {"Sea Green", 0x669933},
    {"Aqua", 0xCCCC33},
    {"Light Blue", 0xFF6633},
    {"Violet", 0x800080},
    {"Grey-40%", 0x969696},
    {"Pink", 0xFF00FF},
    {"Gold", 0x00CCFF},
    {"Yellow", 0x00FFFF},
    {"Bright Green", 0x00FF00},
    {"Turquoise", 0xFFFF00},
    {"Sky Blue", 0xFFCC00},
    {"Plum", 0x663399},
    {"Gray-25%", 0xC0C0C0},
    {"Rose", 0xCC99FF},
    {"Tan", 0x99CCFF},
    {"Light Yellow", 0x99FFFF},
    {"Light Green", 0xCCFFCC},
    {"Light Turquoise", 0xFFFFCC},
    {"Pale Blue", 0xFFCC99},
    {"Lavender", 0xFF99CC},
    {"White", 0xFFFFFF},
    {"system color: scroll bar", clSystemColor | 0},
    {"system color: background", clSystemColor | 1},
    {"system color: active caption", clSystemColor | 2},
    {"system color: inactive caption", clSystemColor | 3},
    {"system color: menu", clSystemColor | 4},
    {"system color: window", clSystemColor | 5},
    {"system color: window frame", clSystemColor | 6},
    {"system color: menu text", clSystemColor | 7},
    {"system color: window text", clSystemColor | 8},
    {"system color: caption text", clSystemColor | 9},
    {"system color: active border", clSystemColor | 10},
    {"system color: inactive border", clSystemColor | 11},
    {"system color: application workspace", clSystemColor | 12},
    {"system color: highlight", clSystemColor | 13},
    {"system color: highlight text", clSystemColor | 14},
    {"system color: button face", clSystemColor | 15},
    {"system color: button shadow", clSystemColor | 16},
    {"system color: gray text", clSystemColor | 17},
    {"system color: button text", clSystemColor | 18},
    {"system color: inactive caption text", clSystemColor | 19},
    {"system color: button highlight", clSystemColor | 20},
    {"system color: 3D dark shadow", clSystemColor | 21},
    {"system color: 3D light", clSystemColor | 22},
    {"system color: info text", clSystemColor | 23},
    {"system color: info background", clSystemColor | 24},
};
constexpr Integer TableSize = TColorPopup::NamedColorCount + TColorPopup::SysColorCount;
static_assert(std::size(ColorTable) == TableSize);

constexpr Integer ColumnsOfGrid = 8;
constexpr Integer CellSizeOfGrid = 18;
constexpr TColor CellFrameColor = 0x808080;

constexpr UINT TextFormat = DT_CENTER | DT_VCENTER | DT_SINGLELINE;

Integer rowsFor(Integer Count, Integer Columns) {
    return Count / Columns + (Count % Columns != 0 ? 1 : 0);
}

} // namespace

// ---- Construction ------------------------------------------------------------------------------------

TColorPopup::TColorPopup(TComponent* AOwner) : TWinControl(AOwner), canvas_(std::make_unique<TCanvas>()) {
    SetControlStyle(ControlStyle() - TControlStyle{csAcceptsControls} + TControlStyle{csOpaque});
    SetColor(clBtnFace);
    SetShowHint(true);
    initializeDefaults();
}

TColorPopup::~TColorPopup() = default;

void TColorPopup::initializeDefaults() {
    cellSize_ = CellSizeOfGrid;
    edgeWidth_ = GetSystemMetrics(SM_CXEDGE);
    spacing_ = 8;
    hoverIndex_ = NoCell;
    selectedIndex_ = NoCell;
    initializeCustomArea();
}

// A window of its own on the desktop, above everything, that never takes the
// focus from the form: the button's capture window feeds it.
void TColorPopup::CreateParams(TCreateParams& Params) {
    TWinControl::CreateParams(Params);
    Params.WndParent = GetDesktopWindow();
    Params.Style = WS_CHILD | WS_CLIPSIBLINGS;
    Params.ExStyle = WS_EX_TOOLWINDOW | WS_EX_TOPMOST;
    Params.WindowClass.style = CS_SAVEBITS | CS_DBLCLKS;
}

void TColorPopup::CreateWnd() {
    TWinControl::CreateWnd();
    AdjustWindow();
}

TColorPickerButton* TColorPopup::button() const {
    return dynamic_cast<TColorPickerButton*>(Owner());
}

const char* TColorPopup::ColorName(Integer Index) {
    return Index >= 0 && Index < TableSize ? ColorTable[Index].Name : "";
}

TColor TColorPopup::ColorValue(Integer Index) {
    return Index >= 0 && Index < TableSize ? ColorTable[Index].Value : clNone;
}

void TColorPopup::SetSpacing(Integer Value) {
    Value = std::max(Value, 0);
    if (Value == spacing_) return;
    spacing_ = Value;
    Invalidate();
}

// ---- Layout ------------------------------------------------------------------------------------------

// The larger extent of the two texts in the popup's font, with room for the
// entry's edges; nothing when both are empty.
TSize TColorPopup::measureTexts() {
    if (defaultText_.empty() && customText_.empty()) return {0, 0};
    TSize size{0, 0};
    HDC dc = GetDC(nullptr);
    HGDIOBJ oldFont = SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
    for (const AnsiString* text : {&defaultText_, &customText_}) {
        if (text->empty()) continue;
        SIZE extent{};
        GetTextExtentPoint32A(dc, text->c_str(), static_cast<int>(text->size()), &extent);
        size.cx = std::max<Integer>(size.cx, extent.cx);
        size.cy = std::max<Integer>(size.cy, extent.cy);
    }
    SelectObject(dc, oldFont);
    ReleaseDC(nullptr, dc);
    size.cx += 2 * edgeWidth_;
    size.cy += 4 * edgeWidth_ + 2;
    return size;
}

void TColorPopup::AdjustWindow() {
    const Integer E = edgeWidth_;
    const TSize textSize = measureTexts();
    columnCount_ = ColumnsOfGrid;
    rowCount_ = rowsFor(NamedColorCount, columnCount_);
    windowRect_ = {0, 0, columnCount_ * cellSize_ + 2 * E + 2 * spacing_, rowCount_ * cellSize_ + 4 * E};
    layoutCombSizes();
    auto widenForText = [&] {
        if (windowRect_.Width() < textSize.cx) windowRect_.Right = windowRect_.Left + textSize.cx;
        return windowRect_.Width() - 2 * E;
    };
    if (!defaultText_.empty()) {
        const Integer W = widenForText();
        defaultTextRect_ = {E + spacing_, 2 * E, E - spacing_ + W, 2 * E + textSize.cy};
        windowRect_.Bottom += defaultTextRect_.Height() + 2 * E;
    }
    if (showSystemColors_) {
        sysRowCount_ = rowsFor(SysColorCount, columnCount_);
        windowRect_.Bottom += sysRowCount_ * cellSize_ + 2 * E;
    }
    if (!customText_.empty()) {
        const Integer W = widenForText();
        const Integer H = windowRect_.Height();
        customTextRect_ = {E + spacing_, H, E - spacing_ + W, H + textSize.cy};
        const Integer inset = E + 1;
        previewRect_ = {inset, inset, cellSize_ - inset, cellSize_ - inset};
        previewRect_ = MovedRect(
            previewRect_, customTextRect_.Right - cellSize_ - E,
            customTextRect_.Top + (customTextRect_.Height() - previewRect_.Bottom - E - 1) / 2);
        windowRect_.Bottom += customTextRect_.Height() + 2 * E;
    }
    layoutCustomArea(windowRect_.Bottom);
    SetBoundsRect(windowRect_);
}

bool TColorPopup::GetCellRect(Integer Index, TRect& R) const {
    if (Index == CustomCell && !customText_.empty()) {
        R = customTextRect_;
        return true;
    }
    if (Index == DefaultCell && !defaultText_.empty()) {
        R = defaultTextRect_;
        return true;
    }
    if (Index < 0 || Index >= TableSize) return false;
    const Integer E = edgeWidth_;
    R.Left = (Index % columnCount_) * cellSize_ + E + spacing_;
    R.Top = (Index / columnCount_) * cellSize_ + 2 * E;
    if (!defaultText_.empty()) R.Top += defaultTextRect_.Bottom - 2 * E;
    if (Index >= NamedColorCount) R.Top += 3 * E;
    R.Right = R.Left + cellSize_;
    R.Bottom = R.Top + cellSize_;
    return true;
}

// The hit-test origins differ from the drawn cells by up to the edge width;
// the hover entry follows this formula.
Integer TColorPopup::ItemFromPoint(Integer X, Integer Y) const {
    const TPoint point{X, Y};
    if (!customText_.empty() && PointInRect(customTextRect_, point)) return CustomCell;
    if (!defaultText_.empty() && PointInRect(defaultTextRect_, point)) return DefaultCell;
    if (!defaultText_.empty()) Y -= defaultTextRect_.Height();
    if (X <= spacing_) return NoCell;
    X -= spacing_;
    Y -= (5 * edgeWidth_) / 2;
    if (X < 0 || Y < 0) return NoCell;
    if (showSystemColors_ && Y / cellSize_ >= rowCount_) {
        Y -= 3 * edgeWidth_;
        if (Y / cellSize_ < rowCount_) return NoCell;
    }
    return GetIndex(Y / cellSize_, X / cellSize_);
}

Integer TColorPopup::GetIndex(Integer Row, Integer Column) const {
    if ((Row == CustomCell || Column == CustomCell) && !customText_.empty()) return CustomCell;
    if ((Row == DefaultCell || Column == DefaultCell) && !defaultText_.empty()) return DefaultCell;
    if (Column < 0 || Column >= columnCount_ || Row < 0) return NoCell;
    if (Row < rowCount_) {
        const Integer index = Row * columnCount_ + Column;
        return index < NamedColorCount ? index : NoCell;
    }
    if (!showSystemColors_) return NoCell;
    Row -= rowCount_;
    if (Row >= sysRowCount_) return NoCell;
    const Integer index = Row * columnCount_ + Column;
    return index < SysColorCount ? index + NamedColorCount : NoCell;
}

Integer TColorPopup::GetRow(Integer Index) const {
    if ((Index == CustomCell && !customText_.empty()) || (Index == DefaultCell && !defaultText_.empty()))
        return Index;
    return Index / columnCount_;
}

Integer TColorPopup::GetColumn(Integer Index) const {
    if ((Index == CustomCell && !customText_.empty()) || (Index == DefaultCell && !defaultText_.empty()))
        return Index;
    return Index % columnCount_;
}

Integer TColorPopup::lastCell() const {
    return (showSystemColors_ ? TableSize : NamedColorCount) - 1;
}

// ---- Selection ---------------------------------------------------------------------------------------

void TColorPopup::SetSelectedColor(TColor Value) {
    selectedColor_ = Value;
    SelectColor(Value);
}

void TColorPopup::SelectColor(TColor Color) {
    selectedIndex_ = findEntry(Color);
    if (HandleAllocated()) Invalidate();
}

Integer TColorPopup::findEntry(TColor Color) {
    if (Color == clNone) return NoCell;
    if (Color == clDefault) return DefaultCell;
    const bool systemColor = Color < 0;
    if (showSystemColors_ && systemColor) {
        for (Integer i = NamedColorCount; i < TableSize; ++i)
            if (ColorTable[i].Value == Color) return i;
    }
    const Integer rgb = ColorToRGB(Color);
    for (Integer i = 0; i < NamedColorCount; ++i)
        if (ColorToRGB(ColorTable[i].Value) == rgb) return i;
    if (showSystemColors_ && !systemColor) {
        for (Integer i = NamedColorCount; i < TableSize; ++i)
            if (ColorToRGB(ColorTable[i].Value) == rgb) return i;
    }
    customIndex_ = findCustomCell(rgb);
    return customIndex_ != 0 ? CustomCell : NoCell;
}

void TColorPopup::SelectIndex(Integer Index) {
    if (Index == NoCell) return;
    InvalidateCell(selectedIndex_);
    selectedIndex_ = Index;
    InvalidateCell(selectedIndex_);
    if (selectedIndex_ == CustomCell) ShowPopup();
}

void TColorPopup::DeselectCustomEntry() {
    if (selectedIndex_ == CustomCell) selectedIndex_ = NoCell;
}

void TColorPopup::SetHoverIndex(Integer Index) {
    if (Index >= TableSize || (Index >= NamedColorCount && !showSystemColors_)) Index = NoCell;
    InvalidateCell(hoverIndex_);
    hoverIndex_ = Index;
    InvalidateCell(hoverIndex_);
    if (HandleAllocated()) UpdateWindow(WindowHandle());
}

void TColorPopup::InvalidateCell(Integer Index) {
    TRect R;
    if (HandleAllocated() && GetCellRect(Index, R)) InvalidateRect(WindowHandle(), &R, FALSE);
}

void TColorPopup::EndSelection(bool Cancel) {
    TColorPickerButton* owner = button();
    if (!owner) return;
    if (!Cancel) {
        if (selectedIndex_ >= 0)
            owner->SetSelectionColor(ColorTable[selectedIndex_].Value);
        else if (selectedIndex_ == CustomCell) {
            if (customIndex_ != 0) owner->SetSelectionColor(customColor());
        } else
            owner->DoDefaultEvent();
    }
    owner->SetDroppedDown(false);
}

// ---- Placement ---------------------------------------------------------------------------------------

void TColorPopup::ShowPopup() {
    HWND window = Handle();
    const TColorPickerButton* owner = button();
    const Integer H = selectedIndex_ == CustomCell ? 2 * edgeWidth_ + grayRect_.Bottom : windowRect_.Height();
    const TRect oldBottom{windowRect_.Left, windowRect_.Bottom - 3, windowRect_.Right, windowRect_.Bottom};
    InvalidateRect(window, &oldBottom, TRUE);
    TPoint P{0, 0};
    if (owner && owner->Parent()) {
        TWinControl* parent = owner->Parent();
        const Integer buttonTop = parent->ClientToScreen({owner->Left(), owner->Top()}).y;
        P = parent->ClientToScreen({owner->Left() - 1, owner->Top() + owner->Height()});
        const Integer screenHeight = GetSystemMetrics(SM_CYSCREEN);
        if (P.y + H > screenHeight) P.y = screenHeight - H;
        if (P.y < buttonTop) P.y = buttonTop - H;
    }
    const Integer screenWidth = GetSystemMetrics(SM_CXSCREEN);
    if (P.x + Width() > screenWidth) P.x = screenWidth - Width();
    P.x = std::max(P.x, 0);
    SetWindowPos(window, HWND_TOPMOST, P.x, P.y, windowRect_.Right, H, SWP_SHOWWINDOW);
}

// ---- Painting ----------------------------------------------------------------------------------------

void TColorPopup::wmPaint(TMessage& Message) {
    PAINTSTRUCT paint{};
    HDC dc = reinterpret_cast<HDC>(Message.WParam);
    const bool ownContext = dc == nullptr;
    if (ownContext) dc = BeginPaint(WindowHandle(), &paint);
    canvas_->SetHandle(dc);
    SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
    if (combCells_.empty()) BuildCustomColors();
    if (!defaultText_.empty()) drawCell(DefaultCell);
    for (Integer i = 0; i < NamedColorCount; ++i)
        drawCell(i);
    if (showSystemColors_) {
        Integer y = rowCount_ * cellSize_ + edgeWidth_;
        if (!defaultText_.empty()) y += defaultTextRect_.Bottom;
        drawSeparator(edgeWidth_ + spacing_, y, Width() - edgeWidth_ - spacing_);
        for (Integer i = NamedColorCount; i < TableSize; ++i)
            drawCell(i);
    }
    if (!customText_.empty()) drawCell(CustomCell);
    if (selectedIndex_ == CustomCell) drawCustomColors();
    TRect client = ClientRect();
    DrawEdge(dc, &client, EDGE_RAISED, BF_RECT);
    canvas_->SetHandle(nullptr);
    if (ownContext) EndPaint(WindowHandle(), &paint);
}

void TColorPopup::drawCell(Integer Index) {
    if (Index == CustomCell)
        drawCustomEntry();
    else if (Index == DefaultCell)
        drawDefaultEntry();
    else
        drawColorCell(Index);
}

// The face every entry shares: highlighted when selected and not hovered,
// sunken when selected or pressed, raised when hovered.
void TColorPopup::drawEntryFace(TRect R, Integer Index) {
    canvas_->Brush()->SetColor(Index == selectedIndex_ && Index != hoverIndex_ ? clBtnHighlight : clBtnFace);
    canvas_->FillRect(R);
    if (Index == selectedIndex_ || (Index == hoverIndex_ && leftButtonHeld_))
        DrawEdge(canvas_->Handle(), &R, BDR_SUNKENOUTER, BF_RECT);
    else if (Index == hoverIndex_)
        DrawEdge(canvas_->Handle(), &R, BDR_RAISEDINNER, BF_RECT);
}

void TColorPopup::drawCustomEntry() {
    if (customText_.empty()) return;
    TRect R = customTextRect_;
    canvas_->Brush()->SetColor(clBtnFace);
    canvas_->FillRect(R);
    drawSeparator(R.Left, R.Top - 2 * edgeWidth_, R.Right);
    R = InflatedRect(R, -1, 0);
    drawEntryFace(R, CustomCell);
    SetBkMode(canvas_->Handle(), TRANSPARENT);
    DrawTextA(canvas_->Handle(), customText_.c_str(), -1, &R, TextFormat);
    if (customIndex_ == 0) {
        canvas_->Brush()->SetColor(clBtnShadow);
        canvas_->FrameRect(previewRect_);
    } else {
        canvas_->Pen()->SetColor(CellFrameColor);
        canvas_->Brush()->SetColor(customColor());
        canvas_->Rectangle(previewRect_);
    }
}

void TColorPopup::drawDefaultEntry() {
    if (defaultText_.empty()) return;
    TRect R = defaultTextRect_;
    canvas_->Brush()->SetColor(clBtnFace);
    canvas_->FillRect(R);
    R = InflatedRect(R, -1, -1);
    drawEntryFace(R, DefaultCell);
    canvas_->Brush()->SetColor(clBtnShadow);
    canvas_->FrameRect(InflatedRect(R, -(edgeWidth_ + 1), -(edgeWidth_ + 1)));
    SetBkMode(canvas_->Handle(), TRANSPARENT);
    DrawTextA(canvas_->Handle(), defaultText_.c_str(), -1, &R, TextFormat);
}

void TColorPopup::drawColorCell(Integer Index) {
    TRect R;
    if (!GetCellRect(Index, R)) return;
    canvas_->Pen()->SetColor(CellFrameColor);
    drawEntryFace(R, Index);
    R = InflatedRect(R, -(edgeWidth_ + 1), -(edgeWidth_ + 1));
    canvas_->Brush()->SetColor(ColorTable[Index].Value);
    canvas_->Rectangle(R);
}

void TColorPopup::drawSeparator(Integer X1, Integer Y, Integer X2) {
    TRect R{X1, Y, X2, Y};
    DrawEdge(canvas_->Handle(), &R, EDGE_ETCHED, BF_TOP);
}

// ---- Mouse -------------------------------------------------------------------------------------------

void TColorPopup::wmMouseMove(TMessage& Message) {
    TWinControl::Dispatch(Message);
    const TWMMouse mouse(Message);
    const Integer item = ItemFromPoint(mouse.XPos(), mouse.YPos());
    if (item != hoverIndex_) SetHoverIndex(item);
    if (item == NoCell && PointInRect(ClientRect(), mouse.Pos()) && leftButtonHeld_) handleCustomColors(Message);
}

void TColorPopup::wmLButtonDown(TMessage& Message) {
    TWinControl::Dispatch(Message);
    const TWMMouse mouse(Message);
    if (!PointInRect(ClientRect(), mouse.Pos())) {
        EndSelection(true);
        return;
    }
    leftButtonHeld_ = true;
    if (hoverIndex_ != NoCell) {
        InvalidateCell(hoverIndex_);
        UpdateWindow(WindowHandle());
    } else {
        handleCustomColors(Message);
    }
}

void TColorPopup::wmLButtonUp(TMessage& Message) {
    TWinControl::Dispatch(Message);
    leftButtonHeld_ = false;
    const TWMMouse mouse(Message);
    const Integer item = ItemFromPoint(mouse.XPos(), mouse.YPos());
    const Byte previousTrackState = trackState_;
    trackState_ = 0;
    if (item == NoCell && !(selectedIndex_ == CustomCell && customIndex_ != 0)) {
        // Such as the release that follows the press on the button's arrow.
        takeCaptureAgain();
        return;
    }
    SelectIndex(item);
    const bool cellChosen = selectedIndex_ == CustomCell && (previousTrackState == 1 || previousTrackState == 2);
    if (cellChosen || selectedIndex_ >= 0 || selectedIndex_ == DefaultCell)
        EndSelection(false);
    else
        takeCaptureAgain();
}

void TColorPopup::takeCaptureAgain() {
    if (const TColorPickerButton* owner = button()) SetCapture(owner->PopupWnd());
}

// ---- Keyboard ----------------------------------------------------------------------------------------

void TColorPopup::cnKeyDown(TMessage& Message) {
    TWinControl::Dispatch(Message);
    const Integer current = hoverIndex_ != NoCell ? hoverIndex_ : selectedIndex_;
    Integer row = GetRow(current);
    Integer column = GetColumn(current);
    const Integer last = lastCell();
    const bool hasDefault = !defaultText_.empty();
    const bool hasCustom = !customText_.empty();
    auto moveTo = [&](Integer Row, Integer Column) {
        row = Row;
        column = Column;
    };
    auto toCell = [&](Integer Index) { moveTo(Index / columnCount_, Index % columnCount_); };
    auto toLast = [&] { toCell(last); };
    auto toCustom = [&] { moveTo(CustomCell, CustomCell); };
    auto toDefault = [&] { moveTo(DefaultCell, DefaultCell); };
    // Left or Up from the first cell: the Default entry, the last cell or the custom entry.
    auto beforeFirst = [&] {
        if (hasDefault)
            toDefault();
        else if (!hasCustom)
            toLast();
        else
            toCustom();
    };
    // Right or Down past the last entry of the grid.
    auto afterLast = [&](bool DefaultBeforeFirstCell) {
        if (hasCustom)
            toCustom();
        else if (hasDefault && DefaultBeforeFirstCell)
            toDefault();
        else
            toCell(0);
    };
    // From the custom entry Right and Down go to the Default entry or the first cell.
    auto fromCustomOnward = [&] {
        if (hasDefault)
            toDefault();
        else
            toCell(0);
    };
    switch (TWMKey(Message).CharCode()) {
    case VK_RETURN:
    case VK_SPACE:
        Message.Result = 1;
        selectedIndex_ = hoverIndex_;
        EndSelection(false);
        return;
    case VK_ESCAPE:
        Message.Result = 1;
        EndSelection(true);
        return;
    case VK_LEFT:
        if (row == DefaultCell) {
            hasCustom ? toCustom() : toLast();
        } else if (row == CustomCell) {
            toLast();
        } else if (column > 0) {
            --column;
        } else if (row > 0) {
            moveTo(row - 1, columnCount_ - 1);
        } else {
            beforeFirst();
        }
        break;
    case VK_UP:
        if (row == DefaultCell) {
            hasCustom ? toCustom() : toLast();
        } else if (row == CustomCell) {
            toLast();
        } else if (row > 0) {
            --row;
        } else {
            beforeFirst();
        }
        break;
    case VK_RIGHT:
        if (row == DefaultCell) {
            toCell(0);
        } else if (row == CustomCell) {
            fromCustomOnward();
        } else {
            if (++column >= columnCount_) moveTo(row + 1, 0);
            if (GetIndex(row, column) == NoCell) afterLast(true);
        }
        break;
    case VK_DOWN:
        if (row == DefaultCell) {
            toCell(0);
        } else if (row == CustomCell) {
            fromCustomOnward();
        } else if (GetIndex(row + 1, column) != NoCell) {
            ++row;
        } else {
            afterLast(true);
        }
        break;
    default:
        return;
    }
    Message.Result = 1;
    SetHoverIndex(GetIndex(row, column));
}

void TColorPopup::cnSysKeyDown(TMessage& Message) {
    const Word key = TWMKey(Message).CharCode();
    if (!defaultText_.empty() && IsAccel(key, defaultText_)) {
        SelectIndex(DefaultCell);
        EndSelection(false);
        Message.Result = 1;
    } else if (selectedIndex_ != CustomCell && !customText_.empty() && IsAccel(key, customText_)) {
        SelectIndex(CustomCell);
        Message.Result = 1;
    } else {
        TWinControl::Dispatch(Message);
    }
}

// ---- Hints -------------------------------------------------------------------------------------------

AnsiString TColorPopup::doHint(Integer Cell) {
    AnsiString hint;
    if (TColorPickerButton* owner = button(); owner && owner->OnHint) owner->OnHint(owner, Cell, hint);
    return hint;
}

void TColorPopup::cmHintShow(TMessage& Message) {
    TColorPickerButton* owner = button();
    if (!owner || !owner->ShowHint()) {
        Message.Result = 1;
        return;
    }
    Message.Result = 0;
    THintInfo& info = *reinterpret_cast<THintInfo*>(Message.LParam);
    if (hoverIndex_ >= 0) {
        GetCellRect(hoverIndex_, info.CursorRect);
        info.HintStr = ColorTable[hoverIndex_].Name;
    } else if (hoverIndex_ == CustomCell || hoverIndex_ == DefaultCell) {
        info.HintStr = doHint(hoverIndex_);
        if (!info.HintStr.empty())
            GetCellRect(hoverIndex_, info.CursorRect);
        else
            info.HintStr = owner->Hint();
    } else {
        customAreaHint(info);
    }
}

// ---- Messages ----------------------------------------------------------------------------------------

void TColorPopup::Dispatch(TMessage& Message) {
    switch (Message.Msg) {
    case WM_PAINT:
        wmPaint(Message);
        break;
    case WM_MOUSEMOVE:
        wmMouseMove(Message);
        break;
    case WM_LBUTTONDOWN:
        wmLButtonDown(Message);
        break;
    case WM_LBUTTONUP:
        wmLButtonUp(Message);
        break;
    case WM_KILLFOCUS:
        TWinControl::Dispatch(Message);
        if (TColorPickerButton* owner = button()) owner->SetDroppedDown(false);
        break;
    case WM_ACTIVATEAPP:
        Message.Result = DefWindowProcA(WindowHandle(), Message.Msg, Message.WParam, Message.LParam);
        if (Message.WParam == 0) EndSelection(true);
        break;
    case CN_KEYDOWN:
        cnKeyDown(Message);
        break;
    case CN_SYSKEYDOWN:
        cnSysKeyDown(Message);
        break;
    case CM_HINTSHOW:
        cmHintShow(Message);
        break;
    default:
        TWinControl::Dispatch(Message);
    }
}
