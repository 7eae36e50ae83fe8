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
    edit->SetSelection(BufferCoord(5, 3), BufferCoord(20, 9));
    for (auto _ : state) {
        edit->Invalidate();
        edit->Update();
    }
    edit->SetHighlighter(nullptr);
}
BENCHMARK(BM_FullRepaintHighlighted)->Unit(benchmark::kMillisecond);

} // namespace
