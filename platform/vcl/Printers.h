// The program's printer. No printer is attached on this platform: the
// stand-in takes each document as a printer would (a title, pages begun and
// ended, a canvas to draw on at the screen's resolution) and keeps, in place
// of paper, a record of every finished document and of the text ranges that
// the printing controls reported for each of its pages.
#pragma once

#include "platform/vcl/Pictures.h"

#include <memory>
#include <vector>

class EPrinter : public Exception {
public:
    using Exception::Exception;
};

// Characters First to Last (exclusive) of a control's text, put on page Page (from 1).
struct TPrintedRange {
    Integer Page = 0;
    Integer First = 0;
    Integer Last = 0;
};

struct TPrintedDocument {
    AnsiString Title;
    Integer Pages = 0;
    std::vector<TPrintedRange> Ranges;
};

class TPrinter : public TObject {
public:
    TPrinter();
    ~TPrinter() override;

    AnsiString Title() const { return title_; }
    void SetTitle(const AnsiString& Value) { title_ = Value; }
    // EPrinter "Printing in progress" when a document is already open.
    void BeginDoc();
    // EPrinter "Printer is not currently printing" without an open document.
    void EndDoc();
    void NewPage();
    // Drops the open document without recording it.
    void Abort();
    bool Printing() const { return printing_; }
    bool Aborted() const { return aborted_; }
    Integer PageNumber() const { return pageNumber_; }
    // A letter-sized page at the screen's 96 pixels per inch.
    Integer PageWidth() const;
    Integer PageHeight() const;
    // The current page; it is cleared by BeginDoc and NewPage.
    TCanvas* Canvas();

    // A printing control's note of the characters it put on the current page.
    void RecordPrinted(Integer First, Integer Last);
    const std::vector<TPrintedDocument>& Documents() const { return documents_; }
    void ClearDocuments() { documents_.clear(); }

private:
    void checkPrinting() const;
    void clearPage();

    AnsiString title_;
    bool printing_ = false;
    bool aborted_ = false;
    Integer pageNumber_ = 0;
    TPrintedDocument open_;
    std::vector<TPrintedDocument> documents_;
    std::unique_ptr<TBitmap> page_;
};

// The one printer of the program, made on first use.
TPrinter* Printer();
