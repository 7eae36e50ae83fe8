#include "editor/SynEditKeyCmds.h"

#include "platform/core/Classes.h"
#include "platform/vcl/TypInfo.h"

#include <gtest/gtest.h>

#include <set>
#include <vector>

namespace {

constexpr TShiftState none{};
constexpr TShiftState ctrl{ssCtrl};
constexpr TShiftState ctrlShift{ssCtrl, ssShift};
constexpr TShiftState alt{ssAlt};
constexpr TShiftState shiftAlt{ssShift, ssAlt};

constexpr Word keyB = 'B';
constexpr Word keyK = 'K';
constexpr TShortCut ctrlC = 0x4043;
constexpr TShortCut ctrlK = 0x4000 | keyK;
constexpr TShortCut ctrlB = 0x4000 | keyB;

struct Binding {
    Word key;
    Byte shift;
    Word command;
};

// The default map as the editor documents it: key code, shift bits (1 Shift,
// 2 Alt, 4 Ctrl) and command number, in order.
const std::vector<Binding> documentedDefaultMap = {
    {38, 0, 3},   {38, 1, 103}, {38, 4, 211},  {40, 0, 4},   {40, 1, 104}, {40, 4, 212}, {37, 0, 1},
    {37, 1, 101}, {37, 4, 5},   {37, 5, 105},  {39, 0, 2},   {39, 1, 102}, {39, 4, 6},   {39, 5, 106},
    {34, 0, 10},  {34, 1, 110}, {34, 4, 14},   {34, 5, 114}, {33, 0, 9},   {33, 1, 109}, {33, 4, 13},
    {33, 5, 113}, {36, 0, 7},   {36, 1, 107},  {36, 4, 15},  {36, 5, 115}, {35, 0, 8},   {35, 1, 108},
    {35, 4, 16},  {35, 5, 116}, {45, 0, 223},  {45, 4, 201}, {46, 1, 603}, {45, 1, 604}, {46, 0, 502},
    {8, 0, 501},  {8, 1, 501},  {8, 4, 504},   {8, 2, 601},  {8, 3, 602},  {13, 0, 509}, {13, 1, 509},
    {9, 0, 612},  {9, 1, 613},  {112, 0, 490}, {65, 4, 199}, {67, 4, 201}, {86, 4, 604}, {88, 4, 603},
    {73, 5, 610}, {85, 5, 611}, {77, 4, 509},  {78, 4, 510}, {84, 4, 503}, {89, 4, 507}, {89, 5, 506},
    {90, 4, 601}, {90, 5, 602}, {48, 4, 301},  {49, 4, 302}, {50, 4, 303}, {51, 4, 304}, {52, 4, 305},
    {53, 4, 306}, {54, 4, 307}, {55, 4, 308},  {56, 4, 309}, {57, 4, 310}, {48, 5, 351}, {49, 5, 352},
    {50, 5, 353}, {51, 5, 354}, {52, 5, 355},  {53, 5, 356}, {54, 5, 357}, {55, 5, 358}, {56, 5, 359},
    {57, 5, 360}, {78, 5, 231}, {67, 5, 232},  {76, 5, 233}, {66, 5, 250},
};

class KeyStrokesTest : public ::testing::Test {
protected:
    KeyStrokesTest() { keyStrokes.ResetDefaults(); }

    // Ctrl+K followed by B (without modifiers) runs the first user command.
    TSynEditKeyStroke* addTwoKeyBinding(TShiftState secondShift = none) {
        TSynEditKeyStroke* binding = keyStrokes.Add();
        binding->SetKey(keyK);
        binding->SetShift(ctrl);
        binding->SetKey2(keyB);
        binding->SetShift2(secondShift);
        binding->SetCommand(ecUserFirst);
        return binding;
    }

    TSynEditKeyStrokes keyStrokes{nullptr};
};

void expectSameBindings(const TSynEditKeyStrokes& actual, const TSynEditKeyStrokes& expected) {
    ASSERT_EQ(actual.Count(), expected.Count());
    for (Integer index = 0; index < expected.Count(); ++index) {
        SCOPED_TRACE(index);
        EXPECT_EQ(actual.Items(index)->Key(), expected.Items(index)->Key());
        EXPECT_EQ(actual.Items(index)->Shift(), expected.Items(index)->Shift());
        EXPECT_EQ(actual.Items(index)->Key2(), expected.Items(index)->Key2());
        EXPECT_EQ(actual.Items(index)->Shift2(), expected.Items(index)->Shift2());
        EXPECT_EQ(actual.Items(index)->Command(), expected.Items(index)->Command());
    }
}

TEST_F(KeyStrokesTest, DefaultMapHasEveryDocumentedBindingInOrder) {
    ASSERT_EQ(keyStrokes.Count(), static_cast<Integer>(documentedDefaultMap.size()));
    for (Integer index = 0; index < keyStrokes.Count(); ++index) {
        SCOPED_TRACE(index);
        const Binding& expected = documentedDefaultMap[static_cast<std::size_t>(index)];
        const TSynEditKeyStroke* binding = keyStrokes.Items(index);
        EXPECT_EQ(binding->Key(), expected.key);
        EXPECT_EQ(binding->Shift().Bits(), expected.shift);
        EXPECT_EQ(binding->Key2(), 0);
        EXPECT_EQ(binding->Shift2(), none);
        EXPECT_EQ(binding->Command(), expected.command);
    }
}

TEST_F(KeyStrokesTest, ResetDefaultsDropsUserBindings) {
    addTwoKeyBinding();
    keyStrokes.AddKey(ecUserFirst + 1, VK_F2, none);
    keyStrokes.Items(0)->SetCommand(ecUserFirst);

    keyStrokes.ResetDefaults();

    TSynEditKeyStrokes fresh(nullptr);
    fresh.ResetDefaults();
    expectSameBindings(keyStrokes, fresh);
    EXPECT_EQ(keyStrokes.Count(), 82);
}

TEST_F(KeyStrokesTest, FindKeycodeMatchesKeyAndExactShift) {
    EXPECT_EQ(keyStrokes.Items(keyStrokes.FindKeycode('Z', ctrl))->Command(), ecUndo);
    EXPECT_EQ(keyStrokes.Items(keyStrokes.FindKeycode('Z', ctrlShift))->Command(), ecRedo);
    EXPECT_EQ(keyStrokes.FindKeycode('Z', alt), -1);
    EXPECT_EQ(keyStrokes.Items(keyStrokes.FindKeycode(VK_BACK, shiftAlt))->Command(), ecRedo);
}

TEST_F(KeyStrokesTest, OneKeyAndTwoKeyLookupsKeepApart) {
    TSynEditKeyStroke* twoKey = addTwoKeyBinding();

    EXPECT_EQ(keyStrokes.FindKeycode(keyK, ctrl), -1);
    EXPECT_EQ(keyStrokes.FindKeycode2(keyK, ctrl, keyB, none), twoKey->Index());
    EXPECT_EQ(keyStrokes.FindKeycode2(keyK, ctrl, keyB, ctrl), -1);
    EXPECT_EQ(keyStrokes.FindKeycode2(keyK, ctrl, 0, none), -1);
    EXPECT_EQ(keyStrokes.FindKeycode2(VK_UP, none, 0, none), 0);
    EXPECT_EQ(keyStrokes.FindShortcut(ctrlK), twoKey->Index());
    EXPECT_EQ(keyStrokes.FindShortcut2(ctrlK, keyB), twoKey->Index());
    EXPECT_EQ(keyStrokes.FindShortcut2(ctrlK, 0), -1);
    EXPECT_EQ(keyStrokes.FindCommand(ecUserFirst), twoKey->Index());
    EXPECT_EQ(keyStrokes.FindCommand(ecCopy), keyStrokes.FindKeycode(VK_INSERT, ctrl));
    EXPECT_EQ(keyStrokes.FindCommand(ecSelWord), -1);
}

TEST_F(KeyStrokesTest, ShortcutsConvertToKeyAndShift) {
    TSynEditKeyStroke* binding = keyStrokes.Add();
    binding->SetShortCut(0xA000 | VK_F2);
    EXPECT_EQ(binding->Key(), VK_F2);
    EXPECT_EQ(binding->Shift(), shiftAlt);
    binding->SetShortCut2(ctrlB);
    EXPECT_EQ(binding->Key2(), keyB);
    EXPECT_EQ(binding->Shift2(), ctrl);
    EXPECT_EQ(binding->ShortCut2(), ctrlB);
}

TEST_F(KeyStrokesTest, TakenShortcutIsRefusedAndKeysStay) {
    TSynEditKeyStroke* binding = keyStrokes.Add();
    binding->SetShortCut(VK_F2);

    try {
        binding->SetShortCut(ctrlC);
        FAIL() << "no error for a shortcut in use";
    } catch (const ESynKeyError& error) {
        EXPECT_EQ(error.Message, "Shortcut already exists");
    }
    EXPECT_EQ(binding->Key(), VK_F2);
    EXPECT_EQ(binding->Shift(), none);

    EXPECT_NO_THROW(binding->SetShortCut(0));
    EXPECT_NO_THROW(keyStrokes.Add()->SetShortCut(0));
    // A binding may be given the shortcut it already has.
    EXPECT_NO_THROW(keyStrokes.Items(keyStrokes.FindKeycode('C', ctrl))->SetShortCut(ctrlC));
}

TEST_F(KeyStrokesTest, TwoKeyDuplicatesCompareBothModifiers) {
    addTwoKeyBinding(ctrl);

    TSynEditKeyStroke* sameSecondKey = keyStrokes.Add();
    sameSecondKey->SetShortCut2(ctrlB);
    EXPECT_THROW(sameSecondKey->SetShortCut(ctrlK), ESynKeyError);

    TSynEditKeyStroke* otherSecondShift = keyStrokes.Add();
    otherSecondShift->SetShortCut2(keyB);
    EXPECT_NO_THROW(otherSecondShift->SetShortCut(ctrlK));

    TSynEditKeyStroke* sameFirstKey = keyStrokes.Add();
    sameFirstKey->SetShortCut(0x2000 | VK_F2);
    sameFirstKey->SetShortCut(0);
    sameFirstKey->SetKey(keyK);
    sameFirstKey->SetShift(ctrl);
    EXPECT_THROW(sameFirstKey->SetShortCut2(ctrlB), ESynKeyError);
    EXPECT_EQ(sameFirstKey->Key2(), 0);
    EXPECT_NO_THROW(sameFirstKey->SetShortCut2(0x6000 | keyB));
}

TEST_F(KeyStrokesTest, StreamOfDefaultMapIsCountAndEightBytesPerBinding) {
    TStringStream stream;
    keyStrokes.SaveToStream(&stream);
    const AnsiString& bytes = stream.DataString();

    ASSERT_EQ(bytes.size(), 660u);
    EXPECT_EQ(bytes.substr(0, 4), AnsiString("\x52\0\0\0", 4));
    // Up, no shift, no second key, ecUp.
    EXPECT_EQ(bytes.substr(4, 8), AnsiString("\x26\0\0\0\0\0\x03\0", 8));
    // The last binding: B with Ctrl+Shift, ecMatchBracket (250).
    EXPECT_EQ(bytes.substr(652, 8), AnsiString("\x42\0\x05\0\0\0\xFA\0", 8));
}

TEST_F(KeyStrokesTest, StreamRoundTripKeepsBindingsAndOrder) {
    addTwoKeyBinding(shiftAlt);
    TStringStream stream;
    keyStrokes.SaveToStream(&stream);

    TSynEditKeyStrokes loaded(nullptr);
    loaded.AddKey(ecUserFirst, VK_F2, none);
    stream.SetPosition(0);
    loaded.LoadFromStream(&stream);

    expectSameBindings(loaded, keyStrokes);
}

TEST_F(KeyStrokesTest, ShortStreamRaisesReadErrorWithoutEmptyBinding) {
    TStringStream stream;
    keyStrokes.SaveToStream(&stream);
    TStringStream cut(stream.DataString().substr(0, 4 + 2 * 8 + 5));

    TSynEditKeyStrokes loaded(nullptr);
    EXPECT_THROW(loaded.LoadFromStream(&cut), EReadError);
    ASSERT_EQ(loaded.Count(), 2);
    EXPECT_EQ(loaded.Items(1)->Command(), ecSelUp);

    TStringStream empty;
    EXPECT_THROW(loaded.LoadFromStream(&empty), EReadError);
}

TEST_F(KeyStrokesTest, AssignCopiesCollectionsAndBindings) {
    TPersistent ownerPersistent;
    TSynEditKeyStrokes copy(&ownerPersistent);
    copy.AddKey(ecUserFirst, VK_F2, none);
    copy.Assign(&keyStrokes);
    expectSameBindings(copy, keyStrokes);
    EXPECT_EQ(copy.GetOwner(), &ownerPersistent);

    TSynEditKeyStroke* twoKey = addTwoKeyBinding(alt);
    copy.SetItem(0, twoKey);
    EXPECT_EQ(copy.Items(0)->Key2(), keyB);
    EXPECT_EQ(copy.Items(0)->Shift2(), alt);
    EXPECT_EQ(copy.Items(0)->Command(), ecUserFirst);
    // Copies go in without the duplicate test: the map now holds Ctrl+K, Alt+B twice.
    EXPECT_EQ(copy.FindShortcut2(ctrlK, 0x8000 | keyB), 0);

    copy.Assign(&copy);
    EXPECT_EQ(copy.Count(), 82);
}

TEST_F(KeyStrokesTest, DisplayNameShowsCommandAndKeys) {
    EXPECT_EQ(keyStrokes.Items(0)->GetDisplayName(), "ecUp - Up");
    EXPECT_EQ(keyStrokes.Items(keyStrokes.FindKeycode('Z', ctrlShift))->GetDisplayName(),
              "ecRedo - Shift+Ctrl+Z");
    EXPECT_EQ(addTwoKeyBinding()->GetDisplayName(), "ecUserFirst - Ctrl+K B");
    keyStrokes.Items(0)->SetCommand(ecGotFocus);
    EXPECT_EQ(keyStrokes.Items(0)->GetDisplayName(), "480 - Up");
}

std::vector<AnsiString> commandNames() {
    std::vector<AnsiString> names;
    GetEditorCommandValues([&names](const AnsiString& name) { names.push_back(name); });
    return names;
}

TEST(EditorCommandNames, TableHasOneHundredAndOneDistinctCommands) {
    std::vector<AnsiString> names = commandNames();
    ASSERT_EQ(names.size(), 101u);
    EXPECT_EQ(names.front(), "ecNone");
    EXPECT_EQ(names.back(), "ecString");

    std::set<AnsiString> distinctNames(names.begin(), names.end());
    std::set<TSynEditorCommand> distinctValues;
    for (Integer index = 0; index < 101; ++index)
        distinctValues.insert(IndexToEditorCommand(index));
    EXPECT_EQ(distinctNames.size(), 101u);
    EXPECT_EQ(distinctValues.size(), 101u);
    EXPECT_EQ(IndexToEditorCommand(36), ecSelectAll);
    EXPECT_EQ(IndexToEditorCommand(101), ecNone);
    EXPECT_EQ(IndexToEditorCommand(-1), ecNone);
}

TEST(EditorCommandNames, EveryNameSurvivesBothRoundTrips) {
    std::vector<AnsiString> readable;
    GetEditorCommandExtended([&readable](const AnsiString& name) { readable.push_back(name); });
    std::vector<AnsiString> names = commandNames();
    ASSERT_EQ(readable.size(), names.size());

    for (std::size_t index = 0; index < names.size(); ++index) {
        SCOPED_TRACE(names[index]);
        Integer value = -1;
        ASSERT_TRUE(IdentToEditorCommand(names[index], value));
        EXPECT_EQ(value, IndexToEditorCommand(static_cast<Integer>(index)));
        AnsiString name;
        ASSERT_TRUE(EditorCommandToIdent(value, name));
        EXPECT_EQ(name, names[index]);
        EXPECT_EQ(EditorCommandToCodeString(static_cast<TSynEditorCommand>(value)), names[index]);
        EXPECT_EQ(readable[index], ConvertCodeStringToExtended(names[index]));
        EXPECT_EQ(ConvertExtendedToCodeString(readable[index]), names[index]);
        EXPECT_EQ(ConvertExtendedToCommand(readable[index]), value);
    }
}

TEST(EditorCommandNames, ReadableForms) {
    struct Case {
        const char* name;
        const char* readable;
    };
    const Case cases[] = {
        {"ecSelWordLeft", "Select Word Left"},
        {"ecGotoMarker0", "Goto Bookmark 0"},
        {"ecGotoXY", "Goto XY"},
        {"ecSelectAll", "Select All"},
        {"ecSelGotoXY", "Select Goto XY"},
        {"ecDeleteBOL", "Delete BOL"},
        {"ecSetMarker9", "Set Bookmark 9"},
        {"ecNormalSelect", "Normal Select"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ConvertCodeStringToExtended(c.name), c.readable);
        EXPECT_EQ(ConvertExtendedToCodeString(c.readable), c.name);
    }
    // Each direction leaves the other's form alone.
    EXPECT_EQ(ConvertCodeStringToExtended("Undo"), "Undo");
    EXPECT_EQ(ConvertExtendedToCodeString("ecUndo"), "ecUndo");
}

TEST(EditorCommandNames, LookupsByNameAndNumber) {
    EXPECT_EQ(ConvertCodeStringToCommand("ECSELECTALL"), 199);
    EXPECT_EQ(ConvertExtendedToCommand("Select All"), 199);
    EXPECT_EQ(ConvertExtendedToCommand("Goto Bookmark 3"), 304);
    EXPECT_EQ(ConvertCodeStringToCommand("ecNoSuchCommand"), ecNone);
    EXPECT_EQ(EditorCommandToCodeString(480), "480");
    EXPECT_EQ(EditorCommandToDescrString(ecUp), "");

    Integer value = 7;
    EXPECT_FALSE(IdentToEditorCommand("ecNoSuchCommand", value));
    AnsiString name;
    EXPECT_FALSE(EditorCommandToIdent(ecLostFocus, name));
}

TEST(EditorCommandNames, FormResourcesReadAndWriteCommandsByName) {
    const TTypeInfo* type = TypeInfoEditorCommand();
    ASSERT_NE(FindIdentToInt(type), nullptr);
    ASSERT_NE(FindIntToIdent(type), nullptr);
    Integer value = 0;
    EXPECT_TRUE(FindIdentToInt(type)("ecPaste", value));
    EXPECT_EQ(value, ecPaste);

    const TPropInfo* command = GetPropInfo(ClassOf<TSynEditKeyStroke>(), "Command");
    ASSERT_NE(command, nullptr);
    EXPECT_EQ(command->PropType, type);
}

} // namespace
