// The core of the Unicode controls. Every wide control's window is made from a
// ".UnicodeClass" twin of its framework class through the wide entry points and
// watched by a trap, so the window holds UTF-16 text while the framework above
// it keeps its ANSI text and handlers. Controls keep their wide captions and
// hints in side objects while they have no window; hints are shown wide by a
// hint window of the layer. Also the helpers that carry a UTF-16 character
// through the framework's ANSI WM_CHAR handling.
#pragma once

#include "platform/vcl/Controls.h"

class TCustomListControl;

// ---- Window creation ----------------------------------------------------------------------

// Makes Control's window from Params (a windowed control's CreateWindowHandle
// calls it). SubClass names the system class the control builds on ("EDIT",
// "BUTTON"; empty for controls the framework paints). IdeWindow stays false in
// this program. On the ANSI road it is the framework's CreateWindowExA.
void CreateUnicodeHandle(TWinControl* Control, const TCreateParams& Params, const WideString& SubClass,
                         bool IdeWindow = false);
// Registers (once) the wide twin of Params' class: its name is Params'
// class name followed by ".UnicodeClass".
void RegisterUnicodeClass(const TCreateParams& Params, WideString& WideWinClassName, bool IdeWindow = false);
// Puts the trap on Control's fresh Unicode window and gives it its caption
// (a wide caption stored while there was no window wins over Caption).
// Raises ETntInternalError when the window is not a Unicode window.
void SubClassUnicodeControl(TWinControl* Control, const char* Caption, bool IdeWindow = false);
// Makes Control's window anew as a Unicode window of SubClass, with its
// font, size and focus as before.
void ReCreateUnicodeWnd(TWinControl* Control, const WideString& SubClass, bool IdeWindow = false);

// ---- Text and hint ------------------------------------------------------------------------------

WideString TntControl_GetText(TControl* Control);
// A Unicode window gets the text only when it differs, then CM_TEXTCHANGED.
void TntControl_SetText(TControl* Control, const WideString& Text);
// The wide caption kept while the control has no window (Default without one).
WideString TntControl_GetStoredText(TControl* Control, const WideString& Default);
void TntControl_SetStoredText(TControl* Control, const WideString& Value);
// False while an action link supplies the caption (hint): it is not written to a form resource.
bool TntControl_IsCaptionStored(TControl* Control);
bool TntControl_IsHintStored(TControl* Control);
WideString TntControl_GetHint(TControl* Control);
void TntControl_SetHint(TControl* Control, const WideString& Value);

// The first non-empty wide hint of the control and its parents.
WideString WideGetHint(TControl* Control);
// The part before the first "|" (and after it); a hint without "|" is whole in both.
WideString WideGetShortHint(const WideString& Hint);
WideString WideGetLongHint(const WideString& Hint);

// A list control that takes wide items.
class IWideCustomListControl {
public:
    virtual ~IWideCustomListControl() = default;
    virtual void AddItem(const WideString& Item, TObject* AObject) = 0;
};
// The wide AddItem when Control offers one, else the ANSI one with the item's ANSI form.
void WideListControl_AddItem(TCustomListControl* Control, const WideString& Item, TObject* AObject);

// ---- Character messages -----------------------------------------------------------------------

// WM_SETTEXT, WM_GETTEXT and WM_GETTEXTLENGTH.
bool IsTextMessage(UINT Msg);
// A WM_CHAR above 255 travels through the framework's ANSI handlers as 255,
// the real character waiting in the spare high word of WParam. Each raises
// EAssertionFailed on a message that is not WM_CHAR (and the first on a
// spare word already in use).
void MakeWMCharMsgSafeForAnsi(TMessage& Message);
void RestoreWMCharMsg(TMessage& Message);
WideChar GetWideCharFromWMCharMsg(const TMessage& Message);
void SetWideCharForWMCharMsg(TMessage& Message, WideChar Char);

// ---- Hints ----------------------------------------------------------------------------------------

// A control of the layer receives CM_HINTSHOW: the framework's hint window
// becomes the layer's, the hint text the ANSI form of the wide short hint,
// and the hint data marks the hint as wide.
void ProcessCMHintShowMsg(TMessage& Message);

// A hint window that shows UTF-16 text: the wide text of a hint marked by
// ProcessCMHintShowMsg (with the wide shortcut when the framework added one).
class TTntCustomHintWindow : public THintWindow {
public:
    explicit TTntCustomHintWindow(TComponent* AOwner);
    WideString Caption();
    void SetCaption(const WideString& Value);
    void ActivateHint(TRect Rect, const AnsiString& AHint) override;
    void ActivateHintData(TRect Rect, const AnsiString& AHint, void* AData) override;
    TRect CalcHintRect(Integer MaxWidth, const AnsiString& AHint, void* AData) override;
    void Dispatch(TMessage& Message) override;

protected:
    void CreateWindowHandle(const TCreateParams& Params) override;
    void CreateParams(TCreateParams& Params) override;
    void Paint() override;
    TRect calcWideHintRect(Integer MaxWidth, const WideString& AHint);

    bool suppressResize_ = false;
    bool suppressPaint_ = false;
};

class TTntHintWindow : public TTntCustomHintWindow {
public:
    using TTntCustomHintWindow::ActivateHint;
    using TTntCustomHintWindow::ActivateHintData;
    using TTntCustomHintWindow::CalcHintRect;
    using TTntCustomHintWindow::TTntCustomHintWindow;
    void ActivateHint(TRect Rect, const WideString& AHint);
    void ActivateHintData(TRect Rect, const WideString& AHint, void* AData);
    TRect CalcHintRect(Integer MaxWidth, const WideString& AHint, void* AData);
};
