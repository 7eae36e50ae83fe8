// The common dialogs. File dialogs go to the backend; the colour, font, find
// and replace dialogs are windows of one class of ours holding standard
// controls, laid out in pixels in the classic proportions.
#include "platform/win/CommonDialogs.h"

#include "platform/core/CodePages.h"
#include "platform/win/Atoms.h"
#include "platform/win/BackendInterface.h"
#include "platform/win/ButtonControl.h"
#include "platform/win/DefWindowProc.h"
#include "platform/win/DialogKeys.h"
#include "platform/win/DrawText.h"
#include "platform/win/Drawing.h"
#include "platform/win/Edges.h"
#include "platform/win/EditControl.h"
#include "platform/win/Focus.h"
#include "platform/win/Fonts.h"
#include "platform/win/Gdi.h"
#include "platform/win/Keyboard.h"
#include "platform/win/ListBoxControl.h"
#include "platform/win/Messages.h"
#include "platform/win/Painting.h"
#include "platform/win/StandardControls.h"
#include "platform/win/SysColors.h"
#include "platform/win/SystemInfo.h"
#include "platform/win/WindowObjects.h"
#include "platform/win/WindowPos.h"
#include "platform/win/WindowTree.h"
#include "platform/win/Windows.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <memory>
#include <optional>
#include <type_traits>
#include <utility>
#include <vector>

namespace {

thread_local DWORD lastDialogError = 0;
thread_local FileDialogExtras nextFileDialogExtras;

bool sameTextIgnoringCase(const WideString& a, const WideString& b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](WCHAR x, WCHAR y) {
               return WideCharUpper(x) == WideCharUpper(y);
           });
}

BOOL fail(DWORD error) {
    lastDialogError = error;
    return FALSE;
}

// Copies as much of `text` as fits with a terminating zero.
template <typename Char> void copyInto(const WideString& text, Char* buffer, std::size_t size) {
    if (!buffer || size == 0) return;
    std::basic_string<Char> converted = TextAs<Char>(text);
    std::size_t copied = std::min(converted.size(), size - 1);
    std::copy_n(converted.data(), copied, buffer);
    buffer[copied] = 0;
}

// ---- File dialogs ----

std::filesystem::path pathOf(const WideString& name) {
    WideString native = name;
    std::replace(native.begin(), native.end(), u'\\', u'/');
    return std::filesystem::path(UTF8Encode(native));
}

WideString wideOfPath(const std::filesystem::path& path) {
    return UTF8Decode(path.string());
}

// Empty when the current folder is gone: the chooser then picks its own start.
WideString currentFolder() {
    std::error_code gone;
    const std::filesystem::path folder = std::filesystem::current_path(gone);
    return gone ? WideString() : wideOfPath(folder);
}

template <typename Char> std::vector<std::pair<WideString, WideString>> filtersOf(const Char* filter) {
    std::vector<std::pair<WideString, WideString>> filters;
    while (filter && *filter) {
        WideString description = TextOf(filter);
        filter += std::char_traits<Char>::length(filter) + 1;
        if (!*filter) break;
        WideString patterns = TextOf(filter);
        filter += std::char_traits<Char>::length(filter) + 1;
        filters.emplace_back(description, patterns);
    }
    return filters;
}

template <typename Char> FileDialogRequest requestOf(const OPENFILENAME_T<Char>& dialog, bool save) {
    FileDialogRequest request;
    request.Save = save;
    request.Owner = dialog.hwndOwner;
    request.Title = TextOf(dialog.lpstrTitle);
    request.Filters = filtersOf(dialog.lpstrFilter);
    request.FilterIndex = std::max<int>(1, static_cast<int>(dialog.nFilterIndex));
    request.DefaultExtension = TextOf(dialog.lpstrDefExt);
    request.AllowMultiple = dialog.Flags & OFN_ALLOWMULTISELECT;
    // A folder in the initial file name is where the dialog starts, else the
    // initial folder, else the current folder, as the system's dialog starts.
    std::filesystem::path initial = pathOf(TextOf(dialog.lpstrFile));
    request.FileName = wideOfPath(initial.filename());
    request.InitialDirectory =
        initial.has_parent_path() ? wideOfPath(initial.parent_path()) : TextOf(dialog.lpstrInitialDir);
    if (request.InitialDirectory.empty()) request.InitialDirectory = currentFolder();
    FileDialogExtras extras = std::exchange(nextFileDialogExtras, FileDialogExtras());
    request.History = std::move(extras.History);
    request.PicturePreview = extras.PicturePreview;
    request.HelpRequested = std::move(extras.Help);
    return request;
}

WideString withDefaultExtension(const WideString& name, const WideString& extension) {
    if (extension.empty() || pathOf(name).has_extension()) return name;
    return name + u"." + extension;
}

bool acceptable(const std::vector<WideString>& names, DWORD flags) {
    for (const WideString& name : names) {
        std::filesystem::path path = pathOf(name);
        if ((flags & OFN_FILEMUSTEXIST) && !std::filesystem::exists(path)) return false;
        if ((flags & OFN_PATHMUSTEXIST) && path.has_parent_path() &&
            !std::filesystem::is_directory(path.parent_path()))
            return false;
    }
    return true;
}

// The backend's answer, asked again while it names what must exist but does not.
std::optional<std::vector<WideString>> askBackend(FileDialogRequest& request, DWORD flags) {
    for (;;) {
        if (!CurrentBackend().RunFileDialog(request)) return std::nullopt;
        std::vector<WideString> names = request.FileNames;
        if (names.empty() && !request.FileName.empty()) names.push_back(request.FileName);
        if (names.empty()) continue;
        for (WideString& name : names)
            name = withDefaultExtension(name, request.DefaultExtension);
        if (acceptable(names, flags)) return names;
    }
}

// One name whole; several as their folder and their names.
WideString resultText(const std::vector<WideString>& names, DWORD flags, WORD& fileOffset) {
    if (names.size() == 1) {
        std::filesystem::path path = pathOf(names.front());
        WideString folder = wideOfPath(path.parent_path());
        fileOffset = static_cast<WORD>(path.has_parent_path() ? folder.size() + 1 : 0);
        return names.front();
    }
    WCHAR separator = (flags & OFN_EXPLORER) ? u'\0' : u' ';
    std::filesystem::path folder = pathOf(names.front()).parent_path();
    WideString text = wideOfPath(folder);
    fileOffset = static_cast<WORD>(text.size() + 1);
    for (const WideString& name : names) {
        std::filesystem::path path = pathOf(name);
        text += separator;
        text += path.parent_path() == folder ? wideOfPath(path.filename()) : name;
    }
    return text;
}

// ---- File dialog hooks ----

constexpr const WCHAR* FileChooserClassName = u"FileChooserWindow";
constexpr const WCHAR* FileChooserHookClassName = u"FileChooserHookWindow";

// The names chosen, as the chooser's CDM_ questions report them.
struct ChoiceTexts {
    WideString Folder;
    WideString Spec;
    WideString FilePath;
};

ChoiceTexts choiceTextsOf(const std::vector<WideString>& names) {
    ChoiceTexts texts;
    if (names.empty()) return texts;
    texts.Folder = wideOfPath(pathOf(names.front()).parent_path());
    if (names.size() == 1) {
        texts.Spec = wideOfPath(pathOf(names.front()).filename());
        texts.FilePath = names.front();
        return texts;
    }
    for (const WideString& name : names) {
        if (!texts.Spec.empty()) texts.Spec += u' ';
        texts.Spec += u"\"" + wideOfPath(pathOf(name).filename()) + u"\"";
    }
    texts.FilePath = texts.Folder + u"\\" + texts.Spec;
    return texts;
}

// What the chooser window knows while a hook runs: the texts of the last
// choice, in the record's kind of characters.
struct ChooserState {
    bool ansi = false;
    std::optional<ChoiceTexts> choice;
};

template <typename Char> LRESULT answerText(const WideString& text, WPARAM size, LPARAM buffer) {
    const std::basic_string<Char> converted = TextAs<Char>(text);
    auto* target = reinterpret_cast<Char*>(buffer);
    if (target && converted.size() < size) {
        std::copy(converted.begin(), converted.end(), target);
        target[converted.size()] = 0;
    }
    return static_cast<LRESULT>(converted.size() + 1);
}

LRESULT chooserProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* state = reinterpret_cast<ChooserState*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (!state || message < CDM_GETSPEC || message > CDM_GETFOLDERPATH)
        return DefWindowProcW(window, message, wParam, lParam);
    if (!state->choice) return -1;
    const ChoiceTexts& choice = *state->choice;
    const WideString& text = message == CDM_GETSPEC       ? choice.Spec
                             : message == CDM_GETFILEPATH ? choice.FilePath
                                                          : choice.Folder;
    return state->ansi ? answerText<char>(text, wParam, lParam) : answerText<WCHAR>(text, wParam, lParam);
}

// A dialog procedure's answer: what it returned, or for WM_NOTIFY (when it
// handled it) the result it left in DWLP_MSGRESULT.
LRESULT hookWindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto hook = reinterpret_cast<LPOFNHOOKPROC>(GetWindowLongPtrW(window, DWLP_DLGPROC));
    if (hook) {
        const UINT_PTR handled = hook(window, message, wParam, lParam);
        if (handled && message == WM_NOTIFY) return GetWindowLongPtrW(window, DWLP_MSGRESULT);
        if (handled) return static_cast<LRESULT>(handled);
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

void registerChooserClasses() {
    static bool registered = [] {
        WNDCLASSEXW chooser;
        chooser.lpfnWndProc = WindowProcFromFunction(chooserProcedure);
        chooser.lpszClassName = FileChooserClassName;
        WNDCLASSEXW hook;
        hook.lpfnWndProc = WindowProcFromFunction(hookWindowProcedure);
        hook.cbWndExtra = DLGWINDOWEXTRA;
        hook.lpszClassName = FileChooserHookClassName;
        return RegisterSystemClassW(&chooser) != 0 && RegisterSystemClassW(&hook) != 0;
    }();
    (void)registered;
}

// The windows a hooked file dialog has while it runs: a hidden stand-in
// for the backend's chooser, which answers the CDM_ questions, and the
// hook's child dialog inside it.
template <typename Char> class HookedChooser {
public:
    explicit HookedChooser(OPENFILENAME_T<Char>& dialog) : dialog_(dialog) {
        registerChooserClasses();
        state_.ansi = std::is_same_v<Char, char>;
        chooser_ = CreateWindowExW(0, FileChooserClassName, u"", WS_POPUP, 0, 0, 0, 0, dialog.hwndOwner,
                                   nullptr, nullptr, nullptr);
        SetWindowLongPtrW(chooser_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&state_));
        hook_ = CreateWindowExW(0, FileChooserHookClassName, u"", WS_CHILD, 0, 0, 0, 0, chooser_, nullptr,
                                nullptr, nullptr);
        SetWindowLongPtrW(hook_, DWLP_DLGPROC, reinterpret_cast<LONG_PTR>(dialog.lpfnHook));
    }
    ~HookedChooser() {
        if (IsWindow(chooser_)) DestroyWindow(chooser_);
    }
    HookedChooser(const HookedChooser&) = delete;
    HookedChooser& operator=(const HookedChooser&) = delete;

    void Initialize() { SendMessageW(hook_, WM_INITDIALOG, 0, reinterpret_cast<LPARAM>(&dialog_)); }

    // Whether the hook lets the choice, already in the record, stand.
    bool Accepts(const std::vector<WideString>& names) {
        if (!(dialog_.Flags & OFN_EXPLORER) || !IsWindow(hook_)) return true;
        state_.choice = choiceTextsOf(names);
        SetWindowLongPtrW(hook_, DWLP_MSGRESULT, 0);
        OFNOTIFY_T<Char> notify;
        notify.hdr.hwndFrom = chooser_;
        notify.hdr.code = CDN_FILEOK;
        notify.lpOFN = &dialog_;
        notify.pszFile = dialog_.lpstrFile;
        SendMessageW(hook_, WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&notify));
        const bool refused = IsWindow(hook_) && GetWindowLongPtrW(hook_, DWLP_MSGRESULT) != 0;
        state_.choice.reset();
        return !refused;
    }

private:
    OPENFILENAME_T<Char>& dialog_;
    ChooserState state_;
    HWND chooser_ = nullptr;
    HWND hook_ = nullptr;
};

// Writes the answer into the record; FALSE when its buffer is too small.
template <typename Char>
BOOL deliverChoice(OPENFILENAME_T<Char>* dialog, const std::vector<WideString>& names, int filterIndex) {
    WORD fileOffset = 0;
    std::basic_string<Char> text = TextAs<Char>(resultText(names, dialog->Flags, fileOffset));
    if (text.size() + 2 > dialog->nMaxFile) {
        // The size needed, in characters, goes where the name would have.
        auto needed = static_cast<unsigned>(text.size() + 2);
        dialog->lpstrFile[0] = static_cast<Char>(needed & 0xFFFF);
        if (dialog->nMaxFile > 1) dialog->lpstrFile[1] = static_cast<Char>(needed >> 16);
        return fail(FNERR_BUFFERTOOSMALL);
    }
    std::copy(text.begin(), text.end(), dialog->lpstrFile);
    dialog->lpstrFile[text.size()] = 0;
    dialog->lpstrFile[text.size() + 1] = 0;
    std::filesystem::path first = pathOf(names.front());
    WideString extension = first.has_extension() ? wideOfPath(first.extension()).substr(1) : WideString();
    dialog->nFileOffset = fileOffset;
    dialog->nFileExtension =
        names.size() == 1 && !extension.empty() ? static_cast<WORD>(text.size() - extension.size()) : 0;
    dialog->nFilterIndex = static_cast<DWORD>(filterIndex);
    copyInto(wideOfPath(first.filename()), dialog->lpstrFileTitle, dialog->nMaxFileTitle);
    dialog->Flags &= ~(OFN_READONLY | OFN_EXTENSIONDIFFERENT);
    if (dialog->lpstrDefExt && !sameTextIgnoringCase(extension, TextOf(dialog->lpstrDefExt)))
        dialog->Flags |= OFN_EXTENSIONDIFFERENT;
    return TRUE;
}

template <typename Char> BOOL runFileDialog(OPENFILENAME_T<Char>* dialog, bool save) {
    constexpr DWORD olderSize = offsetof(OPENFILENAME_T<Char>, pvReserved);
    if (!dialog || (dialog->lStructSize != sizeof(OPENFILENAME_T<Char>) && dialog->lStructSize != olderSize))
        return fail(CDERR_STRUCTSIZE);
    if (!dialog->lpstrFile || dialog->nMaxFile == 0) return fail(CDERR_INITIALIZATION);
    FileDialogRequest request = requestOf(*dialog, save);
    std::optional<HookedChooser<Char>> hooked;
    if ((dialog->Flags & OFN_ENABLEHOOK) && dialog->lpfnHook) hooked.emplace(*dialog);
    if (hooked) hooked->Initialize();
    for (;;) {
        std::optional<std::vector<WideString>> names = askBackend(request, dialog->Flags);
        if (!names) return fail(0);
        if (!deliverChoice(dialog, *names, request.FilterIndex)) return FALSE;
        if (hooked && !hooked->Accepts(*names)) continue;
        std::filesystem::path first = pathOf(names->front());
        if (!(dialog->Flags & OFN_NOCHANGEDIR) && first.has_parent_path()) {
            std::error_code ignored;
            std::filesystem::current_path(first.parent_path(), ignored);
        }
        lastDialogError = 0;
        return TRUE;
    }
}

// ---- Dialog windows ----

constexpr int buttonWidth = 74;
constexpr int buttonHeight = 24;
constexpr int fieldHeight = 22;
constexpr int labelHeight = 18;
constexpr int margin = 8;

HFONT dialogFont() {
    static HFONT font = [] {
        NONCLIENTMETRICSW metrics;
        metrics.cbSize = sizeof metrics;
        SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
        return CreateFontIndirectW(&metrics.lfMessageFont);
    }();
    return font;
}

class DialogWindow;
LRESULT dialogProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

void registerDialogClass() {
    static bool registered = [] {
        RegisterStandardControlClasses();
        WNDCLASSEXW dialogClass;
        dialogClass.style = CS_DBLCLKS;
        dialogClass.lpfnWndProc = WindowProcFromFunction(dialogProcedure);
        dialogClass.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<UINT_PTR>(COLOR_3DFACE + 1));
        dialogClass.lpszClassName = CommonDialogClassName;
        return RegisterSystemClassW(&dialogClass) != 0;
    }();
    (void)registered;
}

// A dialog window with its controls; the window procedure hands its
// messages to Handle. Enter and Esc answer IDOK and IDCANCEL.
class DialogWindow {
public:
    virtual ~DialogWindow() {
        if (!IsWindow(window_)) return;
        SetWindowLongPtrW(window_, GWLP_USERDATA, 0);
        DestroyWindow(window_);
    }

    HWND Window() const { return window_; }

    bool Create(HWND owner, const WideString& caption, SIZE client) {
        registerDialogClass();
        owner_ = owner && IsWindow(owner) ? GetAncestor(owner, GA_ROOT) : nullptr;
        constexpr DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
        constexpr DWORD exStyle = WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT;
        RECT frame{0, 0, client.cx, client.cy};
        AdjustWindowRectEx(&frame, style, FALSE, exStyle);
        POINT place = centredOver(owner_, {frame.Width(), frame.Height()});
        window_ = CreateWindowExW(exStyle, CommonDialogClassName, caption.c_str(), style, place.x, place.y,
                                  frame.Width(), frame.Height(), owner_, nullptr, nullptr, this);
        return window_ != nullptr;
    }

    int RunModal() {
        std::vector<HWND> disabled;
        if (owner_ && IsWindowEnabled(owner_)) disabled.push_back(owner_);
        for (HWND each : disabled)
            EnableWindow(each, FALSE);
        HWND window = window_;
        ShowWindow(window, SW_SHOW);
        focusFirstControl();
        runLoop(window);
        for (HWND each : disabled)
            if (IsWindow(each)) EnableWindow(each, TRUE);
        if (IsWindow(window)) ShowWindow(window, SW_HIDE);
        if (owner_ && IsWindow(owner_)) SetActiveWindow(owner_);
        return result_ ? result_ : IDCANCEL;
    }

    virtual LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam) {
        switch (message) {
        case WM_COMMAND:
            Command(LOWORD(wParam), HIWORD(wParam));
            return 0;
        case WM_CLOSE:
            Command(IDCANCEL, BN_CLICKED);
            return 0;
        case DM_GETDEFID:
            return MAKELONG(IDOK, DC_HASDEFID);
        case WM_PAINT: {
            PAINTSTRUCT paint;
            HDC dc = BeginPaint(window_, &paint);
            Paint(dc);
            EndPaint(window_, &paint);
            return 0;
        }
        default:
            return DefWindowProcW(window_, message, wParam, lParam);
        }
    }

    void Attach(HWND window) { window_ = window; }

protected:
    virtual void Command(int id, WORD code) = 0;
    virtual void Paint(HDC) {}

    void End(int result) { result_ = result; }

    HWND AddControl(const WCHAR* className, const WideString& text, DWORD style, const TRect& rect, int id) {
        HWND control = CreateWindowExW(0, className, text.c_str(), WS_CHILD | WS_VISIBLE | style, rect.Left,
                                       rect.Top, rect.Width(), rect.Height(), window_,
                                       reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)), nullptr, nullptr);
        SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(dialogFont()), FALSE);
        return control;
    }

    HWND AddLabel(const WideString& text, const TRect& rect) {
        return AddControl(u"Static", text, 0, rect, -1);
    }

    HWND AddButton(const WideString& text, const TRect& rect, int id, bool isDefault = false) {
        return AddControl(u"Button", text, WS_TABSTOP | (isDefault ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON), rect,
                          id);
    }

    HWND AddCheckBox(const WideString& text, const TRect& rect, int id, bool checked) {
        HWND box = AddControl(u"Button", text, WS_TABSTOP | BS_AUTOCHECKBOX, rect, id);
        SendMessageW(box, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
        return box;
    }

    HWND AddEdit(const WideString& text, const TRect& rect, int id, DWORD style = 0) {
        return AddControl(u"Edit", text, WS_TABSTOP | WS_BORDER | ES_AUTOHSCROLL | style, rect, id);
    }

    HWND Item(int id) const { return GetDlgItem(window_, id); }
    bool IsChecked(int id) const { return SendMessageW(Item(id), BM_GETCHECK, 0, 0) == BST_CHECKED; }
    WideString ItemText(int id) const {
        int length = GetWindowTextLengthW(Item(id));
        WideString text(static_cast<std::size_t>(length) + 1, u'\0');
        GetWindowTextW(Item(id), text.data(), length + 1);
        text.resize(static_cast<std::size_t>(length));
        return text;
    }
    void focusFirstControl() {
        if (HWND first = GetNextDlgTabItem(window_, nullptr, FALSE)) SetFocus(first);
    }

    HWND window_ = nullptr;
    HWND owner_ = nullptr;

private:
    // The dialog's keys first; the owner hears WM_ENTERIDLE whenever the queue is empty.
    void runLoop(HWND window) {
        MSG msg;
        while (result_ == 0 && IsWindow(window)) {
            if (!RetrieveMessage(msg, nullptr, 0, 0, PM_REMOVE, CharSet::Wide)) {
                if (owner_)
                    SendMessageW(owner_, WM_ENTERIDLE, MSGF_DIALOGBOX, reinterpret_cast<LPARAM>(window));
                if (result_ == 0 && IsWindow(window)) WaitForMessages(INFINITE);
                continue;
            }
            if (msg.message == WM_QUIT) {
                PostQuitMessage(static_cast<int>(msg.wParam));
                break;
            }
            if (IsDialogMessageW(window, &msg)) continue;
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
    }

    static POINT centredOver(HWND owner, SIZE size) {
        RECT area{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
        if (owner) GetWindowRect(owner, &area);
        return {std::max(0, area.Left + (area.Width() - size.cx) / 2),
                std::max(0, area.Top + (area.Height() - size.cy) / 2)};
    }

    int result_ = 0;
};

LRESULT dialogProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* dialog = static_cast<DialogWindow*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(dialog));
        if (dialog) dialog->Attach(window);
    }
    auto* dialog = reinterpret_cast<DialogWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    return dialog ? dialog->Handle(message, wParam, lParam) : DefWindowProcW(window, message, wParam, lParam);
}

void fillBox(HDC dc, const TRect& rect, COLORREF colour) {
    HBRUSH brush = CreateSolidBrush(colour);
    RECT area = rect;
    FillRect(dc, &area, brush);
    DeleteObject(brush);
}

// ---- Colour ----

constexpr int basicColourCount = 48;
constexpr int swatchColumns = 8;
constexpr int swatchWidth = 22;
constexpr int swatchHeight = 18;
constexpr int swatchStep = 26;
constexpr int swatchRowStep = 22;
constexpr int basicTop = 26;
constexpr int customTop = basicTop + 6 * swatchRowStep + labelHeight + 6;
constexpr int colourClientWidth = 2 * margin + swatchColumns * swatchStep;
constexpr BYTE maximumChannel = 255;

constexpr std::array<COLORREF, basicColourCount> basicColours = {
    RGB(255, 128, 128), RGB(255, 255, 128), RGB(128, 255, 128), RGB(0, 255, 128),   RGB(128, 255, 255),
    RGB(0, 128, 255),   RGB(255, 128, 192), RGB(255, 128, 255), RGB(255, 0, 0),     RGB(255, 255, 0),
    RGB(128, 255, 0),   RGB(0, 255, 64),    RGB(0, 255, 255),   RGB(0, 128, 192),   RGB(128, 128, 192),
    RGB(255, 0, 255),   RGB(128, 64, 64),   RGB(255, 128, 64),  RGB(0, 255, 0),     RGB(0, 128, 128),
    RGB(0, 64, 128),    RGB(128, 128, 255), RGB(128, 0, 64),    RGB(255, 0, 128),   RGB(128, 0, 0),
    RGB(255, 128, 0),   RGB(0, 128, 0),     RGB(0, 128, 64),    RGB(0, 0, 255),     RGB(0, 0, 160),
    RGB(128, 0, 128),   RGB(128, 0, 255),   RGB(64, 0, 0),      RGB(128, 64, 0),    RGB(0, 64, 0),
    RGB(0, 64, 64),     RGB(0, 0, 128),     RGB(0, 0, 64),      RGB(64, 0, 64),     RGB(64, 0, 128),
    RGB(0, 0, 0),       RGB(128, 128, 0),   RGB(128, 128, 64),  RGB(128, 128, 128), RGB(64, 128, 128),
    RGB(192, 192, 192), RGB(64, 0, 64),     RGB(255, 255, 255),
};

class ColourDialog : public DialogWindow {
public:
    ColourDialog(COLORREF initial, COLORREF* custom) : colour_(initial), custom_(custom) {}

    bool Build(HWND owner, const WideString& caption) {
        int previewTop = customTop + 2 * swatchRowStep + 4;
        int buttonsTop = previewTop + 3 * (fieldHeight + 4) + margin;
        SIZE client{colourClientWidth, buttonsTop + 2 * (buttonHeight + 6) + margin};
        if (!Create(owner, caption, client)) return false;
        AddLabel(u"&Basic colors:", {margin, 6, colourClientWidth - margin, 6 + labelHeight});
        AddLabel(u"&Custom colors:",
                 {margin, customTop - labelHeight - 2, colourClientWidth - margin, customTop - 2});
        int fieldLeft = colourClientWidth - margin - 44;
        const std::pair<int, const char16_t*> channels[] = {
            {COLOR_RED, u"&Red:"}, {COLOR_GREEN, u"&Green:"}, {COLOR_BLUE, u"Bl&ue:"}};
        for (int row = 0; row < 3; ++row) {
            int top = previewTop + row * (fieldHeight + 4);
            AddLabel(channels[row].second, {fieldLeft - 50, top + 3, fieldLeft - 4, top + fieldHeight});
            AddEdit(u"", {fieldLeft, top, fieldLeft + 44, top + fieldHeight}, channels[row].first, ES_NUMBER);
        }
        preview_ = {margin, previewTop, fieldLeft - 60, previewTop + 3 * (fieldHeight + 4) - 4};
        AddButton(u"&Add to Custom Colors",
                  {margin, buttonsTop, colourClientWidth - margin, buttonsTop + buttonHeight}, COLOR_ADD);
        int okTop = buttonsTop + buttonHeight + 6;
        AddButton(u"OK",
                  {colourClientWidth - margin - 2 * buttonWidth - 6, okTop,
                   colourClientWidth - margin - buttonWidth - 6, okTop + buttonHeight},
                  IDOK, true);
        AddButton(u"Cancel",
                  {colourClientWidth - margin - buttonWidth, okTop, colourClientWidth - margin,
                   okTop + buttonHeight},
                  IDCANCEL);
        auto found = std::find(basicColours.begin(), basicColours.end(), colour_);
        selected_ = found == basicColours.end() ? -1 : static_cast<int>(found - basicColours.begin());
        showChannels();
        return true;
    }

    COLORREF Colour() const { return colour_; }

    LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == WM_LBUTTONDOWN || message == WM_LBUTTONDBLCLK) {
            int swatch = swatchAt({GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
            if (swatch >= 0) choose(swatch);
            if (swatch >= 0 && message == WM_LBUTTONDBLCLK) Command(IDOK, BN_CLICKED);
            return 0;
        }
        return DialogWindow::Handle(message, wParam, lParam);
    }

protected:
    void Command(int id, WORD code) override {
        switch (id) {
        case IDOK:
            readChannels();
            End(IDOK);
            break;
        case IDCANCEL:
            End(IDCANCEL);
            break;
        case COLOR_ADD:
            addCustom();
            break;
        case COLOR_RED:
        case COLOR_GREEN:
        case COLOR_BLUE:
            if (code == EN_CHANGE && !showing_) readChannels();
            break;
        default:
            break;
        }
    }

    void Paint(HDC dc) override {
        for (int index = 0; index < swatchCount(); ++index) {
            TRect box = swatchRect(index);
            RECT frame = box;
            DrawEdge(dc, &frame, EDGE_SUNKEN, BF_RECT | BF_ADJUST);
            fillBox(dc, frame, swatchColour(index));
            if (index == selected_) {
                RECT focus{box.Left - 2, box.Top - 2, box.Right + 2, box.Bottom + 2};
                FrameRect(dc, &focus, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
            }
        }
        RECT frame = preview_;
        DrawEdge(dc, &frame, EDGE_SUNKEN, BF_RECT | BF_ADJUST);
        fillBox(dc, frame, colour_);
    }

private:
    int swatchCount() const { return basicColourCount + (custom_ ? CustomColourCount : 0); }

    TRect swatchRect(int index) const {
        bool custom = index >= basicColourCount;
        int local = custom ? index - basicColourCount : index;
        int left = margin + (local % swatchColumns) * swatchStep;
        int top = (custom ? customTop : basicTop) + (local / swatchColumns) * swatchRowStep;
        return {left, top, left + swatchWidth, top + swatchHeight};
    }

    COLORREF swatchColour(int index) const {
        return index < basicColourCount ? basicColours[static_cast<std::size_t>(index)]
                                        : custom_[index - basicColourCount];
    }

    int swatchAt(POINT point) const {
        for (int index = 0; index < swatchCount(); ++index)
            if (RectContains(swatchRect(index), point)) return index;
        return -1;
    }

    void choose(int swatch) {
        selected_ = swatch;
        colour_ = swatchColour(swatch);
        showChannels();
        InvalidateRect(window_, nullptr, TRUE);
    }

    void showChannels() {
        showing_ = true;
        for (auto [id, value] :
             {std::pair{COLOR_RED, GetRValue(colour_)}, std::pair{COLOR_GREEN, GetGValue(colour_)},
              std::pair{COLOR_BLUE, GetBValue(colour_)}})
            SetWindowTextW(Item(id), UTF8Decode(std::to_string(value)).c_str());
        showing_ = false;
    }

    BYTE channel(int id) const {
        std::string digits = UTF8Encode(ItemText(id));
        int value = 0;
        for (char digit : digits)
            if (digit >= '0' && digit <= '9')
                value = std::min(value * 10 + (digit - '0'), int{maximumChannel});
        return static_cast<BYTE>(value);
    }

    void readChannels() {
        COLORREF typed = RGB(channel(COLOR_RED), channel(COLOR_GREEN), channel(COLOR_BLUE));
        if (typed == colour_) return;
        colour_ = typed;
        InvalidateRect(window_, &preview_, FALSE);
    }

    void addCustom() {
        if (!custom_) return;
        readChannels();
        custom_[nextCustom_] = colour_;
        nextCustom_ = (nextCustom_ + 1) % CustomColourCount;
        InvalidateRect(window_, nullptr, TRUE);
    }

    COLORREF colour_;
    COLORREF* custom_;
    int selected_ = -1;
    int nextCustom_ = 0;
    bool showing_ = false;
    TRect preview_;
};

template <typename Char> BOOL runColourDialog(CHOOSECOLOR_T<Char>* request) {
    if (!request || request->lStructSize != sizeof(CHOOSECOLOR_T<Char>)) return fail(CDERR_STRUCTSIZE);
    ColourDialog dialog((request->Flags & CC_RGBINIT) ? request->rgbResult : RGB(0, 0, 0),
                        request->lpCustColors);
    if (!dialog.Build(request->hwndOwner, u"Color")) return fail(CDERR_DIALOGFAILURE);
    if (dialog.RunModal() != IDOK) return fail(0);
    request->rgbResult = dialog.Colour();
    lastDialogError = 0;
    return TRUE;
}

// ---- Font ----

constexpr std::array<const char16_t*, 6> fontFaces = {u"Arial",  u"Courier New",     u"MS Sans Serif",
                                                      u"Tahoma", u"Times New Roman", u"Verdana"};
constexpr std::array<const char16_t*, 4> fontStyles = {u"Regular", u"Italic", u"Bold", u"Bold Italic"};
constexpr std::array<int, 16> fontSizes = {8, 9, 10, 11, 12, 14, 16, 18, 20, 22, 24, 26, 28, 36, 48, 72};
constexpr int pointsPerInch = 72;
constexpr int pixelsPerInch = 96;
constexpr int defaultPointSize = 8;
constexpr int fontListBottom = 160;
constexpr int fontClientWidth = 360;

struct FontChoice {
    WideString face = u"MS Sans Serif";
    int points = defaultPointSize;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strikeOut = false;
};

class FontDialog : public DialogWindow {
public:
    FontDialog(FontChoice initial, DWORD flags) : choice_(std::move(initial)), flags_(flags) {}

    bool Build(HWND owner) {
        SIZE client{fontClientWidth, fontListBottom + 96};
        if (!Create(owner, u"Font", client)) return false;
        constexpr DWORD listStyle = WS_TABSTOP | WS_BORDER | WS_VSCROLL | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT;
        AddLabel(u"&Font:", {margin, 6, 150, 6 + labelHeight});
        HWND faces =
            AddControl(u"ListBox", u"", listStyle | LBS_SORT, {margin, 24, 150, fontListBottom}, lst1);
        AddLabel(u"Font st&yle:", {158, 6, 258, 6 + labelHeight});
        HWND styles = AddControl(u"ListBox", u"", listStyle, {158, 24, 258, fontListBottom}, lst2);
        AddLabel(u"&Size:", {266, 6, 352, 6 + labelHeight});
        HWND sizes = AddControl(u"ListBox", u"", listStyle, {266, 24, 352, fontListBottom}, lst3);
        fillFaces(faces);
        for (const char16_t* style : fontStyles)
            SendMessageW(styles, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(style));
        SendMessageW(styles, LB_SETCURSEL, (choice_.bold ? 2 : 0) + (choice_.italic ? 1 : 0), 0);
        fillSizes(sizes);
        int effectsTop = fontListBottom + margin;
        if (flags_ & CF_EFFECTS) {
            AddCheckBox(u"Stri&keout", {margin, effectsTop, 150, effectsTop + labelHeight}, chx1,
                        choice_.strikeOut);
            AddCheckBox(u"&Underline", {margin, effectsTop + 22, 150, effectsTop + 22 + labelHeight}, chx2,
                        choice_.underline);
        }
        sample_ = {158, effectsTop, 352, effectsTop + 46};
        int buttonsTop = fontListBottom + 62;
        AddButton(u"OK",
                  {352 - 2 * buttonWidth - 6, buttonsTop, 352 - buttonWidth - 6, buttonsTop + buttonHeight},
                  IDOK, true);
        AddButton(u"Cancel", {352 - buttonWidth, buttonsTop, 352, buttonsTop + buttonHeight}, IDCANCEL);
        return true;
    }

    const FontChoice& Choice() const { return choice_; }

protected:
    void Command(int id, WORD code) override {
        if (id == IDOK) {
            readChoice();
            End(IDOK);
        } else if (id == IDCANCEL) {
            End(IDCANCEL);
        } else if (code == LBN_SELCHANGE || code == BN_CLICKED) {
            readChoice();
            InvalidateRect(window_, &sample_, TRUE);
        }
    }

    void Paint(HDC dc) override {
        RECT frame = sample_;
        DrawEdge(dc, &frame, EDGE_SUNKEN, BF_RECT | BF_ADJUST);
        LOGFONTW font{};
        font.lfHeight = -choice_.points * pixelsPerInch / pointsPerInch;
        font.lfWeight = choice_.bold ? FW_BOLD : FW_NORMAL;
        font.lfItalic = choice_.italic;
        font.lfUnderline = choice_.underline;
        font.lfStrikeOut = choice_.strikeOut;
        copyInto(choice_.face, font.lfFaceName, LF_FACESIZE);
        HFONT sampleFont = CreateFontIndirectW(&font);
        HGDIOBJ previous = SelectObject(dc, sampleFont);
        SetBkMode(dc, TRANSPARENT);
        DrawTextW(dc, u"AaBbYyZz", -1, &frame, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
        SelectObject(dc, previous);
        DeleteObject(sampleFont);
    }

private:
    void fillFaces(HWND faces) {
        std::vector<WideString> names(fontFaces.begin(), fontFaces.end());
        if (std::none_of(names.begin(), names.end(),
                         [&](const WideString& name) { return sameTextIgnoringCase(name, choice_.face); }))
            names.push_back(choice_.face);
        for (const WideString& name : names)
            SendMessageW(faces, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name.c_str()));
        SendMessageW(faces, LB_SELECTSTRING, static_cast<WPARAM>(-1),
                     reinterpret_cast<LPARAM>(choice_.face.c_str()));
    }

    void fillSizes(HWND sizes) {
        int nearest = 0;
        int added = 0;
        for (int size : fontSizes) {
            if ((flags_ & CF_LIMITSIZE) && (size < minimum_ || (maximum_ > 0 && size > maximum_))) continue;
            SendMessageW(sizes, LB_ADDSTRING, 0,
                         reinterpret_cast<LPARAM>(UTF8Decode(std::to_string(size)).c_str()));
            if (size <= choice_.points) nearest = added;
            ++added;
        }
        SendMessageW(sizes, LB_SETCURSEL, static_cast<WPARAM>(nearest), 0);
    }

    WideString selectedText(int id) const {
        HWND list = Item(id);
        auto index = static_cast<WPARAM>(SendMessageW(list, LB_GETCURSEL, 0, 0));
        LRESULT length = SendMessageW(list, LB_GETTEXTLEN, index, 0);
        if (length < 0) return {};
        WideString text(static_cast<std::size_t>(length) + 1, u'\0');
        SendMessageW(list, LB_GETTEXT, index, reinterpret_cast<LPARAM>(text.data()));
        text.resize(static_cast<std::size_t>(length));
        return text;
    }

    void readChoice() {
        WideString face = selectedText(lst1);
        if (!face.empty()) choice_.face = face;
        LRESULT style = SendMessageW(Item(lst2), LB_GETCURSEL, 0, 0);
        if (style >= 0) {
            choice_.bold = style >= 2;
            choice_.italic = style % 2 == 1;
        }
        int points = std::atoi(UTF8Encode(selectedText(lst3)).c_str());
        if (points > 0) choice_.points = points;
        if (flags_ & CF_EFFECTS) {
            choice_.strikeOut = IsChecked(chx1);
            choice_.underline = IsChecked(chx2);
        }
    }

public:
    void Limit(int minimum, int maximum) {
        minimum_ = minimum;
        maximum_ = maximum;
    }

private:
    FontChoice choice_;
    DWORD flags_;
    int minimum_ = 0;
    int maximum_ = 0;
    TRect sample_;
};

template <typename LogFont> FontChoice choiceOf(const LogFont& font) {
    FontChoice choice;
    if (font.lfFaceName[0]) choice.face = TextOf(font.lfFaceName);
    if (font.lfHeight != 0) {
        int pixels = font.lfHeight < 0 ? -font.lfHeight : font.lfHeight;
        choice.points = (pixels * pointsPerInch + pixelsPerInch / 2) / pixelsPerInch;
    }
    choice.bold = font.lfWeight >= FW_BOLD;
    choice.italic = font.lfItalic;
    choice.underline = font.lfUnderline;
    choice.strikeOut = font.lfStrikeOut;
    return choice;
}

template <typename LogFont> void fillLogFont(const FontChoice& choice, LogFont& font) {
    font.lfHeight = -choice.points * pixelsPerInch / pointsPerInch;
    font.lfWidth = 0;
    font.lfWeight = choice.bold ? FW_BOLD : FW_NORMAL;
    font.lfItalic = choice.italic;
    font.lfUnderline = choice.underline;
    font.lfStrikeOut = choice.strikeOut;
    copyInto(choice.face, font.lfFaceName, LF_FACESIZE);
}

template <typename Char, typename LogFont> BOOL runFontDialog(CHOOSEFONT_T<Char, LogFont>* request) {
    if (!request || request->lStructSize != sizeof(CHOOSEFONT_T<Char, LogFont>))
        return fail(CDERR_STRUCTSIZE);
    if (!request->lpLogFont) return fail(CDERR_INITIALIZATION);
    FontChoice initial =
        (request->Flags & CF_INITTOLOGFONTSTRUCT) ? choiceOf(*request->lpLogFont) : FontChoice{};
    FontDialog dialog(initial, request->Flags);
    dialog.Limit(request->nSizeMin, request->nSizeMax);
    if (!dialog.Build(request->hwndOwner)) return fail(CDERR_DIALOGFAILURE);
    if (dialog.RunModal() != IDOK) return fail(0);
    const FontChoice& choice = dialog.Choice();
    fillLogFont(choice, *request->lpLogFont);
    request->iPointSize = choice.points * 10;
    request->nFontType =
        static_cast<WORD>(SCREEN_FONTTYPE | (choice.bold ? BOLD_FONTTYPE : REGULAR_FONTTYPE) |
                          (choice.italic ? ITALIC_FONTTYPE : 0));
    lastDialogError = 0;
    return TRUE;
}

// ---- Find and replace ----

constexpr int findClientWidth = 360;
constexpr int findFieldLeft = 92;
constexpr int findFieldRight = 264;
constexpr int findButtonLeft = 272;
constexpr DWORD findActions = FR_FINDNEXT | FR_REPLACE | FR_REPLACEALL | FR_DIALOGTERM;
constexpr DWORD findOptions = FR_DOWN | FR_WHOLEWORD | FR_MATCHCASE;

// Keys the modeless dialog's controls get: the dialog's keyboard interface
// takes Tab, Enter and Esc, as the program's loop would with IsDialogMessage.
LRESULT dialogControlProcedure(HWND control, UINT message, WPARAM wParam, LPARAM lParam);

std::map<HWND, WNDPROC>& subclassedControls() {
    static std::map<HWND, WNDPROC> controls;
    return controls;
}

LRESULT dialogControlProcedure(HWND control, UINT message, WPARAM wParam, LPARAM lParam) {
    auto found = subclassedControls().find(control);
    if (found == subclassedControls().end()) return DefWindowProcW(control, message, wParam, lParam);
    WNDPROC original = found->second;
    if (message == WM_KEYDOWN && (wParam == VK_TAB || wParam == VK_RETURN || wParam == VK_ESCAPE)) {
        MSG msg{control, message, wParam, lParam, GetMessageTime(), {}};
        if (IsDialogMessageW(GetParent(control), &msg)) return 0;
    }
    if (message == WM_NCDESTROY) subclassedControls().erase(control);
    return CallWindowProcW(original, control, message, wParam, lParam);
}

template <typename Char> class FindReplaceDialog : public DialogWindow {
public:
    FindReplaceDialog(FINDREPLACE_T<Char>* record, bool replace) : record_(record), replace_(replace) {}

    bool Build() {
        DWORD flags = record_->Flags;
        int buttons = replace_ ? 4 : 2;
        SIZE client{findClientWidth, std::max(96, margin + buttons * (buttonHeight + 4) + 4)};
        if (!Create(record_->hwndOwner, replace_ ? u"Replace" : u"Find", client)) return false;
        AddLabel(u"Fi&nd what:", {margin, 11, findFieldLeft - 4, 11 + labelHeight});
        AddEdit(TextOf(record_->lpstrFindWhat), {findFieldLeft, 8, findFieldRight, 8 + fieldHeight}, edt1);
        int optionsTop = 44;
        if (replace_) {
            AddLabel(u"Re&place with:", {margin, 39, findFieldLeft - 4, 39 + labelHeight});
            AddEdit(TextOf(record_->lpstrReplaceWith), {findFieldLeft, 36, findFieldRight, 36 + fieldHeight},
                    edt2);
            optionsTop = 72;
        }
        if (!(flags & FR_HIDEWHOLEWORD))
            enable(AddCheckBox(u"Match &whole word only", {margin, optionsTop, 170, optionsTop + labelHeight},
                               chx1, flags & FR_WHOLEWORD),
                   !(flags & FR_NOWHOLEWORD));
        if (!(flags & FR_HIDEMATCHCASE))
            enable(AddCheckBox(u"Match &case", {margin, optionsTop + 22, 170, optionsTop + 22 + labelHeight},
                               chx2, flags & FR_MATCHCASE),
                   !(flags & FR_NOMATCHCASE));
        if (!replace_ && !(flags & FR_HIDEUPDOWN)) addDirection(flags);
        addButtons();
        for (HWND child = GetWindow(window_, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
            subclass(child);
        updateButtons();
        return true;
    }

protected:
    void Command(int id, WORD code) override {
        switch (id) {
        case IDOK:
            report(FR_FINDNEXT);
            break;
        case psh1:
            report(FR_REPLACE);
            break;
        case psh2:
            report(FR_REPLACEALL);
            break;
        case IDCANCEL:
            close();
            break;
        case edt1:
            if (code == EN_CHANGE) updateButtons();
            break;
        default:
            break;
        }
    }

private:
    static void enable(HWND control, bool enabled) { EnableWindow(control, enabled); }

    void addDirection(DWORD flags) {
        AddControl(u"Button", u"Direction", BS_GROUPBOX, {176, 38, findFieldRight, 88}, -1);
        HWND up = AddControl(u"Button", u"&Up", WS_TABSTOP | WS_GROUP | BS_AUTORADIOBUTTON,
                             {184, 58, 222, 78}, rad1);
        HWND down = AddControl(u"Button", u"&Down", BS_AUTORADIOBUTTON, {224, 58, 262, 78}, rad2);
        SendMessageW((flags & FR_DOWN) ? down : up, BM_SETCHECK, BST_CHECKED, 0);
        enable(up, !(flags & FR_NOUPDOWN));
        enable(down, !(flags & FR_NOUPDOWN));
    }

    void addButtons() {
        int top = 8;
        auto next = [&](const WideString& text, int id, bool isDefault) {
            AddButton(text, {findButtonLeft, top, findClientWidth - margin, top + buttonHeight}, id,
                      isDefault);
            top += buttonHeight + 4;
        };
        next(u"&Find Next", IDOK, true);
        if (replace_) {
            next(u"&Replace", psh1, false);
            next(u"Replace &All", psh2, false);
        }
        next(u"Cancel", IDCANCEL, false);
    }

    void subclass(HWND control) {
        WNDPROC original = reinterpret_cast<WNDPROC>(GetWindowLongPtrW(control, GWLP_WNDPROC));
        subclassedControls()[control] = original;
        SetWindowLongPtrW(control, GWLP_WNDPROC,
                          reinterpret_cast<LONG_PTR>(WindowProcFromFunction(dialogControlProcedure)));
    }

    // Nothing can be found without a text.
    void updateButtons() {
        bool any = GetWindowTextLengthW(Item(edt1)) > 0;
        for (int id : {IDOK, psh1, psh2})
            if (HWND button = Item(id)) EnableWindow(button, any);
    }

    DWORD chosenOptions() const {
        DWORD options = record_->Flags & findOptions;
        if (Item(chx1)) options = (options & ~FR_WHOLEWORD) | (IsChecked(chx1) ? FR_WHOLEWORD : 0);
        if (Item(chx2)) options = (options & ~FR_MATCHCASE) | (IsChecked(chx2) ? FR_MATCHCASE : 0);
        if (Item(rad2)) options = (options & ~FR_DOWN) | (IsChecked(rad2) ? FR_DOWN : 0);
        return options;
    }

    void report(DWORD action) {
        copyInto(ItemText(edt1), record_->lpstrFindWhat, record_->wFindWhatLen);
        if (replace_) copyInto(ItemText(edt2), record_->lpstrReplaceWith, record_->wReplaceWithLen);
        DWORD options = chosenOptions();
        record_->Flags = (record_->Flags & ~(findActions | findOptions)) | options | action;
        SendMessageW(record_->hwndOwner, RegisterWindowMessageW(FINDMSGSTRINGW), 0,
                     reinterpret_cast<LPARAM>(record_));
    }

    void close() {
        HWND window = window_;
        ShowWindow(window, SW_HIDE);
        record_->Flags = (record_->Flags & ~findActions) | FR_DIALOGTERM;
        SendMessageW(record_->hwndOwner, RegisterWindowMessageW(FINDMSGSTRINGW), 0,
                     reinterpret_cast<LPARAM>(record_));
        if (IsWindow(window)) DestroyWindow(window);
    }

    FINDREPLACE_T<Char>* record_;
    bool replace_;
};

// The open modeless dialogs; each goes with its window.
std::map<HWND, std::unique_ptr<DialogWindow>>& modelessDialogs() {
    static std::map<HWND, std::unique_ptr<DialogWindow>> dialogs;
    return dialogs;
}

void forgetModeless(HWND window) {
    auto found = modelessDialogs().find(window);
    if (found == modelessDialogs().end()) return;
    std::unique_ptr<DialogWindow> dialog = std::move(found->second);
    modelessDialogs().erase(found);
    // The window is being destroyed already; the object must not destroy it again.
    SetWindowLongPtrW(window, GWLP_USERDATA, 0);
    dialog->Attach(nullptr);
}

LRESULT modelessProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

template <typename Char> HWND runFindReplace(FINDREPLACE_T<Char>* record, bool replace) {
    if (!record || record->lStructSize != sizeof(FINDREPLACE_T<Char>)) {
        fail(CDERR_STRUCTSIZE);
        return nullptr;
    }
    if (!record->hwndOwner || !IsWindow(record->hwndOwner)) {
        fail(CDERR_DIALOGFAILURE);
        return nullptr;
    }
    if (!record->lpstrFindWhat || record->wFindWhatLen == 0 ||
        (replace && (!record->lpstrReplaceWith || record->wReplaceWithLen == 0))) {
        fail(FRERR_BUFFERLENGTHZERO);
        return nullptr;
    }
    auto dialog = std::make_unique<FindReplaceDialog<Char>>(record, replace);
    if (!dialog->Build()) {
        fail(CDERR_DIALOGFAILURE);
        return nullptr;
    }
    HWND window = dialog->Window();
    modelessDialogs()[window] = std::move(dialog);
    SetWindowLongPtrW(window, GWLP_WNDPROC,
                      reinterpret_cast<LONG_PTR>(WindowProcFromFunction(modelessProcedure)));
    ShowWindow(window, SW_SHOW);
    if (HWND first = GetDlgItem(window, edt1)) SetFocus(first);
    lastDialogError = 0;
    return window;
}

LRESULT modelessProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    LRESULT result = dialogProcedure(window, message, wParam, lParam);
    if (message == WM_NCDESTROY) forgetModeless(window);
    return result;
}

} // namespace

void SetNextFileDialogExtras(FileDialogExtras Extras) {
    nextFileDialogExtras = std::move(Extras);
}

DWORD CommDlgExtendedError() {
    return lastDialogError;
}

BOOL GetOpenFileNameA(OPENFILENAMEA* request) {
    return runFileDialog(request, false);
}
BOOL GetOpenFileNameW(OPENFILENAMEW* request) {
    return runFileDialog(request, false);
}
BOOL GetSaveFileNameA(OPENFILENAMEA* request) {
    return runFileDialog(request, true);
}
BOOL GetSaveFileNameW(OPENFILENAMEW* request) {
    return runFileDialog(request, true);
}

BOOL ChooseColorA(CHOOSECOLORA* request) {
    return runColourDialog(request);
}
BOOL ChooseColorW(CHOOSECOLORW* request) {
    return runColourDialog(request);
}

BOOL ChooseFontA(CHOOSEFONTA* request) {
    return runFontDialog(request);
}
BOOL ChooseFontW(CHOOSEFONTW* request) {
    return runFontDialog(request);
}

HWND FindTextA(FINDREPLACEA* request) {
    return runFindReplace(request, false);
}
HWND FindTextW(FINDREPLACEW* request) {
    return runFindReplace(request, false);
}
HWND ReplaceTextA(FINDREPLACEA* request) {
    return runFindReplace(request, true);
}
HWND ReplaceTextW(FINDREPLACEW* request) {
    return runFindReplace(request, true);
}

UINT RegisterWindowMessageA(LPCSTR name) {
    return name ? RegisterWindowMessageW(AnsiToWide(name).c_str()) : 0;
}

UINT RegisterWindowMessageW(LPCWSTR name) {
    // Registered messages share the string atoms' numbers, as in the system.
    ATOM atom = name && *name ? GlobalFindAtomW(name) : 0;
    return atom ? atom : GlobalAddAtomW(name);
}
