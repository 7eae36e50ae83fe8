// A window of each kind of control beside a web view, on whichever backend
// InstallBackend picks: a way to see the desktop backend at work. It says on
// stdout, one line each, what a test or a benchmark waits for:
//   ready              the main window's pixels reached the screen
//   at NAME X Y        the screen point at the middle of a control
//   title: TEXT        the web view reported its page's title
//   copied             the Copy button put the edit's text on the clipboard
//   focus in NAME      the edit or the web view's host (page) got the focus
//   focus out NAME     ... or lost it
//   note hidden        a click hid the note laid over the page
// A page from a file is chosen with the desktop's file chooser. A button lays
// a note, a window of ours, over part of the page; a click on it hides it.
// Options: --page FILE shows that page (else a page of its own);
// --exit-after-paint ends the program once it is ready.
#include "platform/backend/Backend.h"
#include "platform/backend/gtk/GtkBackend.h"
#include "platform/backend/gtk/GtkWebView.h"
#include "platform/core/CodePages.h"
#include "platform/win/ButtonControl.h"
#include "platform/win/ComboBoxControl.h"
#include "platform/win/CommCtrl.h"
#include "platform/win/Cursors.h"
#include "platform/win/DefWindowProc.h"
#include "platform/win/DrawText.h"
#include "platform/win/Drawing.h"
#include "platform/win/EditControl.h"
#include "platform/win/Focus.h"
#include "platform/win/Gdi.h"
#include "platform/win/Keyboard.h"
#include "platform/win/ListBoxControl.h"
#include "platform/win/Messages.h"
#include "platform/win/Painting.h"
#include "platform/win/StandardControls.h"
#include "platform/win/SysColors.h"
#include "platform/win/WindowPos.h"
#include "platform/win/WindowTree.h"
#include "platform/win/Windows.h"

#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>

namespace {

constexpr const WCHAR* mainClass = u"QuorvaneBackendDemo";
constexpr const WCHAR* webHostClass = u"QuorvaneBackendDemoWebHost";
constexpr const WCHAR* noteClass = u"QuorvaneBackendDemoNote";
constexpr const WCHAR* mainTitle = u"Quorvane backend demo";

// Client-area layout: the controls in a column on the left, the web view on the right.
constexpr int clientWidth = 760;
constexpr int clientHeight = 460;
constexpr int margin = 12;
constexpr int columnWidth = 240;
constexpr RECT paintedArea{margin, margin, margin + columnWidth, 72};
// Our own pixels: an orange no page or control uses, so that a screenshot shows where they landed.
constexpr COLORREF paintedColour = RGB(255, 140, 0);
constexpr int webLeft = margin + columnWidth + margin;
constexpr int webWidth = clientWidth - webLeft - margin;
constexpr int webHeight = 400;
constexpr int progressMax = 100;
// The note lies across the page's left edge, its middle over the page.
constexpr RECT noteArea{webLeft - 40, 200, webLeft + 160, 280};
constexpr COLORREF noteColour = RGB(34, 139, 34);

enum ControlId : int {
    editId = 101,
    copyId,
    backId,
    forwardId,
    reloadId,
    newWindowId,
    openPageId,
    coverId,
    listId,
    comboId,
    progressId,
    statusId,
    webHostId,
};

constexpr const char* defaultPage = R"(<!DOCTYPE html>
<html><head><meta charset="utf-8"><title>Quorvane demo page</title></head>
<body style="font-family: sans-serif; background: #f4f8ff">
<h1>The web view</h1>
<p>A local file shown by the desktop's web engine, laid over a window of ours.</p>
<p><a href="#second">A link within the page</a></p>
<h2 id="second">Second part</h2>
<p>Reload, Back and Forward act on this view; New window opens the page in a window of its own.</p>
</body></html>
)";

struct Options {
    std::string page;
    bool exitAfterPaint = false;
};

Options optionsOf(int argc, char** argv) {
    Options options;
    for (int index = 1; index < argc; ++index) {
        std::string argument = argv[index];
        if (argument == "--page" && index + 1 < argc)
            options.page = argv[++index];
        else if (argument == "--exit-after-paint")
            options.exitAfterPaint = true;
    }
    return options;
}

std::string writeDefaultPage() {
    std::filesystem::path page = std::filesystem::temp_directory_path() / "quorvane-backend-demo.html";
    std::ofstream(page) << defaultPage;
    return page.string();
}

void say(const std::string& line) {
    std::cout << line << std::endl;
}

class Demo {
public:
    Demo(const Options& options, std::shared_ptr<Backend> backend)
        : options_(options), backend_(std::move(backend)) {}

    int Run() {
        registerClasses();
        RECT frame{0, 0, clientWidth, clientHeight};
        AdjustWindowRectEx(&frame, WS_OVERLAPPEDWINDOW, FALSE, 0);
        window_ = CreateWindowExW(0, mainClass, mainTitle, WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN,
                                  CW_USEDEFAULT, CW_USEDEFAULT, frame.Right - frame.Left,
                                  frame.Bottom - frame.Top, nullptr, nullptr, nullptr, nullptr);
        SetWindowLongPtrW(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
        createControls();
        watchFirstFrame();
        ShowWindow(window_, SW_SHOW);
        UpdateWindow(window_);
        SetFocus(edit_);
        announcePlaces();
        if (!gtk_) {
            say("ready");
            if (options_.exitAfterPaint) return 0;
        }
        MSG message;
        while (GetMessageW(&message, nullptr, 0, 0) > 0) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
        webView_.reset();
        return 0;
    }

private:
    static LRESULT mainProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        auto* demo = reinterpret_cast<Demo*>(GetWindowLongPtrW(window, GWLP_USERDATA));
        if (!demo) return DefWindowProcW(window, message, wParam, lParam);
        return demo->handle(message, wParam, lParam);
    }

    static LRESULT noteProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        switch (message) {
        case WM_PAINT: {
            PAINTSTRUCT paint;
            HDC dc = BeginPaint(window, &paint);
            HBRUSH green = CreateSolidBrush(noteColour);
            RECT client;
            GetClientRect(window, &client);
            FillRect(dc, &client, green);
            DeleteObject(green);
            EndPaint(window, &paint);
            return 0;
        }
        case WM_LBUTTONUP:
            ShowWindow(window, SW_HIDE);
            say("note hidden");
            return 0;
        default:
            return DefWindowProcW(window, message, wParam, lParam);
        }
    }

    static LRESULT hostProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message == WM_SETFOCUS) say("focus in page");
        if (message == WM_KILLFOCUS) say("focus out page");
        return DefWindowProcW(window, message, wParam, lParam);
    }

    void registerClasses() {
        RegisterStandardControlClasses();
        INITCOMMONCONTROLSEX common{sizeof(INITCOMMONCONTROLSEX), ICC_WIN95_CLASSES};
        InitCommonControlsEx(&common);
        WNDCLASSW main{};
        main.lpfnWndProc = WindowProcFromFunction(mainProcedure);
        main.lpszClassName = mainClass;
        main.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        main.hbrBackground = GetSysColorBrush(COLOR_3DFACE);
        RegisterClassW(&main);
        WNDCLASSW host{};
        host.lpfnWndProc = WindowProcFromFunction(hostProcedure);
        host.lpszClassName = webHostClass;
        host.hbrBackground = GetSysColorBrush(COLOR_WINDOW);
        RegisterClassW(&host);
        WNDCLASSW note{};
        note.lpfnWndProc = WindowProcFromFunction(noteProcedure);
        note.lpszClassName = noteClass;
        note.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        RegisterClassW(&note);
    }

    HWND control(const WCHAR* className, const WCHAR* text, DWORD style, RECT place, int id,
                 DWORD exStyle = 0) {
        HWND made = CreateWindowExW(exStyle, className, text, WS_CHILD | WS_VISIBLE | style, place.Left,
                                    place.Top, place.Width(), place.Height(), window_,
                                    reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), nullptr, nullptr);
        SendMessageW(made, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), FALSE);
        return made;
    }

    void createControls() {
        constexpr int buttonWidth = 57, buttonHeight = 25, buttonGap = 4;
        control(u"STATIC", u"Type here:", 0, {margin, 84, margin + columnWidth, 100}, 0);
        edit_ = control(u"EDIT", u"", WS_TABSTOP | ES_AUTOHSCROLL, {margin, 102, margin + columnWidth, 124},
                        editId, WS_EX_CLIENTEDGE);
        const std::pair<const WCHAR*, int> buttons[] = {
            {u"Copy", copyId}, {u"Back", backId}, {u"Forward", forwardId}, {u"Reload", reloadId}};
        int left = margin;
        for (const auto& [text, id] : buttons) {
            HWND button = control(u"BUTTON", text, WS_TABSTOP | BS_PUSHBUTTON,
                                  {left, 132, left + buttonWidth, 132 + buttonHeight}, id);
            if (id == copyId) copyButton_ = button;
            left += buttonWidth + buttonGap;
        }
        control(u"BUTTON", u"Open the page in a new window", WS_TABSTOP | BS_PUSHBUTTON,
                {margin, 162, margin + columnWidth, 162 + buttonHeight}, newWindowId);
        HWND list = control(u"LISTBOX", u"", WS_TABSTOP | WS_VSCROLL | LBS_NOTIFY,
                            {margin, 194, margin + columnWidth, 290}, listId, WS_EX_CLIENTEDGE);
        HWND combo = control(u"COMBOBOX", u"", WS_TABSTOP | CBS_DROPDOWNLIST | WS_VSCROLL,
                             {margin, 298, margin + columnWidth, 420}, comboId);
        for (const WCHAR* item : {u"Editor", u"Highlighters", u"Colour tools", u"Scripts", u"Help pages"}) {
            SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item));
            SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item));
        }
        SendMessageW(combo, CB_SETCURSEL, 0, 0);
        progress_ = control(PROGRESS_CLASSW, u"", 0, {margin, 330, margin + columnWidth, 348}, progressId);
        SendMessageW(progress_, PBM_SETRANGE32, 0, progressMax);
        status_ = control(STATUSCLASSNAMEW, u"", 0, {0, 0, 0, 0}, statusId);
        SendMessageW(status_, WM_SIZE, 0, 0);
        control(u"BUTTON", u"Show a page from a file...", WS_TABSTOP | BS_PUSHBUTTON,
                {margin, 356, margin + columnWidth, 356 + buttonHeight}, openPageId);
        coverButton_ = control(u"BUTTON", u"Lay a note over the page", WS_TABSTOP | BS_PUSHBUTTON,
                               {margin, 388, margin + columnWidth, 388 + buttonHeight}, coverId);
        // As with the framework's controls, windows above the host hide it.
        webHost_ =
            control(webHostClass, u"", WS_CLIPSIBLINGS,
                    {webLeft, margin, webLeft + webWidth, margin + webHeight}, webHostId, WS_EX_CLIENTEDGE);
        createWebView();
        note_ = CreateWindowExW(0, noteClass, u"", WS_CHILD | WS_CLIPSIBLINGS, noteArea.Left, noteArea.Top,
                                noteArea.Width(), noteArea.Height(), window_, nullptr, nullptr, nullptr);
        SetWindowPos(note_, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    }

    void createWebView() {
        WebViewEvents events;
        events.TitleChanged = [](const WideString& title) { say("title: " + UTF8Encode(title)); };
        events.StatusTextChanged = [this](const WideString& text) {
            SendMessageW(status_, SB_SETTEXTW, 0, reinterpret_cast<LPARAM>(text.c_str()));
        };
        events.ProgressChanged = [this](int progress, int) {
            SendMessageW(progress_, PBM_SETPOS, progress, 0);
        };
        RECT client;
        GetClientRect(webHost_, &client);
        webView_ = CurrentBackend().CreateWebView(webHost_, client, std::move(events));
        if (!webView_) return;
        std::string page = options_.page.empty() ? writeDefaultPage() : options_.page;
        webView_->Navigate(UTF8Decode(std::filesystem::absolute(page).string()));
    }

    void watchFirstFrame() {
        auto desktop = std::dynamic_pointer_cast<GtkBackend>(backend_);
        gtk_ = desktop != nullptr;
        if (!desktop) return;
        desktop->SetDrawnHandler([this](HWND window) {
            if (window != window_ || ready_) return;
            ready_ = true;
            say("ready");
            if (options_.exitAfterPaint) PostQuitMessage(0);
        });
    }

    void announcePlaces() {
        for (const auto& [name, window] :
             {std::pair{"edit", edit_}, std::pair{"copy", copyButton_}, std::pair{"page", webHost_},
              std::pair{"cover", coverButton_}, std::pair{"note", note_}}) {
            RECT place;
            GetWindowRect(window, &place);
            say("at " + std::string(name) + " " + std::to_string((place.Left + place.Right) / 2) + " " +
                std::to_string((place.Top + place.Bottom) / 2));
        }
    }

    void paint() {
        PAINTSTRUCT paint;
        HDC dc = BeginPaint(window_, &paint);
        HBRUSH orange = CreateSolidBrush(paintedColour);
        FillRect(dc, &paintedArea, orange);
        DeleteObject(orange);
        RECT text = paintedArea;
        HGDIOBJ previous = SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, RGB(255, 255, 255));
        DrawTextW(dc, u"Painted with GDI", -1, &text, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
        SelectObject(dc, previous);
        EndPaint(window_, &paint);
    }

    void command(int id) {
        switch (id) {
        case copyId:
            SendMessageW(edit_, EM_SETSEL, 0, -1);
            SendMessageW(edit_, WM_COPY, 0, 0);
            say("copied");
            break;
        case backId:
            if (webView_) webView_->GoBack();
            break;
        case forwardId:
            if (webView_) webView_->GoForward();
            break;
        case reloadId:
            if (webView_) webView_->Refresh();
            break;
        case openPageId:
            openPage();
            break;
        case coverId:
            ShowWindow(note_, SW_SHOW);
            break;
        case newWindowId:
            if (auto* desktopView = dynamic_cast<GtkWebView*>(webView_.get()))
                desktopView->NavigateInNewWindow(webView_->LocationUrl());
            break;
        default:
            break;
        }
    }

    // The desktop's file chooser picks a page for the web view.
    void openPage() {
        FileDialogRequest request;
        request.Owner = window_;
        request.Title = u"Show a page";
        request.Filters = {{u"Web pages", u"*.htm;*.html"}, {u"All files", u"*.*"}};
        request.InitialDirectory = UTF8Decode(std::filesystem::temp_directory_path().string());
        if (CurrentBackend().RunFileDialog(request) && webView_) webView_->Navigate(request.FileName);
    }

    LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam) {
        switch (message) {
        case WM_PAINT:
            paint();
            return 0;
        case WM_SIZE:
            SendMessageW(status_, WM_SIZE, wParam, lParam);
            return 0;
        case WM_COMMAND:
            if (LOWORD(wParam) == editId && HIWORD(wParam) == EN_SETFOCUS) say("focus in edit");
            if (LOWORD(wParam) == editId && HIWORD(wParam) == EN_KILLFOCUS) say("focus out edit");
            command(LOWORD(wParam));
            return 0;
        case WM_DESTROY:
            PostQuitMessage(0);
            return 0;
        default:
            return DefWindowProcW(window_, message, wParam, lParam);
        }
    }

    Options options_;
    std::shared_ptr<Backend> backend_;
    bool gtk_ = false;
    bool ready_ = false;
    HWND window_ = nullptr;
    HWND edit_ = nullptr;
    HWND copyButton_ = nullptr;
    HWND coverButton_ = nullptr;
    HWND progress_ = nullptr;
    HWND status_ = nullptr;
    HWND webHost_ = nullptr;
    HWND note_ = nullptr;
    std::unique_ptr<WebView> webView_;
};

} // namespace

int main(int argc, char** argv) {
    Options options = optionsOf(argc, argv);
    std::shared_ptr<Backend> backend = InstallBackend();
    return Demo(options, backend).Run();
}
