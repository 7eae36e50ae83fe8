// What the Rx controls share: the drawing routines (bitmaps drawn through a
// transparent colour, cells cut out of a glyph strip, the embossed disabled
// look, banded gradients, a parent's image under a control), small text,
// file-name and command-line routines, the two screen cursors of the set, and
// the speed button (TRxSpeedButton) with its glyph object and the glyph
// cache that all buttons share.
#pragma once

#include "platform/vcl/Buttons.h"
#include "platform/vcl/Controls.h"
#include "platform/vcl/EditCtrls.h"
#include "platform/vcl/ExtCtrls.h"
#include "platform/vcl/ImgList.h"

#include <memory>
#include <mutex>
#include <span>
#include <vector>

class TTimer;
class TPopupMenu;
class TCustomAction;

// ---- Screen cursors and the clipboard format -------------------------------------

// The hand over a slider's thumb and the dragging hand, from the cursor
// resources "RX_HANDCUR" and "RX_DRAGCUR".
constexpr TCursor crHand = 14000;
constexpr TCursor crDragHand = 14001;
// Registers the two cursors in Screen->Cursors and the "Delphi Icon"
// clipboard format, once; every Rx control calls it when it is made, since
// the embedded cursor files can only be read after the program's start-up.
void RegisterRxResources();
// The "Delphi Icon" clipboard format (registered by RegisterRxResources).
UINT CF_ICON();

// ---- Small routines --------------------------------------------------------------

Integer RectWidth(const TRect& Rect);
Integer RectHeight(const TRect& Rect);
// Edges included.
bool PointInRect(const TPoint& P, const TRect& R);
Integer Max(Integer A, Integer B);
Integer Min(Integer A, Integer B);
// Removes one pending message of that number for the window; a quit request
// removed with it is posted again.
void KillMessage(HWND Wnd, UINT Msg);
// Whether the active window is one of this thread's windows.
bool IsForegroundTask();
// The text itself when it fits MaxWidth, else as many leading characters as
// fit followed by "...", or "..." alone.
AnsiString ShortenText(const AnsiString& Text, TCanvas* Canvas, Integer MaxWidth);
AnsiString DelChars(const AnsiString& Text, char Chr);
// The character height (tmHeight) of a font on the screen.
Integer ScreenCharacterHeight(HFONT Font);

// ---- File names and command lines ----------------------------------------------

bool DirExists(const AnsiString& Name);
// Not empty and none of < > " [ ] |.
bool ValidFileName(const AnsiString& FileName);
// There are no short (8.3) names here: both give the name of an existing
// file or folder, and empty when nothing of that name exists.
AnsiString LongFileName(const AnsiString& FileName);
AnsiString ShortFileName(const AnsiString& FileName);
// One command-line word from Position (0-based) on: blanks, control
// characters and empty quote pairs are skipped, quotes group blanks and are
// dropped, an unterminated quote runs to the end. Words have no length limit
// (paths here may exceed 260 characters). Returns the position after it.
std::size_t ExtractParam(const AnsiString& Text, std::size_t Position, AnsiString& Word);
Integer ParamCountOf(const AnsiString& Text);
// Word Index (0 is the first); empty past the last.
AnsiString ParamStrOf(const AnsiString& Text, Integer Index);
// Program = word 0; parameters = the others joined by blanks, each holding a
// blank put in double quotes.
void SplitCommandLine(const AnsiString& CmdLine, AnsiString& ExeName, AnsiString& Params);

// ---- Drawing -----------------------------------------------------------------------

// Palette-relative colours as their RGB value.
TColor PaletteColor(TColor Color);
// Copies the source rectangle, stretched, leaving pixels of TransparentColor unpainted.
void StretchBltTransparent(HDC DstDC, Integer DstX, Integer DstY, Integer DstW, Integer DstH, HDC SrcDC,
                           Integer SrcX, Integer SrcY, Integer SrcW, Integer SrcH, TColor TransparentColor);
// Sizes below 1 take the bitmap's; clNone draws opaque with the canvas's
// CopyMode; clDefault takes the bottom-left pixel; a monochrome bitmap keys on white.
void DrawTransparentBitmapRect(TCanvas* Dest, Integer DstX, Integer DstY, Integer DstW, Integer DstH,
                               TBitmap* Bitmap, TRect SrcRect, TColor TransparentColor);
void DrawTransparentBitmap(TCanvas* Dest, Integer DstX, Integer DstY, TBitmap* Bitmap,
                           TColor TransparentColor);
void StretchBitmapRectTransparent(TCanvas* Dest, Integer DstX, Integer DstY, TColor TransparentColor,
                                  TBitmap* Bitmap, const TRect& SrcRect);
// Cell Index of a grid of Columns x Rows cells of Source into Dest.
void AssignBitmapCell(TGraphic* Source, TBitmap* Dest, Integer Cols, Integer Rows, Integer Index);
// The embossed look of a disabled glyph: the brush is stamped where the
// source does not have MaskColor, in HighlightColor one pixel down and right
// (with Highlight) and in GrayColor in place, on BackColor.
std::unique_ptr<TBitmap> CreateDisabledBitmap(TBitmap* FOriginal, TColor MaskColor, TColor BackColor,
                                              bool Highlight, TColor GrayColor, TColor HighlightColor);
std::unique_ptr<TBitmap> CreateDisabledBitmapEx(TBitmap* FOriginal, TColor MaskColor);
void ImageListDrawDisabled(TCustomImageList* Images, TCanvas* Canvas, Integer X, Integer Y, Integer Index,
                           TColor HighlightColor, TColor GrayColor, bool DrawHighlight);

enum TFillDirection { fdTopToBottom, fdBottomToTop, fdLeftToRight, fdRightToLeft };
// Bands of BeginColor to EndColor (reversed for bottom-to-top and
// right-to-left); fewer than 2 colours fill with BeginColor.
void GradientFillRect(TCanvas* Canvas, const TRect& ARect, TColor StartColor, TColor EndColor,
                      TFillDirection Direction, Byte Colors);
// Paints what lies under Control into Dest, at the control's own origin: the
// parent's background and window, then the visible graphic siblings below
// the control that overlap it.
void CopyParentImage(TControl* Control, TCanvas* Dest);
// ---- Icons --------------------------------------------------------------------------

// The icon's size: its colour image's, else half its mask's height, else the system icon size.
TPoint GetIconSize(HICON Icon);
// Which image of an icon file suits a screen of that depth, by the entries'
// colour counts: the one of the screen's count, else the richest that the
// first one not above it leads to, else the first.
Integer IconEntryForDepth(std::span<const Byte> ColorCounts, Integer BitsPerPixel);
// The icon's chosen image at the system icon size, as a new icon; the
// standard application icon for a damaged file. EOutOfResources "Out of
// system resources" when the bitmaps cannot be made.
HICON CreateRealSizeIcon(TIcon* Icon);

// The raster operation that paints the brush where the source is white.
constexpr DWORD ROP_DSPDxax = 0x00E20746;

// ---- The speed button --------------------------------------------------------------

enum TRxButtonState : Byte { rbsUp, rbsDisabled, rbsDown, rbsExclusive, rbsInactive };
// Where a button's drop-down menu opens: below it or beside it.
enum TRxDropDownMenuPos { dmpBottom, dmpRight };
constexpr Integer RxButtonStateCount = 5;
// TButtonLayout is the framework's (platform/vcl/Buttons.h).
enum TButtonStyle { bsAutoDetect, bsWin31, bsNew };
using TRxNumGlyphs = Byte;

class TGlyphList;

// The pictures of a button's five states, made once from the glyph strip
// and kept in a list of the cache shared by every button.
class TRxButtonGlyph : public TObject {
public:
    TRxButtonGlyph();
    ~TRxButtonGlyph() override;

    TBitmap* Glyph() const { return original_.get(); }
    void SetGlyph(TBitmap* Value);
    TRxNumGlyphs NumGlyphs() const { return numGlyphs_; }
    void SetNumGlyphs(TRxNumGlyphs Value);
    TColor TransparentColor() const { return transparentColor_; }
    bool WordWrap() const { return wordWrap_; }
    void SetWordWrap(bool Value);
    TAlignment Alignment() const { return alignment_; }
    void SetAlignment(TAlignment Value);
    // The glyph's size: one image of the strip; (0, 0) without a glyph.
    TPoint GlyphSize() const;
    // Drops every state's image (colours changed, or the glyph did).
    void Invalidate();
    // Draws glyph, caption and (with DropDownMark) the drop-down mark in
    // Client; returns the text's rectangle.
    TRect Draw(TCanvas* Canvas, const TRect& Client, const TPoint& Offset, const AnsiString& Caption,
               TButtonLayout Layout, Integer Margin, Integer Spacing, bool DropDownMark, TRxButtonState State);
    // The image of a state, made on first use; -1 without a glyph.
    Integer CreateButtonGlyph(TRxButtonState State);

    TNotifyEvent OnChange;

private:
    void GlyphChanged(TObject* Sender);
    std::unique_ptr<TBitmap> stateImage(TRxButtonState State, TColor& MaskColor);
    void drawGlyph(TCanvas* Canvas, const TPoint& At, TRxButtonState State);
    void drawCaption(TCanvas* Canvas, TRect Rect, const AnsiString& Caption, TRxButtonState State,
                     UINT Flags);
    void drawDropDownMark(TCanvas* Canvas, const TPoint& Position, bool Disabled);

    std::unique_ptr<TBitmap> original_;
    TGlyphList* glyphList_ = nullptr;
    Integer indexes_[RxButtonStateCount];
    TColor transparentColor_ = clFuchsia;
    TRxNumGlyphs numGlyphs_ = 1;
    bool wordWrap_ = false;
    TAlignment alignment_ = taCenter;
};

// A windowless push button that paints glyph and caption off-screen: flat,
// grouped, or repeating its click while held.
class TRxSpeedButton : public TGraphicControl {
public:
    explicit TRxSpeedButton(TComponent* AOwner);
    ~TRxSpeedButton() override;

    TBitmap* Glyph() const { return glyph_->Glyph(); }
    void SetGlyph(TBitmap* Value);
    TRxNumGlyphs NumGlyphs() const { return glyph_->NumGlyphs(); }
    void SetNumGlyphs(TRxNumGlyphs Value);
    TAlignment Alignment() const { return glyph_->Alignment(); }
    void SetAlignment(TAlignment Value);
    bool WordWrap() const { return glyph_->WordWrap(); }
    void SetWordWrap(bool Value);
    TRxButtonGlyph* ButtonGlyph() const { return glyph_.get(); }

    bool AllowAllUp() const { return allowAllUp_; }
    void SetAllowAllUp(bool Value);
    bool AllowTimer() const { return allowTimer_; }
    void SetAllowTimer(bool Value);
    Integer GroupIndex() const { return groupIndex_; }
    void SetGroupIndex(Integer Value);
    bool Down() const { return down_; }
    void SetDown(bool Value);
    bool Flat() const { return flat_; }
    void SetFlat(bool Value);
    bool GrayedInactive() const { return grayedInactive_; }
    void SetGrayedInactive(bool Value);
    Word InitPause() const { return initPause_; }
    void SetInitPause(Word Value) { initPause_ = Value; }
    Word RepeatInterval() const { return repeatInterval_; }
    void SetRepeatInterval(Word Value) { repeatInterval_ = Value; }
    TButtonLayout Layout() const { return layout_; }
    void SetLayout(TButtonLayout Value);
    Integer Margin() const { return margin_; }
    void SetMargin(Integer Value);
    Integer Spacing() const { return spacing_; }
    void SetSpacing(Integer Value);
    TModalResult ModalResult() const { return modalResult_; }
    void SetModalResult(TModalResult Value) { modalResult_ = Value; }
    TButtonStyle Style() const { return style_; }
    void SetStyle(TButtonStyle Value);
    TRxButtonState ButtonState() const { return state_; }
    bool MouseInControl() const { return mouseInControl_; }
    // The parent's image shows under glyph and caption.
    bool Transparent() const { return transparent_; }
    void SetTransparent(bool Value);
    // Opens on a left press, instead of the press becoming a click.
    TPopupMenu* DropDownMenu() const { return dropDownMenu_; }
    void SetDropDownMenu(TPopupMenu* Value);
    TRxDropDownMenuPos MenuPosition() const { return menuPosition_; }
    void SetMenuPosition(TRxDropDownMenuPos Value) { menuPosition_ = Value; }
    // A small arrow beside glyph or caption while a DropDownMenu is set.
    bool MarkDropDown() const { return markDropDown_; }
    void SetMarkDropDown(bool Value);

    void Click() override;
    void Dispatch(TMessage& Message) override;
    void Notification(TComponent* AComponent, TOperation Operation) override;

    TNotifyEvent OnMouseEnter;
    TNotifyEvent OnMouseLeave;

protected:
    void Paint() override;
    virtual void PaintGlyph(TCanvas* Canvas, const TRect& ARect, TRxButtonState AState);
    virtual void MouseEnter();
    virtual void MouseLeave();
    void MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override;
    void MouseMove(TShiftState Shift, Integer X, Integer Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override;
    // Down follows the action's Checked; an empty glyph takes the action's image.
    void ActionChange(TObject* Sender, bool CheckDefaults) override;
    TControlActionLinkClass GetActionLinkClass() override;

private:
    void GlyphChanged(TObject* Sender);
    void TimerExpired(TObject* Sender);
    void glyphFromActionImage(TCustomAction* Action);
    void updateExclusive();
    void drawFrame(TCanvas* Canvas, TRect& Rect, bool Pressed, bool NewStyle);
    void checkMouseInControl();
    void setState(TRxButtonState Value);
    TRxButtonState paintState() const;
    void popUpDropDownMenu();
    TPoint dropDownMenuPoint() const;
    void removePendingPresses();
    void cmDialogChar(TMessage& Message);

    std::unique_ptr<TRxButtonGlyph> glyph_;
    std::unique_ptr<TBitmap> drawImage_;
    std::unique_ptr<TTimer> repeatTimer_;
    Integer groupIndex_ = 0;
    TButtonStyle style_ = bsAutoDetect;
    bool down_ = false;
    bool dragging_ = false;
    bool flat_ = false;
    bool mouseInControl_ = false;
    bool allowAllUp_ = false;
    TButtonLayout layout_ = blGlyphTop;
    Integer spacing_ = 1;
    Integer margin_ = -1;
    TModalResult modalResult_ = mrNone;
    bool grayedInactive_ = true;
    bool allowTimer_ = false;
    Word initPause_ = 500;
    Word repeatInterval_ = 100;
    bool transparent_ = false;
    bool markDropDown_ = true;
    TPopupMenu* dropDownMenu_ = nullptr;
    TRxDropDownMenuPos menuPosition_ = dmpBottom;
    bool menuTracking_ = false;
    TRxButtonState state_ = rbsUp;
};

// ---- Scrolling text panel ----------------------------------------------------------

class TRxTimer;
class TStringList;
class TBitmap;

enum TScrollDirection { sdVertical, sdHorizontal };
enum TGlyphLayout { glGlyphLeft, glGlyphRight, glGlyphTop, glGlyphBottom };
using TPanelDrawEvent = Closure<void(TObject* Sender, TCanvas* Canvas, TRect Rect)>;

// A panel that, while Active, scrolls its Lines through a text area (bottom
// to top or right to left) one pixel per tick of a threaded timer, beside an
// optional glyph. With AsyncDrawing (the default) each step renders on the
// timer's worker into a memory image, and the main thread copies it to the
// screen; the end of the text is handed to the main thread.
class TSecretPanel : public TCustomPanel {
public:
    explicit TSecretPanel(TComponent* AOwner);
    ~TSecretPanel() override;

    bool AsyncDrawing() const { return asyncDrawing_; }
    void SetAsyncDrawing(bool Value);
    bool Active() const { return active_; }
    void SetActive(bool Value);
    void SetAlignment(TAlignment Value);
    bool Cycled() const;
    void SetCycled(bool Value);
    TBitmap* Glyph() const { return glyph_.get(); }
    void SetGlyph(TBitmap* Value);
    TGlyphLayout GlyphLayout() const { return glyphLayout_; }
    void SetGlyphLayout(TGlyphLayout Value);
    Cardinal Interval() const;
    void SetInterval(Cardinal Value);
    TStringList* Lines() const { return lines_.get(); }
    void SetLines(TStringList* Value);
    TScrollDirection ScrollDirection() const { return scrollDirection_; }
    void SetScrollDirection(TScrollDirection Value);
    TBevelCut TextStyle() const { return textStyle_; }
    void SetTextStyle(TBevelCut Value);
    TPanelDrawEvent OnPaintClient;
    TNotifyEvent OnStartPlay;
    TNotifyEvent OnStopPlay;

    // The geometry the scroll steps work with, as last prepared.
    TRect TextRect() const { return textRect_; }
    TRect PaintRect() const { return paintRect_; }
    TPoint GlyphOrigin() const { return glyphOrigin_; }
    Integer MaxScroll() const { return maxScroll_; }
    Integer ScrollCount() const;
    // True while a scroll step is due or running: code stepping the clock
    // waits for false before stepping again.
    bool StepDue() const;
    // Where the first line stands, in the memory image, at a scroll count.
    TRect LineRect(Integer ScrollCount) const;

    void Dispatch(TMessage& Message) override;

protected:
    void Paint() override;
    void AlignControls(TControl* AControl, TRect& Rect) override;
    virtual void PaintClient(TCanvas* Canvas, TRect Rect);
    // One scroll step, on the timer's thread.
    virtual void TimerExpired(TObject* Sender);
    virtual void StartPlay();
    virtual void StopPlay();

private:
    Integer borderSize();
    void recalcRects();
    void layoutGlyph(Integer Border);
    void centreLinesVertically();
    void prepareImage();
    void rebuildWhileActive();
    void paintText();
    void drawLines(TCanvas* Canvas);
    void copyImageToScreen();
    void blitImage();
    void stopAtEnd();
    void hideChildren();
    void showChildren();
    void LinesChanged(TObject* Sender);
    void GlyphChanged(TObject* Sender);

    // What a step draws with, taken from the panel on the main thread.
    struct StepStyle {
        TColor colour = clBtnFace;
        TColor fontColour = clWindowText;
        UINT format = 0;
        TBevelCut textStyle = bvNone;
        bool rightToLeft = false;
        TScrollDirection direction = sdVertical;
    };

    bool active_ = false;
    std::unique_ptr<TStringList> lines_;
    // Guards what the scroll steps read and write: the memory image, the
    // scroll count, the geometry and style below, and the copy of the lines.
    mutable std::mutex imageLock_;
    bool cycled_ = false;
    StepStyle style_;
    Integer scrollCount_ = 0;
    Integer maxScroll_ = 0;
    Integer lineHeight_ = 0;
    Integer firstLine_ = 0;
    std::vector<AnsiString> shownLines_;
    HWND shownWindow_ = nullptr;
    std::unique_ptr<TRxTimer> timer_;
    TRect textRect_{};
    TRect paintRect_{};
    TPoint glyphOrigin_{};
    std::unique_ptr<TBitmap> image_;
    std::unique_ptr<TBitmap> glyph_;
    std::vector<TControl*> hiddenControls_;
    TBevelCut textStyle_ = bvNone;
    TScrollDirection scrollDirection_ = sdVertical;
    TGlyphLayout glyphLayout_ = glGlyphLeft;
    bool asyncDrawing_ = true;
};
