// The wide tool bar: button captions shown wide (by their pixels), buttons
// standing for wide menu items, and the bar's own wide caption.
#include "platform/vcl/tests/VisualTestSupport.h"

#include "platform/win/CommonControls.h"
#include "platform/win/Messages.h"
#include "platform/win/Windows.h"
#include "unicode/TntForms.h"
#include "unicode/TntMenus.h"
#include "unicode/TntToolBars.h"

#include <algorithm>
#include <vector>

namespace {

class ToolBarsTest : public VisualTest {
protected:
    struct Bar {
        std::unique_ptr<TTntForm> form = std::make_unique<TTntForm>(nullptr);
        TTntToolBar* bar = nullptr;
        TTntToolButton* button = nullptr;
    };

    // A shown bar with captions and one button.
    static Bar makeBar(const WideString& Caption) {
        Bar made;
        made.form->SetBorderStyle(bsNone);
        made.form->SetBounds(0, 0, 200, 60);
        made.bar = new TTntToolBar(made.form.get());
        made.bar->SetParent(made.form.get());
        made.bar->SetShowCaptions(true);
        made.bar->SetButtonWidth(80);
        made.bar->SetButtonHeight(36);
        made.button = new TTntToolButton(made.form.get());
        made.button->SetCaption(Caption);
        made.button->SetParent(made.bar);
        made.form->Show();
        Application->ProcessMessages();
        return made;
    }

    // The pixels of the button, as the bar's window shows them.
    std::vector<Pixel> buttonPixels(const Bar& Made) {
        Application->ProcessMessages();
        std::shared_ptr<PixelSurface> pixels = backend.Capture(Made.bar->Handle(), true);
        const TRect rect = Made.button->BoundsRect();
        // The button may reach past the bar's client area, which is all the capture holds.
        const Integer bottom = std::min<Integer>(rect.Bottom, pixels->Height());
        const Integer right = std::min<Integer>(rect.Right, pixels->Width());
        std::vector<Pixel> result;
        for (Integer y = rect.Top; y < bottom; ++y)
            for (Integer x = rect.Left; x < right; ++x)
                result.push_back(pixels->At(x, y) & PixelColourMask);
        return result;
    }

    static WideString windowButtonText(const Bar& Made) {
        WCHAR text[16] = {};
        SendMessageW(Made.bar->Handle(), TB_GETBUTTONTEXTW, 1, reinterpret_cast<LPARAM>(text));
        return text;
    }
};

TEST_F(ToolBarsTest, AWideCaptionShowsAfterInsertionAndAfterAChange) {
    // The captions share one ANSI form, "??".
    Bar question = makeBar(u"??");
    const std::vector<Pixel> questionMarks = buttonPixels(question);
    question.form.reset();

    Bar omega = makeBar(u"ΩΨ");
    EXPECT_EQ(windowButtonText(omega), u"ΩΨ");
    const std::vector<Pixel> omegaPixels = buttonPixels(omega);
    EXPECT_NE(omegaPixels, questionMarks) << "the inserted caption shows wide";

    omega.button->SetCaption(u"ΔΦ");
    EXPECT_EQ(windowButtonText(omega), u"ΔΦ");
    const std::vector<Pixel> changedPixels = buttonPixels(omega);
    omega.form.reset();
    EXPECT_NE(changedPixels, omegaPixels);

    Bar delta = makeBar(u"ΔΦ");
    EXPECT_EQ(buttonPixels(delta), changedPixels) << "a changed caption shows as an inserted one";
}

TEST_F(ToolBarsTest, AButtonTakesAWideMenuItemsCaptionAndHint) {
    Bar made = makeBar(u"x");
    auto* item = new TTntMenuItem(made.form.get());
    item->SetCaption(u"保存");
    item->SetHint(u"ページを保存");
    made.button->SetMenuItem(item);
    EXPECT_EQ(made.button->MenuItem(), item);
    EXPECT_EQ(made.button->Caption(), u"保存");
    EXPECT_EQ(made.button->Hint(), u"ページを保存");
    EXPECT_EQ(windowButtonText(made), u"保存");

    auto* plain = new TMenuItem(made.form.get());
    plain->SetCaption("Open");
    made.button->SetMenuItem(plain);
    EXPECT_EQ(made.button->Caption(), u"Open");
}

TEST_F(ToolBarsTest, TheBarsWindowTextIsItsWideCaption) {
    Bar made = makeBar(u"x");
    made.bar->SetCaption(u"道具箱");
    EXPECT_EQ(made.bar->Caption(), u"道具箱");
    EXPECT_EQ(SendMessageW(made.bar->Handle(), WM_GETTEXTLENGTH, 0, 0), 3);
    struct Case {
        int size;
        WideString received;
        LRESULT answer;
    };
    const Case cases[] = {
        {0, u"####", 0},
        {2, WideString(u"道") + u'\0' + u"##", 1},
        {8, WideString(u"道具箱") + u'\0', 3},
    };
    for (const Case& c : cases) {
        WCHAR buffer[] = u"####";
        EXPECT_EQ(SendMessageW(made.bar->Handle(), WM_GETTEXT, static_cast<WPARAM>(c.size),
                               reinterpret_cast<LPARAM>(buffer)),
                  c.answer);
        EXPECT_EQ(WideString(buffer, 4), c.received) << c.size;
    }
}

} // namespace
