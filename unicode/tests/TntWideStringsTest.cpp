#include "unicode/TntWideStrings.h"
#include "unicode/TntClasses.h"

#include "platform/core/SysUtils.h"
#include "unicode/TntWideStrUtils.h"

#include <gtest/gtest.h>

namespace {

std::vector<WideString> linesOf(const TWideStrings& list) {
    std::vector<WideString> lines;
    for (Integer i = 0; i < list.Count(); ++i)
        lines.push_back(list[i]);
    return lines;
}

std::vector<WideString> linesFromText(const WideString& text) {
    TTntStringList list;
    list.SetText(text);
    return linesOf(list);
}

std::vector<WideString> linesFromCommaText(const WideString& text) {
    TTntStringList list;
    list.SetCommaText(text);
    return linesOf(list);
}

WideString commaTextOf(std::initializer_list<WideString> lines) {
    TTntStringList list;
    for (const WideString& line : lines)
        list.Add(line);
    return list.CommaText();
}

// ---- Text ----------------------------------------------------------------------------------

TEST(WideStringsText, SplitsAtEveryKindOfLineBreak) {
    using Lines = std::vector<WideString>;
    EXPECT_EQ(linesFromText(u"a\r\nb"), (Lines{u"a", u"b"}));
    EXPECT_EQ(linesFromText(u"a\n\rb"), (Lines{u"a", u"", u"b"}));
    EXPECT_EQ(linesFromText(u"a\rb\nc\u2028d"), (Lines{u"a", u"b", u"c", u"d"}));
    EXPECT_EQ(linesFromText(u"a\r\n\u2028b"), (Lines{u"a", u"b"}));
    EXPECT_EQ(linesFromText(u"a\r\n"), (Lines{u"a"}));
    EXPECT_EQ(linesFromText(WideString(u"a\r\nb\0c\r\nd", 9)), (Lines{u"a", u"b"}));
    EXPECT_EQ(linesFromText(u""), Lines{});
}

TEST(WideStringsText, EndsEveryLineWithCrLf) {
    TTntStringList list;
    EXPECT_EQ(list.Text(), u"");
    list.Add(u"\u0416");
    list.Add(u"");
    EXPECT_EQ(list.Text(), u"\u0416\r\n\r\n");
}

// ---- Delimited text ------------------------------------------------------------------------------

TEST(WideStringsCommaText, QuotesWhatNeedsQuoting) {
    EXPECT_EQ(commaTextOf({u"a b", u"c"}), u"\"a b\",c");
    EXPECT_EQ(commaTextOf({u""}), u"\"\"");
    EXPECT_EQ(commaTextOf({}), u"");
    EXPECT_EQ(commaTextOf({u"say \"hi\""}), u"\"say \"\"hi\"\"\"");
    EXPECT_EQ(commaTextOf({u"a", u""}), u"a,");
    EXPECT_EQ(commaTextOf({u"", u"a"}), u",a");
    EXPECT_EQ(commaTextOf({u"\u0416,\u0418"}), u"\"\u0416,\u0418\"");
}

TEST(WideStringsCommaText, ReadsItemsQuotesAndEmptyItems) {
    using Lines = std::vector<WideString>;
    EXPECT_EQ(linesFromCommaText(u"a b,c"), (Lines{u"a", u"b", u"c"}));
    EXPECT_EQ(linesFromCommaText(u"a,,b"), (Lines{u"a", u"", u"b"}));
    EXPECT_EQ(linesFromCommaText(u"a,"), (Lines{u"a", u""}));
    EXPECT_EQ(linesFromCommaText(u",a"), (Lines{u"", u"a"}));
    EXPECT_EQ(linesFromCommaText(u" \"p,q\" , r"), (Lines{u"p,q", u"r"}));
    EXPECT_EQ(linesFromCommaText(u"\"abc"), (Lines{u"abc"}));
    EXPECT_EQ(linesFromCommaText(u"\"say \"\"hi\"\"\""), (Lines{u"say \"hi\""}));
    EXPECT_EQ(linesFromCommaText(u"\"\""), (Lines{u""}));
}

TEST(WideStringsCommaText, ReadsBackWhatItWrote) {
    for (const auto& lines : {std::vector<WideString>{u"a", u""}, {u"", u"a"}, {u"x y", u"\"", u"z"}}) {
        TTntStringList list;
        for (const WideString& line : lines)
            list.Add(line);
        EXPECT_EQ(linesFromCommaText(list.CommaText()), lines);
    }
}

TEST(WideStringsCommaText, StopsAtAnEmbeddedNul) {
    using Lines = std::vector<WideString>;
    EXPECT_EQ(linesFromCommaText(WideString(u"a,b\0c,d", 7)), (Lines{u"a", u"b"}));
    EXPECT_EQ(linesFromCommaText(WideString(u"a,\0", 3)), (Lines{u"a", u""}));
    EXPECT_EQ(linesFromCommaText(WideString(u"\0x", 2)), Lines{});
}

TEST(WideStringsCommaText, KeepsTheListsOwnDelimiterAndQuote) {
    TTntStringList list;
    list.SetDelimiter(u';');
    list.SetQuoteChar(u'\'');
    list.Add(u"a;b");
    list.Add(u"c,d");
    EXPECT_EQ(list.CommaText(), u"a;b,\"c,d\"");
    EXPECT_EQ(list.DelimitedText(), u"'a;b';c,d");
    list.SetCommaText(u"x,y");
    EXPECT_EQ(list.Delimiter(), u',');
}

// ---- Names and values -------------------------------------------------------------------------------

TEST(WideStringsValues, NamesCompareWithoutRegardToCase) {
    TTntStringList list;
    list.SetText(u"K=v\r\nplain\r\nx=1=2");
    EXPECT_EQ(list.Values(u"k"), u"v");
    EXPECT_EQ(list.Values(u"x"), u"1=2");
    EXPECT_EQ(list.Values(u"plain"), u"");
    EXPECT_EQ(list.Names(0), u"K");
    EXPECT_EQ(list.Names(1), u"");
    EXPECT_EQ(list.ValueFromIndex(2), u"1=2");
    EXPECT_EQ(list.ValueFromIndex(-1), u"");
    EXPECT_EQ(list.IndexOfName(u"X"), 2);
}

TEST(WideStringsValues, SettingAddsReplacesOrDeletes) {
    TTntStringList list;
    list.SetText(u"K=v\r\nother");
    list.SetValues(u"k", u"w");
    list.SetValues(u"new", u"\u0416");
    EXPECT_EQ(list.Text(), u"k=w\r\nother\r\nnew=\u0416\r\n");
    list.SetValues(u"K", u"");
    list.SetValues(u"missing", u"");
    EXPECT_EQ(list.Text(), u"other\r\nnew=\u0416\r\n");
    list.SetValueFromIndex(1, u"x");
    list.SetValueFromIndex(-1, u"y");
    EXPECT_EQ(list.Text(), u"other\r\nnew=x\r\n=y\r\n");
    list.SetValueFromIndex(0, u"");
    EXPECT_EQ(list.Text(), u"new=x\r\n=y\r\n");
}

TEST(WideStringsValues, ASortedListFilesNewValuesInPlaceAndRefusesChangesWithoutLosingLines) {
    TTntStringList list;
    list.SetSorted(true);
    list.Add(u"a=1");
    list.Add(u"c=3");
    list.SetValues(u"b", u"2");
    EXPECT_EQ(list.Text(), u"a=1\r\nb=2\r\nc=3\r\n");
    EXPECT_EQ(list.IndexOfName(u"B"), 1);
    EXPECT_EQ(list.IndexOfName(u"bb"), -1);
    EXPECT_THROW(list.SetValues(u"a", u"9"), EStringListError);
    EXPECT_EQ(list.Text(), u"a=1\r\nb=2\r\nc=3\r\n");
    list.SetValueFromIndex(-1, u"9");
    list.SetValues(u"a", u"");
    EXPECT_EQ(list.Text(), u"=9\r\nb=2\r\nc=3\r\n");
}

// ---- The sorted list -----------------------------------------------------------------------------------

TEST(TntStringList, DuplicatesFollowThePolicy) {
    TTntStringList list;
    list.SetSorted(true);
    list.Add(u"b");
    list.Add(u"a");
    list.Add(u"c");
    EXPECT_EQ(list.Add(u"B"), 1);
    EXPECT_EQ(list.Count(), 3);
    list.SetDuplicates(dupError);
    try {
        list.Add(u"b");
        ADD_FAILURE();
    } catch (const EStringListError& error) {
        EXPECT_EQ(error.Message, "String list does not allow duplicates");
    }
    list.SetDuplicates(dupAccept);
    TObject marker;
    EXPECT_EQ(list.AddObject(u"B", &marker), 1);
    EXPECT_EQ(list.Objects(1), &marker);
    EXPECT_EQ(list[2], u"b");
    EXPECT_EQ(list.IndexOf(u"b"), 1);
}

TEST(TntStringList, RefusesPositionalChangesWhenSorted) {
    TTntStringList list;
    list.Add(u"b");
    list.Add(u"a");
    list.SetSorted(true);
    EXPECT_EQ(list.Text(), u"a\r\nb\r\n");
    for (auto change :
         {+[](TTntStringList& l) { l.Put(0, u"z"); }, +[](TTntStringList& l) { l.Insert(0, u"z"); },
          +[](TTntStringList& l) { l.Move(0, 1); }}) {
        try {
            change(list);
            ADD_FAILURE();
        } catch (const EStringListError& error) {
            EXPECT_EQ(error.Message, "Operation not allowed on sorted list");
        }
        EXPECT_EQ(list.Text(), u"a\r\nb\r\n");
    }
}

TEST(TntStringList, MovesAndExchangesItemsWithTheirObjects) {
    TTntStringList list;
    TObject first, last;
    list.AddObject(u"1", &first);
    list.Add(u"2");
    list.AddObject(u"3", &last);
    list.Move(0, 2);
    EXPECT_EQ(list.Text(), u"2\r\n3\r\n1\r\n");
    EXPECT_EQ(list.Objects(2), &first);
    list.Exchange(0, 2);
    EXPECT_EQ(list.Text(), u"1\r\n3\r\n2\r\n");
    EXPECT_EQ(list.Objects(0), &first);
    EXPECT_EQ(list.IndexOfObject(&last), 1);
}

TEST(TntStringList, ChecksIndexes) {
    TTntStringList list;
    list.Add(u"a");
    try {
        list.Get(1);
        ADD_FAILURE();
    } catch (const EStringListError& error) {
        EXPECT_EQ(error.Message, "List index out of bounds (1)");
    }
    EXPECT_THROW(list.Delete(-1), EStringListError);
    EXPECT_THROW(list.InsertObject(2, u"x", nullptr), EStringListError);
    EXPECT_THROW(list.Exchange(0, 1), EStringListError);
    EXPECT_THROW(list.SetCapacity(0), EStringListError);
    list.InsertObject(1, u"b", nullptr);
    EXPECT_EQ(list.Count(), 2);
}

TEST(TntStringList, CaseSensitivityReSortsASortedList) {
    TTntStringList list;
    list.SetDuplicates(dupAccept);
    list.SetSorted(true);
    for (const char16_t* s : {u"b", u"B", u"a", u"A"})
        list.Add(s);
    list.SetCaseSensitive(true);
    const WideString caseSensitive = list.Text();
    EXPECT_EQ(caseSensitive, u"a\r\nA\r\nb\r\nB\r\n");
    EXPECT_EQ(list.IndexOf(u"B"), 3);
    list.SetCaseSensitive(false);
    EXPECT_EQ(list.IndexOf(u"B"), 2);
}

TEST(TntStringList, SortsWithACustomOrder) {
    TTntStringList list;
    for (const char16_t* s : {u"ccc", u"a", u"bb", u"dddd", u"e"})
        list.Add(s);
    list.CustomSort([](TTntStringList* l, Integer i, Integer j) {
        return static_cast<Integer>(l->Get(j).size()) - static_cast<Integer>(l->Get(i).size());
    });
    EXPECT_EQ(list[0], u"dddd");
    EXPECT_EQ(list[1], u"ccc");
    EXPECT_EQ(list[2], u"bb");
}

class ChangeLog : public TObject {
public:
    void Changing(TObject*) { entries.push_back("changing"); }
    void Changed(TObject*) { entries.push_back("changed"); }
    std::vector<std::string> entries;
};

TEST(TntStringList, ReportsChangesOnceAfterAnUpdate) {
    ChangeLog log;
    TTntStringList list;
    list.OnChanging = TNotifyEvent(&log, &ChangeLog::Changing);
    list.OnChange = TNotifyEvent(&log, &ChangeLog::Changed);
    list.Add(u"a");
    EXPECT_EQ(log.entries, (std::vector<std::string>{"changing", "changed"}));
    log.entries.clear();
    list.BeginUpdate();
    list.BeginUpdate();
    list.Add(u"b");
    list.SetText(u"x\r\ny");
    list.EndUpdate();
    EXPECT_TRUE(log.entries.empty());
    list.EndUpdate();
    EXPECT_EQ(log.entries, std::vector<std::string>{"changed"});
}

TEST(TntStringList, NeverOwnsItsObjects) {
    auto object = std::make_unique<TObject>();
    {
        TTntStringList list;
        list.AddObject(u"a", object.get());
        list.Delete(0);
        list.AddObject(u"b", object.get());
        list.Clear();
        list.AddObject(u"c", object.get());
    }
    SUCCEED();
}

// ---- Assignment and enumeration -----------------------------------------------------------------------

TEST(WideStringsAssign, CopiesBetweenWideAndAnsiLists) {
    TStringList ansi;
    TObject marker;
    ansi.SetDelimiter(';');
    ansi.AddObject("caf\xE9", &marker);
    ansi.Add("b");
    TTntStringList wide;
    wide.Assign(&ansi);
    EXPECT_EQ(wide.Text(), u"caf\u00E9\r\nb\r\n");
    EXPECT_EQ(wide.Objects(0), &marker);
    EXPECT_EQ(wide.Delimiter(), u';');

    wide.Add(u"\u0416");
    TStringList back;
    back.Assign(&wide);
    EXPECT_EQ(back.Text(), "caf\xE9\r\nb\r\n?\r\n");
    EXPECT_EQ(back.Delimiter(), ';');

    TTntStringList copy;
    copy.Assign(&wide);
    EXPECT_TRUE(copy.Equals(&wide));
    copy.Put(2, u"\u0417");
    EXPECT_FALSE(copy.Equals(&wide));
}

TEST(WideStringsEnumerator, VisitsEveryString) {
    TTntStringList list;
    list.SetText(u"a\r\nb");
    WideString visited;
    for (auto e = list.GetEnumerator(); e->MoveNext();)
        visited += e->GetCurrent();
    EXPECT_EQ(visited, u"ab");
}

TEST(WideStringsTextBuffer, HandsOutAndTakesNullTerminatedText) {
    TTntStringList list;
    list.SetTextW(u"a\r\n\u0416");
    WideChar* text = list.GetTextW();
    EXPECT_EQ(WideString(text), u"a\r\n\u0416\r\n");
    WStrDispose(text);
}

} // namespace
