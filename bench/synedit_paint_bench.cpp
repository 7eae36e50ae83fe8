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

// A borderless editor with line numbers and the highlighter, on a borderless form.
TSynEdit* highlightedEditorOn(TForm& Form, TSynJScriptSyn& Highlighter) {
    Form.SetBorderStyle(bsNone);
    auto* edit = new TSynEdit(&Form);
    edit->SetBorderStyle(bsNone);
    edit->SetParent(&Form);
    edit->Gutter()->SetShowLineNumbers(true);
    edit->SetHighlighter(&Highlighter);
    return edit;
}

// Sizes form and editor to show Columns x Rows cells beside the gutter, and shows them.
void showScreenOfCells(TForm& Form, TSynEdit& Edit) {
    const int width = Edit.GutterWidth() + 2 + Columns * Edit.CharWidth();
    const int height = Rows * Edit.LineHeight();
    Form.SetBounds(0, 0, width, height);
    Edit.SetBounds(0, 0, width, height);
    Form.Show();
}

void BM_FullRepaintHighlighted(benchmark::State& state) {
    InstallAsBackend(std::make_shared<HeadlessBackend>());
    auto form = std::make_unique<TForm>(nullptr);
    TSynJScriptSyn highlighter(nullptr);
    TSynEdit* edit = highlightedEditorOn(*form, highlighter);
    edit->Lines()->BeginUpdate();
    for (int repeat = 0; repeat < SourceRepeats; ++repeat)
        for (const char* line : SourceLines)
            edit->Lines()->Add(line);
    edit->Lines()->EndUpdate();
    showScreenOfCells(*form, *edit);
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
    TSynJScriptSyn highlighter(nullptr);
    TSynEdit* edit = highlightedEditorOn(*form, highlighter);
    const std::size_t size = static_cast<std::size_t>(state.range(0)) * 1024 * 1024;
    AnsiString text;
    text.reserve(size + 128);
    while (text.size() < size)
        for (const char* line : SourceLines)
            (text += line) += "\r\n";
    edit->SetText(text);
    text.clear();
    showScreenOfCells(*form, *edit);
    for (auto _ : state) {
        edit->Invalidate();
        edit->Update();
    }
    edit->SetHighlighter(nullptr);
}
BENCHMARK(BM_FirstScreenOfLargeBuffer)->Arg(1)->Arg(100)->Unit(benchmark::kMillisecond);

} // namespace
