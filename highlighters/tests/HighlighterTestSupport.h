// Scanning helpers shared by the highlighter tests: run a highlighter over a
// line or a text the way the editor does, and collect what it hands out.
#pragma once

#include "highlighters/SynEditHighlighter.h"

#include <cctype>
#include <ostream>
#include <string>
#include <vector>

struct Token {
    std::string Text;
    int Kind;
    friend bool operator==(const Token&, const Token&) = default;
    friend std::ostream& operator<<(std::ostream& out, const Token& token) {
        return out << "{\"" << token.Text << "\", " << token.Kind << "}";
    }
};

// The tokens of one line, scanned from Range, up to (not including) the
// end-of-line token; each token must lie inside the line.
inline std::vector<Token> scanLine(TSynCustomHighlighter& highlighter, const std::string& line,
                                   TSynRangeValue range) {
    highlighter.SetRange(range);
    highlighter.SetLine(line, 0);
    std::vector<Token> tokens;
    // A scanner that stops advancing would loop for ever: every line has an end.
    for (std::size_t guard = 0; !highlighter.GetEol() && guard <= line.size() + 1; ++guard) {
        const int position = highlighter.GetTokenPos();
        const std::string text = highlighter.GetToken();
        if (position < 0 || position + text.size() > line.size())
            tokens.push_back({"<outside the line>", -1});
        else
            tokens.push_back({text, highlighter.GetTokenKind()});
        highlighter.Next();
    }
    return tokens;
}

// The tokens of each line in turn, each line starting from the range the
// previous one ended in; the end ranges are stored in Ranges.
inline std::vector<std::vector<Token>> scanLines(TSynCustomHighlighter& highlighter,
                                                 const std::vector<std::string>& lines,
                                                 std::vector<TSynRangeValue>& ranges) {
    std::vector<std::vector<Token>> result;
    ranges.clear();
    highlighter.ResetRange();
    TSynRangeValue range = highlighter.GetRange();
    for (const std::string& line : lines) {
        result.push_back(scanLine(highlighter, line, range));
        range = highlighter.GetRange();
        ranges.push_back(range);
    }
    return result;
}

// Splits at CR LF, LF or CR, as the line buffer does.
inline std::vector<std::string> splitLines(const std::string& text) {
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

// Test listings name each case by its line, in characters that test names may hold.
inline std::string caseName(const std::string& line) {
    static const std::string kept = "<>/=&!.-+*%|(){}',:@~?^_";
    std::string name;
    for (char c : line)
        name += std::isalnum(static_cast<unsigned char>(c)) || kept.find(c) != std::string::npos ? c : '_';
    return name.empty() ? "(empty)" : name;
}
