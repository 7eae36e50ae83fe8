#include "editor/SynEditTextBuffer.h"

#include "platform/core/SysUtils.h"

#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <random>
#include <sys/resource.h>
#include <sys/stat.h>

using namespace std::string_literals;

namespace {

std::vector<AnsiString> linesOf(const TSynEditStringList& list) {
    std::vector<AnsiString> lines;
    for (Integer i = 0; i < list.Count(); ++i)
        lines.push_back(list[i]);
    return lines;
}

void fill(TSynEditStringList& list, std::initializer_list<const char*> lines) {
    for (const char* line : lines)
        list.Add(line);
}

AnsiString savedText(TSynEditStringList& list) {
    TStringStream stream;
    list.SaveToStream(&stream);
    return stream.DataString();
}

// Writes every event of the list into one log, e.g. "changing inserted(0,1) change".
struct EventLog : TObject {
    explicit EventLog(TSynEditStringList& list) {
        list.OnChanging = TNotifyEvent(this, &EventLog::Changing);
        list.OnChange = TNotifyEvent(this, &EventLog::Change);
        list.OnCleared = TNotifyEvent(this, &EventLog::Cleared);
        list.OnInserted = TStringListChangeEvent(this, &EventLog::Inserted);
        list.OnDeleted = TStringListChangeEvent(this, &EventLog::Deleted);
        list.OnPutted = TStringListChangeEvent(this, &EventLog::Putted);
    }
    void Changing(TObject*) { write("changing"); }
    void Change(TObject*) { write("change"); }
    void Cleared(TObject*) { write("cleared"); }
    void Inserted(TObject*, Integer index, Integer count) { write("inserted", index, count); }
    void Deleted(TObject*, Integer index, Integer count) { write("deleted", index, count); }
    void Putted(TObject*, Integer index, Integer count) { write("putted", index, count); }

    void write(const std::string& event) { text += (text.empty() ? "" : " ") + event; }
    void write(const std::string& event, Integer index, Integer count) {
        write(event + "(" + std::to_string(index) + "," + std::to_string(count) + ")");
    }
    std::string take() { return std::exchange(text, std::string()); }

    std::string text;
};

// A stream that promises more bytes than it delivers.
class ShortStream : public TStringStream {
public:
    using TStringStream::TStringStream;
    Int64 Size() override { return TStringStream::Size() + 100; }
};

// A folder of its own for each test, removed afterwards.
struct TempFolder {
    TempFolder() {
        path = std::filesystem::temp_directory_path() /
               ("editor-buffer-" + std::to_string(::getpid()) + "-" +
                testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::remove_all(path);
        std::filesystem::create_directories(path);
    }
    ~TempFolder() { std::filesystem::remove_all(path); }
    AnsiString file(const std::string& name) const { return (path / name).string(); }
    std::vector<std::string> names() const {
        std::vector<std::string> result;
        for (const auto& entry : std::filesystem::directory_iterator(path))
            result.push_back(entry.path().filename().string());
        std::sort(result.begin(), result.end());
        return result;
    }
    std::filesystem::path path;
};

std::string readFile(const AnsiString& name) {
    std::ifstream in(name, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

void writeFile(const AnsiString& name, const std::string& content) {
    std::ofstream(name, std::ios::binary) << content;
}

} // namespace

TEST(LineBuffer, LoadSplitsAtEveryLineBreakConventionAndKeepsNul) {
    struct Case {
        std::string bytes;
        bool trailingLineBreak;
        std::vector<AnsiString> lines;
        TSynEditFileFormat format;
    };
    const Case cases[] = {
        {"a\r\nb", false, {"a", "b"}, sffDos},
        {"a\nb\n", false, {"a", "b", ""}, sffUnix},
        {"a\nb\n", true, {"a", "b"}, sffUnix},
        {"a\rb", false, {"a", "b"}, sffMac},
        {"a\rb\r", false, {"a", "b", ""}, sffMac},
        {"a\n\rb", false, {"a", "", "b"}, sffDos},
        {"a\r\r\nb", false, {"a", "", "b"}, sffDos},
        {"abc", false, {"abc"}, sffDos},
        {"", false, {}, sffDos},
        {"\r\n", false, {"", ""}, sffDos},
        {"\n\n", false, {"", "", ""}, sffUnix},
        {"a\0b\nc\0"s, false, {"a\0b"s, "c\0"s}, sffUnix},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.bytes));
        TSynEditStringList list;
        list.SetFileFormat(sffMac);
        list.SetTrailingLineBreak(c.trailingLineBreak);
        TStringStream stream(c.bytes);
        list.LoadFromStream(&stream);
        EXPECT_EQ(linesOf(list), c.lines);
        EXPECT_EQ(list.FileFormat(), c.format);
    }
}

TEST(LineBuffer, LoadReadsTheWholeStreamWhereverItIsPositioned) {
    TSynEditStringList list;
    fill(list, {"old"});
    TStringStream stream("one\ntwo");
    stream.SetPosition(5);
    list.LoadFromStream(&stream);
    EXPECT_EQ(linesOf(list), (std::vector<AnsiString>{"one", "two"}));
}

TEST(LineBuffer, SaveWritesTheFileFormatsBreakBetweenLines) {
    struct Case {
        TSynEditFileFormat format;
        bool trailingLineBreak;
        std::string bytes;
    };
    const Case cases[] = {
        {sffUnix, false, "a\nb\n"}, {sffUnix, true, "a\nb\n\n"},      {sffDos, false, "a\r\nb\r\n"},
        {sffMac, false, "a\rb\r"},  {sffDos, true, "a\r\nb\r\n\r\n"},
    };
    for (const Case& c : cases) {
        TSynEditStringList list;
        fill(list, {"a", "b", ""});
        list.SetFileFormat(c.format);
        list.SetTrailingLineBreak(c.trailingLineBreak);
        EXPECT_EQ(savedText(list), c.bytes) << c.format << " " << c.trailingLineBreak;
    }
    TSynEditStringList empty;
    EXPECT_EQ(savedText(empty), "");
    empty.SetTrailingLineBreak(true);
    EXPECT_EQ(savedText(empty), "");
}

TEST(LineBuffer, TextIsJoinedWithCrLfAndSplitByTheFrameworkRules) {
    TSynEditStringList list;
    EXPECT_EQ(list.GetTextStr(), "");
    list.Add("");
    EXPECT_EQ(list.GetTextStr(), "");
    list.Add("b");
    EXPECT_EQ(list.GetTextStr(), "\r\nb");

    list.SetTextStr("x\r\ny\nz\r\n\0ignored"s);
    EXPECT_EQ(linesOf(list), (std::vector<AnsiString>{"x", "y", "z"}));
}

TEST(LineBuffer, EventsFireInsideTheUpdateBracket) {
    TSynEditStringList list;
    EventLog log(list);
    struct Case {
        const char* what;
        std::function<void()> act;
        std::string events;
    };
    const Case cases[] = {
        {"Put on an empty list", [&] { list.Put(0, "first"); }, "changing inserted(0,1) change"},
        {"Add", [&] { list.Add("second"); }, "changing inserted(1,1) change"},
        {"Put", [&] { list.Put(1, "2nd"); }, "changing putted(1,1) change"},
        {"Insert", [&] { list.Insert(0, "zero"); }, "changing inserted(0,1) change"},
        {"InsertText", [&] { list.InsertText(0, "x\r\ny"); },
         "changing inserted(0,2) putted(0,1) putted(1,1) change"},
        {"InsertLines", [&] { list.InsertLines(2, 3); }, "changing inserted(2,3) change"},
        {"PutObject", [&] { list.PutObject(0, &list); }, "changing change"},
        {"PutRange", [&] { list.PutRange(0, 7); }, "changing change"},
        {"Exchange", [&] { list.Exchange(0, 1); }, "changing change"},
        {"Delete", [&] { list.Delete(0); }, "changing deleted(0,1) change"},
        {"DeleteLines in the middle", [&] { list.DeleteLines(1, 2); }, "changing change deleted(1,2)"},
        {"DeleteLines at the end", [&] { list.DeleteLines(list.Count() - 2, 5); }, "deleted(3,2)"},
        {"SetTabWidth", [&] { list.SetTabWidth(3); }, ""},
        {"AddStrings",
         [&] {
             TStringList more;
             more.Add("m1");
             more.Add("m2");
             list.AddStrings(&more);
         },
         "changing inserted(3,2) change"},
        {"nested updates",
         [&] {
             list.BeginUpdate();
             list.Add("n");
             list.EndUpdate();
         },
         "changing inserted(5,1) change"},
        {"Clear", [&] { list.Clear(); }, "changing cleared change"},
        {"Clear of an empty list", [&] { list.Clear(); }, ""},
    };
    for (const Case& c : cases) {
        c.act();
        EXPECT_EQ(log.take(), c.events) << c.what;
    }
}

TEST(LineBuffer, LoadReportsEachLineAfterClearing) {
    TSynEditStringList list;
    fill(list, {"old"});
    EventLog log(list);
    TStringStream stream("a\nb\n");
    list.LoadFromStream(&stream);
    EXPECT_EQ(log.take(), "changing cleared inserted(0,1) inserted(1,1) inserted(2,1) change");
}

TEST(LineBuffer, BadIndexesRaiseAndLeaveTheListAlone) {
    TSynEditStringList list;
    fill(list, {"a", "b"});
    EventLog log(list);
    const std::pair<const char*, std::function<void()>> cases[] = {
        {"Insert", [&] { list.Insert(3, "x"); }},
        {"Insert", [&] { list.Insert(-1, "x"); }},
        {"Put", [&] { list.Put(3, "x"); }},
        {"Delete", [&] { list.Delete(2); }},
        {"Exchange", [&] { list.Exchange(0, 2); }},
        {"PutObject", [&] { list.PutObject(2, nullptr); }},
        {"PutRange", [&] { list.PutRange(-1, 0); }},
        {"InsertLines", [&] { list.InsertLines(3, 1); }},
        {"DeleteLines", [&] { list.DeleteLines(3, 1); }},
    };
    for (const auto& [what, act] : cases) {
        try {
            act();
            ADD_FAILURE() << what << " accepted a bad index";
        } catch (const ESynEditStringList& e) {
            EXPECT_TRUE(e.Message.starts_with("Invalid stringlist index ")) << e.Message;
        }
    }
    try {
        list.Delete(7);
    } catch (const ESynEditStringList& e) {
        EXPECT_EQ(e.Message, "Invalid stringlist index 7");
    }
    EXPECT_EQ(linesOf(list), (std::vector<AnsiString>{"a", "b"}));
    EXPECT_EQ(log.take(), "");

    // InsertLines checks the index first, DeleteLines the number of lines.
    EXPECT_THROW(list.InsertLines(5, 0), ESynEditStringList);
    list.DeleteLines(9, 0);
    try {
        list.SetCapacity(1);
        FAIL() << "capacity below count accepted";
    } catch (const EListError& e) {
        EXPECT_EQ(e.Message, "Stringlist capacity cannot be smaller than count");
    }
}

TEST(LineBuffer, ReadingOutsideTheListGivesEmptyValues) {
    TSynEditStringList list;
    fill(list, {"a\tb"});
    for (Integer index : {-1, 1, 100}) {
        EXPECT_EQ(list.Get(index), "");
        EXPECT_EQ(list.GetObject(index), nullptr);
        EXPECT_EQ(list.GetRange(index), 0);
        EXPECT_EQ(list.GetExpandedString(index), "");
        EXPECT_EQ(list.GetExpandedStringLength(index), 0);
    }
}

TEST(LineBuffer, RangesStartUnscannedAndSurviveAPut) {
    TSynEditStringList list;
    fill(list, {"a", "b"});
    EXPECT_EQ(list.GetRange(0), NullRange);
    list.PutRange(0, 5);
    list.Put(0, "changed");
    EXPECT_EQ(list.GetRange(0), 5);
    list.InsertLines(0, 2);
    EXPECT_EQ(list.GetRange(0), NullRange);
    EXPECT_EQ(list.GetRange(1), NullRange);
    EXPECT_EQ(list.GetRange(2), 5);
}

TEST(LineBuffer, ObjectsFollowAddStringsButNotInsertStrings) {
    TSynEditStringList list;
    TStringList source;
    TObject marker;
    source.AddObject("x", &marker);
    list.AddStrings(&source);
    list.InsertStrings(0, &source);
    EXPECT_EQ(linesOf(list), (std::vector<AnsiString>{"x", "x"}));
    EXPECT_EQ(list.GetObject(0), nullptr);
    EXPECT_EQ(list.GetObject(1), &marker);
    list.AddObject("y", &marker);
    EXPECT_EQ(list.GetObject(2), &marker);
}

TEST(LineBuffer, CapacityGrowsBySixteenThenByAQuarter) {
    TSynEditStringList list;
    std::vector<Integer> capacities;
    for (int i = 0; i < 101; ++i) {
        list.Add("");
        if (capacities.empty() || capacities.back() != list.Capacity()) capacities.push_back(list.Capacity());
    }
    EXPECT_EQ(capacities, (std::vector<Integer>{16, 32, 48, 64, 80, 100, 125}));

    TSynEditStringList other;
    TStringList twenty;
    for (int i = 0; i < 20; ++i)
        twenty.Add("");
    other.AddStrings(&twenty);
    EXPECT_EQ(other.Capacity(), 32);
}

TEST(LineBuffer, ExpandedLinesAreCachedPerTabWidth) {
    TSynEditStringList list;
    fill(list, {"ab\tc", "", "\t\tx", "plain"});
    EXPECT_EQ(list.TabWidth(), 8);
    EXPECT_EQ(list.GetExpandedString(0), "ab\t\t\t\t\t\tc");
    EXPECT_EQ(list.GetExpandedStringLength(0), 9);
    EXPECT_EQ(list.GetExpandedString(1), "");
    EXPECT_EQ(list.GetExpandedString(3), "plain");
    EXPECT_EQ(list.GetLengthOfLongestLine(), 17);

    list.SetTabWidth(4);
    EXPECT_EQ(list.GetExpandedStringLength(0), 5);
    EXPECT_EQ(list.GetExpandedString(2), "\t\t\t\t\t\t\t\tx");
    EXPECT_EQ(list.GetLengthOfLongestLine(), 9);

    list.Exchange(2, 3);
    EXPECT_EQ(list.GetLengthOfLongestLine(), 9);
    list.Put(1, "a much longer line");
    EXPECT_EQ(list.GetLengthOfLongestLine(), 18);
    list.Delete(1);
    EXPECT_EQ(list.GetLengthOfLongestLine(), 9);

    list.SetTabWidth(1);
    EXPECT_EQ(list.GetExpandedString(0), "ab c");
    EXPECT_EQ(list.GetExpandedStringLength(2), 3);

    TSynEditStringList blank;
    fill(blank, {"", ""});
    EXPECT_EQ(blank.GetLengthOfLongestLine(), 0);
}

TEST(LineBuffer, FailedLoadEmptiesTheListAndPassesTheErrorOn) {
    TSynEditStringList list;
    fill(list, {"kept?"});
    EventLog log(list);
    ShortStream stream("a\nb");
    EXPECT_THROW(list.LoadFromStream(&stream), EReadError);
    EXPECT_EQ(list.Count(), 0);
    EXPECT_EQ(log.take(), "changing cleared change");

    fill(list, {"still here"});
    EXPECT_THROW(list.LoadFromFile("/nonexistent-folder/missing.txt"), EFOpenError);
    EXPECT_EQ(linesOf(list), (std::vector<AnsiString>{"still here"}));
}

TEST(LineBuffer, ListenerFailureDuringLoadEmptiesTheList) {
    struct Failing : TObject {
        int calls = 0;
        void Inserted(TObject*, Integer, Integer) {
            if (++calls == 2) throw EAbort("stop");
        }
    } failing;
    TSynEditStringList list;
    list.OnInserted = TStringListChangeEvent(&failing, &Failing::Inserted);
    TStringStream stream("a\nb\nc");
    EXPECT_THROW(list.LoadFromStream(&stream), EAbort);
    EXPECT_EQ(list.Count(), 0);
}

TEST(LineBufferFiles, SaveAndLoadKeepTextAndLineBreaks) {
    TempFolder folder;
    const AnsiString name = folder.file("script.js");
    writeFile(name, "var a;\nvar b;\n\talert(a);");
    TSynEditStringList list;
    list.LoadFromFile(name);
    EXPECT_EQ(list.FileFormat(), sffUnix);
    EXPECT_EQ(list.Count(), 3);
    list.Put(1, "var b = 2;");
    list.SaveToFile(name);
    EXPECT_EQ(readFile(name), "var a;\nvar b = 2;\n\talert(a);");
    EXPECT_EQ(folder.names(), std::vector<std::string>{"script.js"});
}

TEST(LineBufferFiles, SaveKeepsThePermissionsOfTheReplacedFile) {
    TempFolder folder;
    const AnsiString name = folder.file("run.sh");
    writeFile(name, "old");
    ::chmod(name.c_str(), 0750);
    TSynEditStringList list;
    fill(list, {"new"});
    list.SaveToFile(name);
    struct stat info {};
    ASSERT_EQ(::stat(name.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0750u);
    EXPECT_EQ(readFile(name), "new");
}

TEST(LineBufferFiles, SaveThroughASymbolicLinkReplacesItsTarget) {
    TempFolder folder;
    const AnsiString target = folder.file("real.txt");
    const AnsiString link = folder.file("link.txt");
    writeFile(target, "old");
    std::filesystem::create_symlink(target, link);
    TSynEditStringList list;
    fill(list, {"new"});
    list.SaveToFile(link);
    EXPECT_TRUE(std::filesystem::is_symlink(link));
    EXPECT_EQ(readFile(target), "new");
}

TEST(LineBufferFiles, FailedWriteLeavesTheOldFileWhole) {
    TempFolder folder;
    const AnsiString name = folder.file("page.htm");
    writeFile(name, "the old page");
    TSynEditStringList list;
    for (int i = 0; i < 10000; ++i)
        list.Add("a line that makes the file too big to be written");

    // A file-size limit makes the write fail part way, as a full disk would.
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit old{};
    ::getrlimit(RLIMIT_FSIZE, &old);
    rlimit limited = old;
    limited.rlim_cur = 4096;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &limited), 0);
    EXPECT_THROW(list.SaveToFile(name), EWriteError);
    ::setrlimit(RLIMIT_FSIZE, &old);

    EXPECT_EQ(readFile(name), "the old page");
    EXPECT_EQ(folder.names(), std::vector<std::string>{"page.htm"});
}

TEST(LineBufferFiles, SaveThatCannotReplaceTheTargetRaisesAndLeavesNothingBehind) {
    TempFolder folder;
    std::filesystem::create_directory(folder.path / "taken");
    TSynEditStringList list;
    fill(list, {"text"});
    EXPECT_THROW(list.SaveToFile(folder.file("taken")), EFCreateError);
    EXPECT_TRUE(std::filesystem::is_directory(folder.path / "taken"));
    EXPECT_EQ(folder.names(), std::vector<std::string>{"taken"});
    EXPECT_THROW(list.SaveToFile(folder.file("missing/file.txt")), EFCreateError);
}

TEST(LineBufferFiles, BackslashesSeparateFoldersToo) {
    TempFolder folder;
    const AnsiString name = folder.path.string() + "\\sub.txt";
    TSynEditStringList list;
    fill(list, {"x"});
    list.SaveToFile(name);
    EXPECT_EQ(readFile(folder.file("sub.txt")), "x");
}

// Random typing, deleting and line breaking done on the buffer the way the
// editor does it, and on a plain string; both must always hold the same text.
TEST(LineBufferModel, RandomEditsMatchAPlainString) {
    TSynEditStringList list;
    std::string model;
    std::mt19937 random(20240611);
    const std::string alphabet = "abc \t;{}";

    auto startOfLine = [&](Integer line) {
        std::size_t position = 0;
        for (Integer i = 0; i < line; ++i)
            position = model.find('\n', position) + 1;
        return position;
    };
    auto textOfList = [&] {
        std::string text;
        for (Integer i = 0; i < list.Count(); ++i)
            text += (i > 0 ? "\n" : "") + list[i];
        return text;
    };

    list.Add("");
    Integer line = 0;
    std::size_t lineStart = 0; // where `line` starts in the model
    for (int step = 0; step < 100000; ++step) {
        if (random() % 8 == 0) {
            line = static_cast<Integer>(random() % list.Count());
            lineStart = startOfLine(line);
        }
        const AnsiString current = list[line];
        const std::size_t column = random() % (current.size() + 1);
        const std::size_t at = lineStart + column;
        switch (random() % 4) {
        case 0:
        case 1: { // type a character
            const char typed = alphabet[random() % alphabet.size()];
            list.Put(line, current.substr(0, column) + typed + current.substr(column));
            model.insert(at, 1, typed);
            break;
        }
        case 2: // delete the character after the caret, joining lines at the end
            if (column < current.size()) {
                list.Put(line, current.substr(0, column) + current.substr(column + 1));
                model.erase(at, 1);
            } else if (line + 1 < list.Count()) {
                list.Put(line, current + list[line + 1]);
                list.Delete(line + 1);
                model.erase(at, 1);
            }
            break;
        case 3: // line break
            list.Put(line, current.substr(0, column));
            list.Insert(line + 1, current.substr(column));
            model.insert(at, 1, '\n');
            ++line;
            lineStart = at + 1;
            break;
        }
        const std::size_t lineEnd = model.find('\n', lineStart);
        ASSERT_EQ(list[line], model.substr(lineStart, lineEnd - lineStart)) << "step " << step;
        if (step % 5000 == 0) {
            ASSERT_EQ(textOfList(), model) << "step " << step;
        }
    }
    ASSERT_EQ(textOfList(), model);

    list.SetFileFormat(sffUnix);
    TSynEditStringList reloaded;
    TStringStream stream(savedText(list));
    reloaded.LoadFromStream(&stream);
    EXPECT_EQ(linesOf(reloaded), linesOf(list));
}

// Every operation that moves lines, on a buffer loaded with enough lines to
// be stored in many pieces, against a plain vector of (text, object, range)
// lines: blocks inserted and deleted across the pieces' borders, exchanges
// far apart, objects and ranges that must travel with their lines, and room
// reserved and given back.
TEST(LineBufferModel, BlockEditsOnALoadedFileMatchAPlainVector) {
    struct Line {
        AnsiString text;
        TObject* object = nullptr;
        TSynRangeValue range = NullRange;
        bool operator==(const Line&) const = default;
    };
    std::vector<Line> model;
    TSynEditStringList list;
    {
        AnsiString text;
        for (int i = 0; i < 30000; ++i) {
            text += "line " + std::to_string(i) + "\n";
            model.push_back({"line " + std::to_string(i)});
        }
        model.push_back({""});
        TStringStream stream(text);
        list.LoadFromStream(&stream);
    }
    std::vector<TObject> objects(4);
    std::mt19937 random(49);
    auto anywhere = [&](std::size_t extra = 0) {
        return static_cast<Integer>(random() % (model.size() + extra));
    };
    auto lineCount = [&] { return static_cast<Integer>(1 + random() % (random() % 4 == 0 ? 6000 : 20)); };
    auto contentsOf = [&] {
        std::vector<Line> lines;
        for (Integer i = 0; i < list.Count(); ++i)
            lines.push_back({list[i], list.GetObject(i), list.GetRange(i)});
        return lines;
    };
    for (int step = 0; step < 2000; ++step) {
        const AnsiString text = "step " + std::to_string(step);
        switch (random() % 9) {
        case 0: { // a line typed in
            const Integer at = anywhere(1);
            list.Insert(at, text);
            model.insert(model.begin() + at, {text});
            break;
        }
        case 1: { // a block pasted
            const Integer at = anywhere(1);
            TStringList block;
            for (Integer i = lineCount(); i > 0; --i)
                block.Add(text + "/" + std::to_string(i));
            list.InsertStrings(at, &block);
            std::vector<Line> pasted;
            for (Integer i = 0; i < block.Count(); ++i)
                pasted.push_back({block[i]});
            model.insert(model.begin() + at, pasted.begin(), pasted.end());
            break;
        }
        case 2: { // a block cut, sometimes reaching past the end
            if (model.empty()) break;
            const Integer at = anywhere();
            const Integer lines = lineCount();
            list.DeleteLines(at, lines);
            model.erase(model.begin() + at, model.begin() + std::min<std::size_t>(model.size(), at + lines));
            break;
        }
        case 3:
            if (!model.empty()) {
                const Integer at = anywhere();
                list.Delete(at);
                model.erase(model.begin() + at);
            }
            break;
        case 4:
            if (!model.empty()) {
                const Integer first = anywhere();
                const Integer second = anywhere();
                list.Exchange(first, second);
                std::swap(model[first], model[second]);
            }
            break;
        case 5:
            if (!model.empty()) {
                const Integer at = anywhere();
                TObject* object = random() % 3 == 0 ? nullptr : &objects[random() % objects.size()];
                list.PutObject(at, object);
                model[at].object = object;
                list.PutRange(at, step);
                model[at].range = step;
            }
            break;
        case 6:
            if (!model.empty()) {
                const Integer at = anywhere();
                list.Put(at, text);
                model[at].text = text;
            }
            break;
        case 7: { // lines added with their objects
            TStringList added;
            for (Integer i = lineCount(); i > 0; --i)
                added.AddObject(text, &objects[i % objects.size()]);
            list.AddStrings(&added);
            for (Integer i = 0; i < added.Count(); ++i)
                model.push_back({text, added.GetObject(i)});
            break;
        }
        case 8: { // room reserved, then given back down to the lines
            list.SetCapacity(list.Count() + lineCount());
            EXPECT_GE(list.Capacity(), list.Count());
            list.SetCapacity(list.Count());
            EXPECT_EQ(list.Capacity(), list.Count()) << "step " << step;
            break;
        }
        }
        ASSERT_EQ(list.Count(), static_cast<Integer>(model.size())) << "step " << step;
        if (step % 100 == 0) {
            ASSERT_TRUE(contentsOf() == model) << "step " << step;
        }
    }
    ASSERT_TRUE(contentsOf() == model);
    list.SetFileFormat(sffUnix);
    TSynEditStringList reloaded;
    TStringStream stream(savedText(list));
    reloaded.LoadFromStream(&stream);
    EXPECT_EQ(linesOf(reloaded), linesOf(list));
}
