#include "unicode/TntDialogs.h"

#include "platform/core/CodePages.h"
#include "platform/core/SysUtils.h"
#include "platform/vcl/ExtCtrls.h"
#include "platform/vcl/Pictures.h"
#include "platform/win/Messages.h"
#include "platform/win/ResourceImages.h"
#include "platform/win/SystemInfo.h"
#include "platform/win/Windows.h"
#include "unicode/TntClipBrd.h"
#include "unicode/TntFormatStrUtils.h"
#include "unicode/TntGraphics.h"
#include "unicode/TntStdCtrls.h"
#include "unicode/TntSystem.h"
#include "unicode/TntWindows.h"

#include <algorithm>
#include <array>

namespace {

// ---- File dialogs ----

constexpr const char* SAllFilesFilter = "All files (*.*)|*.*";

// The dialog whose framework request is being captured.
TTntOpenDialog* capturingDialog = nullptr;

bool isDelimiter(WideChar Char) {
    return Char == u'\\' || Char == u'/';
}

// "C:\Temp\" and "/srv/site/" lose the delimiter, "C:\" and "/" keep it.
WideString withoutTrailingDelimiter(const WideString& Value) {
    if (Value.size() <= 1 || !isDelimiter(Value.back())) return Value;
    if (Value[Value.size() - 2] == u':') return Value;
    return Value.substr(0, Value.size() - 1);
}

// "Text|*.txt|All|*.*" as the system wants it: zeros between, two at the end.
std::vector<WideChar> systemFilter(const WideString& Filter) {
    std::vector<WideChar> text(Filter.begin(), Filter.end());
    std::replace(text.begin(), text.end(), u'|', u'\0');
    text.push_back(u'\0');
    text.push_back(u'\0');
    return text;
}

WideString extensionWithoutDot(const WideString& FileName) {
    const std::size_t dot = FileName.find_last_of(u".\\/:");
    if (dot == WideString::npos || FileName[dot] != u'.') return {};
    return FileName.substr(dot + 1);
}

// A name that is full already: a root path ("\dir\x", "/srv/x") or a drive path ("C:\x").
bool isFullName(const WideString& Name) {
    if (!Name.empty() && isDelimiter(Name.front())) return true;
    return Name.size() > 3 && Name[1] == u':' && Name[2] == u'\\';
}

// The parts of the returned buffer, up to the first empty one.
std::vector<WideString> splitFileBuffer(const WideChar* Buffer, std::size_t Size, WideChar Separator) {
    std::vector<WideString> parts;
    std::size_t position = 0;
    while (position < Size && Buffer[position] != u'\0') {
        std::size_t stop = position;
        while (stop < Size && Buffer[stop] != u'\0' && Buffer[stop] != Separator)
            ++stop;
        parts.emplace_back(Buffer + position, Buffer + stop);
        position = stop + 1;
        if (stop >= Size || Buffer[stop] == u'\0') {
            if (Separator != u'\0') break;
        }
    }
    return parts;
}

// The folder of several chosen names, ended by the delimiter it uses itself.
WideString folderPrefix(WideString Folder) {
    if (!Folder.empty() && !isDelimiter(Folder.back())) Folder += Folder.front() == u'/' ? u'/' : u'\\';
    return Folder;
}

} // namespace

TTntOpenDialog::TTntOpenDialog(TComponent* AOwner)
    : TOpenDialog(AOwner), files_(std::make_unique<TTntStringList>()) {}

TTntOpenDialog::~TTntOpenDialog() = default;

TTntStrings* TTntOpenDialog::Files() {
    if (!Win32PlatformIsUnicode) files_->Assign(TOpenDialog::Files());
    return files_.get();
}

WideString TTntOpenDialog::DefaultExt() {
    return GetSyncedWideString(defaultExt_, TOpenDialog::DefaultExt());
}

void TTntOpenDialog::SetDefaultExt(const WideString& Value) {
    SetSyncedWideString(Value, defaultExt_, TOpenDialog::DefaultExt(),
                        TSetAnsiStrEvent(this, &TTntOpenDialog::setAnsiDefaultExt));
}

WideString TTntOpenDialog::FileName() {
    if (Handle() && Win32PlatformIsUnicode && !Options().Contains(ofOldStyleDialog)) {
        const HWND chooser = GetParent(Handle());
        const LRESULT size = SendMessageW(chooser, CDM_GETFILEPATH, 0, 0);
        if (size > 0) {
            std::vector<WideChar> path(static_cast<std::size_t>(size), u'\0');
            SendMessageW(chooser, CDM_GETFILEPATH, path.size(), reinterpret_cast<LPARAM>(path.data()));
            return WideString(path.data());
        }
    }
    return GetSyncedWideString(fileName_, TOpenDialog::FileName());
}

void TTntOpenDialog::SetFileName(const WideString& Value) {
    SetSyncedWideString(Value, fileName_, TOpenDialog::FileName(),
                        TSetAnsiStrEvent(this, &TTntOpenDialog::setAnsiFileName));
}

WideString TTntOpenDialog::Filter() {
    return GetSyncedWideString(filter_, TOpenDialog::Filter());
}

void TTntOpenDialog::SetFilter(const WideString& Value) {
    SetSyncedWideString(Value, filter_, TOpenDialog::Filter(),
                        TSetAnsiStrEvent(this, &TTntOpenDialog::setAnsiFilter));
}

WideString TTntOpenDialog::InitialDir() {
    return GetSyncedWideString(initialDir_, TOpenDialog::InitialDir());
}

void TTntOpenDialog::SetInitialDir(const WideString& Value) {
    SetSyncedWideString(withoutTrailingDelimiter(Value), initialDir_, TOpenDialog::InitialDir(),
                        TSetAnsiStrEvent(this, &TTntOpenDialog::setAnsiInitialDir));
}

WideString TTntOpenDialog::Title() {
    return GetSyncedWideString(title_, TOpenDialog::Title());
}

void TTntOpenDialog::SetTitle(const WideString& Value) {
    SetSyncedWideString(Value, title_, TOpenDialog::Title(),
                        TSetAnsiStrEvent(this, &TTntOpenDialog::setAnsiTitle));
}

void TTntOpenDialog::DefineProperties(TFiler* Filer) {
    TOpenDialog::DefineProperties(Filer);
    TntPersistent_AfterInherited_DefineProperties(Filer, this);
}

bool TTntOpenDialog::Execute() {
    return Win32PlatformIsUnicode ? DoExecuteW(&GetOpenFileNameW) : TOpenDialog::Execute();
}

bool TTntSaveDialog::Execute() {
    return Win32PlatformIsUnicode ? DoExecuteW(&GetSaveFileNameW) : TOpenDialog::DoExecute(&GetSaveFileNameA);
}

BOOL TTntOpenDialog::captureRequest(OPENFILENAMEA* Request) {
    capturingDialog->ansiRequest_ = *Request;
    return FALSE;
}

// The framework's request with the wide values; the buffers it points into belong to the caller.
OPENFILENAMEW TTntOpenDialog::wideRequest(std::vector<WideChar>& Filter, std::vector<WideChar>& File,
                                          WideString& InitialDir, WideString& DefaultExt) {
    OPENFILENAMEW request;
    request.hwndOwner = IsWindow(ansiRequest_.hwndOwner) ? ansiRequest_.hwndOwner : Application->Handle();
    request.nFilterIndex = ansiRequest_.nFilterIndex;
    request.nMaxFile = ansiRequest_.nMaxFile;
    request.Flags = ansiRequest_.Flags;
    request.lCustData = ansiRequest_.lCustData;
    request.lpfnHook = ansiRequest_.lpfnHook;
    Filter = systemFilter(this->Filter());
    request.lpstrFilter = this->Filter().empty() ? nullptr : Filter.data();
    const WideString fileName = FileName();
    File.assign(request.nMaxFile + 2, u'\0');
    std::copy_n(fileName.begin(), std::min<std::size_t>(fileName.size(), request.nMaxFile), File.begin());
    request.lpstrFile = File.data();
    InitialDir = this->InitialDir();
    if (InitialDir.empty() && ForceCurrentDirectory) InitialDir = u".";
    request.lpstrInitialDir = InitialDir.empty() ? nullptr : InitialDir.c_str();
    title_ = Title();
    request.lpstrTitle = title_.empty() ? nullptr : title_.c_str();
    DefaultExt = this->DefaultExt();
    if (DefaultExt.empty() && !(request.Flags & OFN_EXPLORER)) DefaultExt = extensionWithoutDot(fileName);
    request.lpstrDefExt = DefaultExt.empty() ? nullptr : DefaultExt.c_str();
    return request;
}

// The framework builds the request once with a function that only keeps
// it (and shows nothing); the wide one then runs with the same values, its
// hook among them, which asks OnCanClose after each choice.
bool TTntOpenDialog::DoExecuteW(BOOL (*Function)(OPENFILENAMEW* Request)) {
    files_->Clear();
    const TNotifyEvent onShow = OnShow;
    const TNotifyEvent onClose = OnClose;
    OnShow = nullptr;
    OnClose = nullptr;
    capturingDialog = this;
    ansiRequest_ = OPENFILENAMEA();
    TOpenDialog::DoExecute(&TTntOpenDialog::captureRequest);
    capturingDialog = nullptr;
    OnShow = onShow;
    OnClose = onClose;

    std::vector<WideChar> filter, file;
    WideString initialDir, defaultExt;
    OPENFILENAMEW request = wideRequest(filter, file, initialDir, defaultExt);
    DoShow();
    const bool accepted = Function(&request);
    DoClose();
    if (!accepted) return false;
    if (Options().Contains(ofOldStyleDialog)) TakeFileNames(&request);
    TOpenOptions options = Options() - TOpenOptions{ofExtensionDifferent, ofReadOnly};
    if (request.Flags & OFN_EXTENSIONDIFFERENT) options.Include(ofExtensionDifferent);
    if (request.Flags & OFN_READONLY) options.Include(ofReadOnly);
    SetOptions(options);
    SetFilterIndex(static_cast<Integer>(request.nFilterIndex));
    return true;
}

void TTntOpenDialog::TakeFileNames(const void* Request) {
    ClearFileNames();
    GetFileNamesW(*static_cast<const OPENFILENAMEW*>(Request));
}

void TTntOpenDialog::ClearFileNames() {
    files_->Clear();
    TOpenDialog::Files()->Clear();
}

void TTntOpenDialog::GetFileNamesW(const OPENFILENAMEW& Request) {
    const bool multiSelect = Options().Contains(ofAllowMultiSelect);
    const bool oldStyle = Options().Contains(ofOldStyleDialog) || !(Request.Flags & OFN_EXPLORER);
    const WideChar separator = multiSelect && oldStyle ? u' ' : u'\0';
    std::vector<WideString> parts =
        splitFileBuffer(Request.lpstrFile, static_cast<std::size_t>(Request.nMaxFile) + 2, separator);
    if (parts.empty()) parts.emplace_back();
    if (!multiSelect || parts.size() == 1) {
        SetFileName(parts.front());
        files_->Add(parts.front());
    } else {
        const WideString folder = folderPrefix(parts.front());
        for (std::size_t i = 1; i < parts.size(); ++i)
            files_->Add(isFullName(parts[i]) ? parts[i] : folder + parts[i]);
        SetFileName(files_->Strings(0));
    }
    TOpenDialog::Files()->Assign(files_->AnsiStrings());
}

// ---- Message form ---------------------------------------------------------------------------------

namespace {

struct MessageType {
    const char16_t* caption;
    LPCWSTR icon;
};

const std::array<MessageType, 5> MessageTypes = {{
    {u"Warning", IDI_EXCLAMATION},
    {u"Error", IDI_HAND},
    {u"Information", IDI_ASTERISK},
    {u"Confirm", IDI_QUESTION},
    {nullptr, nullptr},
}};

struct DialogButton {
    const char16_t* caption;
    const char* name;
    TModalResult result;
};

// The buttons' captions, control names and answers, in the order the form shows them.
const std::array<DialogButton, 11> DialogButtons = {{
    {u"&Yes", "Yes", mrYes},
    {u"&No", "No", mrNo},
    {u"OK", "OK", mrOk},
    {u"Cancel", "Cancel", mrCancel},
    {u"&Abort", "Abort", mrAbort},
    {u"&Retry", "Retry", mrRetry},
    {u"&Ignore", "Ignore", mrIgnore},
    {u"&All", "All", mrAll},
    {u"N&o to All", "NoToAll", mrNoToAll},
    {u"Yes to &All", "YesToAll", mrYesToAll},
    {u"&Help", "Help", mrNone},
}};

constexpr const char* SUnexpectedMsgType = "Unexpected MsgType in GetMessageCaption.";
constexpr const char* SUnexpectedMsgDlgBtn = "Unexpected MsgDlgBtn in GetButtonCaption.";
constexpr Integer IconSize = 32;
constexpr Integer ButtonCaptionPadding = 8;
// Ctrl+C frames each part of the form's text with this many dashes.
constexpr std::size_t DividerLength = 27;

WideString messageCaption(TMsgDlgType DlgType) {
    const auto index = static_cast<std::size_t>(DlgType);
    if (index >= MessageTypes.size()) throw ETntInternalError(SUnexpectedMsgType);
    if (DlgType == mtCustom) return TntApplication()->Title();
    return MessageTypes[index].caption;
}

const DialogButton& dialogButton(TMsgDlgBtn Button) {
    const auto index = static_cast<std::size_t>(Button);
    if (index >= DialogButtons.size()) throw ETntInternalError(SUnexpectedMsgDlgBtn);
    return DialogButtons[index];
}

// The dialog units of a canvas: the average width of the letters and the text height.
TPoint averageCharSize(TCanvas* Canvas) {
    WideString letters;
    for (WideChar c = u'A'; c <= u'Z'; ++c)
        letters += c;
    for (WideChar c = u'a'; c <= u'z'; ++c)
        letters += c;
    const TSize extent = WideCanvasTextExtent(Canvas, letters);
    return {extent.cx / static_cast<Integer>(letters.size()), extent.cy};
}

TRect measureText(TCanvas* Canvas, const WideString& Text, TRect Rect, UINT Flags) {
    Canvas->RequiredState({csHandleValid, csFontValid});
    Tnt_DrawTextW(Canvas->Handle(), Text.c_str(), static_cast<int>(Text.size()), &Rect, Flags | DT_CALCRECT);
    return Rect;
}

void useMessageFont(TFont* Font) {
    NONCLIENTMETRICSW metrics;
    metrics.cbSize = sizeof metrics;
    if (!SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0)) return;
    const LOGFONTW& font = metrics.lfMessageFont;
    Font->SetName(WideToAnsi(WideString(font.lfFaceName)));
    Font->SetHeight(font.lfHeight);
    TFontStyles style;
    if (font.lfWeight >= FW_BOLD) style.Include(fsBold);
    if (font.lfItalic) style.Include(fsItalic);
    Font->SetStyle(style);
}

WideString withoutAmpersands(WideString Text) {
    Text.erase(std::remove(Text.begin(), Text.end(), u'&'), Text.end());
    return Text;
}

} // namespace

TTntMessageForm::TTntMessageForm(TComponent* AOwner) : TTntForm(AOwner) {
    useMessageFont(Font());
}

WideString TTntMessageForm::GetFormText() {
    const WideString divider = WideString(DividerLength, u'-') + u"\r\n";
    WideString buttons;
    for (Integer i = 0; i < ComponentCount(); ++i)
        if (auto* button = dynamic_cast<TTntButton*>(Components(i)))
            buttons += withoutAmpersands(button->Caption()) + u"   ";
    return divider + Caption() + u"\r\n" + divider + (message_ ? message_->Caption() : WideString()) +
           u"\r\n" + divider + buttons + u"\r\n" + divider;
}

void TTntMessageForm::keyDown(TObject*, Word& Key, TShiftState Shift) {
    if (Shift == TShiftState{ssCtrl} && Key == 'C') {
        MessageBeep(0);
        TntClipboard()->SetAsWideText(GetFormText());
    }
}

// Help on the form's topic, from the form's help file (the active form's while it is shown).
void TTntMessageForm::helpButtonClick(TObject*) {
    Application->HelpContext(HelpContext());
}

TTntMessageForm* WideCreateMessageDialog(const WideString& Msg, TMsgDlgType DlgType, TMsgDlgButtons Buttons) {
    const WideString caption = messageCaption(DlgType);
    auto* form = new TTntMessageForm(Application);
    try {
        form->SetBorderStyle(bsDialog);
        form->Canvas()->SetFont(form->Font());
        form->SetKeyPreview(true);
        form->OnKeyDown = TKeyEvent(form, &TTntMessageForm::keyDown);
        const TPoint units = averageCharSize(form->Canvas());
        const Integer horzMargin = MulDiv(8, units.x, 4);
        const Integer vertMargin = MulDiv(8, units.y, 8);
        const Integer horzSpacing = MulDiv(10, units.x, 4);
        const Integer vertSpacing = MulDiv(10, units.y, 8);
        const Integer buttonHeight = MulDiv(14, units.y, 8);
        const Integer buttonSpacing = MulDiv(4, units.x, 4);
        Integer buttonWidth = MulDiv(50, units.x, 4);
        Integer buttonCount = 0;
        for (Integer b = mbYes; b <= mbHelp; ++b) {
            const auto button = static_cast<TMsgDlgBtn>(b);
            if (!Buttons.Contains(button)) continue;
            ++buttonCount;
            const TRect rect =
                measureText(form->Canvas(), dialogButton(button).caption, {}, DT_SINGLELINE | DT_LEFT);
            buttonWidth = std::max(buttonWidth, rect.Right - rect.Left + ButtonCaptionPadding);
        }
        const TRect textRect = measureText(
            form->Canvas(), Msg, {0, 0, Screen->Width() / 2, 0},
            static_cast<UINT>(DT_EXPANDTABS | DT_WORDBREAK | form->DrawTextBiDiModeFlagsReadingOnly()));
        const Integer textWidth = textRect.Right;
        const Integer textHeight = textRect.Bottom;
        const LPCWSTR icon = MessageTypes[static_cast<std::size_t>(DlgType)].icon;
        Integer iconTextWidth = textWidth;
        Integer iconTextHeight = textHeight;
        if (icon) {
            iconTextWidth += IconSize + horzSpacing;
            iconTextHeight = std::max(iconTextHeight, IconSize);
        }
        const Integer groupWidth =
            buttonCount > 0 ? buttonCount * buttonWidth + (buttonCount - 1) * buttonSpacing : 0;
        form->SetClientWidth(std::max(iconTextWidth, groupWidth) + 2 * horzMargin);
        form->SetClientHeight(iconTextHeight + buttonHeight + vertSpacing + 2 * vertMargin);
        form->SetLeft(Screen->Width() / 2 - form->Width() / 2);
        form->SetTop(Screen->Height() / 2 - form->Height() / 2);
        form->SetCaption(caption);
        if (icon) {
            auto* image = new TImage(form);
            image->SetName("Image");
            image->SetParent(form);
            image->Picture()->Icon()->SetHandle(LoadIconW(nullptr, icon));
            image->SetBounds(horzMargin, vertMargin, IconSize, IconSize);
        }
        auto* label = new TTntLabel(form);
        label->SetName("Message");
        label->SetParent(form);
        label->SetWordWrap(true);
        label->SetCaption(Msg);
        label->SetBiDiMode(form->BiDiMode());
        Integer labelLeft = iconTextWidth - textWidth + horzMargin;
        if (label->UseRightToLeftAlignment()) labelLeft = form->ClientWidth() - labelLeft - textWidth;
        label->SetBounds(labelLeft, vertMargin, textWidth, textHeight);
        form->SetMessage(label);

        const TMsgDlgBtn defaultButton = Buttons.Contains(mbOK)    ? mbOK
                                         : Buttons.Contains(mbYes) ? mbYes
                                                                   : mbRetry;
        const TMsgDlgBtn cancelButton = Buttons.Contains(mbCancel) ? mbCancel
                                        : Buttons.Contains(mbNo)   ? mbNo
                                                                   : mbOK;
        Integer left = (form->ClientWidth() - groupWidth) / 2;
        const Integer top = iconTextHeight + vertMargin + vertSpacing;
        for (Integer b = mbYes; b <= mbHelp; ++b) {
            const auto button = static_cast<TMsgDlgBtn>(b);
            if (!Buttons.Contains(button)) continue;
            const DialogButton& entry = dialogButton(button);
            auto* control = new TTntButton(form);
            control->SetName(entry.name);
            control->SetParent(form);
            control->SetCaption(entry.caption);
            control->SetModalResult(entry.result);
            control->SetDefault(button == defaultButton);
            control->SetCancel(button == cancelButton);
            control->SetBounds(left, top, buttonWidth, buttonHeight);
            if (button == mbHelp) control->OnClick = TNotifyEvent(form, &TTntMessageForm::helpButtonClick);
            left += buttonWidth + buttonSpacing;
        }
    } catch (...) {
        delete form;
        throw;
    }
    return form;
}

Integer WideMessageDlgPosHelp(const WideString& Msg, TMsgDlgType DlgType, TMsgDlgButtons Buttons,
                              Integer HelpCtx, Integer X, Integer Y, const WideString& HelpFileName) {
    std::unique_ptr<TTntMessageForm> form(WideCreateMessageDialog(Msg, DlgType, Buttons));
    form->SetHelpContext(HelpCtx);
    form->SetHelpFile(WideToAnsi(HelpFileName));
    if (X >= 0) form->SetLeft(X);
    if (Y >= 0) form->SetTop(Y);
    if (X < 0 && Y < 0) form->SetPosition(poScreenCenter);
    return form->ShowModal();
}

Integer WideMessageDlgPos(const WideString& Msg, TMsgDlgType DlgType, TMsgDlgButtons Buttons, Integer HelpCtx,
                          Integer X, Integer Y) {
    return WideMessageDlgPosHelp(Msg, DlgType, Buttons, HelpCtx, X, Y, WideString());
}

Integer WideMessageDlg(const WideString& Msg, TMsgDlgType DlgType, TMsgDlgButtons Buttons, Integer HelpCtx) {
    return WideMessageDlgPos(Msg, DlgType, Buttons, HelpCtx, -1, -1);
}

void WideShowMessage(const WideString& Msg) {
    WideShowMessagePos(Msg, -1, -1);
}

void WideShowMessagePos(const WideString& Msg, Integer X, Integer Y) {
    WideMessageDlgPos(Msg, mtCustom, TMsgDlgButtons{mbOK}, 0, X, Y);
}

void WideShowMessageFmt(const WideString& Msg, const std::vector<TVarRec>& Params) {
    WideShowMessage(Tnt_WideFormat(Msg, Params));
}

// ---- Input and file prompts -----------------------------------------------------------------------

bool WideInputQuery(const WideString& ACaption, const WideString& APrompt, WideString& Value) {
    TTntForm form(nullptr);
    form.Canvas()->SetFont(form.Font());
    const TPoint units = averageCharSize(form.Canvas());
    form.SetBorderStyle(bsDialog);
    form.SetCaption(ACaption);
    form.SetClientWidth(MulDiv(180, units.x, 4));
    form.SetPosition(poScreenCenter);
    auto* prompt = new TTntLabel(&form);
    prompt->SetParent(&form);
    prompt->SetWordWrap(true);
    prompt->SetBounds(MulDiv(8, units.x, 4), MulDiv(8, units.y, 8), MulDiv(164, units.x, 4), units.y);
    prompt->SetCaption(APrompt);
    auto* edit = new TTntEdit(&form);
    edit->SetParent(&form);
    edit->SetBounds(prompt->Left(), prompt->Top() + prompt->Height() + 5, MulDiv(164, units.x, 4),
                    edit->Height());
    edit->SetMaxLength(255);
    edit->SetText(Value);
    edit->SelectAll();
    const Integer buttonTop = edit->Top() + edit->Height() + 15;
    const Integer buttonWidth = MulDiv(50, units.x, 4);
    const Integer buttonHeight = MulDiv(14, units.y, 8);
    auto addButton = [&](const WideString& Caption, TModalResult Result, Integer Left) {
        auto* button = new TTntButton(&form);
        button->SetParent(&form);
        button->SetCaption(Caption);
        button->SetModalResult(Result);
        button->SetBounds(Left, buttonTop, buttonWidth, buttonHeight);
        return button;
    };
    addButton(u"OK", mrOk, MulDiv(38, units.x, 4))->SetDefault(true);
    TTntButton* cancel = addButton(u"Cancel", mrCancel, MulDiv(92, units.x, 4));
    cancel->SetCancel(true);
    form.SetClientHeight(cancel->Top() + cancel->Height() + 13);
    form.SetActiveControl(edit);
    if (form.ShowModal() != mrOk) return false;
    Value = edit->Text();
    return true;
}

WideString WideInputBox(const WideString& ACaption, const WideString& APrompt, const WideString& ADefault) {
    WideString value = ADefault;
    return WideInputQuery(ACaption, APrompt, value) ? value : ADefault;
}

bool WidePromptForFileName(WideString& AFileName, const WideString& AFilter, const WideString& ADefaultExt,
                           const WideString& ATitle, const WideString& AInitialDir, bool SaveDialog) {
    std::unique_ptr<TTntOpenDialog> dialog;
    if (SaveDialog) {
        dialog = std::make_unique<TTntSaveDialog>(nullptr);
        dialog->SetOptions(dialog->Options() + TOpenOptions{ofOverwritePrompt});
    } else {
        dialog = std::make_unique<TTntOpenDialog>(nullptr);
    }
    dialog->SetTitle(ATitle);
    dialog->SetDefaultExt(ADefaultExt);
    dialog->SetFilter(AFilter.empty() ? AnsiToWide(SAllFilesFilter) : AFilter);
    dialog->SetInitialDir(AInitialDir);
    dialog->SetFileName(AFileName);
    if (!dialog->Execute()) return false;
    AFileName = dialog->FileName();
    return true;
}

namespace {
const TClass tntOpenDialogClass =
    DescribeClass<TTntOpenDialog, TOpenDialog>([](TClassBuilder<TTntOpenDialog>& c) {
        c.Property("DefaultExt", &TTntOpenDialog::DefaultExt, &TTntOpenDialog::SetDefaultExt);
        c.Property("FileName", &TTntOpenDialog::FileName, &TTntOpenDialog::SetFileName);
        c.Property("Filter", &TTntOpenDialog::Filter, &TTntOpenDialog::SetFilter);
        c.Property("InitialDir", &TTntOpenDialog::InitialDir, &TTntOpenDialog::SetInitialDir);
        c.Property("Title", &TTntOpenDialog::Title, &TTntOpenDialog::SetTitle);
    });
const TClass tntSaveDialogClass = DescribeClass<TTntSaveDialog, TTntOpenDialog>();
const TClass tntMessageFormClass = DescribeClass<TTntMessageForm, TTntForm>();
} // namespace
