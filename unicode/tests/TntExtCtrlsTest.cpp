// The wide radio group: its column and index limits, where its buttons go,
// and the wide captions of its buttons.
#include "platform/vcl/tests/VisualTestSupport.h"

#include "platform/vcl/Filers.h"
#include "platform/win/ButtonControl.h"
#include "platform/win/Fonts.h"
#include "platform/win/Gdi.h"
#include "platform/win/Messages.h"
#include "platform/win/Painting.h"
#include "unicode/TntExtCtrls.h"
#include "unicode/TntSystem.h"

namespace {

class RadioGroupTest : public VisualTest {
protected:
    std::unique_ptr<TForm> form = plainForm(400, 300);
    TTntRadioGroup* group = child<TTntRadioGroup>(form.get(), alNone, {10, 10, 250, 130});

    void addItems(std::initializer_list<WideString> Items) {
        for (const WideString& item : Items)
            group->Items()->Add(item);
    }
    Integer textHeight() {
        HDC dc = GetDC(nullptr);
        HGDIOBJ previous = SelectObject(dc, group->Font()->Handle());
        TEXTMETRICW metrics{};
        GetTextMetricsW(dc, &metrics);
        SelectObject(dc, previous);
        ReleaseDC(nullptr, dc);
        return metrics.tmHeight;
    }
};

TEST_F(RadioGroupTest, ColumnsAndTheIndexStayWithinTheirLimits) {
    group->SetColumns(0);
    EXPECT_EQ(group->Columns(), 1);
    group->SetColumns(40);
    EXPECT_EQ(group->Columns(), 16);
    addItems({u"один", u"два", u"три", u"четыре", u"пять", u"шесть"});
    group->SetItemIndex(5);
    TTntStringList three;
    for (const char16_t* item : {u"α", u"β", u"γ"})
        three.Add(item);
    group->SetItems(&three);
    EXPECT_EQ(group->ItemIndex(), 2);
    EXPECT_TRUE(group->Buttons(2)->Checked());
    group->SetItemIndex(7);
    EXPECT_EQ(group->ItemIndex(), 2);
}

TEST_F(RadioGroupTest, TheWideItemsGoThroughAFormResource) {
    group->SetName("Choice");
    addItems({u"один", u"二", u"τρία"});
    group->SetItemIndex(1);
    const AnsiString text = WriteComponentText(group);
    TTntRadioGroup copy(nullptr);
    ReadComponentText(text, &copy);
    ASSERT_EQ(copy.Items()->Count(), 3) << text;
    EXPECT_EQ(copy.Items()->Text(), u"один\r\n二\r\nτρία\r\n");
    EXPECT_EQ(copy.ItemIndex(), 1);
    ASSERT_EQ(copy.ButtonCount(), 3);
    EXPECT_EQ(copy.Buttons(2)->Caption(), u"τρία");
    EXPECT_TRUE(copy.Buttons(1)->Checked());
}

TEST_F(RadioGroupTest, ButtonsFillTheFrameColumnByColumn) {
    addItems({u"один", u"два", u"три"});
    form->Show();
    const Integer text = textHeight();
    const Integer space = group->Height() - text - 5;
    for (Integer columns : {1, 2, 3}) {
        group->SetColumns(columns);
        const Integer perColumn = (3 + columns - 1) / columns;
        const Integer width = (group->Width() - 10) / columns;
        const Integer height = space / perColumn;
        const Integer top = text + 1 + (space % perColumn) / 2;
        for (Integer i = 0; i < 3; ++i) {
            TTntGroupButton* button = group->Buttons(i);
            EXPECT_EQ(button->Left(), (i / perColumn) * width + 8) << columns << " columns, button " << i;
            EXPECT_EQ(button->Top(), (i % perColumn) * height + top) << columns << " columns, button " << i;
            EXPECT_EQ(button->Width(), width);
            EXPECT_EQ(button->Height(), height);
            EXPECT_TRUE(button->Visible());
        }
    }
    EXPECT_EQ(group->Buttons(1)->Caption(), u"два");
}

class TGroupClicks : public TObject {
public:
    Integer clicks = 0;
    void Clicked(TObject*) { ++clicks; }
};

TEST_F(RadioGroupTest, ClickingAButtonPicksItsItem) {
    TGroupClicks log;
    group->OnClick = TNotifyEvent(&log, &TGroupClicks::Clicked);
    addItems({u"один", u"два"});
    form->Show();
    SendMessageW(group->Buttons(1)->Handle(), BM_CLICK, 0, 0);
    EXPECT_EQ(group->ItemIndex(), 1);
    EXPECT_GE(log.clicks, 1);
    group->SetItemIndex(0);
    EXPECT_FALSE(group->Buttons(1)->Checked());
    EXPECT_TRUE(group->Buttons(0)->Checked());
}

} // namespace
