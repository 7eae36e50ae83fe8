#include "BackendTestSupport.h"

#include "platform/win/MessageBox.h"
#include "platform/win/Painting.h"
#include "platform/win/SysColors.h"
#include "platform/win/Timers.h"
#include "platform/win/WindowPos.h"

namespace {

class MessageBoxTest : public HeadlessTest {
protected:
    HWND owner = nullptr;

    void SetUp() override {
        owner = CreateWindowExW(0, u"MessageBoxOwner", u"Owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 50, 50,
                                400, 300, nullptr, nullptr, nullptr, nullptr);
    }

    static void SetUpTestSuite() {
        WNDCLASSW windowClass;
        windowClass.lpfnWndProc = WindowProcFromFunction(DefWindowProcW);
        windowClass.lpszClassName = u"MessageBoxOwner";
        RegisterClassW(&windowClass);
    }

    static HWND button(HWND box, const WCHAR* text) {
        return FindWindowExW(box, nullptr, MessageBoxButtonClassName, text);
    }

    static WideString message(HWND box) {
        WCHAR text[128] = {};
        GetWindowTextW(FindWindowExW(box, nullptr, MessageBoxTextClassName, nullptr), text, 128);
        return text;
    }

    // Answers the box shown with `caption` once, by `answer`.
    void answerWith(const WCHAR* caption, std::function<void(HWND box)> answer) {
        backend.SetIdleHandler([this, caption, answer] {
            HWND box = FindWindowW(MessageBoxClassName, caption);
            if (!box) return;
            backend.SetIdleHandler(nullptr);
            answer(box);
        });
    }
};

TEST_F(MessageBoxTest, ATestAnswersTheBoxWithAClick) {
    WideString shown;
    bool ownerWasDisabled = false;
    answerWith(u"Question", [&](HWND box) {
        shown = message(box);
        ownerWasDisabled = !IsWindowEnabled(owner);
        EXPECT_TRUE(button(box, u"&Yes"));
        EXPECT_TRUE(button(box, u"Cancel"));
        backend.Click(button(box, u"&No"), {10, 10});
    });
    EXPECT_EQ(MessageBoxW(owner, u"Save changes?", u"Question", MB_YESNOCANCEL | MB_ICONQUESTION), IDNO);
    EXPECT_EQ(shown, u"Save changes?");
    EXPECT_TRUE(ownerWasDisabled);
    EXPECT_TRUE(IsWindowEnabled(owner));
    EXPECT_EQ(FindWindowW(MessageBoxClassName, nullptr), nullptr);
    EXPECT_EQ(GetActiveWindow(), owner);
}

// The message's own window fills its area in the box's face colour: nothing
// else paints there, and the text must not stand on a black bar.
TEST_F(MessageBoxTest, TheMessageStandsOnTheBoxFaceColour) {
    int blackPixels = -1, facePixels = 0, textPixels = 0;
    answerWith(u"Copy text", [&](HWND box) {
        UpdateWindow(box);
        HWND text = FindWindowExW(box, nullptr, MessageBoxTextClassName, nullptr);
        RECT area, window;
        GetWindowRect(text, &area);
        GetWindowRect(box, &window);
        std::shared_ptr<PixelSurface> shot = backend.Capture(box);
        const Pixel face = PixelFromColorRef(GetSysColor(COLOR_3DFACE));
        blackPixels = 0;
        for (int y = area.Top; y < area.Bottom; ++y)
            for (int x = area.Left; x < area.Right; ++x) {
                const Pixel pixel = shot->At(x - window.Left, y - window.Top) & PixelColourMask;
                ++(pixel == face ? facePixels : pixel == 0 ? blackPixels : textPixels);
            }
        backend.PressKey(VK_RETURN);
    });
    MessageBoxW(owner, u"The HEAD part is on the clipboard.", u"Copy text", MB_OK | MB_ICONASTERISK);
    // Glyphs are black too; they cover a small part of the area.
    EXPECT_GT(facePixels, 4 * blackPixels);
    EXPECT_GE(blackPixels + textPixels, 20) << "no text drawn";
}

TEST_F(MessageBoxTest, KeysPressTheDefaultButtonCancelOrAButtonByItsLetter) {
    struct Case {
        UINT type;
        UINT key;
        int expected;
    };
    const Case cases[] = {
        {MB_OKCANCEL, VK_RETURN, IDOK}, {MB_OKCANCEL, VK_ESCAPE, IDCANCEL},
        {MB_OK, VK_ESCAPE, IDOK},       {MB_YESNO | MB_DEFBUTTON2, VK_RETURN, IDNO},
        {MB_YESNO, 'Y', IDYES},         {MB_ABORTRETRYIGNORE, 'I', IDIGNORE},
    };
    for (const Case& each : cases) {
        answerWith(u"Keys", [&](HWND) { backend.PressKey(each.key); });
        EXPECT_EQ(MessageBoxW(owner, u"Press a key", u"Keys", each.type), each.expected) << each.type;
    }
}

TEST_F(MessageBoxTest, TheAnsiBoxShowsItsTextConvertedAndDefaultsTheCaption) {
    WideString shown;
    answerWith(u"Error", [&](HWND box) {
        shown = message(box);
        SendMessageW(box, WM_SYSCOMMAND, SC_CLOSE, 0);
    });
    EXPECT_EQ(MessageBoxA(nullptr, "Fichier introuvable: \xE9t\xE9.htm", nullptr, MB_OK | MB_ICONHAND), IDOK);
    EXPECT_EQ(shown, u"Fichier introuvable: \u00E9t\u00E9.htm");
}

TEST_F(MessageBoxTest, AYesNoBoxCannotBeClosedWithoutAnAnswer) {
    answerWith(u"Sure?", [&](HWND box) {
        SendMessageW(box, WM_CLOSE, 0, 0);
        backend.PressKey(VK_ESCAPE);
        backend.SetIdleHandler([this] { backend.PressKey(VK_RETURN); });
    });
    EXPECT_EQ(MessageBoxW(owner, u"Really?", u"Sure?", MB_YESNO), IDYES);
}

TEST_F(MessageBoxTest, ATimerDueWhenTheBoxOpensDoesNotTakeTheTestsTurnToAnswer) {
    backend.UseSteppedTime(true);
    SetTimer(owner, 1, USER_TIMER_MINIMUM, nullptr);
    backend.AdvanceTime(2 * USER_TIMER_MINIMUM);
    answerWith(u"Busy", [this](HWND box) { backend.Click(button(box, u"&No"), {10, 10}); });
    EXPECT_EQ(MessageBoxW(owner, u"Stop the clock?", u"Busy", MB_YESNO), IDNO);
    KillTimer(owner, 1);
}

TEST_F(MessageBoxTest, ABoxNobodyAnswersTakesItsDefaultAtOnceAndSaysSoOnStderr) {
    struct Case {
        bool idleHandlerLooksElsewhere;
        UINT type;
        int expected;
    };
    const Case cases[] = {{false, MB_YESNO | MB_DEFBUTTON2, IDNO}, {true, MB_OKCANCEL, IDOK}};
    for (const Case& each : cases) {
        if (each.idleHandlerLooksElsewhere) answerWith(u"Another box", [](HWND) {});
        testing::internal::CaptureStderr();
        EXPECT_EQ(MessageBoxW(owner, u"Nobody expected this", u"Surprise", each.type), each.expected);
        const std::string said = testing::internal::GetCapturedStderr();
        EXPECT_NE(said.find("Surprise"), std::string::npos) << said;
        EXPECT_NE(said.find("Nobody expected this"), std::string::npos) << said;
        EXPECT_EQ(FindWindowW(MessageBoxClassName, nullptr), nullptr);
    }
}

} // namespace
