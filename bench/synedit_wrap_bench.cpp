// Speed of the editor control with word wrap on for texts made of one huge
// line: a 10 MB plain text, and a minified script of 1 MB (the size of the
// largest libraries shipped that way) under the JavaScript highlighter. Each
// step a user waits for is timed on its own, painting included: opening the
// text, scrolling to its end, typing one character there.
#include "editor/SynEdit.h"
#include "editor/SynEditKeyCmds.h"
#include "highlighters/SynHighlighterJScript.h"
#include "platform/backend/Backend.h"
#include "platform/backend/HeadlessBackend.h"
#include "platform/vcl/Forms.h"

#include <benchmark/benchmark.h>

#include <memory>

namespace {

constexpr std::size_t PlainTextSize = 10 * 1024 * 1024;
constexpr std::size_t ScriptSize = 1024 * 1024;
constexpr int WindowWidth = 800;
constexpr int WindowHeight = 600;

enum TextKind { PlainText, MinifiedScript };

AnsiString singleLine(TextKind Kind) {
    const AnsiString piece =
        Kind == PlainText ? AnsiString("lorem ipsum dolor sit amet consectetur adipiscing elit ")
                          : AnsiString("function f(a,b){var c=a+b*2;if(c>9){return \"s\"+c}/*x*/return c};");
    const std::size_t size = Kind == PlainText ? PlainTextSize : ScriptSize;
    AnsiString text;
    text.reserve(size + piece.size());
    while (text.size() < size)
        text += piece;
    return text;
}

// A shown editor with word wrap on, and the highlighter the kind of text asks for.
struct WrappedEditor {
    std::unique_ptr<TForm> form = std::make_unique<TForm>(nullptr);
    TSynJScriptSyn highlighter{nullptr};
    TSynEdit* edit = nullptr;

    explicit WrappedEditor(TextKind Kind) {
        form->SetBorderStyle(bsNone);
        form->SetBounds(0, 0, WindowWidth, WindowHeight);
        edit = new TSynEdit(form.get());
        edit->SetBorderStyle(bsNone);
        edit->SetBounds(0, 0, WindowWidth, WindowHeight);
        edit->SetParent(form.get());
        edit->Gutter()->SetShowLineNumbers(true);
        if (Kind == MinifiedScript) edit->SetHighlighter(&highlighter);
        edit->SetWordWrap(true);
        form->Show();
    }
    ~WrappedEditor() { edit->SetHighlighter(nullptr); }

    void open(const AnsiString& Text) {
        edit->SetText(Text);
        edit->Update();
    }
    void scrollToEnd() {
        edit->SetTopLine(edit->DisplayLineCount());
        edit->Update();
    }
    void typeAtEnd() {
        edit->ExecuteCommand(ecChar, 'x', nullptr);
        edit->Update();
    }
};

void installBackend() {
    static const bool installed = [] {
        InstallAsBackend(std::make_shared<HeadlessBackend>());
        return true;
    }();
    (void)installed;
}

void BM_WrapOpen(benchmark::State& state) {
    installBackend();
    const auto kind = static_cast<TextKind>(state.range(0));
    const AnsiString text = singleLine(kind);
    for (auto _ : state) {
        state.PauseTiming();
        auto editor = std::make_unique<WrappedEditor>(kind);
        state.ResumeTiming();
        editor->open(text);
        state.PauseTiming();
        editor.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_WrapOpen)->Arg(PlainText)->Arg(MinifiedScript)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_WrapScrollToEnd(benchmark::State& state) {
    installBackend();
    const auto kind = static_cast<TextKind>(state.range(0));
    WrappedEditor editor(kind);
    editor.open(singleLine(kind));
    for (auto _ : state) {
        state.PauseTiming();
        editor.edit->SetTopLine(1);
        editor.edit->Update();
        state.ResumeTiming();
        editor.scrollToEnd();
    }
}
BENCHMARK(BM_WrapScrollToEnd)
    ->Arg(PlainText)
    ->Arg(MinifiedScript)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(5);

void BM_WrapTypeAtEnd(benchmark::State& state) {
    installBackend();
    const auto kind = static_cast<TextKind>(state.range(0));
    WrappedEditor editor(kind);
    editor.open(singleLine(kind));
    editor.edit->ExecuteCommand(ecEditorBottom, '\0', nullptr);
    editor.scrollToEnd();
    for (auto _ : state)
        editor.typeAtEnd();
}
BENCHMARK(BM_WrapTypeAtEnd)
    ->Arg(PlainText)
    ->Arg(MinifiedScript)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(5);

} // namespace
