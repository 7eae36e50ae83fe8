// The editor's commands: the number a keystroke or a caller hands to the
// editor to say what to do, the bindings of keys to commands, the default key
// map and the conversions between command names, readable names and numbers.
#pragma once

#include "platform/core/Classes.h"
#include "platform/core/Types.h"
#include "platform/vcl/Components.h"
#include "platform/vcl/Controls.h"
#include "platform/vcl/Idents.h"

#include <functional>

using TSynEditorCommand = Word;

// The framework's edit controls name two character cases ecUpperCase and
// ecLowerCase, so the commands live in a namespace of their own: where both
// are visible, those two commands are written SynEditKeyCmds::ecUpperCase and
// SynEditKeyCmds::ecLowerCase; every other command is used by its bare name.
namespace SynEditKeyCmds {

// No command: a handler that consumed a command leaves this in its place.
constexpr TSynEditorCommand ecNone = 0;

// Caret movement. Each has a selecting twin exactly ecSelection higher.
constexpr TSynEditorCommand ecLeft = 1;
constexpr TSynEditorCommand ecRight = 2;
constexpr TSynEditorCommand ecUp = 3;
constexpr TSynEditorCommand ecDown = 4;
constexpr TSynEditorCommand ecWordLeft = 5;
constexpr TSynEditorCommand ecWordRight = 6;
constexpr TSynEditorCommand ecLineStart = 7;
constexpr TSynEditorCommand ecLineEnd = 8;
constexpr TSynEditorCommand ecPageUp = 9;
constexpr TSynEditorCommand ecPageDown = 10;
constexpr TSynEditorCommand ecPageLeft = 11;
constexpr TSynEditorCommand ecPageRight = 12;
constexpr TSynEditorCommand ecPageTop = 13;
constexpr TSynEditorCommand ecPageBottom = 14;
constexpr TSynEditorCommand ecEditorTop = 15;
constexpr TSynEditorCommand ecEditorBottom = 16;
constexpr TSynEditorCommand ecGotoXY = 17;

// The distance from a movement command to its selecting twin.
constexpr TSynEditorCommand ecSelection = 100;

constexpr TSynEditorCommand ecSelLeft = ecLeft + ecSelection;
constexpr TSynEditorCommand ecSelRight = ecRight + ecSelection;
constexpr TSynEditorCommand ecSelUp = ecUp + ecSelection;
constexpr TSynEditorCommand ecSelDown = ecDown + ecSelection;
constexpr TSynEditorCommand ecSelWordLeft = ecWordLeft + ecSelection;
constexpr TSynEditorCommand ecSelWordRight = ecWordRight + ecSelection;
constexpr TSynEditorCommand ecSelLineStart = ecLineStart + ecSelection;
constexpr TSynEditorCommand ecSelLineEnd = ecLineEnd + ecSelection;
constexpr TSynEditorCommand ecSelPageUp = ecPageUp + ecSelection;
constexpr TSynEditorCommand ecSelPageDown = ecPageDown + ecSelection;
constexpr TSynEditorCommand ecSelPageLeft = ecPageLeft + ecSelection;
constexpr TSynEditorCommand ecSelPageRight = ecPageRight + ecSelection;
constexpr TSynEditorCommand ecSelPageTop = ecPageTop + ecSelection;
constexpr TSynEditorCommand ecSelPageBottom = ecPageBottom + ecSelection;
constexpr TSynEditorCommand ecSelEditorTop = ecEditorTop + ecSelection;
constexpr TSynEditorCommand ecSelEditorBottom = ecEditorBottom + ecSelection;
constexpr TSynEditorCommand ecSelGotoXY = ecGotoXY + ecSelection;

constexpr TSynEditorCommand ecSelWord = 198;
constexpr TSynEditorCommand ecSelectAll = 199;

constexpr TSynEditorCommand ecCopy = 201;

constexpr TSynEditorCommand ecScrollUp = 211;
constexpr TSynEditorCommand ecScrollDown = 212;
constexpr TSynEditorCommand ecScrollLeft = 213;
constexpr TSynEditorCommand ecScrollRight = 214;

constexpr TSynEditorCommand ecInsertMode = 221;
constexpr TSynEditorCommand ecOverwriteMode = 222;
constexpr TSynEditorCommand ecToggleMode = 223;

constexpr TSynEditorCommand ecNormalSelect = 231;
constexpr TSynEditorCommand ecColumnSelect = 232;
constexpr TSynEditorCommand ecLineSelect = 233;

constexpr TSynEditorCommand ecMatchBracket = 250;
constexpr TSynEditorCommand ecCommentBlock = 251;

// Bookmarks: one command per digit, ecGotoMarker0 + n and ecSetMarker0 + n.
constexpr TSynEditorCommand ecGotoMarker0 = 301;
constexpr TSynEditorCommand ecGotoMarker1 = 302;
constexpr TSynEditorCommand ecGotoMarker2 = 303;
constexpr TSynEditorCommand ecGotoMarker3 = 304;
constexpr TSynEditorCommand ecGotoMarker4 = 305;
constexpr TSynEditorCommand ecGotoMarker5 = 306;
constexpr TSynEditorCommand ecGotoMarker6 = 307;
constexpr TSynEditorCommand ecGotoMarker7 = 308;
constexpr TSynEditorCommand ecGotoMarker8 = 309;
constexpr TSynEditorCommand ecGotoMarker9 = 310;
constexpr TSynEditorCommand ecSetMarker0 = 351;
constexpr TSynEditorCommand ecSetMarker1 = 352;
constexpr TSynEditorCommand ecSetMarker2 = 353;
constexpr TSynEditorCommand ecSetMarker3 = 354;
constexpr TSynEditorCommand ecSetMarker4 = 355;
constexpr TSynEditorCommand ecSetMarker5 = 356;
constexpr TSynEditorCommand ecSetMarker6 = 357;
constexpr TSynEditorCommand ecSetMarker7 = 358;
constexpr TSynEditorCommand ecSetMarker8 = 359;
constexpr TSynEditorCommand ecSetMarker9 = 360;

// Sent by the window when it gains or loses the focus; they have no name.
constexpr TSynEditorCommand ecGotFocus = 480;
constexpr TSynEditorCommand ecLostFocus = 481;

constexpr TSynEditorCommand ecContextHelp = 490;

constexpr TSynEditorCommand ecDeleteLastChar = 501;
constexpr TSynEditorCommand ecDeleteChar = 502;
constexpr TSynEditorCommand ecDeleteWord = 503;
constexpr TSynEditorCommand ecDeleteLastWord = 504;
constexpr TSynEditorCommand ecDeleteBOL = 505;
constexpr TSynEditorCommand ecDeleteEOL = 506;
constexpr TSynEditorCommand ecDeleteLine = 507;
constexpr TSynEditorCommand ecClearAll = 508;
constexpr TSynEditorCommand ecLineBreak = 509;
constexpr TSynEditorCommand ecInsertLine = 510;
constexpr TSynEditorCommand ecChar = 511;

constexpr TSynEditorCommand ecImeStr = 550;

constexpr TSynEditorCommand ecUndo = 601;
constexpr TSynEditorCommand ecRedo = 602;
constexpr TSynEditorCommand ecCut = 603;
constexpr TSynEditorCommand ecPaste = 604;

constexpr TSynEditorCommand ecBlockIndent = 610;
constexpr TSynEditorCommand ecBlockUnindent = 611;
constexpr TSynEditorCommand ecTab = 612;
constexpr TSynEditorCommand ecShiftTab = 613;

constexpr TSynEditorCommand ecUpperCase = 620;
constexpr TSynEditorCommand ecLowerCase = 621;
constexpr TSynEditorCommand ecToggleCase = 622;
constexpr TSynEditorCommand ecTitleCase = 623;
constexpr TSynEditorCommand ecUpperCaseBlock = 625;
constexpr TSynEditorCommand ecLowerCaseBlock = 626;
constexpr TSynEditorCommand ecToggleCaseBlock = 627;

constexpr TSynEditorCommand ecString = 630;

constexpr TSynEditorCommand ecAutoCompletion = 650;

// The first number free for commands of the editor's users.
constexpr TSynEditorCommand ecUserFirst = 1001;

} // namespace SynEditKeyCmds

using namespace SynEditKeyCmds;

// ---- Bindings of keys to commands ----------------------------------------------

// Raised when a binding would take a shortcut pair another binding already has.
class ESynKeyError : public Exception {
public:
    using Exception::Exception;
};

// One binding: a key with its modifiers, optionally followed by a second key
// with its modifiers, and the command it stands for.
class TSynEditKeyStroke : public TCollectionItem {
public:
    explicit TSynEditKeyStroke(TCollection* Collection);

    void Assign(TPersistent* Source) override;
    AnsiString GetDisplayName() override;

    Word Key() const { return key_; }
    void SetKey(Word Value);
    TShiftState Shift() const { return shift_; }
    void SetShift(TShiftState Value);
    // The second key of a two-key binding; 0 for a one-key binding.
    Word Key2() const { return key2_; }
    void SetKey2(Word Value);
    TShiftState Shift2() const { return shift2_; }
    void SetShift2(TShiftState Value);
    TSynEditorCommand Command() const { return command_; }
    void SetCommand(TSynEditorCommand Value);

    // The first and the second key as the framework's shortcut values. The
    // setters raise ESynKeyError "Shortcut already exists" when another binding
    // of the collection has the resulting shortcut pair.
    TShortCut ShortCut() const;
    void SetShortCut(TShortCut Value);
    TShortCut ShortCut2() const;
    void SetShortCut2(TShortCut Value);

    // Eight bytes, little-endian: Key (2), Shift (1), Key2 (2), Shift2 (1), Command (2).
    void LoadFromStream(TStream* AStream);
    void SaveToStream(TStream* AStream) const;

private:
    void refuseDuplicate(TShortCut First, TShortCut Second) const;

    Word key_ = 0;
    TShiftState shift_;
    Word key2_ = 0;
    TShiftState shift2_;
    TSynEditorCommand command_ = ecNone;
};

// The ordered key map of an editor.
class TSynEditKeyStrokes : public TCollection {
public:
    explicit TSynEditKeyStrokes(TPersistent* AOwner);

    TPersistent* GetOwner() override { return owner_; }
    void Assign(TPersistent* Source) override;

    TSynEditKeyStroke* Add();
    // Appends a one-key binding.
    void AddKey(TSynEditorCommand ACmd, Word AKey, TShiftState AShift);

    // Each gives the index of the first matching binding, or -1.
    Integer FindCommand(TSynEditorCommand Cmd) const;
    // One-key bindings only.
    Integer FindKeycode(Word Code, TShiftState SS) const;
    Integer FindKeycode2(Word Code1, TShiftState SS1, Word Code2, TShiftState SS2) const;
    Integer FindShortcut(TShortCut SC) const;
    Integer FindShortcut2(TShortCut SC, TShortCut SC2) const;

    TSynEditKeyStroke* Items(Integer Index) const;
    void SetItem(Integer Index, TSynEditKeyStroke* Value) { Items(Index)->Assign(Value); }

    // Replaces every binding by the default key map.
    void ResetDefaults();

    // A 32-bit count, then each binding in its stream form. Loading replaces
    // the bindings and takes them as they come, without a duplicate test.
    void LoadFromStream(TStream* AStream);
    void SaveToStream(TStream* AStream) const;

private:
    TPersistent* owner_;
};

// ---- Command names ---------------------------------------------------------------

using TGetStrProc = std::function<void(const AnsiString& S)>;

// Calls Proc with each command name ("ecUp"), in the order of the command table.
void GetEditorCommandValues(const TGetStrProc& Proc);
// Calls Proc with each readable command name ("Up"), in the same order.
void GetEditorCommandExtended(const TGetStrProc& Proc);
// The lookups form resources use to read and write commands by name.
bool IdentToEditorCommand(const AnsiString& Ident, Integer& Cmd);
bool EditorCommandToIdent(Integer Cmd, AnsiString& Ident);
AnsiString EditorCommandToDescrString(TSynEditorCommand Cmd);
// The command's name, or its number in decimal when it has none.
AnsiString EditorCommandToCodeString(TSynEditorCommand Cmd);
// "ecSelWordLeft" to "Select Word Left"; other strings stay as they are.
AnsiString ConvertCodeStringToExtended(AnsiString AString);
// "Select Word Left" to "ecSelWordLeft".
AnsiString ConvertExtendedToCodeString(AnsiString AString);
// The command at a position of the command table; ecNone outside the table.
TSynEditorCommand IndexToEditorCommand(Integer AIndex);
// The command of a name in any case; ecNone for an unknown name.
TSynEditorCommand ConvertCodeStringToCommand(const AnsiString& AString);
TSynEditorCommand ConvertExtendedToCommand(const AnsiString& AString);

// The property type of commands, which reads and writes them by name.
const TTypeInfo* TypeInfoEditorCommand();
