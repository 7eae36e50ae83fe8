// The colour picker button: a speed button that shows a colour swatch and
// drops down a window of colours (TColorPickerButton); that drop-down window
// with its grid of named and system colours, its Default and custom entries
// and, behind the custom entry, a comb of colour hexagons with a grey row and
// a brightness slider (TColorPopup); and the glyph holder that lays out the
// button's glyph and caption and keeps its images in shared image lists
// (TButtonGlyph, TGlyphList, TGlyphCache).
#pragma once

#include "platform/vcl/Buttons.h"
#include "platform/vcl/Controls.h"
#include "platform/vcl/ImgList.h"

#include <array>
#include <memory>
#include <vector>

class TBitmap;
class TColorPickerButton;
enum TIndicatorBorder { ibNone, ibFlat, ibSunken, ibRaised };

using TDropChangingEvent = Closure<void(TObject* Sender, bool& Allowed)>;
using THintEvent = Closure<void(TObject* Sender, Integer Cell, AnsiString& Hint)>;

// ---- Glyph images ----------------------------------------------------------------------------------

// The image lists the glyph holders share, one or more per image size.
// Scoped by the unit: the Rx buttons have image lists of the same name.
namespace ColorPickerButton {
class TGlyphList;
class TGlyphCache;
} // namespace ColorPickerButton

// What the glyph holder drew, for the indicator that goes beside it.
struct TPlacedGlyph {
    TPoint GlyphPos;
    TRect TextBounds;
};

// The glyph and caption of a colour picker button: lays them out beside the
// drop-down part, prepares one image per button state and draws them.
class TButtonGlyph : public TObject {
public:
    TButtonGlyph();
    ~TButtonGlyph() override;

    TBitmap* Glyph() const { return original_.get(); }
    void SetGlyph(TBitmap* Value);
    Integer NumGlyphs() const { return numGlyphs_; }
    void SetNumGlyphs(Integer Value);
    // Prepares the image of State; -1 without a glyph.
    Integer CreateButtonGlyph(TButtonState State);
    // Frees the prepared images and gives the image list back.
    void Invalidate();
    // Lays out and draws glyph and caption in Client moved by Offset; the
    // rectangle of the colour indicator.
    TRect Draw(TCanvas* Canvas, const TRect& Client, const TPoint& Offset, const AnsiString& Caption,
               TButtonLayout Layout, Integer Margin, Integer Spacing, TButtonState State, bool Transparent,
               Integer DropDownWidth, Integer BiDiFlags);

    TNotifyEvent OnChange;

private:
    void GlyphChanged(TObject* Sender);
    TPlacedGlyph calcLayout(TCanvas* Canvas, const TRect& Client, const TPoint& Offset,
                            const AnsiString& Caption, TButtonLayout Layout, Integer Margin, Integer Spacing,
                            Integer DropDownWidth, Integer BiDiFlags);
    void drawGlyph(TCanvas* Canvas, const TPoint& GlyphPos, TButtonState State, bool Transparent);
    void drawCaption(TCanvas* Canvas, const AnsiString& Caption, TRect TextBounds, TButtonState State,
                     Integer BiDiFlags);
    TRect indicatorRect(const TRect& Client, const TPlacedGlyph& Placed, const AnsiString& Caption,
                        TButtonLayout Layout, Integer DropDownWidth) const;
    void paintDisabledSlice(TBitmap& Image, const TRect& Source);
    void embossImage(TBitmap& Image, Integer Width, Integer Height);

    std::unique_ptr<TBitmap> original_;
    ColorPickerButton::TGlyphList* glyphList_ = nullptr;
    std::array<Integer, 4> indexes_{-1, -1, -1, -1};
    TColor transparentColor_ = clOlive;
    Integer numGlyphs_ = 1;
};

// ---- The drop-down window ---------------------------------------------------------------------------

// A cell of the colour comb or the grey row: its centre, relative to the
// origin of its area, and its colour.
struct TCombEntry {
    TPoint Position;
    TColor Color = clBlack;
};
using TCombArray = std::vector<TCombEntry>;

// A colour with channels from 0 to 1.
struct TFloatRGB {
    float Red = 0;
    float Green = 0;
    float Blue = 0;
};

class TColorPopup : public TWinControl {
public:
    // Entry indices besides the colour cells 0 .. 64.
    static constexpr Integer NoCell = -1;
    static constexpr Integer CustomCell = -2;
    static constexpr Integer DefaultCell = -3;
    static constexpr Integer NamedColorCount = 40;
    static constexpr Integer SysColorCount = 25;

    explicit TColorPopup(TComponent* AOwner);
    ~TColorPopup() override;
    void Dispatch(TMessage& Message) override;

    const AnsiString& DefaultText() const { return defaultText_; }
    void SetDefaultText(const AnsiString& Value) { defaultText_ = Value; }
    const AnsiString& CustomText() const { return customText_; }
    void SetCustomText(const AnsiString& Value) { customText_ = Value; }
    bool ShowSystemColors() const { return showSystemColors_; }
    void SetShowSystemColors(bool Value) { showSystemColors_ = Value; }
    Integer Spacing() const { return spacing_; }
    void SetSpacing(Integer Value);

    // The colour the button hands over when it drops down, located at once.
    void SetSelectedColor(TColor Value);
    // Selects the entry that shows Color (and the comb or grey cell).
    void SelectColor(TColor Color);
    void SelectIndex(Integer Index);
    // Once the custom entry is gone it cannot stay selected.
    void DeselectCustomEntry();
    void SetHoverIndex(Integer Index);
    // Hands the chosen colour to the button (unless Cancel) and closes.
    void EndSelection(bool Cancel);
    Integer SelectedIndex() const { return selectedIndex_; }
    Integer HoverIndex() const { return hoverIndex_; }
    // 0: no custom colour; n > 0: comb cell n - 1; n < 0: grey cell -n - 1.
    Integer CustomIndex() const { return customIndex_; }
    float Brightness() const { return brightness_; }

    // Layout and placement.
    void AdjustWindow();
    void ShowPopup();
    bool GetCellRect(Integer Index, TRect& R) const;
    Integer ItemFromPoint(Integer X, Integer Y) const;
    Integer GetIndex(Integer Row, Integer Column) const;
    Integer GetRow(Integer Index) const;
    Integer GetColumn(Integer Index) const;
    void InvalidateCell(Integer Index);
    const TRect& WindowRect() const { return windowRect_; }
    const TRect& DefaultTextRect() const { return defaultTextRect_; }
    const TRect& CustomTextRect() const { return customTextRect_; }

    // The custom colour area.
    const TRect& CombRect() const { return combRect_; }
    const TRect& GrayRect() const { return grayRect_; }
    const TRect& SliderRect() const { return sliderRect_; }
    const TRect& PreviewRect() const { return previewRect_; }
    Integer HexSize() const { return hexSize_; }
    Integer CombSize() const { return combSize_; }
    // The cells, built first when a brightness change emptied them.
    const TCombArray& CombCells();
    const TCombArray& GrayCells();
    void BuildCustomColors();
    Integer FindCombCell(Integer X, Integer Y);
    Integer FindGrayCell(Integer X, Integer Y);

    // The name of a colour cell, its hint.
    static const char* ColorName(Integer Index);
    static TColor ColorValue(Integer Index);

protected:
    void CreateParams(TCreateParams& Params) override;
    void CreateWnd() override;

private:
    TColorPickerButton* button() const;
    void initializeDefaults();
    void initializeCustomArea();
    TSize measureTexts();
    void layoutCombSizes();
    void layoutCustomArea(Integer Bottom);
    Integer lastCell() const;
    // The entry that shows Color; a comb or grey cell sets the custom index too.
    Integer findEntry(TColor Color);
    // The custom index of the first grey, then comb cell of that colour; 0 for none.
    Integer findCustomCell(TColor RGB);

    // Painting.
    void wmPaint(TMessage& Message);
    void drawCell(Integer Index);
    void drawEntryFace(TRect R, Integer Index);
    void drawCustomEntry();
    void drawDefaultEntry();
    void drawColorCell(Integer Index);
    void drawSeparator(Integer X1, Integer Y, Integer X2);
    void drawCustomColors();
    void drawHexagon(TCanvas* Canvas, Integer X, Integer Size, Integer Y);
    void outlineHexagon(TCanvas* Canvas, Integer X, Integer Size, Integer Y);
    void drawSlider(TCanvas* Canvas);
    TColor customColor();

    // Input.
    void wmMouseMove(TMessage& Message);
    void wmLButtonDown(TMessage& Message);
    void wmLButtonUp(TMessage& Message);
    void cnKeyDown(TMessage& Message);
    void cnSysKeyDown(TMessage& Message);
    void cmHintShow(TMessage& Message);
    void takeCaptureAgain();
    void handleCustomColors(TMessage& Message);
    bool handleSlider(TMessage& Message);
    bool handleGrayRow(TMessage& Message);
    bool handleColorComb(TMessage& Message);
    void clearCustomChoice();
    void invalidateArea(const TRect& Area);
    TRect grayRowPaintRect() const;
    void buildGrayCells();
    void customAreaHint(THintInfo& Info);
    AnsiString doHint(Integer Cell);

    AnsiString defaultText_;
    AnsiString customText_;
    TColor selectedColor_ = clBlack;
    std::unique_ptr<TCanvas> canvas_;
    Integer edgeWidth_ = 0;
    Integer spacing_ = 8;
    Integer columnCount_ = 8;
    Integer rowCount_ = 5;
    Integer sysRowCount_ = 0;
    Integer cellSize_ = 18;
    Integer selectedIndex_ = NoCell;
    Integer hoverIndex_ = NoCell;
    TRect windowRect_;
    TRect customTextRect_;
    TRect defaultTextRect_;
    // Whether the left button went down on the popup and is still held.
    bool leftButtonHeld_ = false;

    TRect combRect_;
    TRect grayRect_;
    TRect sliderRect_;
    TRect previewRect_;
    bool showSystemColors_ = false;
    Integer hexSize_ = 0;
    Integer combLevels_ = 7;
    TCombArray grayCells_;
    TCombArray combCells_;
    TFloatRGB centerColor_{1, 1, 1};
    float brightness_ = 1;
    Integer customIndex_ = 0;
    Integer combSize_ = 0;
    // 0 none, 1 choosing in the comb, 2 choosing in the grey row, 3 dragging the slider.
    Byte trackState_ = 0;
};

// ---- The button -------------------------------------------------------------------------------------

class TColorPickerButton : public TGraphicControl {
public:
    explicit TColorPickerButton(TComponent* AOwner);
    ~TColorPickerButton() override;
    void Dispatch(TMessage& Message) override;
    void Loaded() override;

    TColor SelectionColor() const { return selectionColor_; }
    void SetSelectionColor(TColor Value);
    bool DroppedDown() const { return droppedDown_; }
    void SetDroppedDown(bool Value);
    TColorPopup* ColorPopup() const { return colorPopup_; }
    // The hidden window that holds the mouse while the popup is shown.
    HWND PopupWnd() const { return popupWnd_; }

    const AnsiString& CustomText() const { return colorPopup_->CustomText(); }
    void SetCustomText(const AnsiString& Value);
    const AnsiString& DefaultText() const { return colorPopup_->DefaultText(); }
    void SetDefaultText(const AnsiString& Value);
    bool ShowSystemColors() const { return colorPopup_->ShowSystemColors(); }
    void SetShowSystemColors(bool Value);
    Integer PopupSpacing() const { return colorPopup_->Spacing(); }
    void SetPopupSpacing(Integer Value) { colorPopup_->SetSpacing(Value); }

    bool AllowAllUp() const { return allowAllUp_; }
    void SetAllowAllUp(bool Value);
    bool Down() const { return down_; }
    void SetDown(bool Value);
    TColor DropDownArrowColor() const { return dropDownArrowColor_; }
    void SetDropDownArrowColor(TColor Value);
    Integer DropDownWidth() const { return dropDownWidth_; }
    void SetDropDownWidth(Integer Value);
    bool DropDownZone() const { return dropDownZone_; }
    bool Flat() const { return flat_; }
    void SetFlat(bool Value);
    TBitmap* Glyph() const { return glyph_->Glyph(); }
    void SetGlyph(TBitmap* Value);
    Integer NumGlyphs() const { return glyph_->NumGlyphs(); }
    void SetNumGlyphs(Integer Value);
    Integer GroupIndex() const { return groupIndex_; }
    void SetGroupIndex(Integer Value);
    TIndicatorBorder IndicatorBorder() const { return indicatorBorder_; }
    void SetIndicatorBorder(TIndicatorBorder Value);
    TButtonLayout Layout() const { return layout_; }
    void SetLayout(TButtonLayout Value);
    Integer Margin() const { return margin_; }
    void SetMargin(Integer Value);
    Integer Spacing() const { return spacing_; }
    void SetSpacing(Integer Value);
    bool Transparent() const { return transparent_; }
    void SetTransparent(bool Value);
    TButtonState State() const { return state_; }
    bool MouseInControl() const { return mouseInControl_; }

    // Called by the popup when its Default entry is chosen.
    virtual void DoDefaultEvent();

    TNotifyEvent OnChange;
    TNotifyEvent OnDefaultSelect;
    TNotifyEvent OnDropChanged;
    TDropChangingEvent OnDropChanging;
    THintEvent OnHint;

protected:
    void Paint() override;
    void MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override;
    void MouseMove(TShiftState Shift, Integer X, Integer Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override;
    // An empty glyph takes the action's image.
    void ActionChange(TObject* Sender, bool CheckDefaults) override;

private:
    void PopupWndProc(TMessage& Message);
    void GlyphChanged(TObject* Sender);
    void UpdateExclusive();
    void UpdateTracking();
    void refreshState();
    void drawFrame(TRect& ButtonRect);
    void drawFlatFrame(TRect& ButtonRect);
    void drawSeparator(bool Sunken);
    void drawIndicator(TRect R);
    void drawArrow();
    void afterPopupTextChange();

    void wmLButtonDblClk(TMessage& Message);
    void cmEnabledChanged(TMessage& Message);
    void cmButtonPressed(TMessage& Message);
    void cmDialogChar(TMessage& Message);
    void cmSysColorChange(TMessage& Message);
    void cmMouseEnter(TMessage& Message);
    void cmMouseLeave(TMessage& Message);

    Integer groupIndex_ = 0;
    std::unique_ptr<TButtonGlyph> glyph_;
    bool down_ = false;
    bool dragging_ = false;
    bool allowAllUp_ = false;
    TButtonLayout layout_ = blGlyphLeft;
    Integer spacing_ = 4;
    Integer margin_ = -1;
    bool flat_ = false;
    bool mouseInControl_ = false;
    bool transparent_ = true;
    TIndicatorBorder indicatorBorder_ = ibFlat;
    TColor dropDownArrowColor_ = clBlack;
    Integer dropDownWidth_ = 15;
    bool dropDownZone_ = false;
    bool droppedDown_ = false;
    TColor selectionColor_ = clBlack;
    TButtonState state_ = bsUp;
    TColorPopup* colorPopup_ = nullptr;
    HWND popupWnd_ = nullptr;
};
