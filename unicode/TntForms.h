// The wide application and the message hook that keep UTF-16 characters and
// texts away from the framework's ANSI message loop: characters above 255 for
// a Unicode window are dispatched wide before the loop sees them, and the
// application's title and hint have wide counterparts. Also the wide form.
#pragma once

#include "platform/vcl/Forms.h"
#include "platform/vcl/Frames.h"
#include "platform/vcl/ScrollBoxes.h"
#include "unicode/TntStdCtrls.h"

// The companion of the framework's application object: wide title and hint,
// wide character dispatch, and the wide hint action for status bars.
class TTntApplication : public TComponent {
public:
    explicit TTntApplication(TComponent* AOwner);
    ~TTntApplication() override;

    // The application hint, kept in step with the framework's ANSI one
    // (setting it runs the framework's hint change).
    WideString Hint();
    void SetHint(const WideString& Value);
    // The application window's text; a title set before the window exists is
    // applied when it is made.
    WideString Title();
    void SetTitle(const WideString& Value);
    WideString ExeName() const;
    DWORD SettingChangeTime() const { return settingChangeTime_; }
    // The hint becomes the long hint of the control under the mouse.
    void DoIdle();
    // IsDialogMessageW (A for an ANSI window) for the application's dialog window.
    bool IsDlgMsg(MSG& Msg);
    // Takes a WM_CHAR or WM_SYSCHAR above 255 for a Unicode window and
    // dispatches it wide; true when taken. A WM_SYSCHAR is first offered to
    // the framework's key step, so its controls' wide hot keys see all 16 bits.
    bool ProcessMessage(MSG& Msg);
    // Sees the application window's messages first; true stops the framework's handling.
    bool WndProc(TMessage& Message);
    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    void setAnsiHint(const AnsiString& Value) { Application->SetHint(Value); }
    void setAnsiTitle(const AnsiString& Value) { Application->SetTitle(Value); }
    void checkMainForm();
    bool executeHintAction(TMessage& Message);

    bool mainFormChecked_ = false;
    WideString hint_;
    TControl* idleEventControl_ = nullptr;
    DWORD settingChangeTime_ = 0;
    WideString title_;
};

// The tick count of the last system setting change the application window saw.
extern DWORD _SettingChangeTime;

// The process's wide application (made on first use).
TTntApplication* TntApplication();
// Program start: makes the wide application and hooks the user-interface
// thread's message retrieval. Program end: unhooks (a failure is reported
// on stderr) and frees the wide application.
void InitializeTntForms();
void FinalizeTntForms();

// What a wide program expects of the framework: new fonts start with the
// name the "MS Shell Dlg 2" dialog font stands for, and hints show in a
// TTntHintWindow. Nothing in this program calls it.
void InitTntEnvironment();

// A caller that peeks and removes messages itself keeps the hook out meanwhile.
void EnableManualPeekMessageWithRemove();
void DisableManualPeekMessageWithRemove();

// The keyboard character (ANSI code) is the caption's hot key, ignoring case.
bool IsWideCharAccel(Word CharCode, const WideString& Caption);

// A form with a Unicode window, a wide caption and hint.
class TTntForm : public TTntHinted<TForm> {
public:
    using TTntHinted::TTntHinted;
    WideString Caption();
    void SetCaption(const WideString& Value);
    // A caption an action link supplies is not written to a form resource.
    bool IsCaptionStored() const;
    void UpdateActions() override;
    void Dispatch(TMessage& Message) override;

protected:
    void CreateWindowHandle(const TCreateParams& Params) override;
    // The application's wide hint becomes the wide long hint of the item.
    void WMMenuSelect(TMessage& Message) override;
};

// A scroll box with a Unicode window and a wide hint. Size changes that set
// off further size changes are followed 31 deep at most.
class TTntScrollBox : public TTntHinted<TScrollBox> {
public:
    using TTntHinted::TTntHinted;
    void Dispatch(TMessage& Message) override;

protected:
    void CreateWindowHandle(const TCreateParams& Params) override;

private:
    Integer sizeNesting_ = 0;
};

// A frame with a Unicode window and a wide hint.
class TTntCustomFrame : public TTntHinted<TCustomFrame> {
public:
    using TTntHinted::TTntHinted;

protected:
    void CreateWindowHandle(const TCreateParams& Params) override;
};

class TTntFrame : public TTntCustomFrame {
public:
    using TTntCustomFrame::TTntCustomFrame;
};
