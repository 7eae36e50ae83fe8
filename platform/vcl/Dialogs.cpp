// The dialog components: each builds the record of its common dialog from
// its properties and takes the answer back.
#include "platform/vcl/Dialogs.h"

#include "platform/core/CodePages.h"
#include "platform/core/SysUtils.h"
#include "platform/vcl/EditCtrls.h"
#include "platform/vcl/Forms.h"
#include "platform/vcl/StdCtrls.h"
#include "platform/win/DialogKeys.h"
#include "platform/win/Focus.h"
#include "platform/win/MessageBox.h"
#include "platform/win/Messages.h"
#include "platform/win/Windows.h"

#include <algorithm>
#include <cstring>

bool ForceCurrentDirectory = false;

namespace {

constexpr const char* CurrentDirectoryMark = ".";
constexpr DWORD singleFileBuffer = 260;
constexpr DWORD multipleFileBuffer = 0xFFFF;
constexpr std::size_t findTextBuffer = 256;
constexpr int customColourNames = 16;

struct OptionFlag {
    TOpenOption Option;
    DWORD Flag;
};

constexpr OptionFlag openOptionFlags[] = {
    {ofReadOnly, OFN_READONLY},
    {ofOverwritePrompt, OFN_OVERWRITEPROMPT},
    {ofHideReadOnly, OFN_HIDEREADONLY},
    {ofNoChangeDir, OFN_NOCHANGEDIR},
    {ofShowHelp, OFN_SHOWHELP},
    {ofNoValidate, OFN_NOVALIDATE},
    {ofAllowMultiSelect, OFN_ALLOWMULTISELECT},
    {ofExtensionDifferent, OFN_EXTENSIONDIFFERENT},
    {ofPathMustExist, OFN_PATHMUSTEXIST},
    {ofFileMustExist, OFN_FILEMUSTEXIST},
    {ofCreatePrompt, OFN_CREATEPROMPT},
    {ofShareAware, OFN_SHAREAWARE},
    {ofNoReadOnlyReturn, OFN_NOREADONLYRETURN},
    {ofNoTestFileCreate, OFN_NOTESTFILECREATE},
    {ofNoNetworkButton, OFN_NONETWORKBUTTON},
    {ofNoLongNames, OFN_NOLONGNAMES},
    {ofNoDereferenceLinks, OFN_NODEREFERENCELINKS},
    {ofEnableIncludeNotify, OFN_ENABLEINCLUDENOTIFY},
    {ofEnableSizing, OFN_ENABLESIZING},
    {ofDontAddToRecent, OFN_DONTADDTORECENT},
    {ofForceShowHidden, OFN_FORCESHOWHIDDEN},
};

DWORD flagsOf(TOpenOptions options) {
    DWORD flags = options.Contains(ofOldStyleDialog) ? 0 : OFN_EXPLORER;
    for (const OptionFlag& entry : openOptionFlags)
        if (options.Contains(entry.Option)) flags |= entry.Flag;
    return flags;
}

// "Text|*.txt|All|*.*" as the system wants it: zeros between, two at the end.
std::string systemFilter(const AnsiString& filter) {
    std::string text = filter;
    std::replace(text.begin(), text.end(), '|', '\0');
    text.push_back('\0');
    text.push_back('\0');
    return text;
}

} // namespace

// ---- TCommonDialog ------------------------------------------------------------------------

void TCommonDialog::DoShow() {
    if (OnShow) OnShow(this);
}

void TCommonDialog::DoClose() {
    if (OnClose) OnClose(this);
}

HWND TCommonDialog::OwnerWindow() const {
    if (TCustomForm* form = Screen->ActiveCustomForm())
        if (form->HandleAllocated()) return form->WindowHandle();
    return Application->Handle();
}

// ---- TOpenDialog ---------------------------------------------------------------------------

TOpenDialog::TOpenDialog(TComponent* AOwner)
    : TCommonDialog(AOwner), files_(std::make_unique<TStringList>()),
      historyList_(std::make_unique<TStringList>()) {}

TOpenDialog::~TOpenDialog() = default;

bool TOpenDialog::Execute() {
    return DoExecute(&GetOpenFileNameA);
}

bool TOpenDialog::DoExecute(TFileDialogFunction Func) {
    files_->Clear();
    std::string filter = systemFilter(filter_);
    DWORD size = options_.Contains(ofAllowMultiSelect) ? multipleFileBuffer : singleFileBuffer;
    std::vector<char> file(size + 2, '\0');
    std::memcpy(file.data(), fileName_.data(), std::min<std::size_t>(fileName_.size(), size - 1));
    OPENFILENAMEA request;
    request.hwndOwner = OwnerWindow();
    request.lpstrFilter = filter_.empty() ? nullptr : filter.c_str();
    request.nFilterIndex = static_cast<DWORD>(std::max<Integer>(filterIndex_, 0));
    request.lpstrFile = file.data();
    request.nMaxFile = size;
    request.lpstrInitialDir = !initialDir_.empty()    ? initialDir_.c_str()
                              : ForceCurrentDirectory ? CurrentDirectoryMark
                                                      : nullptr;
    request.lpstrTitle = title_.empty() ? nullptr : title_.c_str();
    request.lpstrDefExt = defaultExt_.empty() ? nullptr : defaultExt_.c_str();
    request.Flags = flagsOf(options_) | OFN_ENABLEHOOK;
    request.lpfnHook = &TOpenDialog::FileDialogHook;
    request.lCustData = reinterpret_cast<LPARAM>(this);
    DoShow();
    offerExtras();
    const bool accepted = Func(&request);
    DoClose();
    if (!accepted) return false;
    // An old-style dialog has no hook notification: its names are taken here.
    if (options_.Contains(ofOldStyleDialog)) TakeFileNames(&request);
    options_ = options_ - TOpenOptions{ofExtensionDifferent, ofReadOnly};
    if (request.Flags & OFN_EXTENSIONDIFFERENT) options_.Include(ofExtensionDifferent);
    if (request.Flags & OFN_READONLY) options_.Include(ofReadOnly);
    filterIndex_ = static_cast<Integer>(request.nFilterIndex);
    return true;
}

UINT_PTR TOpenDialog::FileDialogHook(HWND Dialog, UINT Message, WPARAM, LPARAM lParam) {
    if (Message == WM_INITDIALOG) {
        // lCustData lies at the same place in the ANSI and the wide record.
        auto* dialog =
            reinterpret_cast<TOpenDialog*>(reinterpret_cast<const OPENFILENAMEA*>(lParam)->lCustData);
        SetWindowLongPtrW(Dialog, DWLP_USER, reinterpret_cast<LONG_PTR>(dialog));
        dialog->handle_ = Dialog;
        return 1;
    }
    auto* dialog = reinterpret_cast<TOpenDialog*>(GetWindowLongPtrW(Dialog, DWLP_USER));
    if (dialog && Message == WM_DESTROY) dialog->handle_ = nullptr;
    if (!dialog || Message != WM_NOTIFY) return 0;
    const auto* notify = reinterpret_cast<const OFNOTIFYA*>(lParam);
    if (notify->hdr.code != CDN_FILEOK) return 0;
    if (!dialog->canCloseChoice(notify->lpOFN)) SetWindowLongPtrW(Dialog, DWLP_MSGRESULT, 1);
    return 1;
}

bool TOpenDialog::canCloseChoice(const void* Request) {
    ClearFileNames();
    TakeFileNames(Request);
    bool canClose = true;
    if (OnCanClose) OnCanClose(this, canClose);
    if (!canClose) ClearFileNames();
    return canClose;
}

void TOpenDialog::TakeFileNames(const void* Request) {
    files_->Clear();
    takeFileNames(*static_cast<const OPENFILENAMEA*>(Request));
}

void TOpenDialog::ClearFileNames() {
    files_->Clear();
}

// What the system's dialog does not carry: the history list, the preview
// and the Help button of a dialog with a help topic.
void TOpenDialog::offerExtras() {
    FileDialogExtras extras;
    if (fileEditStyle_ == fsComboBox)
        for (Integer i = 0; i < historyList_->Count(); ++i)
            extras.History.push_back(AnsiToWide(historyList_->Get(i)));
    extras.PicturePreview = previewsPictures_;
    if (HelpContext() != 0) extras.Help = [this] { Application->HelpContext(HelpContext()); };
    SetNextFileDialogExtras(std::move(extras));
}

// One name whole; several as a folder followed by the names in it.
void TOpenDialog::takeFileNames(const OPENFILENAMEA& Request) {
    char separator =
        (options_.Contains(ofAllowMultiSelect) && options_.Contains(ofOldStyleDialog)) ? ' ' : '\0';
    std::vector<AnsiString> parts;
    const char* cursor = Request.lpstrFile;
    const char* end = Request.lpstrFile + Request.nMaxFile;
    while (cursor < end && *cursor) {
        const char* stop = cursor;
        while (stop < end && *stop && *stop != separator)
            ++stop;
        parts.emplace_back(cursor, stop);
        cursor = stop < end && *stop == separator ? stop + 1 : stop;
        if (separator != '\0' && (cursor >= end || !*cursor)) break;
    }
    if (parts.size() <= 1 || !options_.Contains(ofAllowMultiSelect)) {
        fileName_ = parts.empty() ? AnsiString() : parts.front();
        files_->Add(fileName_);
        return;
    }
    AnsiString folder = parts.front();
    if (folder.back() != '/' && folder.back() != '\\') folder += '/';
    for (std::size_t index = 1; index < parts.size(); ++index) {
        const AnsiString& name = parts[index];
        bool absolute = !name.empty() && (name.front() == '/' || name.front() == '\\');
        files_->Add(absolute ? name : folder + name);
    }
    fileName_ = files_->Strings(0);
}

bool TSaveDialog::Execute() {
    return DoExecute(&GetSaveFileNameA);
}

// ---- TColorDialog ---------------------------------------------------------------------------

TColorDialog::TColorDialog(TComponent* AOwner)
    : TCommonDialog(AOwner), customColors_(std::make_unique<TStringList>()) {}

TColorDialog::~TColorDialog() = default;

bool TColorDialog::Execute() {
    COLORREF custom[CustomColourCount];
    std::fill(std::begin(custom), std::end(custom), RGB(255, 255, 255));
    for (int index = 0; index < customColourNames; ++index) {
        AnsiString value = customColors_->Values(AnsiString("Color") + static_cast<char>('A' + index));
        if (!value.empty()) custom[index] = static_cast<COLORREF>(StrToIntDef("$" + value, 0xFFFFFF));
    }
    CHOOSECOLORA request;
    request.hwndOwner = OwnerWindow();
    request.rgbResult = static_cast<COLORREF>(ColorToRGB(color_));
    request.lpCustColors = custom;
    request.Flags = CC_RGBINIT | (options_.Contains(cdFullOpen) ? CC_FULLOPEN : 0) |
                    (options_.Contains(cdPreventFullOpen) ? CC_PREVENTFULLOPEN : 0) |
                    (options_.Contains(cdSolidColor) ? CC_SOLIDCOLOR : 0) |
                    (options_.Contains(cdAnyColor) ? CC_ANYCOLOR : 0);
    DoShow();
    bool accepted = ChooseColorA(&request);
    DoClose();
    if (!accepted) return false;
    color_ = static_cast<TColor>(request.rgbResult);
    customColors_->Clear();
    for (int index = 0; index < customColourNames; ++index)
        customColors_->Add(AnsiString("Color") + static_cast<char>('A' + index) + "=" +
                           IntToHex(static_cast<Integer>(custom[index]), 6));
    return true;
}

// ---- TFontDialog ------------------------------------------------------------------------------

TFontDialog::TFontDialog(TComponent* AOwner) : TCommonDialog(AOwner), font_(std::make_unique<TFont>()) {}

TFontDialog::~TFontDialog() = default;

bool TFontDialog::Execute() {
    LOGFONTA font{};
    font.lfHeight = font_->Height();
    font.lfWeight = font_->Style().Contains(fsBold) ? FW_BOLD : FW_NORMAL;
    font.lfItalic = font_->Style().Contains(fsItalic);
    font.lfUnderline = font_->Style().Contains(fsUnderline);
    font.lfStrikeOut = font_->Style().Contains(fsStrikeOut);
    font.lfCharSet = font_->Charset();
    std::strncpy(font.lfFaceName, font_->Name().c_str(), LF_FACESIZE - 1);
    CHOOSEFONTA request;
    request.hwndOwner = OwnerWindow();
    request.lpLogFont = &font;
    request.rgbColors = static_cast<COLORREF>(ColorToRGB(font_->Color()));
    request.Flags = CF_BOTH | CF_INITTOLOGFONTSTRUCT | (options_.Contains(fdEffects) ? CF_EFFECTS : 0) |
                    (options_.Contains(fdFixedPitchOnly) ? CF_FIXEDPITCHONLY : 0) |
                    (options_.Contains(fdLimitSize) ? CF_LIMITSIZE : 0);
    request.nSizeMin = minFontSize_;
    request.nSizeMax = maxFontSize_;
    DoShow();
    bool accepted = ChooseFontA(&request);
    DoClose();
    if (!accepted) return false;
    font_->SetName(font.lfFaceName);
    font_->SetHeight(font.lfHeight);
    TFontStyles style;
    if (font.lfWeight >= FW_BOLD) style.Include(fsBold);
    if (font.lfItalic) style.Include(fsItalic);
    if (font.lfUnderline) style.Include(fsUnderline);
    if (font.lfStrikeOut) style.Include(fsStrikeOut);
    font_->SetStyle(style);
    font_->SetColor(static_cast<TColor>(request.rgbColors));
    return true;
}

// ---- TFindDialog ---------------------------------------------------------------------------------

namespace {

struct FindFlag {
    TFindOption Option;
    DWORD Flag;
};

constexpr FindFlag findOptionFlags[] = {
    {frDown, FR_DOWN},
    {frFindNext, FR_FINDNEXT},
    {frHideMatchCase, FR_HIDEMATCHCASE},
    {frHideWholeWord, FR_HIDEWHOLEWORD},
    {frHideUpDown, FR_HIDEUPDOWN},
    {frMatchCase, FR_MATCHCASE},
    {frDisableMatchCase, FR_NOMATCHCASE},
    {frDisableUpDown, FR_NOUPDOWN},
    {frDisableWholeWord, FR_NOWHOLEWORD},
    {frReplace, FR_REPLACE},
    {frReplaceAll, FR_REPLACEALL},
    {frWholeWord, FR_WHOLEWORD},
    {frShowHelp, FR_SHOWHELP},
};

DWORD flagsOf(TFindOptions options) {
    DWORD flags = 0;
    for (const FindFlag& entry : findOptionFlags)
        if (options.Contains(entry.Option)) flags |= entry.Flag;
    return flags;
}

TFindOptions optionsOf(DWORD flags) {
    TFindOptions options;
    for (const FindFlag& entry : findOptionFlags)
        if (flags & entry.Flag) options.Include(entry.Option);
    return options;
}

void copyText(const AnsiString& text, char* buffer) {
    std::size_t copied = std::min(text.size(), findTextBuffer - 1);
    std::memcpy(buffer, text.data(), copied);
    buffer[copied] = '\0';
}

} // namespace

TFindDialog::TFindDialog(TComponent* AOwner)
    : TCommonDialog(AOwner), findBuffer_(std::make_unique<char[]>(findTextBuffer)),
      replaceBuffer_(std::make_unique<char[]>(findTextBuffer)) {}

TFindDialog::~TFindDialog() {
    unhook();
    if (handle_ && IsWindow(handle_)) DestroyWindow(handle_);
}

void TFindDialog::SetFindText(const AnsiString& Value) {
    findText_ = Value;
    if (handle_) SetWindowTextA(GetDlgItem(handle_, edt1), Value.c_str());
}

HWND TFindDialog::createDialog(FINDREPLACEA& Request) {
    return FindTextA(&Request);
}

bool TFindDialog::Execute() {
    if (handle_) {
        SetForegroundWindow(handle_);
        return true;
    }
    copyText(findText_, findBuffer_.get());
    copyText(replaceText_, replaceBuffer_.get());
    request_ = FINDREPLACEA{};
    request_.hwndOwner = Application->Handle();
    request_.Flags = flagsOf(options_);
    request_.lpstrFindWhat = findBuffer_.get();
    request_.wFindWhatLen = static_cast<WORD>(findTextBuffer);
    request_.lpstrReplaceWith = replaceBuffer_.get();
    request_.wReplaceWithLen = static_cast<WORD>(findTextBuffer);
    if (!hooked_) {
        Application->HookMainWindow(TWindowHook(this, &TFindDialog::findMessage));
        hooked_ = true;
    }
    handle_ = createDialog(request_);
    if (!handle_) {
        unhook();
        return false;
    }
    DoShow();
    return true;
}

void TFindDialog::CloseDialog() {
    if (handle_) SendMessageW(handle_, WM_COMMAND, MAKEWPARAM(IDCANCEL, 0), 0);
}

void TFindDialog::unhook() {
    if (!hooked_) return;
    Application->UnhookMainWindow(TWindowHook(this, &TFindDialog::findMessage));
    hooked_ = false;
}

// The dialog's report reaches the application window, whose hooks see it first.
bool TFindDialog::findMessage(TMessage& Message) {
    static const UINT findReplaceMessage = RegisterWindowMessageA(FINDMSGSTRINGA);
    if (Message.Msg != findReplaceMessage || reinterpret_cast<FINDREPLACEA*>(Message.LParam) != &request_)
        return false;
    findText_ = findBuffer_.get();
    replaceText_ = replaceBuffer_.get();
    DWORD flags = request_.Flags;
    options_ = optionsOf(flags & ~FR_DIALOGTERM);
    if (flags & FR_DIALOGTERM) {
        handle_ = nullptr;
        unhook();
        DoClose();
    } else if (flags & FR_FINDNEXT) {
        Find();
    } else if (flags & (FR_REPLACE | FR_REPLACEALL)) {
        Replace();
    }
    return true;
}

void TFindDialog::Find() {
    if (OnFind) OnFind(this);
}

HWND TReplaceDialog::createDialog(FINDREPLACEA& Request) {
    return ReplaceTextA(&Request);
}

void TReplaceDialog::Replace() {
    if (OnReplace) OnReplace(this);
}

// ---- Message and input boxes ----------------------------------------------------------------------

namespace {

UINT boxTypeOf(TMsgDlgButtons buttons) {
    bool yes = buttons.Contains(mbYes), no = buttons.Contains(mbNo), cancel = buttons.Contains(mbCancel);
    if (yes && no) return cancel ? MB_YESNOCANCEL : MB_YESNO;
    if (buttons.Contains(mbAbort) || buttons.Contains(mbIgnore)) return MB_ABORTRETRYIGNORE;
    if (buttons.Contains(mbRetry)) return MB_RETRYCANCEL;
    if (cancel) return MB_OKCANCEL;
    return MB_OK;
}

UINT iconOf(TMsgDlgType type) {
    switch (type) {
    case mtWarning:
        return MB_ICONWARNING;
    case mtError:
        return MB_ICONERROR;
    case mtInformation:
        return MB_ICONINFORMATION;
    case mtConfirmation:
        return MB_ICONQUESTION;
    default:
        return 0;
    }
}

AnsiString captionOf(TMsgDlgType type) {
    switch (type) {
    case mtWarning:
        return "Warning";
    case mtError:
        return "Error";
    case mtInformation:
        return "Information";
    case mtConfirmation:
        return "Confirm";
    default:
        return Application->Title();
    }
}

constexpr Integer inputFormWidth = 320;
constexpr Integer inputMargin = 12;
constexpr Integer inputButtonWidth = 75;
constexpr Integer inputButtonHeight = 25;
constexpr Integer inputEditHeight = 21;

} // namespace

Integer MessageDlg(const AnsiString& Msg, TMsgDlgType DlgType, TMsgDlgButtons Buttons, Integer) {
    HWND owner = nullptr;
    if (TCustomForm* form = Screen->ActiveCustomForm())
        if (form->HandleAllocated()) owner = form->WindowHandle();
    return MessageBoxA(owner, Msg.c_str(), captionOf(DlgType).c_str(), boxTypeOf(Buttons) | iconOf(DlgType));
}

void ShowMessage(const AnsiString& Msg) {
    MessageDlg(Msg, mtCustom, {mbOK}, 0);
}

bool InputQuery(const AnsiString& ACaption, const AnsiString& APrompt, AnsiString& Value) {
    TForm form(nullptr);
    form.SetBorderStyle(bsDialog);
    form.SetCaption(ACaption);
    form.SetPosition(poScreenCenter);
    form.SetClientWidth(inputFormWidth);
    auto* prompt = new TLabel(&form);
    prompt->SetParent(&form);
    prompt->SetCaption(APrompt);
    prompt->SetBounds(inputMargin, inputMargin, inputFormWidth - 2 * inputMargin, prompt->Height());
    auto* edit = new TEdit(&form);
    edit->SetParent(&form);
    Integer editTop = prompt->Top() + prompt->Height() + 5;
    edit->SetBounds(inputMargin, editTop, inputFormWidth - 2 * inputMargin, inputEditHeight);
    edit->SetMaxLength(255);
    edit->SetText(Value);
    edit->SelectAll();
    Integer buttonTop = editTop + inputEditHeight + 15;
    auto addButton = [&](const char* caption, TModalResult result, Integer left) {
        auto* button = new TButton(&form);
        button->SetParent(&form);
        button->SetCaption(caption);
        button->SetModalResult(result);
        button->SetBounds(left, buttonTop, inputButtonWidth, inputButtonHeight);
        return button;
    };
    Integer right = inputFormWidth - inputMargin;
    addButton("OK", mrOk, right - 2 * inputButtonWidth - 6)->SetDefault(true);
    addButton("Cancel", mrCancel, right - inputButtonWidth)->SetCancel(true);
    form.SetClientHeight(buttonTop + inputButtonHeight + inputMargin);
    form.SetActiveControl(edit);
    if (form.ShowModal() != mrOk) return false;
    Value = edit->Text();
    return true;
}

AnsiString InputBox(const AnsiString& ACaption, const AnsiString& APrompt, const AnsiString& ADefault) {
    AnsiString value = ADefault;
    return InputQuery(ACaption, APrompt, value) ? value : ADefault;
}

// ---- Streaming --------------------------------------------------------------------------------------

namespace {

const TTypeInfo* const openOptionType = DefineEnum<TOpenOption>(
    "TOpenOption",
    {"ofReadOnly",         "ofOverwritePrompt",    "ofHideReadOnly",        "ofNoChangeDir",
     "ofShowHelp",         "ofNoValidate",         "ofAllowMultiSelect",    "ofExtensionDifferent",
     "ofPathMustExist",    "ofFileMustExist",      "ofCreatePrompt",        "ofShareAware",
     "ofNoReadOnlyReturn", "ofNoTestFileCreate",   "ofNoNetworkButton",     "ofNoLongNames",
     "ofOldStyleDialog",   "ofNoDereferenceLinks", "ofEnableIncludeNotify", "ofEnableSizing",
     "ofDontAddToRecent",  "ofForceShowHidden"});
const TTypeInfo* const colorOptionType = DefineEnum<TColorDialogOption>(
    "TColorDialogOption", {"cdFullOpen", "cdPreventFullOpen", "cdShowHelp", "cdSolidColor", "cdAnyColor"});
const TTypeInfo* const fontOptionType = DefineEnum<TFontDialogOption>(
    "TFontDialogOption",
    {"fdAnsiOnly", "fdTrueTypeOnly", "fdEffects", "fdFixedPitchOnly", "fdForceFontExist", "fdNoFaceSel",
     "fdNoOEMFonts", "fdNoSimulations", "fdNoSizeSel", "fdNoStyleSel", "fdNoVectorFonts", "fdShowHelp",
     "fdWysiwyg", "fdLimitSize", "fdScalableOnly", "fdApplyButton"});
const TTypeInfo* const findOptionType = DefineEnum<TFindOption>(
    "TFindOption", {"frDown", "frFindNext", "frHideMatchCase", "frHideWholeWord", "frHideUpDown",
                    "frMatchCase", "frDisableMatchCase", "frDisableUpDown", "frDisableWholeWord", "frReplace",
                    "frReplaceAll", "frWholeWord", "frShowHelp"});

const TClass commonDialogClass =
    DescribeClass<TCommonDialog, TComponent>([](TClassBuilder<TCommonDialog>& c) {
        c.Property("Ctl3D", &TCommonDialog::Ctl3D, &TCommonDialog::SetCtl3D).Default(true);
        c.Property("HelpContext", &TCommonDialog::HelpContext, &TCommonDialog::SetHelpContext).Default(0);
        c.Property("OnClose", &TCommonDialog::OnClose, &TCommonDialog::OnClose);
        c.Property("OnShow", &TCommonDialog::OnShow, &TCommonDialog::OnShow);
    });

const TTypeInfo* const fileEditStyleType =
    DefineEnum<TFileEditStyle>("TFileEditStyle", {"fsEdit", "fsComboBox"});

const TClass openDialogClass = DescribeClass<TOpenDialog, TCommonDialog>([](TClassBuilder<TOpenDialog>& c) {
    c.Property("DefaultExt", &TOpenDialog::DefaultExt, &TOpenDialog::SetDefaultExt);
    c.Property("FileEditStyle", &TOpenDialog::FileEditStyle, &TOpenDialog::SetFileEditStyle).Default(fsEdit);
    c.Property("FileName", &TOpenDialog::FileName, &TOpenDialog::SetFileName);
    c.Property("HistoryList", &TOpenDialog::HistoryList, &TOpenDialog::SetHistoryList);
    c.Property("Filter", &TOpenDialog::Filter, &TOpenDialog::SetFilter);
    c.Property("FilterIndex", &TOpenDialog::FilterIndex, &TOpenDialog::SetFilterIndex).Default(1);
    c.Property("InitialDir", &TOpenDialog::InitialDir, &TOpenDialog::SetInitialDir);
    c.Property("Options", &TOpenDialog::Options, &TOpenDialog::SetOptions).Default(DefaultOpenOptions);
    c.Property("Title", &TOpenDialog::Title, &TOpenDialog::SetTitle);
    c.Property("OnCanClose", &TOpenDialog::OnCanClose, &TOpenDialog::OnCanClose);
});

const TClass saveDialogClass = DescribeClass<TSaveDialog, TOpenDialog>();

const TClass colorDialogClass = DescribeClass<TColorDialog, TCommonDialog>([](TClassBuilder<TColorDialog>&
                                                                                  c) {
    c.Property("Color", &TColorDialog::Color, &TColorDialog::SetColor).Type(TypeInfoColor()).Default(clBlack);
    c.Property("CustomColors", &TColorDialog::CustomColors);
    c.Property("Options", &TColorDialog::Options, &TColorDialog::SetOptions).Default(TColorDialogOptions{});
});

const TClass fontDialogClass = DescribeClass<TFontDialog, TCommonDialog>([](TClassBuilder<TFontDialog>& c) {
    c.Property("Font", &TFontDialog::Font);
    c.Property("MaxFontSize", &TFontDialog::MaxFontSize, &TFontDialog::SetMaxFontSize).Default(0);
    c.Property("MinFontSize", &TFontDialog::MinFontSize, &TFontDialog::SetMinFontSize).Default(0);
    c.Property("Options", &TFontDialog::Options, &TFontDialog::SetOptions)
        .Default(TFontDialogOptions{fdEffects});
});

const TClass findDialogClass = DescribeClass<TFindDialog, TCommonDialog>([](TClassBuilder<TFindDialog>& c) {
    c.Property("FindText", &TFindDialog::FindText, &TFindDialog::SetFindText);
    c.Property("Options", &TFindDialog::Options, &TFindDialog::SetOptions).Default(TFindOptions{frDown});
    c.Property("OnFind", &TFindDialog::OnFind, &TFindDialog::OnFind);
});

const TClass replaceDialogClass =
    DescribeClass<TReplaceDialog, TFindDialog>([](TClassBuilder<TReplaceDialog>& c) {
        c.Property("ReplaceText", &TReplaceDialog::ReplaceText, &TReplaceDialog::SetReplaceText);
        c.Property("OnReplace", &TReplaceDialog::OnReplace, &TReplaceDialog::OnReplace);
    });

struct RegisterDialogClasses {
    RegisterDialogClasses() {
        RegisterClasses({ClassOf<TOpenDialog>(), ClassOf<TSaveDialog>(), ClassOf<TColorDialog>(),
                         ClassOf<TFontDialog>(), ClassOf<TFindDialog>(), ClassOf<TReplaceDialog>()});
    }
} registerDialogClasses;

} // namespace
