#include "BackendTestSupport.h"

#include "platform/core/CodePages.h"
#include "platform/win/Clipboard.h"
#include "platform/win/DefWindowProc.h"
#include "platform/win/Drawing.h"
#include "platform/win/Gdi.h"
#include "platform/win/Keyboard.h"
#include "platform/win/Painting.h"
#include "platform/win/Regions.h"
#include "platform/win/Shell.h"
#include "platform/win/SysColors.h"
#include "platform/win/SystemInfo.h"
#include "platform/win/Timers.h"
#include "platform/win/WindowPos.h"

#include <cstring>
#include <filesystem>
#include <fstream>

namespace {

constexpr COLORREF red = RGB(255, 0, 0);

std::vector<std::pair<UINT, WPARAM>> received;

LRESULT redProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_TIMER || message == WM_CHAR || message == WM_LBUTTONDOWN)
        received.emplace_back(message, message == WM_LBUTTONDOWN ? static_cast<WPARAM>(lParam) : wParam);
    if (message != WM_PAINT) return DefWindowProcW(window, message, wParam, lParam);
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(window, &paint);
    RECT client;
    GetClientRect(window, &client);
    HBRUSH brush = CreateSolidBrush(red);
    FillRect(dc, &client, brush);
    DeleteObject(brush);
    EndPaint(window, &paint);
    return 0;
}

class HeadlessBackendTest : public HeadlessTest {
protected:
    HWND window = nullptr;

    void SetUp() override {
        static bool registered = [] {
            WNDCLASSW windowClass;
            windowClass.lpfnWndProc = WindowProcFromFunction(redProcedure);
            windowClass.lpszClassName = u"RedWindow";
            return RegisterClassW(&windowClass) != 0;
        }();
        (void)registered;
        window = CreateWindowExW(0, u"RedWindow", u"", WS_POPUP | WS_VISIBLE, 100, 100, 60, 40, nullptr,
                                 nullptr, nullptr, nullptr);
        HeadlessBackend::ProcessMessages();
        received.clear();
    }

    COLORREF pixel(int x, int y) { return ColorRefFromPixel(backend.Capture(window, true)->At(x, y)); }
};

TEST_F(HeadlessBackendTest, SteppedTimeDrivesTimersOneMessageAtATime) {
    backend.UseSteppedTime(true);
    SetTimer(window, 7, 100, nullptr);
    backend.AdvanceTime(60);
    HeadlessBackend::ProcessMessages();
    EXPECT_TRUE(received.empty());
    backend.AdvanceTime(60);
    HeadlessBackend::ProcessMessages();
    EXPECT_EQ(received, (std::vector<std::pair<UINT, WPARAM>>{{WM_TIMER, 7}}));
    received.clear();
    backend.AdvanceTime(1000);
    HeadlessBackend::ProcessMessages();
    EXPECT_EQ(received.size(), 1u);
    KillTimer(window, 7);
    backend.AdvanceTime(1000);
    HeadlessBackend::ProcessMessages();
    EXPECT_EQ(received.size(), 1u);
}

int procedureTicks = 0;
void countTick(HWND, UINT, UINT_PTR, DWORD) {
    ++procedureTicks;
}

TEST_F(HeadlessBackendTest, ATimerWithoutAWindowCallsItsProcedure) {
    backend.UseSteppedTime(true);
    UINT_PTR id = SetTimer(nullptr, 0, 50, countTick);
    ASSERT_NE(id, 0u);
    backend.AdvanceTime(50);
    HeadlessBackend::ProcessMessages();
    EXPECT_EQ(procedureTicks, 1);
    EXPECT_TRUE(KillTimer(nullptr, id));
}

TEST_F(HeadlessBackendTest, TheCaretBlinksWithTheClock) {
    backend.UseSteppedTime(true);
    CreateCaret(window, nullptr, 2, 10);
    SetCaretPos(4, 4);
    ShowCaret(window);
    EXPECT_EQ(pixel(4, 4), RGB(0, 255, 255));
    backend.AdvanceTime(GetCaretBlinkTime());
    HeadlessBackend::ProcessMessages();
    EXPECT_EQ(pixel(4, 4), red);
    backend.AdvanceTime(GetCaretBlinkTime());
    HeadlessBackend::ProcessMessages();
    EXPECT_EQ(pixel(4, 4), RGB(0, 255, 255));
}

TEST_F(HeadlessBackendTest, AnIdleThreadWithAShownCaretSleepsUntilTheNextBlinkAndBlinksWhileWaiting) {
    backend.UseSteppedTime(true);
    CreateCaret(window, nullptr, 2, 10);
    SetCaretPos(4, 4);
    ShowCaret(window);
    HeadlessBackend::ProcessMessages();
    // The blink is due when the wait starts.
    backend.AdvanceTime(GetCaretBlinkTime());
    constexpr UINT idleTime = 2000;
    SetTimer(window, 1, idleTime, nullptr);
    const std::size_t waitsBefore = backend.WaitCount();
    WaitMessage();
    const std::size_t waits = backend.WaitCount() - waitsBefore;
    KillTimer(window, 1);
    // One wait per blink, give or take the timer's.
    EXPECT_GE(waits, idleTime / GetCaretBlinkTime());
    EXPECT_LE(waits, idleTime / GetCaretBlinkTime() + 2);
    // Four blinks over 2 s leave the caret as it was drawn.
    EXPECT_EQ(pixel(4, 4), RGB(0, 255, 255));
}

TEST_F(HeadlessBackendTest, InputArrivesAtClientPoints) {
    SetFocus(window);
    backend.Click(window, {7, 9});
    backend.PressKey('Q', {VK_SHIFT});
    backend.TypeText(u"\u00E9");
    HeadlessBackend::ProcessMessages();
    EXPECT_EQ(received,
              (std::vector<std::pair<UINT, WPARAM>>{
                  {WM_LBUTTONDOWN, static_cast<WPARAM>(MAKELPARAM(7, 9))}, {WM_CHAR, 'Q'}, {WM_CHAR, 0xE9}}));
}

// As on Windows, the asynchronous state is the whole desktop's: a key that
// another program's window receives counts too, once for each press.
TEST_F(HeadlessBackendTest, AKeyHeldWhileAnotherProgramHasTheKeyboardIsInTheAsyncState) {
    EXPECT_EQ(GetAsyncKeyState(VK_ESCAPE), 0);
    backend.HoldKeyOnDesktop(VK_ESCAPE, true);
    EXPECT_EQ(GetAsyncKeyState(VK_ESCAPE) & 0xFFFF, 0x8001);
    EXPECT_EQ(GetAsyncKeyState(VK_ESCAPE) & 0xFFFF, 0x8000);
    backend.HoldKeyOnDesktop(VK_ESCAPE, false);
    EXPECT_EQ(GetAsyncKeyState(VK_ESCAPE), 0);
    backend.HoldKeyOnDesktop(VK_ESCAPE, true);
    EXPECT_EQ(GetAsyncKeyState(VK_ESCAPE) & 1, 1);
    backend.HoldKeyOnDesktop(VK_ESCAPE, false);
    GetAsyncKeyState(VK_ESCAPE);
    HeadlessBackend::ProcessMessages();
    EXPECT_TRUE(received.empty());
}

TEST_F(HeadlessBackendTest, WindowsAndTheScreenReadBackAsPixels) {
    EXPECT_TRUE(backend.IsShown(window));
    EXPECT_EQ(pixel(30, 20), red);
    HDC screen = GetDC(nullptr);
    EXPECT_EQ(GetPixel(screen, 110, 110), red);
    EXPECT_EQ(GetPixel(screen, 10, 10), GetSysColor(COLOR_DESKTOP));
    SetWindowRgn(window, CreateEllipticRgn(0, 0, 60, 40), TRUE);
    EXPECT_EQ(GetPixel(screen, 100, 100), GetSysColor(COLOR_DESKTOP));

    // A screen image of the test's shows where no window covers it.
    constexpr COLORREF blue = RGB(0, 0, 255);
    auto image = std::make_shared<PixelSurface>(200, 200);
    image->Fill(PixelFromColorRef(blue));
    backend.SetScreenImage(image);
    EXPECT_EQ(GetPixel(screen, 10, 10), blue);
    EXPECT_EQ(GetPixel(screen, 110, 110), red);
    EXPECT_EQ(GetPixel(screen, 300, 10), GetSysColor(COLOR_DESKTOP));
    backend.SetScreenImage(nullptr);
    ReleaseDC(nullptr, screen);
    auto path = std::filesystem::temp_directory_path() / "headless-window.png";
    ASSERT_TRUE(backend.SavePng(window, path.string()));
    EXPECT_GT(std::filesystem::file_size(path), 0u);
    std::filesystem::remove(path);
}

TEST_F(HeadlessBackendTest, ClipboardTextAndOpenedAddressesGoThroughTheBackend) {
    ASSERT_TRUE(OpenClipboard(window));
    EmptyClipboard();
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, 6 * sizeof(WCHAR));
    std::memcpy(GlobalLock(memory), u"#FF00", 6 * sizeof(WCHAR));
    GlobalUnlock(memory);
    SetClipboardData(CF_UNICODETEXT, memory);
    CloseClipboard();
    EXPECT_EQ(backend.ClipboardText(), std::optional<WideString>(u"#FF00"));

    auto before = backend.OpenedUrls().size();
    EXPECT_GT(reinterpret_cast<INT_PTR>(
                  ShellExecuteW(nullptr, u"open", u"https://example.org/", nullptr, nullptr, SW_SHOWNORMAL)),
              32);
    ASSERT_EQ(backend.OpenedUrls().size(), before + 1);
    EXPECT_EQ(backend.OpenedUrls().back(), u"https://example.org/");
}

TEST_F(HeadlessBackendTest, ProgramStartsAreRecordedWhenATestAsks) {
    backend.RecordProgramStarts(true);
    const INT_PTR started = reinterpret_cast<INT_PTR>(
        ShellExecuteW(nullptr, u"open", u"true", u"\"a b\" c", u"/", SW_SHOWMAXIMIZED));
    // A program that is not there fails as before, and is not recorded.
    const INT_PTR missing = reinterpret_cast<INT_PTR>(
        ShellExecuteW(nullptr, nullptr, u"/no/such/browser", nullptr, nullptr, SW_SHOWNORMAL));
    backend.RecordProgramStarts(false);
    EXPECT_GT(started, 32);
    EXPECT_EQ(missing, ERROR_PATH_NOT_FOUND);
    ASSERT_EQ(backend.StartedPrograms().size(), 1u);
    const ShellProgramStart start = backend.StartedPrograms().front();
    EXPECT_EQ(start.Verb, u"open");
    EXPECT_EQ(start.File, u"true");
    EXPECT_EQ(start.Parameters, u"\"a b\" c");
    EXPECT_EQ(start.Directory, u"/");
    EXPECT_EQ(start.ShowCommand, SW_SHOWMAXIMIZED);
}

TEST_F(HeadlessBackendTest, APrivateFormatPlacedAloneSurvivesTheNextOpening) {
    const UINT format = RegisterClipboardFormatA("Test Private Block");
    ASSERT_TRUE(OpenClipboard(window));
    EmptyClipboard();
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, 4);
    SetClipboardData(format, memory);
    CloseClipboard();
    EXPECT_EQ(backend.ClipboardText(), std::nullopt);

    ASSERT_TRUE(OpenClipboard(window));
    EXPECT_TRUE(IsClipboardFormatAvailable(format));
    EXPECT_FALSE(IsClipboardFormatAvailable(CF_TEXT));
    CloseClipboard();
}

TEST_F(HeadlessBackendTest, TheWebViewReportsTitleAndProgressOfAPage) {
    auto path = std::filesystem::temp_directory_path() / "headless-page.htm";
    std::ofstream(path) << "<html><head><TITLE>Script preview</TITLE></head><body></body></html>";
    WideString title;
    std::vector<int> progress;
    WebViewEvents events;
    events.TitleChanged = [&](const WideString& text) { title = text; };
    events.ProgressChanged = [&](int done, int) { progress.push_back(done); };
    auto view = backend.CreateWebView(window, {0, 0, 60, 40}, events);
    view->Navigate(UTF8Decode(path.string()));
    EXPECT_EQ(title, u"Script preview");
    EXPECT_EQ(progress, (std::vector<int>{0, 100}));
    std::filesystem::remove(path);
}

// A control that takes the focus when clicked and notes what focus and keys it gets.
std::vector<UINT> probeMessages;

LRESULT focusProbeProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_SETFOCUS || message == WM_KILLFOCUS || message == WM_KEYDOWN)
        probeMessages.push_back(message);
    if (message == WM_LBUTTONDOWN) SetFocus(window);
    return DefWindowProcW(window, message, wParam, lParam);
}

TEST_F(HeadlessBackendTest, AClickIntoAWebViewTakesTheFocusAndTheKeysUntilAClickBack) {
    WNDCLASSW probeClass{};
    probeClass.lpfnWndProc = WindowProcFromFunction(focusProbeProcedure);
    probeClass.lpszClassName = u"FocusProbe";
    RegisterClassW(&probeClass);
    HWND form = CreateWindowExW(0, u"RedWindow", u"", WS_POPUP | WS_VISIBLE, 0, 0, 300, 200, nullptr, nullptr,
                                nullptr, nullptr);
    HWND control = CreateWindowExW(0, u"FocusProbe", u"", WS_CHILD | WS_VISIBLE, 10, 10, 100, 24, form,
                                   nullptr, nullptr, nullptr);
    HWND host = CreateWindowExW(0, u"RedWindow", u"", WS_CHILD | WS_VISIBLE, 150, 10, 120, 100, form, nullptr,
                                nullptr, nullptr);
    auto view = backend.CreateWebView(host, {0, 0, 120, 100}, {});
    SetFocus(control);
    HeadlessBackend::ProcessMessages();
    received.clear();
    probeMessages.clear();

    backend.Click(host, {20, 20});
    backend.PressKey('A');
    HeadlessBackend::ProcessMessages();
    EXPECT_EQ(GetFocus(), host);
    EXPECT_EQ(backend.WebViewWithKeys(), host);
    EXPECT_EQ(probeMessages, std::vector<UINT>{WM_KILLFOCUS}) << "the keys went to the page";
    EXPECT_TRUE(received.empty()) << "the page took the click";

    backend.Click(control, {5, 5});
    HeadlessBackend::ProcessMessages();
    backend.PressKey('B');
    HeadlessBackend::ProcessMessages();
    EXPECT_EQ(GetFocus(), control);
    EXPECT_EQ(backend.WebViewWithKeys(), nullptr);
    EXPECT_EQ(probeMessages, (std::vector<UINT>{WM_KILLFOCUS, WM_SETFOCUS, WM_KEYDOWN}));

    // Focus given in code (a Tab into the browser) gives the page the keys too.
    SetFocus(host);
    EXPECT_EQ(backend.WebViewWithKeys(), host);
    SetFocus(control);

    // A hidden view covers nothing: the host itself is clicked.
    view->SetVisible(false);
    backend.Click(host, {20, 20});
    HeadlessBackend::ProcessMessages();
    EXPECT_EQ(GetFocus(), control);
    EXPECT_EQ(received.size(), 1u);
}

TEST_F(HeadlessBackendTest, FileDialogsTakeTheQueuedAnswerOrCancel) {
    FileDialogRequest request;
    request.Title = u"Export";
    EXPECT_FALSE(backend.RunFileDialog(request));
    backend.AnswerFileDialog({u"/tmp/page.htm"}, 2);
    EXPECT_TRUE(backend.RunFileDialog(request));
    EXPECT_EQ(request.FileName, u"/tmp/page.htm");
    EXPECT_EQ(request.FilterIndex, 2);
    EXPECT_EQ(backend.LastFileDialog().Title, u"Export");
}

} // namespace
