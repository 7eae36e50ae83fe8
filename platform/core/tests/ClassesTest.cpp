#include "platform/core/Classes.h"

#include "TestFolder.h"
#include "platform/core/SysUtils.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

std::vector<AnsiString> linesOf(const TStrings& list) {
    std::vector<AnsiString> lines;
    for (Integer i = 0; i < list.Count(); ++i)
        lines.push_back(list[i]);
    return lines;
}

struct EventLog : TObject {
    std::string events;
    void Changing(TObject*) { events += "<"; }
    void Change(TObject*) { events += ">"; }
    void attach(TStringList& list) {
        list.OnChanging = TNotifyEvent(this, &EventLog::Changing);
        list.OnChange = TNotifyEvent(this, &EventLog::Change);
    }
};

// The least a descendant must supply: storage through the abstract methods.
class VectorStrings : public TStrings {
public:
    AnsiString Get(Integer Index) const override { return lines_.at(Index); }
    Integer GetCount() const override { return static_cast<Integer>(lines_.size()); }
    void Clear() override { lines_.clear(); }
    void Delete(Integer Index) override { lines_.erase(lines_.begin() + Index); }
    void Insert(Integer Index, const AnsiString& S) override { lines_.insert(lines_.begin() + Index, S); }
    Integer updates = 0;

protected:
    void SetUpdateState(bool Updating) override { updates += Updating ? 1 : 0; }

private:
    std::vector<AnsiString> lines_;
};

} // namespace

TEST(Bits, SettingPastTheEndGrowsAndOpenBitFindsTheFirstClearOne) {
    TBits bits;
    EXPECT_EQ(bits.OpenBit(), 0);
    bits.SetBits(2, true);
    EXPECT_EQ(bits.Size(), 3);
    EXPECT_FALSE(bits.Bits(0));
    EXPECT_TRUE(bits.Bits(2));
    bits.SetBits(0, true);
    bits.SetBits(1, true);
    EXPECT_EQ(bits.OpenBit(), 3);
    bits.SetBits(1, false);
    EXPECT_EQ(bits.OpenBit(), 1);
    bits.SetSize(1);
    bits.SetSize(4);
    EXPECT_FALSE(bits.Bits(2)) << "bits cut off come back clear";
}

TEST(Bits, IndexesOutOfRangeRaise) {
    TBits bits;
    bits.SetSize(2);
    for (auto access : std::vector<std::function<void()>>{[&] { bits.Bits(2); }, [&] { bits.Bits(-1); },
                                                          [&] { bits.SetBits(-1, true); },
                                                          [&] { bits.SetSize(-1); }}) {
        try {
            access();
            ADD_FAILURE() << "no error";
        } catch (const EBitsError& error) {
            EXPECT_EQ(error.Message, "Bits index out of range");
        }
    }
}

TEST(StringList, TextSplitsAtEveryLineBreakAndJoinsWithCrLf) {
    struct Case {
        std::string text;
        std::vector<AnsiString> lines;
    };
    const Case cases[] = {
        {"a\r\nb", {"a", "b"}},
        {"a\nb\rc", {"a", "b", "c"}},
        {"a\n\rb", {"a", "", "b"}},
        {"a\r\n", {"a"}},
        {"a\r\n\r\n", {"a", ""}},
        {"", {}},
        {"\r\n", {""}},
        {std::string("a\0b\r\nc", 6), {"a"}},
        {"x \t", {"x \t"}},
    };
    TStringList list;
    for (const Case& c : cases) {
        list.SetText(c.text);
        EXPECT_EQ(linesOf(list), c.lines) << c.text;
    }
    list.SetText("a\nb");
    EXPECT_EQ(list.Text(), "a\r\nb\r\n");
}

TEST(StringList, SortedListsKeepOrderAndApplyTheDuplicatesRule) {
    TStringList list;
    list.SetSorted(true);
    for (const char* s : {"pear", "Apple", "banana", "apple", "_x", "10"})
        list.Add(s);
    EXPECT_EQ(linesOf(list), (std::vector<AnsiString>{"_x", "10", "Apple", "banana", "pear"}));
    EXPECT_EQ(list.Add("BANANA"), 3); // dupIgnore: the existing index
    EXPECT_EQ(list.IndexOf("PEAR"), 4);
    EXPECT_EQ(list.IndexOf("plum"), -1);

    list.SetDuplicates(dupError);
    try {
        list.Add("apple");
        FAIL() << "no exception";
    } catch (const EStringListError& e) {
        EXPECT_EQ(e.Message, "String list does not allow duplicates");
    }
    list.SetDuplicates(dupAccept);
    list.AddObject("APPLE", &list);
    EXPECT_EQ(list.Count(), 6);
    EXPECT_EQ(list[2], "APPLE"); // a new equal string goes before the existing ones
    EXPECT_EQ(list.Objects(2), &list);
    Integer index = -1;
    EXPECT_TRUE(list.Find("apple", index));
    EXPECT_EQ(index, 2);
    EXPECT_FALSE(list.Find("cherry", index));
    EXPECT_EQ(index, 5);

    EXPECT_THROW(list.Insert(0, "z"), EStringListError);
    try {
        list.SetStrings(0, "z");
    } catch (const EStringListError& e) {
        EXPECT_EQ(e.Message, "Operation not allowed on sorted list");
    }
}

TEST(StringList, CaseSensitivityChangesTheOrderOfASortedList) {
    TStringList list;
    list.SetCaseSensitive(true);
    list.SetCommaText("b,B,a,A");
    list.SetSorted(true);
    EXPECT_EQ(linesOf(list), (std::vector<AnsiString>{"a", "A", "b", "B"}));
    EXPECT_EQ(list.IndexOf("A"), 1);
    list.SetCaseSensitive(false);
    EXPECT_LT(list.IndexOf("A"), 2); // a and A are now equal
    list.SetSorted(false);
    list.Add("0");
    list.Sort();
    EXPECT_EQ(list[0], "0");
    list.CustomSort(
        [](TStringList* l, Integer a, Integer b) { return -l->CompareStrings(l->Get(a), l->Get(b)); });
    EXPECT_EQ(list[4], "0");
}

TEST(StringList, ChangeEventsAndUpdateBrackets) {
    TStringList list;
    EventLog log;
    log.attach(list);
    list.Add("a");
    list.SetStrings(0, "b");
    list.Delete(0);
    EXPECT_EQ(log.events, "<><><>");
    log.events.clear();
    list.BeginUpdate();
    list.Add("x");
    list.BeginUpdate();
    list.Add("y");
    list.EndUpdate();
    list.Clear();
    list.EndUpdate();
    EXPECT_EQ(log.events, "<>"); // BeginUpdate fires OnChanging, the last EndUpdate OnChange
    log.events.clear();
    list.Clear(); // nothing to clear, nothing changes
    EXPECT_EQ(log.events, "");
}

TEST(StringList, IndexErrorsNameTheIndex) {
    TStringList list;
    list.Add("a");
    struct Case {
        std::function<void()> call;
        const char* message;
    };
    const Case cases[] = {
        {[&] { list.Get(1); }, "List index out of bounds (1)"},
        {[&] { list.Delete(-1); }, "List index out of bounds (-1)"},
        {[&] { list.InsertObject(3, "x", nullptr); }, "List index out of bounds (3)"},
        {[&] { list.Exchange(0, 2); }, "List index out of bounds (2)"},
        {[&] { list.PutObject(5, nullptr); }, "List index out of bounds (5)"},
    };
    for (const Case& c : cases) {
        try {
            c.call();
            ADD_FAILURE() << c.message;
        } catch (const EStringListError& e) {
            EXPECT_EQ(e.Message, c.message);
        }
    }
    EXPECT_EQ(linesOf(list), (std::vector<AnsiString>{"a"}));
}

TEST(StringList, CommaTextQuotesAndSplits) {
    TStringList list;
    list.SetText("a b\r\nc\r\nsay \"hi\"");
    EXPECT_EQ(list.CommaText(), "\"a b\",c,\"say \"\"hi\"\"\"");
    list.SetText("\r\n");
    EXPECT_EQ(list.CommaText(), "\"\"");
    list.Clear();
    EXPECT_EQ(list.CommaText(), "");

    const std::vector<std::pair<const char*, std::vector<AnsiString>>> cases = {
        {"a b,c", {"a", "b", "c"}},     {"a,,b", {"a", "", "b"}}, {"a,", {"a", ""}},
        {" \"p,q\" , r", {"p,q", "r"}}, {"\"abc", {"abc"}},       {"\"a\"\"b\"", {"a\"b"}},
    };
    for (const auto& [text, lines] : cases) {
        list.SetCommaText(text);
        EXPECT_EQ(linesOf(list), lines) << text;
    }
    list.SetDelimiter(';');
    list.SetQuoteChar('\'');
    list.SetDelimitedText("x y;'1;2'");
    EXPECT_EQ(linesOf(list), (std::vector<AnsiString>{"x", "y", "1;2"}));
    EXPECT_EQ(list.DelimitedText(), "x;y;'1;2'");
}

TEST(StringList, NamesAndValues) {
    TStringList list;
    list.SetText("K=v\r\nplain\r\nx==y");
    EXPECT_EQ(list.Values("k"), "v");
    EXPECT_EQ(list.Values("x"), "=y");
    EXPECT_EQ(list.Values("plain"), "");
    EXPECT_EQ(list.Names(0), "K");
    EXPECT_EQ(list.Names(1), "");
    EXPECT_EQ(list.ValueFromIndex(2), "=y");
    list.SetValues("new", "1");
    EXPECT_EQ(list[3], "new=1");
    list.SetValues("K", "w");
    EXPECT_EQ(list[0], "K=w");
    list.SetValues("k", "");
    EXPECT_EQ(list.IndexOfName("K"), -1);
    EXPECT_EQ(list.Count(), 3);
}

TEST(StringList, AssignMoveExchangeAndFiles) {
    TestFolder folder;
    TStringList source, copy;
    TObject marker;
    source.AddObject("one", &marker);
    source.Add("two");
    source.Add("three");
    copy.Add("old");
    copy.Assign(&source);
    EXPECT_EQ(linesOf(copy), linesOf(source));
    EXPECT_EQ(copy.Objects(0), &marker);
    EXPECT_TRUE(copy.Equals(&source));

    copy.Move(0, 2);
    EXPECT_EQ(linesOf(copy), (std::vector<AnsiString>{"two", "three", "one"}));
    EXPECT_EQ(copy.Objects(2), &marker);
    copy.Exchange(0, 1);
    EXPECT_EQ(copy[0], "three");

    copy.SaveToFile(folder / "list.txt");
    EXPECT_EQ(folder.read("list.txt"), "three\r\ntwo\r\none\r\n");
    folder.write("unix.txt", "a\nb\n");
    source.LoadFromFile(folder / "unix.txt");
    EXPECT_EQ(linesOf(source), (std::vector<AnsiString>{"a", "b"}));
    try {
        source.LoadFromFile(folder / "missing.txt");
        FAIL() << "no exception";
    } catch (const EFOpenError& e) {
        EXPECT_EQ(e.Message, "Cannot open file \"" + folder / "missing.txt" +
                                 "\". The system cannot find the file specified.");
    }
    EXPECT_EQ(linesOf(source), (std::vector<AnsiString>{"a", "b"}));
}

TEST(StringList, AssignRefusesWhatIsNoStringList) {
    struct Settings : TPersistent {};
    Settings settings;
    TStringList list;
    const std::pair<TPersistent*, const char*> cases[] = {
        {nullptr, "Cannot assign a nil to a TStringList"},
        {&settings, "Cannot assign a Settings to a TStringList"},
    };
    for (const auto& [source, message] : cases) {
        try {
            list.Assign(source);
            ADD_FAILURE() << message;
        } catch (const EConvertError& e) {
            EXPECT_EQ(e.Message, message);
        }
    }
}

TEST(StringList, TheBaseClassBuildsEverythingOnItsStorageProtocol) {
    VectorStrings strings;
    strings.SetText("b\r\na");
    strings.SetStrings(0, "c"); // Put = Delete + InsertObject
    strings.Exchange(0, 1);
    strings.SetValues("k", "v");
    EXPECT_EQ(linesOf(strings), (std::vector<AnsiString>{"a", "c", "k=v"}));
    EXPECT_EQ(strings.IndexOf("C"), 1);
    EXPECT_EQ(strings.Objects(0), nullptr);
    EXPECT_EQ(strings.updates, 2); // SetText and Exchange each bracket their work
    TStringList list;
    list.Assign(&strings);
    EXPECT_EQ(list.CommaText(), "a,c,k=v");
}

TEST(List, PointersWithIndexChecks) {
    TList list;
    int a = 1, b = 2, c = 3;
    list.Add(&a);
    list.Add(nullptr);
    list.Insert(0, &c);
    list.Add(&b);
    EXPECT_EQ(list.Count(), 4);
    EXPECT_EQ(list.IndexOf(&a), 1);
    list.Pack();
    EXPECT_EQ(list.Count(), 3);
    list.Sort([](void* x, void* y) { return *static_cast<int*>(x) - *static_cast<int*>(y); });
    EXPECT_EQ(list.First(), &a);
    EXPECT_EQ(list.Last(), &c);
    EXPECT_EQ(list.Remove(&b), 1);
    EXPECT_EQ(list.Extract(&c), &c);
    EXPECT_EQ(list.Count(), 1);
    try {
        list.Get(1);
        FAIL() << "no exception";
    } catch (const EListError& e) {
        EXPECT_EQ(e.Message, "List index out of bounds (1)");
    }
    EXPECT_THROW(list.SetCapacity(0), EListError);
    list.Clear();
    EXPECT_EQ(list.Count(), 0);
}

TEST(Streams, MemoryAndStringStreams) {
    TMemoryStream memory;
    memory.WriteBuffer("hello", 5);
    memory.Seek(2, soFromEnd);
    memory.WriteBuffer("!", 1);
    EXPECT_EQ(memory.Size(), 8);
    EXPECT_EQ(std::string(static_cast<char*>(memory.Memory()), 8), std::string("hello\0\0!", 8));
    memory.SetPosition(1);
    char buffer[8] = {};
    EXPECT_EQ(memory.Read(buffer, 100), 7);
    try {
        memory.SetPosition(6);
        memory.ReadBuffer(buffer, 3);
        FAIL() << "no exception";
    } catch (const EReadError& e) {
        EXPECT_EQ(e.Message, "Stream read error");
    }
    memory.SetSize(2);
    EXPECT_EQ(memory.Position(), 2);

    TStringStream text("abcdef");
    text.Seek(2, soFromBeginning);
    text.WriteString("XY");
    EXPECT_EQ(text.DataString(), "abXYef");
    EXPECT_EQ(text.ReadString(10), "ef");
    EXPECT_EQ(text.Seek(-100, soFromCurrent), 0);
    EXPECT_EQ(text.Seek(100, soFromCurrent), 6);

    TStringStream target;
    memory.SetPosition(1);
    EXPECT_EQ(target.CopyFrom(&memory, 0), 2); // 0 copies everything from the start
    EXPECT_EQ(target.DataString(), "he");
    EXPECT_THROW(target.CopyFrom(&memory, 5), EReadError);
}

TEST(Streams, FileStreamsCreateOpenAndReportFailures) {
    TestFolder folder;
    {
        TFileStream file(folder / "data.bin", fmCreate | fmShareExclusive);
        file.WriteBuffer("abc", 3);
        EXPECT_EQ(file.Size(), 3);
        file.SetSize(2);
    }
    EXPECT_EQ(folder.read("data.bin"), "ab");
    {
        TFileStream file(folder / "data.bin", fmOpenReadWrite | fmShareDenyNone);
        file.Seek(0, soFromEnd);
        file.WriteBuffer("z", 1);
        file.SetPosition(0);
        char bytes[3] = {};
        file.ReadBuffer(bytes, 3);
        EXPECT_EQ(std::string(bytes, 3), "abz");
        EXPECT_EQ(file.Read(bytes, 3), 0);
    }
    {
        TFileStream file(folder / "data.bin", fmOpenRead);
        EXPECT_THROW(file.WriteBuffer("x", 1), EWriteError);
    }
    try {
        TFileStream file(folder.path(), fmOpenRead); // a folder is no file
        FAIL() << "no exception";
    } catch (const EFOpenError& e) {
        EXPECT_EQ(e.Message, "Cannot open file \"" + folder.path() + "\". Access is denied.");
    }
    try {
        TFileStream file(folder / "no/such/folder.bin", fmCreate);
        FAIL() << "no exception";
    } catch (const EFCreateError& e) {
        EXPECT_EQ(e.Message, "Cannot create file \"" + folder / "no/such/folder.bin" +
                                 "\". The system cannot find the path specified.");
    }
    TMemoryStream memory;
    memory.LoadFromFile(folder / "data.bin");
    EXPECT_EQ(memory.Size(), 3);
}
