// The wide standard controls: captions in Unicode windows (or painted wide),
// embossed disabled labels, one-line "&" labels, hot keys found in wide
// captions, and a picture of a form with one of each.
#include "platform/vcl/tests/VisualTestSupport.h"

#include "platform/core/CodePages.h"
#include "platform/core/FileUtils.h"
#include "platform/vcl/Pictures.h"
#include "platform/win/Messages.h"
#include "unicode/TntStdCtrls.h"
#include "unicode/TntSystem.h"
#include "unicode/tests/TemporaryFolder.h"

#include <filesystem>
#include <fstream>

namespace {

const WideString Captions[] = {u"中文字", u"Кириллица", u"Ελληνικά"};

class StdCtrlsTest : public VisualTest {
protected:
    std::unique_ptr<TForm> form = plainForm(400, 260);
    void TearDown() override {
        form.reset();
        Win32PlatformIsUnicode = true;
        VisualTest::TearDown();
    }
    template <typename T> T* make(Place Bounds, const WideString& Caption) {
        T* control = child<T>(form.get(), alNone, Bounds);
        control->SetCaption(Caption);
        return control;
    }
};

class StdCtrlsRoads : public StdCtrlsTest, public ::testing::WithParamInterface<bool> {};
INSTANTIATE_TEST_SUITE_P(Road, StdCtrlsRoads, ::testing::Values(true, false),
                         [](const auto& info) { return info.param ? "Wide" : "Ansi"; });

TEST_P(StdCtrlsRoads, CaptionsSetBeforeTheWindowsExistComeBack) {
    Win32PlatformIsUnicode = GetParam();
    for (const WideString& caption : Captions) {
        std::vector<TControl*> controls = {
            make<TTntLabel>({0, 0, 80, 20}, caption), make<TTntButton>({0, 20, 80, 20}, caption),
            make<TTntCheckBox>({0, 40, 80, 20}, caption), make<TTntGroupBox>({0, 60, 80, 40}, caption)};
        auto* edit = child<TTntEdit>(form.get(), alNone, {0, 100, 80, 20});
        edit->SetText(caption);
        controls.push_back(edit);
        form->Show();
        const WideString expected = GetParam() ? caption : AnsiToWide(WideToAnsi(caption));
        for (TControl* control : controls) {
            EXPECT_EQ(TntControl_GetText(control), expected) << ClassTypeOf(control)->ClassName();
            EXPECT_EQ(control->Text(), WideToAnsi(caption));
        }
        EXPECT_EQ(edit->Text(), expected);
        for (TControl* control : controls)
            delete control;
    }
}

// The highlight copy shows right and below the shadow-coloured text.
TEST_F(StdCtrlsTest, ADisabledLabelIsEmbossed) {
    auto* label = make<TTntLabel>({10, 10, 100, 40}, u"ЖЖЖ");
    label->Font()->SetSize(20);
    label->Font()->SetStyle({fsBold});
    label->SetEnabled(false);
    form->SetColor(clBtnFace);
    form->Show();
    Application->ProcessMessages();
    std::shared_ptr<PixelSurface> pixels = backend.Capture(form->Handle(), true);
    auto at = [&](Integer x, Integer y) {
        return static_cast<TColor>(ColorRefFromPixel(pixels->Row(y)[x] & PixelColourMask));
    };
    Integer lowestShadow = 0, lowestHighlight = 0;
    for (Integer y = 10; y < 50; ++y)
        for (Integer x = 10; x < 110; ++x) {
            if (at(x, y) == ColorToRGB(clBtnShadow)) lowestShadow = y;
            if (at(x, y) == ColorToRGB(clBtnHighlight)) lowestHighlight = y;
        }
    ASSERT_GT(lowestShadow, 0);
    EXPECT_EQ(lowestHighlight, lowestShadow + 1);
}

TEST_F(StdCtrlsTest, AnAmpersandLabelIsOneLineHigh) {
    auto* letter = make<TTntLabel>({10, 10, 10, 10}, u"A");
    auto* ampersand = make<TTntLabel>({10, 40, 10, 10}, u"&");
    letter->SetAutoSize(true);
    ampersand->SetAutoSize(true);
    EXPECT_EQ(ampersand->Height(), letter->Height());
    EXPECT_GT(ampersand->Height(), 0);
}

class TClicks : public TObject {
public:
    Integer clicks = 0;
    void Clicked(TObject*) { ++clicks; }
};

TEST_F(StdCtrlsTest, WideHotKeysClickTheButtonAndToggleTheFocusedCheckBox) {
    TClicks log;
    auto* button = make<TTntButton>({10, 10, 100, 24}, u"Пуск &K");
    button->OnClick = TNotifyEvent(&log, &TClicks::Clicked);
    auto* box = make<TTntCheckBox>({10, 40, 100, 24}, u"Флажок &F");
    form->Show();
    EXPECT_EQ(button->Perform(CM_DIALOGCHAR, 'k', 0), 1);
    EXPECT_EQ(log.clicks, 1);
    EXPECT_EQ(button->Perform(CM_DIALOGCHAR, 'x', 0), 0);
    EXPECT_EQ(box->Perform(CM_DIALOGCHAR, 'F', 0), 1);
    EXPECT_TRUE(box->Checked());
    box->SetEnabled(false);
    EXPECT_EQ(box->Perform(CM_DIALOGCHAR, 'F', 0), 0);
    EXPECT_TRUE(box->Checked());
}

TEST_F(StdCtrlsTest, AFormWithOneOfEachControlForAPersonToLookAt) {
    form->SetColor(clBtnFace);
    make<TTntLabel>({10, 10, 180, 20}, u"Метка 标签 Ετικέτα");
    make<TTntButton>({10, 40, 180, 26}, u"Кнопка 按钮 Κουμπί");
    TTntCheckBox* box = make<TTntCheckBox>({10, 76, 200, 22}, u"Флажок 复选 Πλαίσιο");
    box->SetChecked(true);
    auto* group = make<TTntGroupBox>({210, 10, 180, 90}, u"Группа 组 Ομάδα");
    group->SetColor(clBtnFace);
    auto* edit = child<TTntEdit>(form.get(), alNone, {10, 110, 380, 24});
    edit->SetText(u"Текст 文本 Κείμενο");
    auto* disabled = make<TTntLabel>({10, 150, 180, 20}, u"Отключено");
    disabled->SetEnabled(false);
    form->Show();
    Application->ProcessMessages();
    const std::filesystem::path folder = std::filesystem::path(ProgramFolder()).parent_path() / "screenshots";
    std::filesystem::create_directories(folder);
    EXPECT_TRUE(backend.SavePng(form->Handle(), (folder / "unicode-std-controls.png").string()));
}

} // namespace

namespace {

// The hidden memo that receives a language file: non-wrapping, read line by line.
class MemoTest : public StdCtrlsTest {
protected:
    TTntMemo* memo = child<TTntMemo>(form.get(), alNone, {0, 0, 200, 100});
    void SetUp() override {
        StdCtrlsTest::SetUp();
        memo->SetWordWrap(false);
        memo->SetVisible(false);
        form->Show();
    }
    std::vector<WideString> lines() {
        std::vector<WideString> result;
        for (Integer i = 0; i < memo->Lines()->Count(); ++i)
            result.push_back(memo->Lines()->Strings(i));
        return result;
    }
};

TEST_F(MemoTest, LanguageFilesInUtf16AndInTheAnsiCodePageReadBackLineForLine) {
    test::TemporaryFolder folder;
    const WideString wideFile = folder.Path() + u"/Русский.lng";
    {
        TTntStringList source;
        source.Add(u"Open=Открыть");
        source.Add(u"Title=标题 " + WideString(300, u'x'));
        source.SaveToFile(wideFile);
    }
    memo->Lines()->LoadFromFile(wideFile);
    EXPECT_EQ(lines(), (std::vector<WideString>{u"Open=Открыть", u"Title=标题 " + WideString(300, u'x')}));

    const std::string ansiFile = folder.NativePath() + "/English.lng";
    std::ofstream(ansiFile, std::ios::binary) << "Open=Caf\xE9\r\nExit=Quit\r\n";
    memo->Lines()->LoadFromFile(UTF8Decode(ansiFile));
    EXPECT_EQ(lines(), (std::vector<WideString>{u"Open=Caf\u00E9", u"Exit=Quit"}));
}

TEST_F(MemoTest, LfTextIsStoredWithCrLfAndAnEqualTextLeavesTheWindowAlone) {
    memo->Lines()->SetTextStr(u"один\nдва\n");
    EXPECT_EQ(memo->Text(), u"один\r\nдва\r\n");
    SendMessageW(memo->Handle(), EM_SETMODIFY, 0, 0);
    memo->Lines()->SetTextStr(u"один\r\nдва\r\n");
    EXPECT_EQ(SendMessageW(memo->Handle(), EM_GETMODIFY, 0, 0), 0);
}

TEST_F(MemoTest, InsertingAfterTheLastLine) {
    memo->SetText(u"a\r\n");
    // No line starts at 2 and line 1 is empty: nothing is inserted.
    memo->Lines()->Insert(2, u"x");
    EXPECT_EQ(memo->Text(), u"a\r\n");
    memo->SetText(u"a\r\nb");
    memo->Lines()->Insert(2, u"c");
    EXPECT_EQ(memo->Text(), u"a\r\nb\r\nc");
    memo->Lines()->Insert(0, u"Ж");
    EXPECT_EQ(memo->Text(), u"Ж\r\na\r\nb\r\nc");
    memo->Lines()->Put(1, u"Щ");
    EXPECT_EQ(memo->Lines()->Strings(1), u"Щ");
}

TEST_F(MemoTest, ALineTooLongToReadIsAnError) {
    memo->SetText(WideString(70000, u'x'));
    EXPECT_THROW(memo->Lines()->Strings(0), EOutOfResources);
}

} // namespace
