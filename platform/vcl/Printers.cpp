// The stand-in printer: pages on a bitmap, documents kept as a record.
#include "platform/vcl/Printers.h"

#include "platform/vcl/Graphics.h"

namespace {

constexpr const char* SPrinting = "Printing in progress";
constexpr const char* SNotPrinting = "Printer is not currently printing";
constexpr Integer LetterWidth = 816;
constexpr Integer LetterHeight = 1056;

} // namespace

TPrinter::TPrinter() : page_(std::make_unique<TBitmap>()) {
    page_->SetSize(LetterWidth, LetterHeight);
}

TPrinter::~TPrinter() = default;

Integer TPrinter::PageWidth() const {
    return LetterWidth;
}

Integer TPrinter::PageHeight() const {
    return LetterHeight;
}

TCanvas* TPrinter::Canvas() {
    return page_->Canvas();
}

void TPrinter::checkPrinting() const {
    if (!printing_) throw EPrinter(SNotPrinting);
}

void TPrinter::clearPage() {
    TCanvas* canvas = page_->Canvas();
    canvas->Brush()->SetColor(clWhite);
    canvas->FillRect(Rect(0, 0, LetterWidth, LetterHeight));
}

void TPrinter::BeginDoc() {
    if (printing_) throw EPrinter(SPrinting);
    printing_ = true;
    aborted_ = false;
    pageNumber_ = 1;
    open_ = TPrintedDocument{title_, 1, {}};
    clearPage();
}

void TPrinter::EndDoc() {
    checkPrinting();
    printing_ = false;
    open_.Pages = pageNumber_;
    documents_.push_back(std::move(open_));
    open_ = {};
    pageNumber_ = 0;
}

void TPrinter::NewPage() {
    checkPrinting();
    ++pageNumber_;
    clearPage();
}

void TPrinter::Abort() {
    checkPrinting();
    printing_ = false;
    aborted_ = true;
    open_ = {};
    pageNumber_ = 0;
}

void TPrinter::RecordPrinted(Integer First, Integer Last) {
    checkPrinting();
    open_.Ranges.push_back({pageNumber_, First, Last});
}

TPrinter* Printer() {
    static TPrinter printer;
    return &printer;
}
