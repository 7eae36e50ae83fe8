#include "highlighters/SynHighlighterMulti.h"

#include "highlighters/SynHighlighterHtml.h"
#include "highlighters/SynHighlighterJScript.h"
#include "highlighters/tests/HighlighterTestSupport.h"
#include "highlighters/tests/PageWithScripts.h"

#include "platform/vcl/Filers.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <memory>

namespace {

// A stretch of a line and the highlighter that coloured it: the label of the
// highlighter owning the token's attribute, "marker" or "-" for none.
struct Piece {
    std::string Text;
    std::string From;
    friend bool operator==(const Piece&, const Piece&) = default;
    friend std::ostream& operator<<(std::ostream& out, const Piece& piece) {
        return out << piece.From << " \"" << piece.Text << "\"";
    }
};
using Pieces = std::vector<Piece>;
using Labels = std::vector<std::pair<const TSynCustomHighlighter*, std::string>>;

std::string labelOf(const TSynMultiSyn& multi, const TSynHighlighterAttributes* attribute,
                    const Labels& labels) {
    if (!attribute) return "-";
    for (Integer i = 0; i < multi.Schemes()->Count(); ++i)
        if (auto* scheme = dynamic_cast<TScheme*>(multi.Schemes()->Items(i)))
            if (scheme->MarkerAttri() == attribute) return "marker";
    for (const auto& [highlighter, label] : labels)
        for (Integer i = 0; i < highlighter->GetAttribCount(); ++i)
            if (highlighter->GetAttribute(i) == attribute) return label;
    return "?";
}

// Tokens of the line set last, neighbours from the same highlighter joined.
Pieces runsOfCurrentLine(TSynMultiSyn& multi, const std::string& line, const Labels& labels) {
    Pieces runs;
    for (std::size_t guard = 0; !multi.GetEol() && guard <= line.size() + 1; ++guard) {
        const std::string from = labelOf(multi, multi.GetTokenAttribute(), labels);
        const std::string text = multi.GetToken();
        EXPECT_EQ(line.compare(static_cast<std::size_t>(multi.GetTokenPos()), text.size(), text), 0)
            << text << " is not at " << multi.GetTokenPos();
        if (!runs.empty() && runs.back().From == from && from != "marker")
            runs.back().Text += text;
        else
            runs.push_back({text, from});
        multi.Next();
    }
    return runs;
}

// Each line from the range the previous one ended in, the first from the start.
std::vector<Pieces> runsOfLines(TSynMultiSyn& multi, const std::vector<std::string>& lines,
                                const Labels& labels) {
    std::vector<Pieces> result;
    multi.ResetRange();
    TSynRangeValue range = multi.GetRange();
    for (const std::string& line : lines) {
        multi.SetRange(range);
        multi.SetLine(line, 0);
        result.push_back(runsOfCurrentLine(multi, line, labels));
        range = multi.GetRange();
    }
    return result;
}

Pieces runsOf(TSynMultiSyn& multi, const std::string& line, const Labels& labels) {
    return runsOfLines(multi, {line}, labels).front();
}

TScheme* addScheme(TSynMultiSyn& multi, const AnsiString& start, const AnsiString& end,
                   TSynCustomHighlighter* highlighter, bool caseSensitive = true) {
    auto* scheme = static_cast<TScheme*>(multi.Schemes()->Add());
    scheme->SetCaseSensitive(caseSensitive);
    scheme->SetStartExpr(start);
    scheme->SetEndExpr(end);
    scheme->SetHighlighter(highlighter);
    return scheme;
}

// Stands for an editor hooked to a highlighter.
struct Editor : TObject {
    void AttrChanged(TObject* sender) { senders.push_back(sender); }
    TNotifyEvent handler() { return TNotifyEvent(this, &Editor::AttrChanged); }
    std::vector<TObject*> senders;
};

// HTML with JavaScript in script blocks, the markers as a user sets them up.
struct Page : PageWithScripts {
    std::vector<Pieces> runs(const std::vector<std::string>& lines) {
        return runsOfLines(multi, lines, {{&html, "html"}, {&js, "js"}});
    }
};

// The five-token case: a default character, "<?", one embedded character, "?>".
struct Tags {
    Tags() {
        multi.SetDefaultHighlighter(&html);
        tag = addScheme(multi, "<\\?", "\\?>", &js);
    }
    std::vector<Pieces> runs(const std::vector<std::string>& lines) {
        return runsOfLines(multi, lines, {{&html, "html"}, {&js, "js"}});
    }

    TSynHTMLSyn html{nullptr};
    TSynJScriptSyn js{nullptr};
    TSynMultiSyn multi{nullptr};
    TScheme* tag = nullptr;
};

// ---- Switching between languages ---------------------------------------------------

TEST(MultiHighlighter, HtmlPageSwitchesToJavaScriptBetweenScriptMarkers) {
    Page page;
    const std::vector<std::string> lines = {
        "<p>Hello</p><SCRIPT type=\"text/javascript\">var a = 1;",
        "if (a < 2) a++; // </b>",
        "</Script><b>bold</b>",
        "<script src=\"x.js\"></script><i>",
        "var x;",
    };
    const std::vector<Pieces> expected = {
        {{"<p>Hello</p>", "html"}, {"<SCRIPT type=\"text/javascript\">", "marker"}, {"var a = 1;", "js"}},
        {{"if (a < 2) a++; // </b>", "js"}},
        {{"</Script>", "marker"}, {"<b>bold</b>", "html"}},
        {{"<script src=\"x.js\">", "marker"}, {"</script>", "marker"}, {"<i>", "html"}},
        {{"var x;", "html"}},
    };
    EXPECT_EQ(page.runs(lines), expected);
}

// The page scanner's first token of such a line is empty; each step must
// still move on, so the line ends after at most one token per character.
TEST(MultiHighlighter, ALineStartingWithAnEntityEnds) {
    for (const std::string line : {"&lt;", "&amp; chips", "<script>&lt;</script>&gt;"}) {
        Page page;
        page.multi.ResetRange();
        page.multi.SetLine(line, 0);
        std::string joined;
        Integer steps = 0;
        for (; !page.multi.GetEol() && steps <= static_cast<Integer>(line.size()); ++steps) {
            EXPECT_EQ(page.multi.GetTokenPos(), static_cast<Integer>(joined.size())) << line;
            EXPECT_FALSE(page.multi.GetToken().empty()) << line;
            joined += page.multi.GetToken();
            page.multi.Next();
        }
        EXPECT_TRUE(page.multi.GetEol()) << line;
        EXPECT_EQ(joined, line);
    }
}

TEST(MultiHighlighter, EmbeddedTokensAreThoseOfTheInnerHighlighter) {
    Page page;
    TSynJScriptSyn alone(nullptr);
    const std::vector<Token> script = scanLine(alone, "var a = 'b'; // c", 0);
    page.multi.ResetRange();
    const std::vector<Token> inPage =
        scanLine(page.multi, "<i>x</i><script>var a = 'b'; // c", page.multi.GetRange());
    ASSERT_GE(inPage.size(), script.size() + 1);
    EXPECT_EQ(std::vector<Token>(inPage.end() - static_cast<std::ptrdiff_t>(script.size()), inPage.end()),
              script);
    EXPECT_EQ(inPage[inPage.size() - script.size() - 1], (Token{"<script>", 0}));

    // The inner highlighter answers for the language the scan is in.
    EXPECT_EQ(page.multi.GetDefaultAttribute(SYN_ATTR_KEYWORD), page.js.KeyAttri());
    EXPECT_EQ(page.multi.GetIdentChars(), page.js.GetIdentChars());
    page.multi.ResetRange();
    page.multi.SetLine("<b>", 0);
    EXPECT_EQ(page.multi.GetDefaultAttribute(SYN_ATTR_KEYWORD), page.html.KeyAttri());
}

TEST(MultiHighlighter, WithoutSchemesEveryTokenIsTheDefaultHighlightersOwn) {
    TSynHTMLSyn html(nullptr);
    TSynMultiSyn multi(nullptr);
    multi.SetDefaultHighlighter(&html);
    TSynHTMLSyn alone(nullptr);
    const std::vector<std::string> lines = {"<p title='a", "b'>&amp; x", "<!-- c", "-->"};
    std::vector<TSynRangeValue> ranges;
    // The page scanner's empty token before an entity is not passed on: a
    // token that does not advance would stall the editor's scan.
    auto withoutEmptyTokens = [](std::vector<std::vector<Token>> lines) {
        for (auto& tokens : lines)
            std::erase_if(tokens, [](const Token& token) { return token.Text.empty(); });
        return lines;
    };
    EXPECT_EQ(scanLines(multi, lines, ranges), withoutEmptyTokens(scanLines(alone, lines, ranges)));
    multi.ResetRange();
    multi.SetLine("<b>", 0);
    alone.ResetRange();
    alone.SetLine("<b>", 0);
    ASSERT_NE(multi.GetTokenAttribute(), nullptr);
    EXPECT_EQ(multi.GetTokenAttribute()->Name(), alone.GetTokenAttribute()->Name());
}

TEST(MultiHighlighter, WithoutDefaultHighlighterTheLineIsOneTokenWithoutAttribute) {
    TSynJScriptSyn js(nullptr);
    TSynMultiSyn multi(nullptr);
    addScheme(multi, "<\\?", "\\?>", &js);
    for (const std::string line : {"a<?b?>c", ""}) {
        multi.ResetRange();
        multi.SetLine(line, 0);
        ASSERT_FALSE(multi.GetEol());
        EXPECT_EQ(multi.GetToken(), line);
        EXPECT_EQ(multi.GetTokenPos(), 0);
        EXPECT_EQ(multi.GetTokenAttribute(), nullptr);
        EXPECT_EQ(multi.GetTokenKind(), 0);
        multi.Next();
        EXPECT_TRUE(multi.GetEol());
    }
}

TEST(MultiHighlighter, MarkersOnOneLineGiveFiveTokensAndTheNextLineStartsInTheDefault) {
    Tags tags;
    EXPECT_EQ(tags.runs({"a<?b?>c", "d"}),
              (std::vector<Pieces>{
                  {{"a", "html"}, {"<?", "marker"}, {"b", "js"}, {"?>", "marker"}, {"c", "html"}},
                  {{"d", "html"}},
              }));
    tags.multi.SetLine("a<?b?>c", 0);
    ASSERT_EQ(tags.multi.MarkerCount(), 2);
    EXPECT_TRUE(tags.multi.GetMarkers(0)->IsOpenMarker);
    EXPECT_EQ(tags.multi.GetMarkers(0)->StartPos, 2);
    EXPECT_EQ(tags.multi.GetMarkers(1)->MarkerText, "?>");
    EXPECT_THROW(tags.multi.GetMarkers(2), EListError);
}

TEST(MultiHighlighter, ARegionWithoutEndRunsOnOverTheFollowingLines) {
    Tags tags;
    EXPECT_EQ(tags.runs({"a<?b", "c d", "e?>f"}), (std::vector<Pieces>{
                                                      {{"a", "html"}, {"<?", "marker"}, {"b", "js"}},
                                                      {{"c d", "js"}},
                                                      {{"e", "js"}, {"?>", "marker"}, {"f", "html"}},
                                                  }));
    tags.multi.ResetRange();
    tags.multi.SetLine("a<?b", 0);
    tags.multi.NextToEol();
    const TSynRangeValue range = tags.multi.GetRange();
    EXPECT_EQ(range & 7, 1) << "the scheme index + 1 is in the lowest bits";
}

// The scheme in charge and its highlighter are kept from line to line: a
// change made while a region is open must reach the next line all the same.
TEST(MultiHighlighter, ChangesInsideAnOpenRegionReachTheNextLine) {
    struct Case {
        const char* change;
        std::function<void(Tags&)> act;
        Pieces next;
    };
    const Case cases[] = {
        {"its highlighter replaced",
         [](Tags& tags) { tags.tag->SetHighlighter(&tags.html); },
         {{"c d", "html"}}},
        {"its highlighter removed", [](Tags& tags) { tags.tag->SetHighlighter(nullptr); }, {{"c d", "html"}}},
        {"the scheme deleted", [](Tags& tags) { delete tags.tag; }, {{"c d", "html"}}},
        {"a scheme put before it", [](Tags& tags) { tags.tag->SetIndex(1); }, {{"c d", "html"}}},
    };
    for (const Case& test : cases) {
        Tags tags;
        addScheme(tags.multi, "<%", "%>", &tags.html);
        tags.multi.ResetRange();
        tags.multi.SetLine("a<?b", 0);
        tags.multi.NextToEol();
        const TSynRangeValue range = tags.multi.GetRange();
        test.act(tags);
        tags.multi.SetRange(range);
        tags.multi.SetLine("c d", 1);
        EXPECT_EQ(runsOfCurrentLine(tags.multi, "c d", {{&tags.html, "html"}, {&tags.js, "js"}}), test.next)
            << test.change;
    }

    // Deleted in the middle of a line, the scheme is no longer looked at.
    Tags tags;
    tags.multi.ResetRange();
    tags.multi.SetLine("a<?b c?>d", 0);
    while (tags.multi.GetToken() != "b")
        tags.multi.Next();
    delete tags.tag;
    tags.multi.NextToEol();
    tags.multi.SetLine("e", 1);
    EXPECT_EQ(tags.multi.GetToken(), "e");
}

TEST(MultiHighlighter, FirstSchemeInCollectionOrderWinsOverAnEarlierMatch) {
    TSynHTMLSyn html(nullptr);
    TSynJScriptSyn first(nullptr);
    TSynJScriptSyn second(nullptr);
    TSynMultiSyn multi(nullptr);
    multi.SetDefaultHighlighter(&html);
    addScheme(multi, "Y", "y", &first);
    addScheme(multi, "X", "x", &second);
    const Labels labels = {{&html, "html"}, {&first, "first"}, {&second, "second"}};
    EXPECT_EQ(runsOf(multi, "aXbYcyX1x", labels), (Pieces{{"aXb", "html"},
                                                          {"Y", "marker"},
                                                          {"c", "first"},
                                                          {"y", "marker"},
                                                          {"X", "marker"},
                                                          {"1", "second"},
                                                          {"x", "marker"}}));
}

TEST(MultiHighlighter, SchemesThatCannotBeEnteredAreSkipped) {
    TSynHTMLSyn html(nullptr);
    TSynJScriptSyn js(nullptr);
    TSynMultiSyn multi(nullptr);
    multi.SetDefaultHighlighter(&html);
    addScheme(multi, "<", "", &js);
    addScheme(multi, "", ">", &js);
    addScheme(multi, "<", ">", nullptr);
    TSynJScriptSyn disabled(nullptr);
    disabled.SetEnabled(false);
    addScheme(multi, "<", ">", &disabled);
    EXPECT_EQ(runsOf(multi, "a<b>c", {{&html, "html"}}), (Pieces{{"a<b>c", "html"}}));
}

TEST(MultiHighlighter, CaseSensitivityDecidesWhetherLetterCaseMustMatch) {
    const struct {
        bool CaseSensitive;
        std::string Line;
        bool Opens;
    } cases[] = {{true, "<script>", true},
                 {true, "<SCRIPT>", false},
                 {false, "<SCRIPT>", true},
                 {false, "<ScRiPt id=1>", true}};
    for (const auto& c : cases) {
        Page page;
        page.script->SetCaseSensitive(c.CaseSensitive);
        page.multi.SetLine(c.Line, 0);
        EXPECT_EQ(page.multi.MarkerCount(), c.Opens ? 1 : 0) << c.Line << " " << c.CaseSensitive;
    }
}

TEST(MultiHighlighter, MarkerCheckEventsCanDropAMarkerWhoseTextIsStillConsumed) {
    struct Checker : TObject {
        void DropStart(TObject* sender, Integer& startPos, Integer&, AnsiString& text, Integer line) {
            seen.push_back({sender, startPos, text, line});
            text.clear();
        }
        void ShortenEnd(TObject*, Integer& startPos, Integer& length, AnsiString& text, Integer) {
            ++startPos;
            --length;
            text = text.substr(1);
        }
        struct Seen {
            TObject* Sender;
            Integer StartPos;
            AnsiString Text;
            Integer Line;
        };
        std::vector<Seen> seen;
    } checker;
    Tags tags;
    tags.tag->OnCheckStartMarker = TOnCheckMarker(&checker, &Checker::DropStart);
    tags.tag->OnCheckEndMarker = TOnCheckMarker(&checker, &Checker::ShortenEnd);

    tags.multi.SetLine("a<?b?>c<?", 12);
    ASSERT_EQ(checker.seen.size(), 2u);
    EXPECT_EQ(checker.seen[0].Sender, &tags.multi);
    EXPECT_EQ(checker.seen[0].StartPos, 2);
    EXPECT_EQ(checker.seen[0].Text, "<?");
    EXPECT_EQ(checker.seen[0].Line, 12);
    EXPECT_EQ(checker.seen[1].StartPos, 8) << "the search went on after the dropped marker's text";
    ASSERT_EQ(tags.multi.MarkerCount(), 1);
    EXPECT_FALSE(tags.multi.GetMarkers(0)->IsOpenMarker);
    EXPECT_EQ(tags.multi.GetMarkers(0)->StartPos, 6);
    EXPECT_EQ(tags.multi.GetMarkers(0)->MarkerText, ">");
}

TEST(MultiHighlighter, AnEighthSchemeCannotBeKeptInARangeValue) {
    Tags tags;
    TSynJScriptSyn js(nullptr);
    for (int i = 2; i <= 8; ++i)
        addScheme(tags.multi, "<" + std::to_string(i) + ">", "<>", &js);
    tags.multi.ResetRange();
    tags.multi.SetLine("<7>x", 0);
    tags.multi.NextToEol();
    EXPECT_EQ(tags.multi.GetRange() & 7, 7);
    tags.multi.ResetRange();
    tags.multi.SetLine("<8>x", 0);
    tags.multi.NextToEol();
    EXPECT_THROW(tags.multi.GetRange(), EAssertionFailed);
}

// Markers have at least one character; expressions that can match the empty
// string used to make the marker search go round for ever.
TEST(MultiHighlighter, ExpressionsThatMatchTheEmptyStringFindOnlyRealMarkers) {
    const struct {
        const char* Start;
        const char* End;
        std::string Line;
        Pieces Expected;
    } cases[] = {
        {"x*",
         "y*",
         "ab x cd y ef",
         {{"ab ", "html"}, {"x", "marker"}, {" cd ", "js"}, {"y", "marker"}, {" ef", "html"}}},
        {"(<\\?)?",
         "(\\?>)?",
         "a<?b?>c",
         {{"a", "html"}, {"<?", "marker"}, {"b", "js"}, {"?>", "marker"}, {"c", "html"}}},
        {"$", "$", "abc", {{"abc", "html"}}},
        {"^", "^", "abc", {{"abc", "html"}}},
        {"\\b", "\\b", "ab cd", {{"ab cd", "html"}}},
        {"a*?", "b", "aab", {{"aab", "html"}}},
        {"x*", "y*", "", {}},
    };
    for (const auto& c : cases) {
        Tags tags;
        tags.tag->SetStartExpr(c.Start);
        tags.tag->SetEndExpr(c.End);
        EXPECT_EQ(runsOf(tags.multi, c.Line, {{&tags.html, "html"}, {&tags.js, "js"}}), c.Expected)
            << c.Start << " " << c.End << " on " << c.Line;
    }
}

// ---- Whole text and line by line -------------------------------------------------------

std::string readFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Tokens of the whole text without its line breaks, to line up with the
// line-by-line scan.
std::vector<Token> withoutLineBreaks(const std::vector<Token>& tokens) {
    std::vector<Token> result;
    for (const Token& token : tokens) {
        std::string text;
        std::copy_if(token.Text.begin(), token.Text.end(), std::back_inserter(text),
                     [](char c) { return c != '\r' && c != '\n'; });
        if (text.empty() && !token.Text.empty()) continue;
        result.push_back({text, token.Kind});
    }
    return result;
}

// Forward line by line, backwards from each stored range alone, and the
// whole text at once must all give the same tokens.
void checkWholeAndLineByLine(TSynCustomHighlighter& highlighter, const std::string& text) {
    const std::vector<std::string> lines = splitLines(text);
    std::vector<TSynRangeValue> ranges;
    const std::vector<std::vector<Token>> forward = scanLines(highlighter, lines, ranges);

    highlighter.ResetRange();
    const TSynRangeValue firstRange = highlighter.GetRange();
    for (std::size_t i = lines.size(); i-- > 0;) {
        ASSERT_EQ(scanLine(highlighter, lines[i], i == 0 ? firstRange : ranges[i - 1]), forward[i])
            << "line " << i + 1;
        ASSERT_EQ(highlighter.GetRange(), ranges[i]) << "line " << i + 1;
    }

    std::vector<Token> byLine;
    for (const auto& line : forward)
        byLine.insert(byLine.end(), line.begin(), line.end());
    EXPECT_EQ(withoutLineBreaks(scanLine(highlighter, text, firstRange)), byLine);
    EXPECT_EQ(highlighter.GetRange(), ranges.back());
}

const char* const PageWithScripts = "<html><head><title>T</title>\r\n"
                                    "<SCRIPT language=\"JavaScript\">\r\n"
                                    "/* a comment that\r\n"
                                    "   runs on */ var s = \"</b>\";\r\n"
                                    "</script><script src='a.js'></script><p title='x\r\n"
                                    "y'>text &amp; more <script>f(1);</script> end\r\n"
                                    "<script>\r\n"
                                    "</script>";

TEST(MultiHighlighter, WholeTextAndLineByLineGiveTheSameTokens) {
    std::vector<std::pair<std::string, std::string>> texts = {{"page with scripts", PageWithScripts}};
    const std::filesystem::path samples =
        std::filesystem::path(QUORVANE_SOURCE_DIR) / "highlighters/tests/samples";
    for (const auto& entry : std::filesystem::directory_iterator(samples))
        texts.push_back({entry.path().filename().string(), readFile(entry.path())});
    // The demo library: every script of the program, HTML with embedded scripts.
    const std::filesystem::path demo = std::filesystem::path(QUORVANE_FIXTURES_DIR) / "demo/demo.sql";
    if (std::filesystem::exists(demo)) texts.push_back({"demo.sql", readFile(demo)});

    for (const auto& [name, text] : texts) {
        SCOPED_TRACE(name);
        Page page;
        checkWholeAndLineByLine(page.multi, text);
    }
}

TEST(MultiHighlighter, NestedMultiHighlighterKeepsItsStateInTheRange) {
    // Inside <? ... ?> a second multi-language highlighter colours JavaScript
    // with HTML in [[ ... ]].
    TSynHTMLSyn html(nullptr);
    TSynJScriptSyn js(nullptr);
    TSynMultiSyn inner(nullptr);
    inner.SetDefaultHighlighter(&js);
    addScheme(inner, "\\[\\[", "\\]\\]", &html);
    TSynMultiSyn outer(nullptr);
    outer.SetDefaultHighlighter(&html);
    Editor editor;
    outer.HookAttrChangeEvent(editor.handler());
    TScheme* tag = addScheme(outer, "<\\?", "\\?>", &js);
    editor.senders.clear();
    tag->SetHighlighter(&inner);
    EXPECT_EQ(editor.senders, std::vector<TObject*>{&outer}) << "the range packing changed";

    const std::string text = "<b>a</b><? var x = 1; /* c\r\n"
                             "d */ [[<i>y</i>]] x++;\r\n"
                             "[[<p title='q\r\n"
                             "r'>]] ?> <b>\r\n"
                             "<?[[x]]?>";
    checkWholeAndLineByLine(outer, text);

    outer.ResetRange();
    outer.SetLine("<? [[<i", 0);
    outer.NextToEol();
    EXPECT_EQ(outer.GetRange() & 15, 2) << "scheme 0 + 2";
}

// ---- Ranges --------------------------------------------------------------------------

TEST(MultiHighlighter, CustomRangeEventTakesOverThePacking) {
    struct Packer : TObject {
        void Pack(TSynMultiSyn* sender, TRangeOperation operation, TSynRangeValue& range) {
            operations.push_back(operation);
            senders.push_back(sender);
            if (operation == roGet)
                range = stored;
            else
                stored = range;
        }
        std::vector<TRangeOperation> operations;
        std::vector<TSynMultiSyn*> senders;
        TSynRangeValue stored = 41;
    } packer;
    Tags tags;
    Editor editor;
    tags.multi.HookAttrChangeEvent(editor.handler());

    tags.multi.SetOnCustomRange(TCustomRangeEvent(&packer, &Packer::Pack));
    EXPECT_EQ(editor.senders, std::vector<TObject*>{&tags.multi});
    tags.multi.SetOnCustomRange(TCustomRangeEvent(&packer, &Packer::Pack));
    EXPECT_EQ(editor.senders.size(), 1u) << "the same handler again changes nothing";

    EXPECT_EQ(tags.multi.GetRange(), 41);
    tags.multi.SetRange(7);
    EXPECT_EQ(packer.stored, 7);
    EXPECT_EQ(packer.operations, (std::vector<TRangeOperation>{roGet, roSet}));
    EXPECT_EQ(packer.senders[0], &tags.multi);

    tags.multi.SetOnCustomRange(nullptr);
    EXPECT_EQ(editor.senders.size(), 2u);
    tags.multi.ResetRange();
    EXPECT_EQ(tags.multi.GetRange() & 7, 0);
    EXPECT_EQ(packer.operations.size(), 2u);
}

// ---- Schemes ---------------------------------------------------------------------------

TEST(MultiHighlighterSchemes, NewSchemeHasItsDefaults) {
    TSynMultiSyn multi(nullptr);
    auto* scheme = static_cast<TScheme*>(multi.Schemes()->Add());
    EXPECT_TRUE(scheme->CaseSensitive());
    EXPECT_EQ(scheme->Highlighter(), nullptr);
    EXPECT_EQ(scheme->MarkerAttri()->Name(), "Marker");
    EXPECT_EQ(scheme->MarkerAttri()->Background(), clYellow);
    EXPECT_EQ(scheme->MarkerAttri()->Style(), TFontStyles{fsBold});
    EXPECT_FALSE(scheme->MarkerAttri()->GetBackgroundColorStored());
    EXPECT_EQ(scheme->DisplayName(), "TScheme");
    scheme->SetDisplayName("Script");
    EXPECT_EQ(scheme->SchemeName(), "Script");
    EXPECT_EQ(scheme->DisplayName(), "Script");
    EXPECT_EQ(multi.Schemes()->GetOwner(), &multi);
    EXPECT_EQ(multi.GetLanguageNameProp(), "General Multi-Highlighter");
    multi.SetSampleSource("<b>");
    EXPECT_EQ(multi.GetSampleSource(), "<b>");
}

TEST(MultiHighlighterSchemes, AnInvalidExpressionIsRefusedAndTheOldOneKept) {
    Tags tags;
    try {
        tags.tag->SetStartExpr("(<");
        FAIL() << "no error";
    } catch (const ERegExpr& error) {
        EXPECT_NE(error.ErrorCode, 0);
    }
    EXPECT_EQ(tags.tag->StartExpr(), "<\\?");
    EXPECT_THROW(tags.tag->SetEndExpr("a{3,1}"), ERegExpr);
    EXPECT_EQ(tags.tag->EndExpr(), "\\?>");
    EXPECT_EQ(tags.runs({"a<?b"}), (std::vector<Pieces>{{{"a", "html"}, {"<?", "marker"}, {"b", "js"}}}));
}

TEST(MultiHighlighterSchemes, ChangesThatAlterTheColouringReachTheEditors) {
    Page page;
    Editor editor;
    page.multi.HookAttrChangeEvent(editor.handler());
    TObject* const multi = &page.multi;
    const struct {
        const char* What;
        std::function<void()> Change;
        std::vector<TObject*> Senders;
    } cases[] = {
        {"letter case only, ignoring case", [&] { page.script->SetStartExpr("<SCRIPT[^>]*>"); }, {}},
        {"same text", [&] { page.script->SetEndExpr("</script>"); }, {}},
        {"another end", [&] { page.script->SetEndExpr("</script\\s*>"); }, {multi}},
        {"case sensitivity", [&] { page.script->SetCaseSensitive(true); }, {multi}},
        {"letter case only, case-sensitive", [&] { page.script->SetStartExpr("<script[^>]*>"); }, {multi}},
        {"marker colour", [&] { page.script->MarkerAttri()->SetForeground(clRed); }, {page.script}},
        {"embedded highlighter's colour",
         [&] { page.js.KeyAttri()->SetForeground(clRed); },
         {page.js.KeyAttri()}},
        {"default highlighter's colour",
         [&] { page.html.KeyAttri()->SetForeground(clRed); },
         {page.html.KeyAttri()}},
        {"scheme name", [&] { page.script->SetSchemeName("Script"); }, {}},
        {"scheme added", [&] { page.multi.Schemes()->Add(); }, {multi}},
        {"scheme deleted", [&] { page.multi.Schemes()->Delete(1); }, {multi}},
    };
    for (const auto& c : cases) {
        editor.senders.clear();
        c.Change();
        EXPECT_EQ(editor.senders, c.Senders) << c.What;
    }
    EXPECT_EQ(page.script->StartExpr(), "<script[^>]*>");
}

TEST(MultiHighlighterSchemes, ItemsOfAnotherClassAreNoSchemes) {
    struct OtherItem : TCollectionItem {
        using TCollectionItem::TCollectionItem;
    };
    Page page;
    new OtherItem(page.multi.Schemes());
    EXPECT_THROW(page.multi.Schemes()->GetItems(1), EInvalidCast);
    EXPECT_EQ(page.multi.Schemes()->GetItems(0), page.script);
    EXPECT_EQ(page.runs({"<script>x"}).front().size(), 2u);
    page.multi.Schemes()->Delete(1);
}

TEST(MultiHighlighterSchemes, AssigningSchemesCopiesThemWithTheirHighlighters) {
    Page page;
    page.script->SetSchemeName("Script");
    page.script->MarkerAttri()->SetForeground(clRed);
    TSynMultiSyn copy(nullptr);
    copy.SetDefaultHighlighter(&page.html);
    copy.SetSchemes(page.multi.Schemes());
    ASSERT_EQ(copy.Schemes()->Count(), 1);
    TScheme* scheme = copy.Schemes()->GetItems(0);
    EXPECT_EQ(scheme->SchemeName(), "Script");
    EXPECT_EQ(scheme->StartExpr(), "<script[^>]*>");
    EXPECT_FALSE(scheme->CaseSensitive());
    EXPECT_EQ(scheme->Highlighter(), &page.js);
    EXPECT_EQ(scheme->MarkerAttri()->Foreground(), clRed);

    Editor editor;
    copy.HookAttrChangeEvent(editor.handler());
    page.js.CommentAttri()->SetStyle({});
    EXPECT_EQ(editor.senders.size(), 1u) << "the copy listens to the embedded highlighter";
}

// ---- Embedded highlighters ---------------------------------------------------------------

TEST(MultiHighlighterEmbedding, AHighlighterThatLeadsBackIsRefused) {
    TSynMultiSyn multi(nullptr);
    TSynMultiSyn other(nullptr);
    try {
        multi.SetDefaultHighlighter(&multi);
        FAIL() << "no error";
    } catch (const Exception& error) {
        EXPECT_EQ(error.Message, "A SynMultiSyn cannot be its own DefaultHighlighter.");
    }
    other.SetDefaultHighlighter(&multi);
    EXPECT_THROW(multi.SetDefaultHighlighter(&other), Exception);
    auto* scheme = static_cast<TScheme*>(multi.Schemes()->Add());
    EXPECT_THROW(scheme->SetHighlighter(&multi), Exception);
    EXPECT_THROW(scheme->SetHighlighter(&other), Exception);
    EXPECT_EQ(multi.DefaultHighlighter(), nullptr);
    EXPECT_EQ(scheme->Highlighter(), nullptr);
}

TEST(MultiHighlighterEmbedding, FreeingAnEmbeddedHighlighterClearsEveryReferenceToIt) {
    auto html = std::make_unique<TSynHTMLSyn>(nullptr);
    auto js = std::make_unique<TSynJScriptSyn>(nullptr);
    TSynMultiSyn multi(nullptr);
    multi.SetDefaultHighlighter(html.get());
    TScheme* first = addScheme(multi, "<\\?", "\\?>", js.get());
    TScheme* second = addScheme(multi, "<%", "%>", js.get());
    Editor editor;
    multi.HookAttrChangeEvent(editor.handler());

    // The highlighter is still used by the second scheme: it stays hooked.
    first->SetHighlighter(nullptr);
    editor.senders.clear();
    js->KeyAttri()->SetForeground(clRed);
    EXPECT_EQ(editor.senders, std::vector<TObject*>{js->KeyAttri()});

    js.reset();
    EXPECT_EQ(second->Highlighter(), nullptr);
    html.reset();
    EXPECT_EQ(multi.DefaultHighlighter(), nullptr);
    EXPECT_EQ(editor.senders.size(), 3u);
    multi.SetLine("a<%b%>c", 0);
    EXPECT_EQ(multi.GetToken(), "a<%b%>c");
}

TEST(MultiHighlighterEmbedding, AttributesOfEveryHighlighterAreListedTogether) {
    TSynHTMLSyn html(nullptr);
    TSynJScriptSyn js(nullptr);
    TSynMultiSyn multi(nullptr);
    multi.SetDefaultHighlighter(&html);
    TScheme* first = addScheme(multi, "<\\?", "\\?>", &js);
    TScheme* second = addScheme(multi, "<%", "%>", &js);
    addScheme(multi, "<#", "#>", nullptr);
    const Integer htmlCount = html.GetAttribCount();
    const Integer jsCount = js.GetAttribCount();
    ASSERT_EQ(multi.GetAttribCount(), 3 + htmlCount + 2 * jsCount);
    EXPECT_EQ(multi.GetAttribute(0), first->MarkerAttri());
    EXPECT_EQ(multi.GetAttribute(1), second->MarkerAttri());
    EXPECT_EQ(multi.GetAttribute(3), html.GetAttribute(0));
    EXPECT_EQ(multi.GetAttribute(3 + htmlCount), js.GetAttribute(0));
    EXPECT_EQ(multi.GetAttribute(3 + htmlCount + jsCount), js.GetAttribute(0)) << "used twice, listed twice";
    EXPECT_EQ(multi.GetAttribute(multi.GetAttribCount() - 1), js.GetAttribute(jsCount - 1));
    EXPECT_EQ(multi.GetAttribute(multi.GetAttribCount()), nullptr);
    EXPECT_EQ(multi.GetAttribute(-1), nullptr);
}

// ---- Form resources ------------------------------------------------------------------------

class THighlighterForm : public TComponent {
public:
    using TComponent::TComponent;
    TSynHTMLSyn* Html = nullptr;
    TSynJScriptSyn* JScript = nullptr;
    TSynMultiSyn* Multi = nullptr;
    void GetChildren(const TGetChildProc& Proc, TComponent*) override {
        for (Integer i = 0; i < ComponentCount(); ++i)
            Proc(Components(i));
    }
};

const TClass describedForm =
    DescribeClass<THighlighterForm, TComponent>([](TClassBuilder<THighlighterForm>& c) {
        c.Field("Html", &THighlighterForm::Html);
        c.Field("JScript", &THighlighterForm::JScript);
        c.Field("Multi", &THighlighterForm::Multi);
    });

TEST(MultiHighlighterStreaming, SchemesTravelThroughAFormResource) {
    THighlighterForm written(nullptr);
    written.SetName("HighlighterForm");
    (new TSynHTMLSyn(&written))->SetName("Html");
    (new TSynJScriptSyn(&written))->SetName("JScript");
    (new TSynMultiSyn(&written))->SetName("Multi");
    written.Multi->SetDefaultHighlighter(written.Html);
    written.Multi->DefaultLanguageName = "HTML";
    TScheme* script = addScheme(*written.Multi, "<script[^>]*>", "</script>", written.JScript, false);
    script->SetSchemeName("Script");
    script->MarkerAttri()->SetForeground(clRed);
    addScheme(*written.Multi, "<\\?", "\\?>", written.JScript);

    const AnsiString text = WriteComponentText(&written);
    for (const char* expected :
         {"DefaultHighlighter = Html", "StartExpr = '<script[^>]*>'", "Highlighter = JScript",
          "MarkerAttri.Foreground = clRed", "SchemeName = 'Script'", "CaseSensitive = False"})
        EXPECT_NE(text.find(expected), AnsiString::npos) << expected << " in\n" << text;
    EXPECT_EQ(text.find("CaseSensitive = True"), AnsiString::npos) << text;
    EXPECT_EQ(text.find("MarkerAttri.Style"), AnsiString::npos) << text;

    THighlighterForm read(nullptr);
    ReadComponentText(text, &read);
    ASSERT_NE(read.Multi, nullptr);
    EXPECT_EQ(read.Multi->DefaultHighlighter(), read.Html);
    EXPECT_EQ(read.Multi->DefaultLanguageName, "HTML");
    ASSERT_EQ(read.Multi->Schemes()->Count(), 2);
    TScheme* readScript = read.Multi->Schemes()->GetItems(0);
    EXPECT_EQ(readScript->SchemeName(), "Script");
    EXPECT_EQ(readScript->Highlighter(), read.JScript);
    EXPECT_FALSE(readScript->CaseSensitive());
    EXPECT_EQ(readScript->MarkerAttri()->Foreground(), clRed);
    EXPECT_EQ(read.Multi->Schemes()->GetItems(1)->EndExpr(), "\\?>");

    const Labels labels = {{read.Html, "html"}, {read.JScript, "js"}};
    EXPECT_EQ(runsOf(*read.Multi, "<b><SCRIPT>x<?y", labels),
              (Pieces{{"<b>", "html"}, {"<SCRIPT>", "marker"}, {"x<?y", "js"}}));
}

} // namespace
