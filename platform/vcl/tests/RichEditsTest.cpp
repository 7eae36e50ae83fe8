#include "VisualTestSupport.h"

#include "platform/vcl/Printers.h"
#include "platform/vcl/RichEdits.h"
#include "platform/win/CommCtrl.h"
#include "platform/win/Messages.h"

namespace {

using RichEditsTest = VisualTest;

// A form that does what the main window does with a link: select it and take its text.
class TLinkForm : public TForm {
public:
    using TForm::TForm;
    TRichEdit* info = nullptr;
    std::vector<AnsiString> opened;
    void WndProc(TMessage& Message) override {
        if (Message.Msg == WM_NOTIFY) {
            auto* link = reinterpret_cast<ENLINK*>(Message.LParam);
            if (link->nmhdr.code == EN_LINK && link->msg == WM_LBUTTONDOWN) {
                SendMessageA(info->Handle(), EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&link->chrg));
                opened.push_back(info->SelText());
            }
        }
        TForm::WndProc(Message);
    }
};

struct TSelectionLog : TObject {
    Integer changes = 0;
    void Changed(TObject*) { ++changes; }
};

TEST_F(RichEditsTest, AClickOnAnAddressReachesTheFormAsALink) {
    TLinkForm form(nullptr);
    form.SetBorderStyle(bsNone);
    form.SetBounds(10, 10, 300, 200);
    form.info = new TRichEdit(&form);
    form.info->SetParent(&form);
    form.info->SetBounds(5, 5, 280, 120);
    form.Show();
    Application->ProcessMessages();
    HWND window = form.info->Handle();
    const LRESULT mask = SendMessageA(window, EM_GETEVENTMASK, 0, 0);
    SendMessageA(window, EM_SETEVENTMASK, 0, mask | ENM_LINK);
    SendMessageA(window, EM_AUTOURLDETECT, TRUE, 0);
    form.info->SetText("-= Quorvane =-\r\nMarrowind, Inc.\r\nhttp://www.marrowind.example/\r\nVisit us!");
    Application->ProcessMessages();

    POINT start;
    SendMessageA(window, EM_POSFROMCHAR, reinterpret_cast<WPARAM>(&start), 35);
    backend.Click(window, {start.x + 3, start.y + 4});
    Application->ProcessMessages();
    EXPECT_EQ(form.opened, (std::vector<AnsiString>{"http://www.marrowind.example/"}));
    backend.Click(window, {3, 4});
    Application->ProcessMessages();
    EXPECT_EQ(form.opened.size(), 1u);
}

TEST_F(RichEditsTest, LinesSelectionAndRtfText) {
    auto form = plainForm();
    auto* edit = new TRichEdit(form.get());
    edit->SetParent(form.get());
    edit->SetBounds(5, 5, 280, 120);
    TSelectionLog log;
    edit->OnSelectionChange = TNotifyEvent(&log, &TSelectionLog::Changed);
    form->Show();
    Application->ProcessMessages();

    edit->Lines()->SetText("ab\r\ncd\r\n");
    EXPECT_EQ(edit->Lines()->Count(), 2);
    EXPECT_EQ(edit->Lines()->Strings(1), "cd");
    // The window counts the break as one character.
    edit->SetSelStart(3);
    edit->SetSelLength(1);
    EXPECT_EQ(edit->SelText(), "c");
    EXPECT_GT(log.changes, 0);
    EXPECT_EQ(edit->FindText("CD", 0, 5, TSearchTypes{}), 3);
    EXPECT_EQ(edit->FindText("CD", 0, 5, TSearchTypes{stMatchCase}), -1);

    edit->SetText("{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\f0\\b Bold\\b0  text\\par second}");
    EXPECT_EQ(edit->Text(), "Bold text\rsecond");
    const AnsiString rtf = edit->RichText();
    edit->SetText("");
    edit->SetRichText(rtf);
    EXPECT_EQ(edit->Text(), "Bold text\rsecond");
    edit->SetPlainText(true);
    EXPECT_EQ(edit->RichText(), "Bold text\r\nsecond");
}

} // namespace

namespace {

TEST_F(RichEditsTest, PrintingStopsWhenAPageTakesNothingMore) {
    auto form = plainForm();
    auto* edit = new TRichEdit(form.get());
    edit->SetParent(form.get());
    edit->SetBounds(5, 5, 280, 120);
    form->Show();
    Printer()->ClearDocuments();
    // The text length counts the break as two, the layout as one: the
    // second page finds nothing left.
    SendMessageA(edit->Handle(), WM_SETTEXT, 0, reinterpret_cast<LPARAM>("ab\r\ncd"));
    edit->Print("Two pages");
    const TPrintedDocument& document = Printer()->Documents().at(0);
    EXPECT_EQ(document.Title, "Two pages");
    EXPECT_EQ(document.Pages, 2);
    ASSERT_EQ(document.Ranges.size(), 1u);
    EXPECT_EQ(document.Ranges[0].Last, 5);
    EXPECT_FALSE(Printer()->Printing());
}

TEST_F(RichEditsTest, ThePrinterRefusesDocumentsOutOfTurn) {
    TPrinter printer;
    EXPECT_THROW(
        {
            try {
                printer.EndDoc();
            } catch (const EPrinter& error) {
                EXPECT_STREQ(error.what(), "Printer is not currently printing");
                throw;
            }
        },
        EPrinter);
    printer.BeginDoc();
    EXPECT_THROW(printer.BeginDoc(), EPrinter);
    printer.NewPage();
    EXPECT_EQ(printer.PageNumber(), 2);
    printer.Abort();
    EXPECT_TRUE(printer.Aborted());
    EXPECT_TRUE(printer.Documents().empty()) << "an aborted document is not kept";
    EXPECT_THROW(printer.RecordPrinted(0, 1), EPrinter);
}

} // namespace
