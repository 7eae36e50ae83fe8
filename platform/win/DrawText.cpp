// DrawText in steps: strip the prefixes, split into lines, wrap them at
// blanks, shorten them with an ellipsis, then place and draw each line.
#include "platform/win/DrawText.h"

#include "platform/win/AnsiText.h"
#include "platform/win/FontFace.h"
#include "platform/win/GdiObjects.h"
#include "platform/win/Painter.h"
#include "platform/win/TextOut.h"

#include <algorithm>
#include <vector>

namespace {

constexpr int defaultTabCharacters = 8;
constexpr UINT tabCharactersMask = 0xFF00;
constexpr int tabCharactersShift = 8;
constexpr WCHAR prefixMarker = u'&';
constexpr WCHAR blank = u' ';
constexpr WCHAR tab = u'\t';
constexpr WCHAR carriageReturn = u'\r';
constexpr WCHAR lineFeed = u'\n';
const WideString ellipsis = u"...";

// A character of the text and whether it carries the "&" underline.
struct Character {
    WCHAR code;
    bool underlined = false;
};
using Line = std::vector<Character>;

std::vector<Character> withoutPrefixes(const WideString& text, bool keepPrefixes) {
    std::vector<Character> characters;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (keepPrefixes || text[i] != prefixMarker) {
            characters.push_back({text[i]});
            continue;
        }
        if (++i >= text.size()) break;
        characters.push_back({text[i], text[i] != prefixMarker});
    }
    return characters;
}

std::vector<Line> hardLines(const std::vector<Character>& characters, bool singleLine) {
    std::vector<Line> lines(1);
    for (std::size_t i = 0; i < characters.size(); ++i) {
        WCHAR code = characters[i].code;
        if (singleLine || (code != carriageReturn && code != lineFeed)) {
            lines.back().push_back(characters[i]);
            continue;
        }
        if (code == carriageReturn && i + 1 < characters.size() && characters[i + 1].code == lineFeed) ++i;
        lines.emplace_back();
    }
    return lines;
}

class LineMeasure {
public:
    LineMeasure(FontFace& face, int characterExtra, bool expandTabs, int tabWidth)
        : face_(face), extra_(characterExtra), expandTabs_(expandTabs), tabWidth_(std::max(tabWidth, 1)) {}

    // The pen position after each character, from the start of the line.
    std::vector<int> Positions(const Line& line) const {
        std::vector<int> positions;
        int x = 0;
        for (const Character& character : line) {
            if (expandTabs_ && character.code == tab)
                x = (x / tabWidth_ + 1) * tabWidth_;
            else
                x += face_.Advance(character.code) + extra_;
            positions.push_back(x);
        }
        return positions;
    }
    int Width(const Line& line) const {
        auto positions = Positions(line);
        return positions.empty() ? 0 : positions.back();
    }

private:
    FontFace& face_;
    int extra_;
    bool expandTabs_;
    int tabWidth_;
};

bool isBlank(const Character& character) {
    return character.code == blank || character.code == tab;
}

Line trimmedEnd(Line line) {
    while (!line.empty() && isBlank(line.back()))
        line.pop_back();
    return line;
}

// Greedy wrapping at blanks; a word wider than the rectangle keeps a line of its own.
std::vector<Line> wrapped(const Line& line, const LineMeasure& measure, int maximumWidth) {
    std::vector<Line> lines;
    std::size_t start = 0;
    while (start < line.size()) {
        Line rest(line.begin() + static_cast<std::ptrdiff_t>(start), line.end());
        std::vector<int> positions = measure.Positions(rest);
        std::size_t fits = 0;
        while (fits < rest.size() && positions[fits] <= maximumWidth)
            ++fits;
        std::size_t end = rest.size();
        if (fits < rest.size()) {
            std::size_t breakAt = fits;
            while (breakAt > 0 && !isBlank(rest[breakAt]))
                --breakAt;
            if (breakAt == 0) {
                breakAt = std::max<std::size_t>(fits, 1);
                while (breakAt < rest.size() && !isBlank(rest[breakAt]))
                    ++breakAt;
            }
            end = breakAt;
        }
        lines.push_back(trimmedEnd(Line(rest.begin(), rest.begin() + static_cast<std::ptrdiff_t>(end))));
        start += end;
        while (start < line.size() && isBlank(line[start]))
            ++start;
    }
    if (lines.empty()) lines.emplace_back();
    return lines;
}

Line withEllipsis(const Line& line, const LineMeasure& measure, int maximumWidth) {
    if (measure.Width(line) <= maximumWidth) return line;
    Line dots;
    for (WCHAR code : ellipsis)
        dots.push_back({code});
    Line shortened = line;
    while (!shortened.empty()) {
        shortened.pop_back();
        Line candidate = shortened;
        candidate.insert(candidate.end(), dots.begin(), dots.end());
        if (measure.Width(candidate) <= maximumWidth) return candidate;
    }
    return dots;
}

struct TextBlock {
    std::vector<Line> lines;
    int lineHeight = 0;
    int widest = 0;
};

TextBlock layoutText(const WideString& text, UINT format, FontFace& face, const LineMeasure& measure,
                     int width) {
    TextBlock block;
    const TEXTMETRICW& metrics = face.Metrics();
    block.lineHeight = metrics.tmHeight + ((format & DT_EXTERNALLEADING) ? metrics.tmExternalLeading : 0);
    bool singleLine = format & DT_SINGLELINE;
    auto characters = withoutPrefixes(text, format & DT_NOPREFIX);
    for (const Line& line : hardLines(characters, singleLine)) {
        if ((format & DT_WORDBREAK) && !singleLine) {
            auto pieces = wrapped(line, measure, width);
            block.lines.insert(block.lines.end(), pieces.begin(), pieces.end());
        } else {
            block.lines.push_back(line);
        }
    }
    if (format & DT_END_ELLIPSIS) {
        // With word wrapping only the last line is shortened; the others are clipped.
        std::size_t first = (format & DT_WORDBREAK) ? block.lines.size() - 1 : 0;
        for (std::size_t i = first; i < block.lines.size(); ++i)
            block.lines[i] = withEllipsis(block.lines[i], measure, width);
    }
    for (const Line& line : block.lines)
        block.widest = std::max(block.widest, measure.Width(line));
    return block;
}

int firstLineTop(const RECT& rect, UINT format, const TextBlock& block) {
    if (!(format & DT_SINGLELINE)) return rect.Top;
    if (format & DT_VCENTER) return rect.Top + (rect.Bottom - rect.Top - block.lineHeight) / 2;
    if (format & DT_BOTTOM) return rect.Bottom - block.lineHeight;
    return rect.Top;
}

int lineLeft(const RECT& rect, UINT format, int lineWidth) {
    if (format & DT_CENTER) return rect.Left + (rect.Right - rect.Left - lineWidth) / 2;
    if (format & DT_RIGHT) return rect.Right - lineWidth;
    return rect.Left;
}

void drawUnderline(HDC dcHandle, int left, int baseline, int width) {
    DeviceContext* dc = LookupDC(dcHandle);
    const FaceLines& lines = FaceOfDC(*dc).Lines();
    Painter painter(*dc);
    TRect band{left, baseline + lines.underlineOffset, left + width,
               baseline + lines.underlineOffset + lines.underlineThickness};
    painter.FillRect(dc->ToDevice(band), Paint::Solid(ResolveColour(*dc, dc->state.textColor)),
                     RopTableOf(PATCOPY));
}

// Draws one line as runs between tabs, then its prefix underlines.
void drawLine(HDC dc, const Line& line, const LineMeasure& measure, int left, int top, int ascent,
              UINT format, const RECT& clip) {
    std::vector<int> positions = measure.Positions(line);
    UINT options = (format & DT_NOCLIP) ? 0 : ETO_CLIPPED;
    bool textShown = !(format & DT_PREFIXONLY);
    std::size_t runStart = 0;
    for (std::size_t i = 0; i <= line.size(); ++i) {
        bool runEnds = i == line.size() || line[i].code == tab;
        if (!runEnds) continue;
        if (textShown && i > runStart) {
            WideString run;
            for (std::size_t j = runStart; j < i; ++j)
                run.push_back(line[j].code);
            int runLeft = runStart == 0 ? 0 : positions[runStart - 1];
            ExtTextOutW(dc, left + runLeft, top, options, &clip, run.data(), static_cast<UINT>(run.size()),
                        nullptr);
        }
        runStart = i + 1;
    }
    if (format & DT_HIDEPREFIX) return;
    for (std::size_t i = 0; i < line.size(); ++i)
        if (line[i].underlined) {
            int start = i == 0 ? 0 : positions[i - 1];
            drawUnderline(dc, left + start, top + ascent, positions[i] - start);
        }
}

int drawText(HDC dcHandle, const WideString& text, LPRECT rect, UINT format) {
    GdiLock lock(GdiMutex());
    DeviceContext* dc = LookupDC(dcHandle);
    if (!dc || !rect) return 0;
    int tabCharacters = defaultTabCharacters;
    if (format & DT_TABSTOP) {
        tabCharacters = static_cast<int>((format & tabCharactersMask) >> tabCharactersShift);
        format &= ~tabCharactersMask;
    }
    if (text.empty()) {
        if (format & DT_CALCRECT) {
            rect->Right = rect->Left;
            rect->Bottom = rect->Top;
        }
        return 0;
    }
    FontFace& face = FaceOfDC(*dc);
    LineMeasure measure(face, dc->state.characterExtra, format & DT_EXPANDTABS,
                        tabCharacters * face.Metrics().tmAveCharWidth);
    TextBlock block = layoutText(text, format, face, measure, rect->Right - rect->Left);
    int height = block.lineHeight * static_cast<int>(block.lines.size());
    if (format & DT_CALCRECT) {
        rect->Right = rect->Left + block.widest;
        rect->Bottom = rect->Top + height;
        return height;
    }
    int top = firstLineTop(*rect, format, block);
    UINT savedAlign = dc->state.textAlign;
    dc->state.textAlign = TA_LEFT | TA_TOP;
    int y = top;
    for (const Line& line : block.lines) {
        drawLine(dcHandle, line, measure, lineLeft(*rect, format, measure.Width(line)), y,
                 face.Metrics().tmAscent, format, *rect);
        y += block.lineHeight;
    }
    dc->state.textAlign = savedAlign;
    bool offsetResult = (format & DT_SINGLELINE) && (format & (DT_VCENTER | DT_BOTTOM));
    return offsetResult ? top - rect->Top + height : height;
}

} // namespace

int DrawTextA(HDC dc, LPCSTR text, int count, LPRECT rect, UINT format) {
    if (!text) return 0;
    return drawText(dc, WideFromAnsi(text, count), rect, format);
}

int DrawTextW(HDC dc, LPCWSTR text, int count, LPRECT rect, UINT format) {
    if (!text) return 0;
    std::size_t length = 0;
    if (count < 0)
        while (text[length])
            ++length;
    else
        length = static_cast<std::size_t>(count);
    return drawText(dc, WideString(text, length), rect, format);
}
