// The wide status bar and panel: panel and simple texts that reach the
// Unicode window wide, with the framework's alignment tabs; owner-drawn
// panels untouched; a panel's wide caption.
#include "platform/vcl/tests/VisualTestSupport.h"

#include "platform/core/CodePages.h"
#include "platform/win/CommCtrl.h"
#include "platform/win/Messages.h"
#include "platform/win/Windows.h"
#include "unicode/TntComCtrls.h"
#include "unicode/TntExtCtrls.h"
#include "unicode/TntForms.h"
#include "unicode/TntStdActns.h"
#include "unicode/TntSystem.h"

namespace {

class StatusBarTest : public VisualTest {
protected:
    std::unique_ptr<TForm> form = plainForm(400, 200);
    TTntStatusBar* bar = child<TTntStatusBar>(form.get(), alBottom, {0, 0, 400, 20});

    WideString windowText(Integer Part) {
        WCHAR buffer[128] = {};
        SendMessageW(bar->Handle(), SB_GETTEXTW, static_cast<WPARAM>(Part), reinterpret_cast<LPARAM>(buffer));
        return buffer;
    }
    TTntStatusPanel* addPanel(Integer Width) {
        auto* panel = static_cast<TTntStatusPanel*>(bar->Panels()->Add());
        panel->SetWidth(Width);
        return panel;
    }
};

TEST_F(StatusBarTest, PanelTextsReachTheWindowWide) {
    for (Integer width : {50, 50, 200, 50})
        addPanel(width);
    form->Show();
    bar->GetPanels()->GetItem(2)->SetText(u"Подсказка 提示");
    EXPECT_EQ(windowText(2), u"Подсказка 提示");
    EXPECT_EQ(bar->GetPanels()->GetItem(2)->TStatusPanel::Text(), WideToAnsi(u"Подсказка 提示"));
    // The same ANSI form: still redrawn with the new text.
    bar->GetPanels()->GetItem(2)->SetText(u"Щщщщщщщщщ 字字");
    EXPECT_EQ(windowText(2), u"Щщщщщщщщщ 字字");
    TTntStatusPanel* right = bar->GetPanels()->GetItem(3);
    right->SetAlignment(taRightJustify);
    right->SetText(u"x");
    EXPECT_EQ(windowText(3), u"\t\tx");
    TTntStatusPanel* centred = bar->GetPanels()->GetItem(0);
    centred->SetAlignment(taCenter);
    centred->SetText(u"Ж");
    EXPECT_EQ(windowText(0), u"\tЖ");
    EXPECT_EQ(bar->GetPanels()->GetItem(2)->Width(), 200);
    EXPECT_THROW(bar->GetPanels()->GetItem(4), EListError);
}

TEST_F(StatusBarTest, SimpleTextAndABarWithoutPanels) {
    form->Show();
    EXPECT_EQ(windowText(0), u"");
    bar->SetSimplePanel(true);
    bar->SetSimpleText(u"Загрузка 載入");
    EXPECT_EQ(bar->SimpleText(), u"Загрузка 載入");
    EXPECT_EQ(windowText(SB_SIMPLEID), u"Загрузка 載入");
}

TEST_F(StatusBarTest, OwnerDrawnPanelsAreNotConverted) {
    TTntStatusPanel* panel = addPanel(100);
    panel->SetStyle(psOwnerDraw);
    form->Show();
    TMessage message{SB_SETTEXTA, SBT_OWNERDRAW, reinterpret_cast<LPARAM>(panel), 0};
    bar->WndProc(message);
    EXPECT_NE(message.Result, 0);
}

TEST_F(StatusBarTest, TheAnsiRoadKeepsTheFrameworksText) {
    addPanel(100);
    form->Show();
    Win32PlatformIsUnicode = false;
    bar->GetPanels()->GetItem(0)->SetText(u"Ж");
    Win32PlatformIsUnicode = true;
    EXPECT_EQ(bar->GetPanels()->GetItem(0)->TStatusPanel::Text(), "?");
}

TEST_F(VisualTest, APanelPaintsItsWideCaption) {
    auto form = plainForm();
    auto* panel = child<TTntPanel>(form.get(), alClient, {0, 0, 300, 200});
    panel->SetCaption(u"Заголовок");
    form->Show();
    Application->ProcessMessages();
    EXPECT_EQ(panel->Caption(), u"Заголовок");
    EXPECT_TRUE(IsWindowUnicode(panel->Handle()));
}

} // namespace

namespace {

class TPageLog : public TObject {
public:
    Integer changes = 0;
    bool allow = true;
    void Changed(TObject*) { ++changes; }
    void Changing(TObject*, bool& AllowChange) { AllowChange = allow; }
};

class PageControlTest : public VisualTest {
protected:
    std::unique_ptr<TForm> form = plainForm(400, 200);
    TTntPageControl* pages = child<TTntPageControl>(form.get(), alClient, {0, 0, 400, 200});
    TPageLog log;

    TTntTabSheet* addSheet(const WideString& Caption) {
        auto* sheet = new TTntTabSheet(form.get());
        sheet->SetCaption(Caption);
        sheet->SetPageControl(pages);
        return sheet;
    }
    WideString tabText(Integer Index) {
        WCHAR buffer[64] = {};
        TCITEMW item;
        item.mask = TCIF_TEXT;
        item.pszText = buffer;
        item.cchTextMax = 64;
        SendMessageW(pages->Handle(), TCM_GETITEMW, static_cast<WPARAM>(Index),
                     reinterpret_cast<LPARAM>(&item));
        return buffer;
    }
};

TEST_F(PageControlTest, TabsShowTheSheetsWideCaptions) {
    TTntTabSheet* early = addSheet(u"&Файл");
    addSheet(u"中文");
    form->Show();
    TTntTabSheet* late = addSheet(u"Ελληνικά");
    EXPECT_EQ(tabText(0), u"&Файл");
    EXPECT_EQ(tabText(1), u"中文");
    EXPECT_EQ(tabText(2), u"Ελληνικά");
    late->SetCaption(u"Ещё");
    EXPECT_EQ(tabText(2), u"Ещё");
    EXPECT_EQ(early->Caption(), u"&Файл");
}

TEST_F(PageControlTest, TheFrameworksRecordIsLeftAsItWas) {
    addSheet(u"Один");
    form->Show();
    char text[] = "x";
    TCITEMA item;
    item.mask = TCIF_TEXT;
    item.pszText = text;
    SendMessageA(pages->Handle(), TCM_SETITEMA, 0, reinterpret_cast<LPARAM>(&item));
    EXPECT_EQ(item.mask, TCIF_TEXT);
    EXPECT_EQ(item.pszText, text);
    EXPECT_EQ(tabText(0), u"Один");
}

TEST_F(PageControlTest, ActivePageIndexIsQuietAndAHotKeySwitchesUnlessRefused) {
    addSheet(u"&One Один");
    addSheet(u"&Two Два");
    TTntTabSheet* hidden = addSheet(u"T&hree Три");
    hidden->SetTabVisible(false);
    pages->OnChange = TNotifyEvent(&log, &TPageLog::Changed);
    pages->OnChanging = TTabChangingEvent(&log, &TPageLog::Changing);
    form->Show();
    pages->SetActivePageIndex(1);
    EXPECT_EQ(pages->ActivePageIndex(), 1);
    EXPECT_EQ(log.changes, 0);
    EXPECT_EQ(pages->Perform(CM_DIALOGCHAR, 'o', 0), 1);
    EXPECT_EQ(pages->ActivePageIndex(), 0);
    EXPECT_EQ(log.changes, 1);
    log.allow = false;
    EXPECT_EQ(pages->Perform(CM_DIALOGCHAR, 't', 0), 1);
    EXPECT_EQ(pages->ActivePageIndex(), 0);
    EXPECT_EQ(pages->Perform(CM_DIALOGCHAR, 'h', 0), 0);
    EXPECT_EQ(log.changes, 1);
}

// ---- Docking ----

TEST_F(PageControlTest, ADockedControlGetsASheetWhoseTabFollowsItsFirstLine) {
    addSheet(u"Один");
    form->Show();
    auto* client = new TTntPanel(form.get());
    TDragDockObject source(client);
    EXPECT_EQ(pages->Perform(CM_DOCKCLIENT, reinterpret_cast<WPARAM>(&source), 0), 0);
    ASSERT_EQ(pages->PageCount(), 2);
    auto* sheet = dynamic_cast<TTntTabSheet*>(pages->Pages(1));
    ASSERT_NE(sheet, nullptr);
    EXPECT_EQ(client->Parent(), sheet);
    EXPECT_EQ(client->Align(), alClient);
    EXPECT_EQ(pages->ActivePage(), sheet);
    EXPECT_EQ(client->HostDockSite(), pages);

    // The panel's window is Unicode: its notices carry UTF-16.
    TDockNotifyRec notice{WM_SETTEXT, 0, reinterpret_cast<LPARAM>(u"A\nB")};
    pages->Perform(CM_DOCKNOTIFICATION, reinterpret_cast<WPARAM>(client), reinterpret_cast<LPARAM>(&notice));
    EXPECT_EQ(sheet->Caption(), u"A");
    EXPECT_EQ(tabText(1), u"A");
    // The docked control's own caption change reaches the tab, wide.
    client->SetCaption(u"Щит\r\nвторая");
    EXPECT_EQ(tabText(1), u"Щит");
}

TEST_F(PageControlTest, AFormDocksUnderItsWideCaption) {
    form->Show();
    auto docked = std::make_unique<TTntForm>(nullptr);
    docked->SetCaption(u"Окно");
    TDragDockObject source(docked.get());
    pages->Perform(CM_DOCKCLIENT, reinterpret_cast<WPARAM>(&source), 0);
    ASSERT_EQ(pages->PageCount(), 1);
    EXPECT_EQ(static_cast<TTntTabSheet*>(pages->Pages(0))->Caption(), u"Окно");
    EXPECT_FALSE(pages->Pages(0)->TabVisible());
    docked.reset();
}

// ---- Tab control ----

class TabControlTest : public VisualTest {
protected:
    std::unique_ptr<TForm> form = plainForm(400, 200);
    TTntTabControl* tabs = child<TTntTabControl>(form.get(), alClient, {0, 0, 400, 200});
    WideString windowTab(Integer Index) {
        WCHAR buffer[64] = {};
        TCITEMW item;
        item.mask = TCIF_TEXT;
        item.pszText = buffer;
        item.cchTextMax = 64;
        SendMessageW(tabs->Handle(), TCM_GETITEMW, static_cast<WPARAM>(Index), reinterpret_cast<LPARAM>(&item));
        return buffer;
    }
};

TEST_F(TabControlTest, WideTabsAndTheIndexSurviveANewWindow) {
    form->Show();
    tabs->Tabs()->Add(u"&Файл");
    tabs->Tabs()->Add(u"中文");
    tabs->Tabs()->Insert(1, u"Ελληνικά");
    tabs->SetTabIndex(2);
    EXPECT_EQ(tabs->Tabs()->Strings(1), u"Ελληνικά");
    tabs->RecreateWnd();
    EXPECT_EQ(windowTab(0), u"&Файл");
    EXPECT_EQ(windowTab(1), u"Ελληνικά");
    EXPECT_EQ(windowTab(2), u"中文");
    EXPECT_EQ(tabs->TabIndex(), 2);
    tabs->Tabs()->Put(0, u"Ещё");
    EXPECT_EQ(tabs->Tabs()->Strings(0), u"Ещё");
    EXPECT_EQ(tabs->Tabs()->Count(), 3);
    EXPECT_THROW(tabs->Tabs()->Strings(5), EListError);
}

TEST_F(TabControlTest, AWideHotKeySelectsItsTab) {
    form->Show();
    tabs->Tabs()->Add(u"&Один");
    tabs->Tabs()->Add(u"&Два");
    tabs->SetTabIndex(0);
    EXPECT_EQ(tabs->Perform(CM_DIALOGCHAR, u'д', 0), 1);
    EXPECT_EQ(tabs->TabIndex(), 1);
    EXPECT_EQ(tabs->Perform(CM_DIALOGCHAR, u'x', 0), 0);
}

// ---- The status bar shows the wide hint ----

class THintLog : public TObject {
public:
    Integer hints = 0;
    void Hinted(TObject*) { ++hints; }
};

TEST_F(StatusBarTest, AutoHintShowsTheApplicationsWideHint) {
    addPanel(100);
    addPanel(100);
    bar->SetAutoHint(true);
    form->Show();
    TTntHintAction action(nullptr);
    action.SetHint(u"Подсказка");
    EXPECT_TRUE(bar->ExecuteAction(&action));
    EXPECT_EQ(bar->GetPanels()->GetItem(0)->Text(), u"Подсказка");
    EXPECT_EQ(windowText(0), u"Подсказка");

    TntApplication()->SetHint(u"Ещё подсказка");
    EXPECT_EQ(bar->GetPanels()->GetItem(0)->Text(), u"Ещё подсказка");

    THintLog log;
    bar->OnHint = TNotifyEvent(&log, &THintLog::Hinted);
    action.SetHint(u"Третья");
    EXPECT_FALSE(bar->ExecuteAction(&action));
    EXPECT_EQ(log.hints, 1);
    EXPECT_EQ(bar->GetPanels()->GetItem(0)->Text(), u"Ещё подсказка");
    bar->OnHint = nullptr;
    bar->SetSimplePanel(true);
    EXPECT_TRUE(bar->ExecuteAction(&action));
    EXPECT_EQ(bar->SimpleText(), u"Третья");
    TntApplication()->SetHint(u"");
}

} // namespace
