// Highlighting throughput of the JavaScript and HTML highlighters, token by
// token as the editor paints: each line is set with the range the previous
// one ended in, and every token's position, text and attribute are read.
// The texts are the demo library's pages and scripts, repeated to over 10 MB.
// The multi-language highlighter (pages with script blocks) is measured on
// those pages and on single-line pages full of script blocks from 10 KB to
// 4 MB, where its cost must stay flat in the line's length. Beside each figure
// stands a plain tokenizer over the same lines (words, numbers, blanks and
// single other characters), the page highlighter alone on the long lines too.
#include "BesideBaseline.h"
#include "highlighters/SynHighlighterHtml.h"
#include "highlighters/SynHighlighterJScript.h"
#include "highlighters/tests/PageWithScripts.h"

#include <benchmark/benchmark.h>

#include <cctype>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <string_view>
#include <vector>

namespace {

constexpr std::size_t MinimumTextSize = 10 * 1024 * 1024;
constexpr double BytesPerMegabyte = 1e6;

// The quoted texts of the demo library's rows, in column order from Wizard on.
constexpr std::size_t QuotedColumns = 9;
constexpr std::size_t HeadColumn = 3;
constexpr std::size_t BodyTagColumn = 4;
constexpr std::size_t BodyColumn = 5;

struct Script {
    std::string Head;
    std::string BodyTag;
    std::string Body;
};

std::string readFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// One SQL string literal starting at the quote at position; doubled quotes stand for one.
std::string readQuoted(const std::string& sql, std::size_t& position) {
    std::string value;
    for (++position; position < sql.size(); ++position) {
        if (sql[position] != '\'') {
            value += sql[position];
        } else if (position + 1 < sql.size() && sql[position + 1] == '\'') {
            value += '\'';
            ++position;
        } else {
            ++position;
            break;
        }
    }
    return value;
}

std::vector<Script> demoScripts() {
    const std::string sql = readFile(std::filesystem::path(QUORVANE_FIXTURES_DIR) / "demo/demo.sql");
    std::vector<Script> scripts;
    for (std::size_t row = sql.find(") VALUES("); row != std::string::npos;
         row = sql.find(") VALUES(", row)) {
        std::vector<std::string> columns;
        std::size_t position = row + 1;
        while (columns.size() < QuotedColumns) {
            position = sql.find('\'', position);
            if (position == std::string::npos) break;
            columns.push_back(readQuoted(sql, position));
        }
        row = position;
        if (columns.size() == QuotedColumns)
            scripts.push_back({columns[HeadColumn], columns[BodyTagColumn], columns[BodyColumn]});
    }
    return scripts;
}

// The text between each "<script ...>" and "</script>".
std::string scriptBlocks(const std::string& html) {
    std::string code;
    for (std::size_t open = html.find("<script"); open != std::string::npos;
         open = html.find("<script", open)) {
        const std::size_t start = html.find('>', open);
        const std::size_t end = html.find("</script>", start);
        if (start == std::string::npos || end == std::string::npos) break;
        code += html.substr(start + 1, end - start - 1) + "\r\n";
        open = end;
    }
    return code;
}

std::string repeatedTo(const std::string& piece, std::size_t size) {
    std::string text;
    text.reserve(size + piece.size());
    while (text.size() < size)
        text += piece;
    return text;
}

std::string javaScriptText() {
    std::string code = TSynJScriptSyn(nullptr).GetSampleSource() + "\r\n";
    for (const Script& script : demoScripts())
        code += scriptBlocks(script.Head) + scriptBlocks(script.Body);
    return repeatedTo(code, MinimumTextSize);
}

std::string htmlText() {
    std::string pages = TSynHTMLSyn(nullptr).GetSampleSource() + "\r\n";
    for (const Script& script : demoScripts())
        pages += "<html>\r\n<head>\r\n" + script.Head + "\r\n</head>\r\n<body " + script.BodyTag + ">\r\n" +
                 script.Body + "\r\n</body>\r\n</html>\r\n";
    return repeatedTo(pages, MinimumTextSize);
}

std::vector<std::string> splitLines(const std::string& text) {
    std::vector<std::string> lines(1);
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' || text[i] == '\n') {
            if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
            lines.emplace_back();
        } else {
            lines.back() += text[i];
        }
    }
    return lines;
}

void highlight(TSynCustomHighlighter& highlighter, const std::vector<std::string>& lines) {
    highlighter.ResetRange();
    TSynRangeValue range = highlighter.GetRange();
    for (const std::string& line : lines) {
        highlighter.SetRange(range);
        highlighter.SetLine(line, 0);
        while (!highlighter.GetEol()) {
            benchmark::DoNotOptimize(highlighter.GetTokenPos());
            benchmark::DoNotOptimize(highlighter.GetToken());
            benchmark::DoNotOptimize(highlighter.GetTokenAttribute());
            highlighter.Next();
        }
        range = highlighter.GetRange();
    }
    benchmark::DoNotOptimize(range);
}

bool isWordCharacter(char c) {
    return std::isalnum(static_cast<unsigned char>(c)) != 0 || c == '_';
}

// The baseline: each line cut into runs of word characters, runs of blanks
// and single other characters, every token handed out as its own string.
void tokenize(const std::vector<std::string>& lines) {
    for (const std::string& line : lines) {
        for (std::size_t start = 0; start < line.size();) {
            std::size_t end = start + 1;
            if (isWordCharacter(line[start]))
                while (end < line.size() && isWordCharacter(line[end]))
                    ++end;
            else if (line[start] == ' ' || line[start] == '\t')
                while (end < line.size() && line[end] == line[start])
                    ++end;
            benchmark::DoNotOptimize(start);
            benchmark::DoNotOptimize(line.substr(start, end - start));
            start = end;
        }
    }
}

void countBytes(benchmark::State& state, const std::string& text) {
    const double bytes = static_cast<double>(text.size()) * static_cast<double>(state.iterations());
    state.SetBytesProcessed(static_cast<int64_t>(bytes));
    state.counters["MB/s"] = benchmark::Counter(bytes / BytesPerMegabyte, benchmark::Counter::kIsRate);
    state.counters["MB"] = static_cast<double>(text.size()) / BytesPerMegabyte;
}

// The highlighter over the text's lines, beside the plain tokenizer.
void highlightLines(benchmark::State& state, TSynCustomHighlighter& highlighter, const std::string& text) {
    const std::vector<std::string> lines = splitLines(text);
    BesideBaseline beside(state);
    for (auto _ : state)
        beside.iteration([&] { highlight(highlighter, lines); }, [&] { tokenize(lines); });
    countBytes(state, text);
}

void BM_JavaScript(benchmark::State& state) {
    static const std::string text = javaScriptText();
    TSynJScriptSyn highlighter(nullptr);
    highlightLines(state, highlighter, text);
}
BENCHMARK(BM_JavaScript)->UseManualTime()->Unit(benchmark::kMillisecond);

void BM_Html(benchmark::State& state) {
    static const std::string text = htmlText();
    TSynHTMLSyn highlighter(nullptr);
    highlightLines(state, highlighter, text);
}
BENCHMARK(BM_Html)->UseManualTime()->Unit(benchmark::kMillisecond);

void BM_PageWithScripts(benchmark::State& state) {
    static const std::string text = htmlText();
    PageWithScripts page;
    highlightLines(state, page.multi, text);
}
BENCHMARK(BM_PageWithScripts)->UseManualTime()->Unit(benchmark::kMillisecond);

// A page of about 2 MB, the size of a large page a user edits.
void BM_PageWithScripts2MB(benchmark::State& state) {
    static const std::string text = htmlText().substr(0, 2'000'000);
    PageWithScripts page;
    highlightLines(state, page.multi, text);
}
BENCHMARK(BM_PageWithScripts2MB)->UseManualTime()->Unit(benchmark::kMillisecond);

// One line of the given number of kilobytes, a script block every 400 bytes
// (10,000 blocks in 4 MB).
std::string longLineOfScripts(std::size_t kilobytes) {
    const std::string block = "<p class=\"note\">Some text &amp; a <b>word</b> between the scripts of the "
                              "page, long enough to fill the block with markup.</p>"
                              "<script type=\"text/javascript\">var count = 0; function tick() { count++; "
                              "document.title = 'n=' + count; } setInterval(tick, 1000);</script>";
    std::string filler(400 - block.size() % 400, ' ');
    std::string line;
    while (line.size() < kilobytes * 1000)
        line += block + filler;
    return line;
}

// The argument is the line's length in kilobytes; MB/s stays flat when the
// cost is linear in it.
// Lines of 10 to 4000 scripts, timed by the benchmark itself.
void scriptsOnOneLine(benchmark::internal::Benchmark* family) {
    for (const int scripts : {10, 100, 1000, 4000})
        family->Arg(scripts);
    family->UseManualTime()->Unit(benchmark::kMillisecond);
}

void BM_LongLineWithScripts(benchmark::State& state) {
    const std::string line = longLineOfScripts(static_cast<std::size_t>(state.range(0)));
    PageWithScripts page;
    highlightLines(state, page.multi, line);
}
BENCHMARK(BM_LongLineWithScripts)->Apply(scriptsOnOneLine);

void BM_LongLineWithScriptsPageHighlighterAlone(benchmark::State& state) {
    const std::string line = longLineOfScripts(static_cast<std::size_t>(state.range(0)));
    TSynHTMLSyn html(nullptr);
    highlightLines(state, html, line);
}
BENCHMARK(BM_LongLineWithScriptsPageHighlighterAlone)->Apply(scriptsOnOneLine);

} // namespace
