// libFuzzer target for the highlighters: the input is a text that the
// JavaScript, the page and the multi-language highlighter (a page with script
// blocks) each scan line by line, each line from the range the one before
// ended in. Every line must end, its tokens contiguous and inside the line.
#include "highlighters/tests/PageWithScripts.h"
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

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* Data, std::size_t Size) {
    static PageWithScripts highlighters;
    const std::string text(reinterpret_cast<const char*>(Data), Size);
    for (TSynCustomHighlighter* highlighter :
         {static_cast<TSynCustomHighlighter*>(&highlighters.js), static_cast<TSynCustomHighlighter*>(&highlighters.html),
          static_cast<TSynCustomHighlighter*>(&highlighters.multi)})
        scanText(*highlighter, text);
    return 0;
}
