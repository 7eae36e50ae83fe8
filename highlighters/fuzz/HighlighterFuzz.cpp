// libFuzzer target for the highlighters: the input's first byte picks the
// JavaScript, the page or the multi-language highlighter (a page with script
// blocks), the rest is a text scanned line by line, each line from the range
// the one before ended in. Every line must end, its tokens contiguous and
// inside the line.
#include "highlighters/SynHighlighterHtml.h"
#include "highlighters/SynHighlighterJScript.h"
#include "highlighters/SynHighlighterMulti.h"
#include "tests/FuzzCheck.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace {

std::vector<std::string> linesOf(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t end; (end = text.find('\n', start)) != std::string::npos; start = end + 1)
        lines.push_back(text.substr(start, end - start));
    lines.push_back(text.substr(start));
    return lines;
}

// The page scanner may hand out one empty token before an entity, so a line
// has at most two tokens per character, and one more at its end.
void scanLine(TSynCustomHighlighter& highlighter, const std::string& line, Integer number) {
    highlighter.SetLine(line, number);
    const std::size_t tokenLimit = 2 * line.size() + 2;
    std::size_t covered = 0;
    for (std::size_t tokens = 0; !highlighter.GetEol(); ++tokens) {
        fuzzCheck(tokens <= tokenLimit, "every line ends");
        const std::string token = highlighter.GetToken();
        fuzzCheck(highlighter.GetTokenPos() == static_cast<Integer>(covered), "tokens are contiguous");
        covered += token.size();
        fuzzCheck(covered <= line.size(), "tokens stay inside the line");
        fuzzCheck(line.compare(covered - token.size(), token.size(), token) == 0, "a token is its text");
        highlighter.Next();
    }
}

void scanText(TSynCustomHighlighter& highlighter, const std::string& text) {
    highlighter.ResetRange();
    Integer number = 0;
    for (const std::string& line : linesOf(text)) {
        const TSynRangeValue range = highlighter.GetRange();
        highlighter.SetRange(range);
        scanLine(highlighter, line, number++);
    }
}

struct Highlighters {
    Highlighters() {
        multi.SetDefaultHighlighter(&html);
        auto* scheme = static_cast<TScheme*>(multi.Schemes()->Add());
        scheme->SetCaseSensitive(false);
        scheme->SetStartExpr("<script[^>]*>");
        scheme->SetEndExpr("</script>");
        scheme->SetHighlighter(&js);
    }
    TSynJScriptSyn js{nullptr};
    TSynHTMLSyn html{nullptr};
    TSynMultiSyn multi{nullptr};
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* Data, std::size_t Size) {
    if (Size == 0) return 0;
    static Highlighters highlighters;
    TSynCustomHighlighter* const choices[] = {&highlighters.js, &highlighters.html, &highlighters.multi};
    TSynCustomHighlighter* chosen = choices[Data[0] % 3];
    scanText(*chosen, std::string(reinterpret_cast<const char*>(Data) + 1, Size - 1));
    return 0;
}
