// The hint-only common controls and the date controls of the layer: their
// Unicode windows of the system classes, the picker's first click and the
// calendar's bold days right after the window is made.
#include "platform/vcl/tests/VisualTestSupport.h"

#include "platform/core/CodePages.h"
#include "platform/win/Messages.h"
#include "platform/win/PixelSurface.h"
#include "platform/win/Windows.h"
#include "unicode/TntExtComCtrls.h"

#include <functional>
#include <vector>

namespace {

class ExtComCtrlsTest : public VisualTest {
protected:
    std::unique_ptr<TForm> form = plainForm(300, 260);
};

TEST_F(ExtComCtrlsTest, EachControlMakesAUnicodeWindowOfItsSystemClassAndKeepsAWideHint) {
    struct Case {
        std::function<TWinControl*(TWinControl*)> make;
        WideString className; // the system class the layer's own window class is made from
    };
    const Case cases[] = {
        {[](TWinControl* p) { return child<TTntTrackBar>(p, alNone, {0, 0, 100, 30}); }, u"msctls_trackbar32"},
        {[](TWinControl* p) { return child<TTntProgressBar>(p, alNone, {0, 0, 100, 20}); }, u"msctls_progress32"},
        {[](TWinControl* p) { return child<TTntUpDown>(p, alNone, {0, 0, 16, 24}); }, u"msctls_updown32"},
        {[](TWinControl* p) { return child<TTntPageScroller>(p, alNone, {0, 0, 100, 30}); }, u"SysPager"},
        {[](TWinControl* p) { return child<TTntDateTimePicker>(p, alNone, {0, 0, 150, 24}); },
         u"SysDateTimePick32"},
        {[](TWinControl* p) { return child<TTntMonthCalendar>(p, alNone, {0, 0, 200, 180}); }, u"SysMonthCal32"},
    };
    form->Show();
    for (const Case& item : cases) {
        TWinControl* control = item.make(form.get());
        EXPECT_TRUE(IsWindowUnicode(control->Handle())) << UTF8Encode(item.className);
        EXPECT_EQ(SendMessageW(control->Handle(), CCM_GETUNICODEFORMAT, 0, 0), TRUE) << UTF8Encode(item.className);
        TntControl_SetHint(control, u"подсказка 提示");
        EXPECT_EQ(TntControl_GetHint(control), u"подсказка 提示");
    }
}

class TCheckLog : public TObject {
public:
    std::vector<bool> reported;
    TDateTimePicker* picker = nullptr;
    void Changed(TObject*) { reported.push_back(picker->Checked()); }
};

TEST_F(ExtComCtrlsTest, ThePickersFirstClickReportsTheCheckBoxState) {
    auto* picker = child<TTntDateTimePicker>(form.get(), alNone, {10, 10, 200, 24});
    picker->SetShowCheckbox(true);
    TCheckLog log;
    log.picker = picker;
    picker->OnChange = TNotifyEvent(&log, &TCheckLog::Changed);
    form->Show();
    // The window loses its date behind the framework's back.
    SendMessageW(picker->Handle(), DTM_SETSYSTEMTIME, GDT_NONE, 0);
    ASSERT_TRUE(picker->Checked());
    const POINT onTheText{100, 12};
    backend.Click(picker->Handle(), onTheText);
    Application->ProcessMessages();
    EXPECT_FALSE(picker->Checked());
    EXPECT_EQ(log.reported, std::vector<bool>{false});
    backend.Click(picker->Handle(), onTheText);
    Application->ProcessMessages();
    EXPECT_EQ(log.reported.size(), 1u) << "only the first click is repaired";
    backend.Click(picker->Handle(), {8, 12});
    Application->ProcessMessages();
    EXPECT_TRUE(picker->Checked()) << "the check box itself still reports";
    picker->SetChecked(false);
    picker->SetDateMode(dmUpDown);
    EXPECT_FALSE(picker->Checked()) << "kept when the window is made again";
    SYSTEMTIME time;
    EXPECT_EQ(SendMessageW(picker->Handle(), DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&time)), GDT_NONE);
}

class TBoldLog : public TObject {
public:
    std::vector<LongWord> months;
    LongWord bold = 0;
    void MonthInfo(TObject*, LongWord Month, LongWord& Bold) {
        months.push_back(Month);
        Bold = bold;
    }
};

TEST_F(ExtComCtrlsTest, TheCalendarShowsBoldDaysAsSoonAsItsWindowExists) {
    TBoldLog plainLog;
    TBoldLog boldLog;
    boldLog.bold = 0x7FFFFFFF;
    auto* plain = child<TTntMonthCalendar>(form.get(), alNone, {0, 0, 260, 220});
    plain->OnGetMonthInfo = TOnGetMonthInfoEvent(&plainLog, &TBoldLog::MonthInfo);
    form->Show();
    Application->ProcessMessages();
    const int plainDark = DarkPixels(plain->Handle());
    auto* bold = new TTntMonthCalendar(form.get());
    bold->OnGetMonthInfo = TOnGetMonthInfoEvent(&boldLog, &TBoldLog::MonthInfo);
    bold->SetBounds(0, 0, 260, 220);
    bold->SetParent(form.get());
    bold->HandleNeeded();
    Application->ProcessMessages();
    ASSERT_GE(boldLog.months.size(), 3u);
    EXPECT_GT(DarkPixels(bold->Handle()), plainDark);
    bold->SetDate(46367.75);
    EXPECT_EQ(bold->Date(), 46367.0);
}

} // namespace
