// Whatever the text, scanning it whole and scanning it line by line from the
// stored end ranges must colour every character alike: the range is the only
// state a highlighter may carry from one line to the next.
#include "highlighters/SynHighlighterHtml.h"
#include "highlighters/SynHighlighterJScript.h"

#include "highlighters/tests/HighlighterTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <memory>
#include <sstream>

namespace {

struct Sample {
    std::string Name;
    std::string Text;
};

std::string readFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::vector<Sample> samples() {
    std::vector<Sample> result;
    const std::filesystem::path folder =
        std::filesystem::path(QUORVANE_SOURCE_DIR) / "highlighters/tests/samples";
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        if (entry.path().filename().string()[0] != '.')
            result.push_back({entry.path().filename().string(), readFile(entry.path())});
    // The demo library's source: every script of the program, HTML with embedded scripts.
    const std::filesystem::path demo = std::filesystem::path(QUORVANE_FIXTURES_DIR) / "demo/demo.sql";
    if (std::filesystem::exists(demo)) result.push_back({"demo.sql", readFile(demo)});
    result.push_back({"JavaScript sample", TSynJScriptSyn(nullptr).GetSampleSource()});
    result.push_back({"HTML sample", TSynHTMLSyn(nullptr).GetSampleSource()});
    std::sort(result.begin(), result.end(), [](const Sample& a, const Sample& b) { return a.Name < b.Name; });
    return result;
}

std::string withCrLf(const std::string& text) {
    std::string result;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\n' && (i == 0 || text[i - 1] != '\r')) result += '\r';
        result += text[i];
    }
    return result;
}

bool isLineBreak(char c) {
    return c == '\r' || c == '\n';
}

// Tokens of the whole text without its line breaks: a break is a token of its
// own or the edge of one, so what is left lines up with the line-by-line scan.
std::vector<Token> withoutLineBreaks(const std::vector<Token>& tokens) {
    std::vector<Token> result;
    for (const Token& token : tokens) {
        std::string text;
        std::copy_if(token.Text.begin(), token.Text.end(), std::back_inserter(text),
                     [](char c) { return !isLineBreak(c); });
        if (text.empty() && !token.Text.empty()) continue;
        result.push_back({text, token.Kind});
    }
    return result;
}

void checkOneText(TSynCustomHighlighter& highlighter, const std::string& text) {
    const std::vector<std::string> lines = splitLines(text);
    std::vector<TSynRangeValue> ranges;
    const std::vector<std::vector<Token>> forward = scanLines(highlighter, lines, ranges);

    // Backwards, each line from its stored start range only.
    highlighter.ResetRange();
    const TSynRangeValue firstRange = highlighter.GetRange();
    for (std::size_t i = lines.size(); i-- > 0;) {
        const TSynRangeValue start = i == 0 ? firstRange : ranges[i - 1];
        ASSERT_EQ(scanLine(highlighter, lines[i], start), forward[i]) << "line " << i + 1;
        ASSERT_EQ(highlighter.GetRange(), ranges[i]) << "line " << i + 1;
    }

    std::vector<Token> byLine;
    for (const auto& line : forward)
        byLine.insert(byLine.end(), line.begin(), line.end());
    const std::vector<Token> whole = scanLine(highlighter, text, firstRange);
    EXPECT_EQ(withoutLineBreaks(whole), byLine);
    EXPECT_EQ(highlighter.GetRange(), ranges.back());
}

TEST(HighlighterProperty, WholeTextAndLineByLineGiveTheSameTokens) {
    const std::vector<Sample> all = samples();
    ASSERT_GE(all.size(), 6u);
    const std::function<std::unique_ptr<TSynCustomHighlighter>()> makers[] = {
        [] { return std::make_unique<TSynJScriptSyn>(nullptr); },
        [] { return std::make_unique<TSynHTMLSyn>(nullptr); },
    };
    for (const Sample& sample : all) {
        for (const auto& make : makers) {
            auto highlighter = make();
            SCOPED_TRACE(sample.Name + " with " + highlighter->GetLanguageNameProp());
            checkOneText(*highlighter, sample.Text);
            SCOPED_TRACE("after LF became CR LF");
            checkOneText(*highlighter, withCrLf(sample.Text));
        }
    }
}

} // namespace
