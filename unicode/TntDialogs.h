// The common file dialogs with UTF-16 names, filters and titles, and the
// message, input and file-prompt routines built on a wide message form:
// the framework's layout rules and answers with wide texts.
#pragma once

#include "platform/core/SysUtils.h"
#include "platform/vcl/Dialogs.h"
#include "unicode/TntClasses.h"
#include "unicode/TntForms.h"

#include <memory>
#include <vector>

class TTntLabel;

// ---- File dialogs -------------------------------------------------------------------------

// The wide properties follow the framework's ANSI ones: a wide value counts
// only while the ANSI property still holds its ANSI form.
class TTntOpenDialog : public TOpenDialog {
public:
    explicit TTntOpenDialog(TComponent* AOwner);
    ~TTntOpenDialog() override;

    // True when the user confirmed. A cancelled dialog leaves FileName alone.
    bool Execute() override;
    TTntStrings* Files();
    WideString DefaultExt();
    void SetDefaultExt(const WideString& Value);
    // While the dialog runs: the name chosen in it, whatever its length.
    WideString FileName();
    void SetFileName(const WideString& Value);
    WideString Filter();
    void SetFilter(const WideString& Value);
    WideString InitialDir();
    // One trailing path delimiter goes, unless it is all there is or follows
    // a drive ("C:\" stays, "C:\Temp\" becomes "C:\Temp").
    void SetInitialDir(const WideString& Value);
    WideString Title();
    void SetTitle(const WideString& Value);
    void DefineProperties(TFiler* Filer) override;

protected:
    // Runs the wide system function with the request the framework would have built.
    bool DoExecuteW(BOOL (*Function)(OPENFILENAMEW* Request));
    // Files and FileName from a confirmed request.
    void GetFileNamesW(const OPENFILENAMEW& Request);
    // A choice of the running wide dialog comes in an OPENFILENAMEW.
    void TakeFileNames(const void* Request) override;
    void ClearFileNames() override;

private:
    static BOOL captureRequest(OPENFILENAMEA* Request);
    OPENFILENAMEW wideRequest(std::vector<WideChar>& Filter, std::vector<WideChar>& File,
                              WideString& InitialDir, WideString& DefaultExt);
    void setAnsiDefaultExt(const AnsiString& Value) { TOpenDialog::SetDefaultExt(Value); }
    void setAnsiFileName(const AnsiString& Value) { TOpenDialog::SetFileName(Value); }
    void setAnsiFilter(const AnsiString& Value) { TOpenDialog::SetFilter(Value); }
    void setAnsiInitialDir(const AnsiString& Value) { TOpenDialog::SetInitialDir(Value); }
    void setAnsiTitle(const AnsiString& Value) { TOpenDialog::SetTitle(Value); }

    std::unique_ptr<TTntStringList> files_;
    WideString defaultExt_;
    WideString fileName_;
    WideString filter_;
    WideString initialDir_;
    WideString title_;
    // The framework's request, as it built it for the last execution.
    OPENFILENAMEA ansiRequest_;
};

class TTntSaveDialog : public TTntOpenDialog {
public:
    using TTntOpenDialog::TTntOpenDialog;
    bool Execute() override;
};

// ---- Message form -----------------------------------------------------------------------------

class TTntMessageForm : public TTntForm {
public:
    explicit TTntMessageForm(TComponent* AOwner);
    TTntLabel* Message() const { return message_; }
    void SetMessage(TTntLabel* Value) { message_ = Value; }
    // The text Ctrl+C puts on the clipboard: caption, message and buttons between dashed lines.
    WideString GetFormText();

private:
    void keyDown(TObject* Sender, Word& Key, TShiftState Shift);
    void helpButtonClick(TObject* Sender);
    friend TTntMessageForm* WideCreateMessageDialog(const WideString& Msg, TMsgDlgType DlgType,
                                                    TMsgDlgButtons Buttons);

    TTntLabel* message_ = nullptr;
};

// The message form (not shown), owned by the application. ETntInternalError
// for a type or button outside the framework's.
TTntMessageForm* WideCreateMessageDialog(const WideString& Msg, TMsgDlgType DlgType, TMsgDlgButtons Buttons);
// Shows the form modally at (X, Y), centred on the screen when both are
// negative; the answer is the button's modal result.
Integer WideMessageDlgPosHelp(const WideString& Msg, TMsgDlgType DlgType, TMsgDlgButtons Buttons,
                              Integer HelpCtx, Integer X, Integer Y, const WideString& HelpFileName);
Integer WideMessageDlgPos(const WideString& Msg, TMsgDlgType DlgType, TMsgDlgButtons Buttons, Integer HelpCtx,
                          Integer X, Integer Y);
Integer WideMessageDlg(const WideString& Msg, TMsgDlgType DlgType, TMsgDlgButtons Buttons, Integer HelpCtx);
void WideShowMessage(const WideString& Msg);
void WideShowMessagePos(const WideString& Msg, Integer X, Integer Y);
// Shows Msg formatted with Params, as Format formats them.
void WideShowMessageFmt(const WideString& Msg, const std::vector<TVarRec>& Params);

// ---- Input and file prompts -------------------------------------------------------------------

// A small form with the prompt, an edit holding Value and OK and Cancel; true
// and the new text in Value on OK.
bool WideInputQuery(const WideString& ACaption, const WideString& APrompt, WideString& Value);
WideString WideInputBox(const WideString& ACaption, const WideString& APrompt, const WideString& ADefault);
// A save dialog (with the overwrite prompt) or an open dialog; an empty
// filter is "All files (*.*)|*.*". True and the chosen name in AFileName.
bool WidePromptForFileName(WideString& AFileName, const WideString& AFilter, const WideString& ADefaultExt,
                           const WideString& ATitle, const WideString& AInitialDir, bool SaveDialog);
