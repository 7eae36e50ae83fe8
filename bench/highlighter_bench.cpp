// Highlighting throughput of the JavaScript and HTML highlighters, token by
// token as the editor paints: each line is set with the range the previous
// one ended in, and every token's position, text and attribute are read.
// The texts are the demo library's pages and scripts, repeated to over 10 MB.
// The multi-language highlighter (pages with script blocks) is measured on
// those pages and on one long line full of script blocks, where its cost
// must stay linear: the page highlighter alone on the same line is the
// reference printed beside it.
#include "highlighters/SynHighlighterHtml.h"
#include "highlighters/SynHighlighterJScript.h"
#include "highlighters/tests/PageWithScripts.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
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

void highlightLines(benchmark::State& state, TSynCustomHighlighter& highlighter, const std::string& text) {
    const std::vector<std::string> lines = splitLines(text);
    for (auto _ : state) {
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
    const double bytes = static_cast<double>(text.size()) * static_cast<double>(state.iterations());
    state.SetBytesProcessed(static_cast<int64_t>(bytes));
    state.counters["MB/s"] = benchmark::Counter(bytes / BytesPerMegabyte, benchmark::Counter::kIsRate);
    state.counters["MB"] = static_cast<double>(text.size()) / BytesPerMegabyte;
}

void BM_JavaScript(benchmark::State& state) {
    static const std::string text = javaScriptText();
    TSynJScriptSyn highlighter(nullptr);
    highlightLines(state, highlighter, text);
}
BENCHMARK(BM_JavaScript)->Unit(benchmark::kMillisecond);

void BM_Html(benchmark::State& state) {
    static const std::string text = htmlText();
    TSynHTMLSyn highlighter(nullptr);
    highlightLines(state, highlighter, text);
}
BENCHMARK(BM_Html)->Unit(benchmark::kMillisecond);

void BM_PageWithScripts(benchmark::State& state) {
    static const std::string text = htmlText();
    PageWithScripts page;
    highlightLines(state, page.multi, text);
}
BENCHMARK(BM_PageWithScripts)->Unit(benchmark::kMillisecond);

// One line of the given number of megabytes, a script block every 400 bytes
// (10,000 blocks in 4 MB).
std::string longLineOfScripts(std::size_t megabytes) {
    const std::string block = "<p class=\"note\">Some text &amp; a <b>word</b> between the scripts of the "
                              "page, long enough to fill the block with markup.</p>"
                              "<script type=\"text/javascript\">var count = 0; function tick() { count++; "
                              "document.title = 'n=' + count; } setInterval(tick, 1000);</script>";
    std::string filler(400 - block.size() % 400, ' ');
    std::string line;
    while (line.size() < megabytes * 1000000)
        line += block + filler;
    return line;
}

void BM_LongLineWithScripts(benchmark::State& state) {
    const std::string line = longLineOfScripts(static_cast<std::size_t>(state.range(0)));
    PageWithScripts page;
    highlightLines(state, page.multi, line);
}
BENCHMARK(BM_LongLineWithScripts)->Arg(1)->Arg(2)->Arg(4)->Unit(benchmark::kMillisecond);

void BM_LongLineWithScriptsPageHighlighterAlone(benchmark::State& state) {
    const std::string line = longLineOfScripts(static_cast<std::size_t>(state.range(0)));
    TSynHTMLSyn html(nullptr);
    highlightLines(state, html, line);
}
BENCHMARK(BM_LongLineWithScriptsPageHighlighterAlone)->Arg(1)->Arg(2)->Arg(4)->Unit(benchmark::kMillisecond);

} // namespace
