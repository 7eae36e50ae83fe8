#include "unicode/TntClasses.h"

#include "platform/core/CodePages.h"
#include "platform/vcl/Filers.h"
#include "platform/vcl/Resources.h"
#include "unicode/TntSysUtils.h"
#include "unicode/tests/TemporaryFolder.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace {

using test::TemporaryFolder;

std::string bytesOf(TStream& stream) {
    std::string bytes(static_cast<std::size_t>(stream.Size()), '\0');
    stream.SetPosition(0);
    stream.ReadBuffer(bytes.data(), static_cast<Integer>(bytes.size()));
    return bytes;
}

std::unique_ptr<TStringStream> streamOf(const std::string& bytes) {
    return std::make_unique<TStringStream>(bytes);
}

// ---- Loading and saving wide lists ---------------------------------------------------------

TEST(TntStringsLoading, TheByteOrderMarkDecidesTheCharacterSet) {
    struct Case {
        std::string bytes;
        WideString text;
    };
    const Case cases[] = {
        {std::string("\xFF\xFE"
                     "a\0\x16\x04\r\0\n\0b\0",
                     12),
         u"a\u0416\r\nb\r\n"},
        {std::string("\xFE\xFF\0a\x04\x16", 6), u"a\u0416\r\n"},
        {"\xEF\xBB\xBF"
         "a\xD0\x96",
         u"a\u0416\r\n"},
        {"caf\xE9", u"caf\u00E9\r\n"},
        {"a\xD0\x96", u"a\u00D0\u2013\r\n"}, // UTF-8 without a mark is ANSI
        {std::string("\xFF\xFE"
                     "a\0b",
                     5),
         u"a\r\n"}, // an odd last byte is dropped
        {std::string("\xFE\xFF\0a\0", 5), u"a\r\n"},
        {"\xFF\xFE", u""},
        {"\xEF\xBB\xBF", u""},
        {"", u""},
        {"\xFF", u"\u00FF\r\n"},
        {"\xEF\xBB\xBF"
         "one\r\nb\xFF"
         "d\r\nthree",
         u"one\r\nb\uFFFDd\r\nthree\r\n"}, // an ill-formed byte costs no line
    };
    for (const Case& c : cases) {
        TTntStringList list;
        auto stream = streamOf(c.bytes);
        list.LoadFromStream(stream.get());
        EXPECT_EQ(list.Text(), c.text) << testing::PrintToString(c.bytes);
        EXPECT_EQ(stream->Position(), stream->Size());
    }
}

TEST(TntStringsLoading, WithoutMarkDetectionTheStreamIsUtf16) {
    TTntStringList list;
    auto stream = streamOf(std::string("\x16\x04z\0!", 5));
    list.LoadFromStream_BOM(stream.get(), false);
    EXPECT_EQ(list.Text(), u"\u0416z\r\n");
}

TEST(TntStringsLoading, TheBaseListReadsUtf16WithoutLookingForAMark) {
    TTntStringList typed;
    TWideStrings& list = typed;
    auto stream = streamOf(std::string("\xFF\xFE"
                                       "a\0b",
                                       5));
    list.TWideStrings::LoadFromStream(stream.get());
    EXPECT_EQ(list.Text(), u"\uFEFFa\r\n");
}

TEST(TntStringsSaving, AlwaysWritesUtf16LittleEndianWithItsMark) {
    TTntStringList list;
    list.SetText(u"a\u0416");
    TStringStream withMark, withoutMark;
    list.SaveToStream(&withMark);
    list.SaveToStream_BOM(&withoutMark, false);
    EXPECT_EQ(withMark.DataString(), std::string("\xFF\xFE"
                                                 "a\0\x16\x04\r\0\n\0",
                                                 10));
    EXPECT_EQ(withoutMark.DataString(), std::string("a\0\x16\x04\r\0\n\0", 8));
}

TEST(TntStringsFiles, RoundTripThroughFilesWithWideNames) {
    TemporaryFolder folder;
    const WideString utf8Name = folder.Path() + u"/\u0416\u0418\u0412 utf8.txt";
    const WideString savedName = folder.Path() + u"\\\u65E5\u672C.txt";
    {
        TTntFileStream file(utf8Name, fmCreate);
        file.WriteBuffer("\xEF\xBB\xBF\xD0\x96\r\n\xE2\x82\xAC", 10);
    }
    TTntStringList list;
    list.LoadFromFile(utf8Name);
    EXPECT_EQ(list.DetectedFileCharSet(), csUtf8);
    EXPECT_EQ(list.Text(), u"\u0416\r\n\u20AC\r\n");

    list.SaveToFile(savedName);
    TTntStringList reread;
    reread.LoadFromFile(savedName);
    EXPECT_EQ(reread.DetectedFileCharSet(), csUnicode);
    EXPECT_TRUE(reread.Equals(&list));
    TTntMemoryStream saved;
    saved.LoadFromFile(savedName);
    EXPECT_EQ(bytesOf(saved).substr(0, 2), "\xFF\xFE");
}

TEST(TntStringsFiles, AMissingFileLeavesTheListAlone) {
    TemporaryFolder folder;
    TTntStringList list;
    list.Add(u"kept");
    const WideString missing = folder.Path() + u"/missing.txt";
    try {
        list.LoadFromFile(missing);
        ADD_FAILURE();
    } catch (const EFOpenError& error) {
        EXPECT_EQ(error.Message, "Cannot open file " + WideToAnsi(WideExpandFileName(missing)));
    }
    EXPECT_EQ(list.Text(), u"kept\r\n");
    EXPECT_THROW(TTntFileStream(folder.Path() + u"/no/such/folder/x", fmCreate), EFCreateError);
}

// ---- The ANSI view ------------------------------------------------------------------------------

TEST(AnsiView, ShowsTheWideListThroughACodePage) {
    TTntStringList list;
    list.SetText(u"caf\u00E9\r\n\u0416");
    TAnsiStrings* ansi = list.AnsiStrings();
    EXPECT_EQ(ansi->Count(), 2);
    EXPECT_EQ(ansi->Get(0), "caf\xE9");
    EXPECT_EQ(ansi->Get(1), "?");
    ansi->Add("na\xEFve");
    EXPECT_EQ(list[2], u"na\u00EFve");

    TAnsiStringsForWideStringsAdapter cyrillic(&list, 1251);
    EXPECT_EQ(cyrillic.Get(1), "\xC6");
    cyrillic.Put(1, "\xC7");
    EXPECT_EQ(list[1], u"\u0417");
}

TEST(AnsiView, LoadsAndSavesThroughAGivenCodePage) {
    TemporaryFolder folder;
    const WideString name = folder.Path() + u"/utf8.txt";
    TTntStringList list;
    list.SetText(u"\u0416\u20AC");
    list.AnsiStrings()->SaveToFileEx(name, 65001);
    TTntMemoryStream saved;
    saved.LoadFromFile(name);
    EXPECT_EQ(bytesOf(saved), "\xEF\xBB\xBF\xD0\x96\xE2\x82\xAC\r\n");

    TTntStringList other;
    auto stream = streamOf("\xC6\r\n\xC7");
    other.AnsiStrings()->LoadFromStreamEx(stream.get(), 1251);
    EXPECT_EQ(other.Text(), u"\u0416\r\n\u0417\r\n");

    TTntStringList source;
    source.SetText(u"caf\u00E9\r\n\u0416");
    other.SetAnsiStrings(source.AnsiStrings());
    EXPECT_EQ(other.Text(), u"caf\u00E9\r\n?\r\n");
}

// ---- Synchronised wide strings -----------------------------------------------------------------

// A caption the class library keeps as ANSI, with the layer's wide copy beside it.
class TCaptionHolder : public TObject {
public:
    void SetAnsiCaption(const AnsiString& Value) {
        AnsiCaption = Value;
        ansiChanges.push_back(Value);
    }
    WideString GetCaption() { return GetSyncedWideString(WideCaption, AnsiCaption); }
    void SetCaption(const WideString& Value) {
        SetSyncedWideString(Value, WideCaption, AnsiCaption,
                            TSetAnsiStrEvent(this, &TCaptionHolder::SetAnsiCaption));
    }

    AnsiString AnsiCaption;
    WideString WideCaption;
    std::vector<AnsiString> ansiChanges;
};

TEST(SyncedWideString, KeepsTheExactWideValueBesideALossyAnsiOne) {
    TCaptionHolder holder;
    holder.SetCaption(u"\u0416 caf\u00E9");
    EXPECT_EQ(holder.GetCaption(), u"\u0416 caf\u00E9");
    EXPECT_EQ(holder.AnsiCaption, "? caf\xE9");
}

TEST(SyncedWideString, FollowsAnAnsiValueChangedBehindItsBack) {
    TCaptionHolder holder;
    holder.SetCaption(u"\u0416");
    holder.AnsiCaption = "plain";
    EXPECT_EQ(holder.GetCaption(), u"plain");
}

TEST(SyncedWideString, TellsTheAnsiSideOfAChangeItCannotSee) {
    TCaptionHolder holder;
    holder.SetCaption(u"\u0416");
    holder.ansiChanges.clear();
    holder.SetCaption(u"\u0417");
    EXPECT_EQ(holder.ansiChanges, (std::vector<AnsiString>{"", "?"}));
    EXPECT_EQ(holder.GetCaption(), u"\u0417");
    holder.ansiChanges.clear();
    holder.SetCaption(u"\u0417");
    EXPECT_TRUE(holder.ansiChanges.empty());
}

// ---- Wide properties in form resources ------------------------------------------------------------

class TWideTestForm : public TComponent {
public:
    explicit TWideTestForm(TComponent* AOwner) : TComponent(AOwner) {}

    WideString Caption;
    WideChar Accel = 0;
    TTntStringList Lines;

    TTntStrings* GetLines() { return &Lines; }
    void DefineProperties(TFiler* Filer) override {
        TComponent::DefineProperties(Filer);
        TntPersistent_AfterInherited_DefineProperties(Filer, this);
    }
};

const TClass wideTestFormClass =
    DescribeClass<TWideTestForm, TComponent>([](TClassBuilder<TWideTestForm>& c) {
        c.Property("Caption", &TWideTestForm::Caption, &TWideTestForm::Caption);
        c.Property("Accel", &TWideTestForm::Accel, &TWideTestForm::Accel).Default(WideChar(0));
        c.Property("Lines", &TWideTestForm::GetLines);
    });

class WideFormResource : public ::testing::Test {
protected:
    void TearDown() override { RuntimeUTFStreaming = false; }

    static AnsiString written(const WideString& caption, WideChar accel, const WideString& lines) {
        TWideTestForm form(nullptr);
        form.SetName("Form");
        form.Caption = caption;
        form.Accel = accel;
        form.Lines.SetText(lines);
        return WriteComponentText(&form);
    }
};

TEST_F(WideFormResource, WritesUtf7CopiesOnlyOfTextBeyondAscii) {
    const AnsiString wide = written(u"\u0416 ok", u'\u0416', u"plain\r\n\u0417");
    EXPECT_NE(wide.find("Caption_UTF7 = '+BBY ok'"), AnsiString::npos) << wide;
    EXPECT_NE(wide.find("AccelW = "), AnsiString::npos) << wide;
    EXPECT_NE(wide.find("Lines.WideStrings_UTF7 = (\n    'plain'\n    '+BBc')"), AnsiString::npos) << wide;
    EXPECT_EQ(wide.find("CaptionW"), AnsiString::npos) << wide;

    const AnsiString ascii = written(u"plain", u'a', u"only ascii");
    EXPECT_EQ(ascii.find("_UTF7"), AnsiString::npos) << ascii;
    EXPECT_NE(ascii.find("AccelW = "), AnsiString::npos) << ascii;
    EXPECT_EQ(written(u"", 0, u"").find("AccelW"), AnsiString::npos);
}

TEST_F(WideFormResource, ReadsBackWhatItWrote) {
    const AnsiString text = written(u"\u0416 ok", u'\u0416', u"plain\r\n\u0417");
    for (const bool runtimeStreaming : {false, true}) {
        RuntimeUTFStreaming = runtimeStreaming;
        TWideTestForm form(nullptr);
        ReadComponentText(text, &form);
        EXPECT_EQ(form.Caption, u"\u0416 ok");
        EXPECT_EQ(form.Accel, u'\u0416');
        EXPECT_EQ(form.Lines.Text(), u"plain\r\n\u0417\r\n");
    }
}

TEST_F(WideFormResource, AppliesUtfCopiesOnlyWhenRuntimeStreamingIsOn) {
    const AnsiString text = "object Form: TWideTestForm\n"
                            "  Caption_UTF7 = '+BBY-'\n"
                            "  AccelW = 'x'\n"
                            "  Lines.WideStrings_UTF7 = (\n"
                            "    '+BBc-')\n"
                            "end\n";
    TWideTestForm dropped(nullptr);
    ReadComponentText(text, &dropped);
    EXPECT_EQ(dropped.Caption, u"");
    EXPECT_EQ(dropped.Lines.Count(), 0);
    EXPECT_EQ(dropped.Accel, u'x');

    RuntimeUTFStreaming = true;
    TWideTestForm applied(nullptr);
    ReadComponentText(text, &applied);
    EXPECT_EQ(applied.Caption, u"\u0416");
    EXPECT_EQ(applied.Lines.Text(), u"\u0417\r\n");
}

TEST_F(WideFormResource, ReadsUtf8CopiesAndTheWideCharactersOtherForms) {
    RuntimeUTFStreaming = true;
    TWideTestForm form(nullptr);
    ReadComponentText("object Form: TWideTestForm\n"
                      "  CaptionW = '\xD0\x96\xE2\x82\xAC'\n"
                      "  Accel_UTF7 = '+BBc-'\n"
                      "  Lines.WideStringsW = (\n"
                      "    '\xD0\x96')\n"
                      "end\n",
                      &form);
    EXPECT_EQ(form.Caption, u"\u0416\u20AC");
    EXPECT_EQ(form.Accel, u'\u0417');
    EXPECT_EQ(form.Lines.Text(), u"\u0416\r\n");
}

TEST_F(WideFormResource, AWideCharacterOfTwoCharactersIsInvalid) {
    TWideTestForm form(nullptr);
    EXPECT_THROW(ReadComponentText("object Form: TWideTestForm\n  AccelW = 'ab'\nend\n", &form), EReadError);
    EXPECT_THROW(ReadComponentText("object Form: TWideTestForm\n  AccelW = 5\nend\n", &form), EReadError);
}

// ---- Component side objects ----------------------------------------------------------------------------

TEST(WideComponentHelper, KeepsItsListSortedAndGoesWithItsComponent) {
    TComponentList helpers;
    std::vector<std::unique_ptr<TComponent>> components;
    for (int i = 0; i < 5; ++i)
        components.push_back(std::make_unique<TComponent>(nullptr));
    for (auto order : {3, 0, 4, 1, 2})
        new TWideComponentHelper(components[static_cast<std::size_t>(order)].get(), &helpers);
    ASSERT_EQ(helpers.Count(), 5);
    for (Integer i = 1; i < helpers.Count(); ++i)
        EXPECT_LT(static_cast<TWideComponentHelper*>(helpers.Items(i - 1))->Component(),
                  static_cast<TWideComponentHelper*>(helpers.Items(i))->Component());
    for (const auto& component : components)
        EXPECT_EQ(FindWideComponentHelper(&helpers, component.get())->Component(), component.get());

    TComponent* gone = components[2].get();
    components[2].reset();
    EXPECT_EQ(helpers.Count(), 4);
    EXPECT_EQ(FindWideComponentHelper(&helpers, gone), nullptr);
    TComponent stranger(nullptr);
    EXPECT_EQ(FindWideComponentHelper(&helpers, &stranger), nullptr);
}

// Logs addresses, not pointers: a pointer's value may not be used once it is freed.
class TFreeLog : public TComponent {
public:
    TFreeLog(std::vector<std::uintptr_t>& freed) : TComponent(nullptr), freed_(freed) {}
    ~TFreeLog() override { freed_.push_back(reinterpret_cast<std::uintptr_t>(this)); }

private:
    std::vector<std::uintptr_t>& freed_;
};

TEST(ComponentList, OwnsItsEntriesAndForgetsThoseFreedElsewhere) {
    std::vector<std::uintptr_t> freed;
    auto* kept = new TFreeLog(freed);
    auto* extracted = new TFreeLog(freed);
    auto* gone = new TFreeLog(freed);
    const auto keptAddress = reinterpret_cast<std::uintptr_t>(kept);
    const auto goneAddress = reinterpret_cast<std::uintptr_t>(gone);
    {
        TComponentList list;
        EXPECT_EQ(list.Add(kept), 0);
        list.Add(extracted);
        list.Insert(0, gone);
        EXPECT_EQ(list.IndexOf(kept), 1);
        delete gone;
        EXPECT_EQ(list.Count(), 2);
        EXPECT_EQ(list.Extract(extracted), extracted);
        EXPECT_EQ(list.Extract(extracted), nullptr);
        EXPECT_THROW(list.Items(1), EListError);
    }
    EXPECT_EQ(freed, (std::vector<std::uintptr_t>{goneAddress, keptAddress}));
    delete extracted;
}

TEST(WideComponentHelper, TheOneArgumentConstructorIsAnInternalError) {
    TComponent owner(nullptr);
    try {
        TWideComponentHelper helper(&owner);
        ADD_FAILURE();
    } catch (const ETntInternalError& error) {
        EXPECT_EQ(error.Message,
                  "TNT Internal Error: TWideComponentHelper.Create should never be encountered.");
    }
    EXPECT_EQ(owner.ComponentCount(), 0);
}

// ---- Streams and buffers
// ------------------------------------------------------------------------------------

TEST(BufferedStreamReader, ReadsAcrossItsBufferAndSeeksFreely) {
    std::string data;
    for (int i = 0; i < 1000; ++i)
        data += static_cast<char>(i * 7);
    TStringStream source(data);
    TBufferedStreamReader reader(&source, 64);
    EXPECT_EQ(reader.Size(), 1000);
    std::string got(1000, '\0');
    for (Integer size : {1, 63, 2, 200, 64, 5}) {
        const Int64 at = reader.Position();
        ASSERT_EQ(reader.Read(got.data(), size), size);
        EXPECT_EQ(got.substr(0, static_cast<std::size_t>(size)),
                  data.substr(static_cast<std::size_t>(at), static_cast<std::size_t>(size)));
    }
    reader.Seek(-10, soFromEnd);
    EXPECT_EQ(reader.Read(got.data(), 100), 10);
    EXPECT_EQ(got.substr(0, 10), data.substr(990));
    EXPECT_EQ(reader.Read(got.data(), 1), 0);
    reader.Seek(-5, soFromBeginning);
    EXPECT_EQ(reader.Read(got.data(), 1), 0);
    EXPECT_THROW(reader.Write("x", 1), ETntInternalError);
}

TEST(BufferedStrings, GrowAndEndAtTheFirstNul) {
    TBufferedWideString wide;
    for (int i = 0; i < 300; ++i)
        wide.AddChar(u'\u0416');
    wide.AddString(u"ab");
    wide.AddBuffer(u"cdef", 2);
    EXPECT_EQ(wide.Value(), WideString(300, u'\u0416') + u"abcd");
    wide.Clear();
    wide.AddString(u"x");
    EXPECT_EQ(wide.Value(), u"x");

    TBufferedAnsiString ansi;
    ansi.AddString("hello ");
    ansi.AddChar('w');
    ansi.AddBuffer("orld\0ignored", 100);
    EXPECT_EQ(ansi.Value(), "hello world");
    ansi.Clear();
    EXPECT_EQ(ansi.Value(), "");
}

TEST(ResourceStream, ReadsAProgramResourceAndRefusesToWrite) {
    const auto rcData = reinterpret_cast<LPCWSTR>(static_cast<UINT_PTR>(10));
    TTntResourceStream stream(nullptr, u"TntWideText", rcData);
    TTntStringList list;
    list.LoadFromStream(&stream);
    EXPECT_EQ(list.Text(), u"\u0416\u0418\u0412\r\nline two\r\n");
    EXPECT_THROW(stream.Write("x", 1), EStreamError);
    TemporaryFolder folder;
    stream.SaveToFile(folder.Path() + u"/\u0416.txt");
    TTntStringList copy;
    copy.LoadFromFile(folder.Path() + u"/\u0416.txt");
    EXPECT_TRUE(copy.Equals(&list));
}

TEST(ResourceStream, AMissingResourceIsReported) {
    try {
        TTntResourceStream stream(nullptr, u"NO_SUCH_RESOURCE", nullptr);
        ADD_FAILURE();
    } catch (const EResNotFound& error) {
        EXPECT_EQ(error.Message, "Resource NO_SUCH_RESOURCE not found");
    }
}

} // namespace
