// Speed of the editor control's painting: a full repaint of a window of 120
// by 50 cells showing highlighted JavaScript with line numbers, in the
// headless backend.
#include "editor/SynEdit.h"
#include "highlighters/SynHighlighterJScript.h"
#include "platform/backend/Backend.h"
#include "platform/backend/HeadlessBackend.h"
#include "platform/vcl/Forms.h"

#include <benchmark/benchmark.h>

#include <memory>

namespace {

constexpr int Columns = 120;
constexpr int Rows = 50;
constexpr int SourceRepeats = 40;

const char* const SourceLines[] = {
    "/* Shows the greeting in the status line and counts the visits. */",
    "function greet(name, times) {",
    "    var message = \"Hello, \" + name + \"!\"; // the text shown",
    "    for (var i = 0; i < times; i++) { window.status = message + ' ' + i; }",
    "    return message.length * 2 + 0x1F;",
    "}",
    "",
};

void BM_FullRepaintHighlighted(benchmark::State& state) {
    InstallAsBackend(std::make_shared<HeadlessBackend>());
    auto form = std::make_unique<TForm>(nullptr);
    form->SetBorderStyle(bsNone);
    TSynJScriptSyn highlighter(nullptr);
    auto* edit = new TSynEdit(form.get());
    edit->SetBorderStyle(bsNone);
    edit->SetParent(form.get());
    edit->Gutter()->SetShowLineNumbers(true);
    edit->SetHighlighter(&highlighter);
    edit->Lines()->BeginUpdate();
    for (int repeat = 0; repeat < SourceRepeats; ++repeat)
        for (const char* line : SourceLines)
            edit->Lines()->Add(line);
    edit->Lines()->EndUpdate();
    const int width = edit->GutterWidth() + 2 + Columns * edit->CharWidth();
    const int height = Rows * edit->LineHeight();
    form->SetBounds(0, 0, width, height);
    edit->SetBounds(0, 0, width, height);
    form->Show();
    edit->SetBlockBegin(BufferCoord(5, 3));
    edit->SetBlockEnd(BufferCoord(20, 9));
    for (auto _ : state) {
        edit->Invalidate();
        edit->Update();
    }
    edit->SetHighlighter(nullptr);
}
BENCHMARK(BM_FullRepaintHighlighted)->Unit(benchmark::kMillisecond);

// The first screen of a buffer of range(0) megabytes: painting it must cost
// the same for 1 MB as for 100 MB.
void BM_FirstScreenOfLargeBuffer(benchmark::State& state) {
    InstallAsBackend(std::make_shared<HeadlessBackend>());
    auto form = std::make_unique<TForm>(nullptr);
    form->SetBorderStyle(bsNone);
    TSynJScriptSyn highlighter(nullptr);
    auto* edit = new TSynEdit(form.get());
    edit->SetBorderStyle(bsNone);
    edit->SetParent(form.get());
    edit->Gutter()->SetShowLineNumbers(true);
    edit->SetHighlighter(&highlighter);
    const std::size_t size = static_cast<std::size_t>(state.range(0)) * 1024 * 1024;
    AnsiString text;
    text.reserve(size + 128);
    while (text.size() < size)
        for (const char* line : SourceLines)
            (text += line) += "\r\n";
    edit->SetText(text);
    text.clear();
    const int width = edit->GutterWidth() + 2 + Columns * edit->CharWidth();
    const int height = Rows * edit->LineHeight();
    form->SetBounds(0, 0, width, height);
    edit->SetBounds(0, 0, width, height);
    form->Show();
    for (auto _ : state) {
        edit->Invalidate();
        edit->Update();
    }
    edit->SetHighlighter(nullptr);
}
BENCHMARK(BM_FirstScreenOfLargeBuffer)->Arg(1)->Arg(100)->Unit(benchmark::kMillisecond);

} // namespace
