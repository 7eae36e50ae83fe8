// The editor's key map: bindings of keys to commands, their stream form, the
// default map every editor starts with, and the names of the commands as
// form resources and the program's users see them.
#include "editor/SynEditKeyCmds.h"

#include "editor/SynEditKeyConst.h"
#include "editor/SynEditStrConst.h"
#include "platform/core/SysUtils.h"
#include "platform/vcl/Menus.h"

#include <array>
#include <cstdint>
#include <string_view>

namespace {

// ---- The command table ----

constexpr TIdentMapEntry editorCommandNames[] = {
    {ecNone, "ecNone"},
    {ecLeft, "ecLeft"},
    {ecRight, "ecRight"},
    {ecUp, "ecUp"},
    {ecDown, "ecDown"},
    {ecWordLeft, "ecWordLeft"},
    {ecWordRight, "ecWordRight"},
    {ecLineStart, "ecLineStart"},
    {ecLineEnd, "ecLineEnd"},
    {ecPageUp, "ecPageUp"},
    {ecPageDown, "ecPageDown"},
    {ecPageLeft, "ecPageLeft"},
    {ecPageRight, "ecPageRight"},
    {ecPageTop, "ecPageTop"},
    {ecPageBottom, "ecPageBottom"},
    {ecEditorTop, "ecEditorTop"},
    {ecEditorBottom, "ecEditorBottom"},
    {ecGotoXY, "ecGotoXY"},
    {ecSelLeft, "ecSelLeft"},
    {ecSelRight, "ecSelRight"},
    {ecSelUp, "ecSelUp"},
    {ecSelDown, "ecSelDown"},
    {ecSelWordLeft, "ecSelWordLeft"},
    {ecSelWordRight, "ecSelWordRight"},
    {ecSelLineStart, "ecSelLineStart"},
    {ecSelLineEnd, "ecSelLineEnd"},
    {ecSelPageUp, "ecSelPageUp"},
    {ecSelPageDown, "ecSelPageDown"},
    {ecSelPageLeft, "ecSelPageLeft"},
    {ecSelPageRight, "ecSelPageRight"},
    {ecSelPageTop, "ecSelPageTop"},
    {ecSelPageBottom, "ecSelPageBottom"},
    {ecSelEditorTop, "ecSelEditorTop"},
    {ecSelEditorBottom, "ecSelEditorBottom"},
    {ecSelGotoXY, "ecSelGotoXY"},
    {ecSelWord, "ecSelWord"},
    {ecSelectAll, "ecSelectAll"},
    {ecDeleteLastChar, "ecDeleteLastChar"},
    {ecDeleteChar, "ecDeleteChar"},
    {ecDeleteWord, "ecDeleteWord"},
    {ecDeleteLastWord, "ecDeleteLastWord"},
    {ecDeleteBOL, "ecDeleteBOL"},
    {ecDeleteEOL, "ecDeleteEOL"},
    {ecDeleteLine, "ecDeleteLine"},
    {ecClearAll, "ecClearAll"},
    {ecLineBreak, "ecLineBreak"},
    {ecInsertLine, "ecInsertLine"},
    {ecChar, "ecChar"},
    {ecImeStr, "ecImeStr"},
    {ecUndo, "ecUndo"},
    {ecRedo, "ecRedo"},
    {ecCut, "ecCut"},
    {ecCopy, "ecCopy"},
    {ecPaste, "ecPaste"},
    {ecScrollUp, "ecScrollUp"},
    {ecScrollDown, "ecScrollDown"},
    {ecScrollLeft, "ecScrollLeft"},
    {ecScrollRight, "ecScrollRight"},
    {ecInsertMode, "ecInsertMode"},
    {ecOverwriteMode, "ecOverwriteMode"},
    {ecToggleMode, "ecToggleMode"},
    {ecBlockIndent, "ecBlockIndent"},
    {ecBlockUnindent, "ecBlockUnindent"},
    {ecTab, "ecTab"},
    {ecShiftTab, "ecShiftTab"},
    {ecMatchBracket, "ecMatchBracket"},
    {ecCommentBlock, "ecCommentBlock"},
    {ecNormalSelect, "ecNormalSelect"},
    {ecColumnSelect, "ecColumnSelect"},
    {ecLineSelect, "ecLineSelect"},
    {ecAutoCompletion, "ecAutoCompletion"},
    {ecUserFirst, "ecUserFirst"},
    {ecContextHelp, "ecContextHelp"},
    {ecGotoMarker0, "ecGotoMarker0"},
    {ecGotoMarker1, "ecGotoMarker1"},
    {ecGotoMarker2, "ecGotoMarker2"},
    {ecGotoMarker3, "ecGotoMarker3"},
    {ecGotoMarker4, "ecGotoMarker4"},
    {ecGotoMarker5, "ecGotoMarker5"},
    {ecGotoMarker6, "ecGotoMarker6"},
    {ecGotoMarker7, "ecGotoMarker7"},
    {ecGotoMarker8, "ecGotoMarker8"},
    {ecGotoMarker9, "ecGotoMarker9"},
    {ecSetMarker0, "ecSetMarker0"},
    {ecSetMarker1, "ecSetMarker1"},
    {ecSetMarker2, "ecSetMarker2"},
    {ecSetMarker3, "ecSetMarker3"},
    {ecSetMarker4, "ecSetMarker4"},
    {ecSetMarker5, "ecSetMarker5"},
    {ecSetMarker6, "ecSetMarker6"},
    {ecSetMarker7, "ecSetMarker7"},
    {ecSetMarker8, "ecSetMarker8"},
    {ecSetMarker9, "ecSetMarker9"},
    {SynEditKeyCmds::ecUpperCase, "ecUpperCase"},
    {SynEditKeyCmds::ecLowerCase, "ecLowerCase"},
    {ecToggleCase, "ecToggleCase"},
    {ecTitleCase, "ecTitleCase"},
    {ecUpperCaseBlock, "ecUpperCaseBlock"},
    {ecLowerCaseBlock, "ecLowerCaseBlock"},
    {ecToggleCaseBlock, "ecToggleCaseBlock"},
    {ecString, "ecString"},
};

constexpr std::string_view codeStringPrefix = "ec";

bool isDigitOrCapital(char c) {
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z');
}

// "SelWordLeft" to "Sel Word Left": a blank before each digit or capital
// that starts a new word; runs such as "XY" or "BOL" stay together.
AnsiString spaceOutWords(const AnsiString& name) {
    AnsiString result;
    for (std::size_t index = 0; index < name.size(); ++index) {
        if (index > 0 && isDigitOrCapital(name[index]) && !isDigitOrCapital(name[index - 1])) result += ' ';
        result += name[index];
    }
    return result;
}

// ---- The stream form of a binding ----

constexpr Integer bindingStreamSize = 8;
using BindingBytes = std::array<Byte, bindingStreamSize>;

void putWord(BindingBytes& bytes, std::size_t offset, Word value) {
    bytes[offset] = static_cast<Byte>(value & 0xFF);
    bytes[offset + 1] = static_cast<Byte>(value >> 8);
}

Word getWord(const BindingBytes& bytes, std::size_t offset) {
    return static_cast<Word>(bytes[offset] | (bytes[offset + 1] << 8));
}

Byte shiftToByte(TShiftState state) {
    return static_cast<Byte>(state.Bits());
}

TShiftState byteToShift(Byte value) {
    return TShiftState::FromBits(value);
}

// The count in front of a collection's bindings: 32 bits, little-endian.
constexpr Integer countStreamSize = 4;

void writeCount(TStream* stream, Integer count) {
    std::array<Byte, countStreamSize> bytes{};
    for (std::size_t index = 0; index < bytes.size(); ++index)
        bytes[index] = static_cast<Byte>(static_cast<std::uint32_t>(count) >> (8 * index));
    stream->WriteBuffer(bytes.data(), countStreamSize);
}

Integer readCount(TStream* stream) {
    std::array<Byte, countStreamSize> bytes{};
    stream->ReadBuffer(bytes.data(), countStreamSize);
    std::uint32_t count = 0;
    for (std::size_t index = 0; index < bytes.size(); ++index)
        count |= static_cast<std::uint32_t>(bytes[index]) << (8 * index);
    return static_cast<Integer>(count);
}

// ---- The default key map ----

struct DefaultBinding {
    Word Key;
    TShiftState Shift;
    TSynEditorCommand Command;
};

constexpr TShiftState noShift{};
constexpr TShiftState shift{ssShift};
constexpr TShiftState ctrl{ssCtrl};
constexpr TShiftState ctrlShift{ssCtrl, ssShift};
constexpr TShiftState alt{ssAlt};
constexpr TShiftState shiftAlt{ssShift, ssAlt};

const DefaultBinding defaultKeyMap[] = {
    {VK_UP, noShift, ecUp},
    {VK_UP, shift, ecSelUp},
    {VK_UP, ctrl, ecScrollUp},
    {VK_DOWN, noShift, ecDown},
    {VK_DOWN, shift, ecSelDown},
    {VK_DOWN, ctrl, ecScrollDown},
    {VK_LEFT, noShift, ecLeft},
    {VK_LEFT, shift, ecSelLeft},
    {VK_LEFT, ctrl, ecWordLeft},
    {VK_LEFT, ctrlShift, ecSelWordLeft},
    {VK_RIGHT, noShift, ecRight},
    {VK_RIGHT, shift, ecSelRight},
    {VK_RIGHT, ctrl, ecWordRight},
    {VK_RIGHT, ctrlShift, ecSelWordRight},
    {VK_NEXT, noShift, ecPageDown},
    {VK_NEXT, shift, ecSelPageDown},
    {VK_NEXT, ctrl, ecPageBottom},
    {VK_NEXT, ctrlShift, ecSelPageBottom},
    {VK_PRIOR, noShift, ecPageUp},
    {VK_PRIOR, shift, ecSelPageUp},
    {VK_PRIOR, ctrl, ecPageTop},
    {VK_PRIOR, ctrlShift, ecSelPageTop},
    {VK_HOME, noShift, ecLineStart},
    {VK_HOME, shift, ecSelLineStart},
    {VK_HOME, ctrl, ecEditorTop},
    {VK_HOME, ctrlShift, ecSelEditorTop},
    {VK_END, noShift, ecLineEnd},
    {VK_END, shift, ecSelLineEnd},
    {VK_END, ctrl, ecEditorBottom},
    {VK_END, ctrlShift, ecSelEditorBottom},
    {VK_INSERT, noShift, ecToggleMode},
    {VK_INSERT, ctrl, ecCopy},
    {VK_DELETE, shift, ecCut},
    {VK_INSERT, shift, ecPaste},
    {VK_DELETE, noShift, ecDeleteChar},
    {VK_BACK, noShift, ecDeleteLastChar},
    {VK_BACK, shift, ecDeleteLastChar},
    {VK_BACK, ctrl, ecDeleteLastWord},
    {VK_BACK, alt, ecUndo},
    {VK_BACK, shiftAlt, ecRedo},
    {VK_RETURN, noShift, ecLineBreak},
    {VK_RETURN, shift, ecLineBreak},
    {VK_TAB, noShift, ecTab},
    {VK_TAB, shift, ecShiftTab},
    {VK_F1, noShift, ecContextHelp},
    {'A', ctrl, ecSelectAll},
    {'C', ctrl, ecCopy},
    {'V', ctrl, ecPaste},
    {'X', ctrl, ecCut},
    {'I', ctrlShift, ecBlockIndent},
    {'U', ctrlShift, ecBlockUnindent},
    {'M', ctrl, ecLineBreak},
    {'N', ctrl, ecInsertLine},
    {'T', ctrl, ecDeleteWord},
    {'Y', ctrl, ecDeleteLine},
    {'Y', ctrlShift, ecDeleteEOL},
    {'Z', ctrl, ecUndo},
    {'Z', ctrlShift, ecRedo},
    {'0', ctrl, ecGotoMarker0},
    {'1', ctrl, ecGotoMarker1},
    {'2', ctrl, ecGotoMarker2},
    {'3', ctrl, ecGotoMarker3},
    {'4', ctrl, ecGotoMarker4},
    {'5', ctrl, ecGotoMarker5},
    {'6', ctrl, ecGotoMarker6},
    {'7', ctrl, ecGotoMarker7},
    {'8', ctrl, ecGotoMarker8},
    {'9', ctrl, ecGotoMarker9},
    {'0', ctrlShift, ecSetMarker0},
    {'1', ctrlShift, ecSetMarker1},
    {'2', ctrlShift, ecSetMarker2},
    {'3', ctrlShift, ecSetMarker3},
    {'4', ctrlShift, ecSetMarker4},
    {'5', ctrlShift, ecSetMarker5},
    {'6', ctrlShift, ecSetMarker6},
    {'7', ctrlShift, ecSetMarker7},
    {'8', ctrlShift, ecSetMarker8},
    {'9', ctrlShift, ecSetMarker9},
    {'N', ctrlShift, ecNormalSelect},
    {'C', ctrlShift, ecColumnSelect},
    {'L', ctrlShift, ecLineSelect},
    {'B', ctrlShift, ecMatchBracket},
};

} // namespace

// ---- TSynEditKeyStroke ----

TSynEditKeyStroke::TSynEditKeyStroke(TCollection* Collection) : TCollectionItem(Collection) {}

void TSynEditKeyStroke::Assign(TPersistent* Source) {
    auto* source = dynamic_cast<TSynEditKeyStroke*>(Source);
    if (!source) {
        TCollectionItem::Assign(Source);
        return;
    }
    command_ = source->command_;
    key_ = source->key_;
    key2_ = source->key2_;
    shift_ = source->shift_;
    shift2_ = source->shift2_;
}

// "ecUp - Up", and for a two-key binding the second key after a blank.
AnsiString TSynEditKeyStroke::GetDisplayName() {
    AnsiString name = EditorCommandToCodeString(command_) + " - " + ShortCutToText(ShortCut());
    if (ShortCut2() != scNone) name += " " + ShortCutToText(ShortCut2());
    return name;
}

void TSynEditKeyStroke::SetKey(Word Value) {
    key_ = Value;
}

void TSynEditKeyStroke::SetShift(TShiftState Value) {
    shift_ = Value;
}

void TSynEditKeyStroke::SetKey2(Word Value) {
    key2_ = Value;
}

void TSynEditKeyStroke::SetShift2(TShiftState Value) {
    shift2_ = Value;
}

void TSynEditKeyStroke::SetCommand(TSynEditorCommand Value) {
    command_ = Value;
}

TShortCut TSynEditKeyStroke::ShortCut() const {
    return ::ShortCut(key_, shift_);
}

TShortCut TSynEditKeyStroke::ShortCut2() const {
    return ::ShortCut(key2_, shift2_);
}

// A pair is compared whole, modifiers of both keys included: two bindings
// that differ only in the modifiers of one key are different bindings.
void TSynEditKeyStroke::refuseDuplicate(TShortCut First, TShortCut Second) const {
    auto* keyStrokes = dynamic_cast<TSynEditKeyStrokes*>(Collection());
    if (!keyStrokes) return;
    Integer found = keyStrokes->FindShortcut2(First, Second);
    if (found >= 0 && found != Index()) throw ESynKeyError(SYNS_EDuplicateShortcut);
}

void TSynEditKeyStroke::SetShortCut(TShortCut Value) {
    if (Value != scNone) refuseDuplicate(Value, ShortCut2());
    ShortCutToKey(Value, key_, shift_);
}

void TSynEditKeyStroke::SetShortCut2(TShortCut Value) {
    if (Value != scNone) refuseDuplicate(ShortCut(), Value);
    ShortCutToKey(Value, key2_, shift2_);
}

// Read whole before anything is stored, so that a short stream leaves the binding as it was.
void TSynEditKeyStroke::LoadFromStream(TStream* AStream) {
    BindingBytes bytes{};
    AStream->ReadBuffer(bytes.data(), bindingStreamSize);
    key_ = getWord(bytes, 0);
    shift_ = byteToShift(bytes[2]);
    key2_ = getWord(bytes, 3);
    shift2_ = byteToShift(bytes[5]);
    command_ = getWord(bytes, 6);
}

void TSynEditKeyStroke::SaveToStream(TStream* AStream) const {
    BindingBytes bytes{};
    putWord(bytes, 0, key_);
    bytes[2] = shiftToByte(shift_);
    putWord(bytes, 3, key2_);
    bytes[5] = shiftToByte(shift2_);
    putWord(bytes, 6, command_);
    AStream->WriteBuffer(bytes.data(), bindingStreamSize);
}

// ---- TSynEditKeyStrokes ----

TSynEditKeyStrokes::TSynEditKeyStrokes(TPersistent* AOwner)
    : TCollection(ClassOf<TSynEditKeyStroke>()), owner_(AOwner) {}

void TSynEditKeyStrokes::Assign(TPersistent* Source) {
    auto* source = dynamic_cast<TSynEditKeyStrokes*>(Source);
    if (!source) {
        TCollection::Assign(Source);
        return;
    }
    // Clearing first would leave nothing to copy from.
    if (source == this) return;
    Clear();
    for (Integer index = 0; index < source->Count(); ++index)
        Add()->Assign(source->Items(index));
}

TSynEditKeyStroke* TSynEditKeyStrokes::Add() {
    return static_cast<TSynEditKeyStroke*>(TCollection::Add());
}

void TSynEditKeyStrokes::AddKey(TSynEditorCommand ACmd, Word AKey, TShiftState AShift) {
    TSynEditKeyStroke* keyStroke = Add();
    keyStroke->SetKey(AKey);
    keyStroke->SetShift(AShift);
    keyStroke->SetCommand(ACmd);
}

TSynEditKeyStroke* TSynEditKeyStrokes::Items(Integer Index) const {
    return static_cast<TSynEditKeyStroke*>(TCollection::Items(Index));
}

Integer TSynEditKeyStrokes::FindCommand(TSynEditorCommand Cmd) const {
    for (Integer index = 0; index < Count(); ++index)
        if (Items(index)->Command() == Cmd) return index;
    return -1;
}

Integer TSynEditKeyStrokes::FindKeycode(Word Code, TShiftState SS) const {
    for (Integer index = 0; index < Count(); ++index) {
        const TSynEditKeyStroke* keyStroke = Items(index);
        if (keyStroke->Key() == Code && keyStroke->Shift() == SS && keyStroke->Key2() == 0) return index;
    }
    return -1;
}

Integer TSynEditKeyStrokes::FindKeycode2(Word Code1, TShiftState SS1, Word Code2, TShiftState SS2) const {
    for (Integer index = 0; index < Count(); ++index) {
        const TSynEditKeyStroke* keyStroke = Items(index);
        if (keyStroke->Key() == Code1 && keyStroke->Shift() == SS1 && keyStroke->Key2() == Code2 &&
            keyStroke->Shift2() == SS2)
            return index;
    }
    return -1;
}

Integer TSynEditKeyStrokes::FindShortcut(TShortCut SC) const {
    for (Integer index = 0; index < Count(); ++index)
        if (Items(index)->ShortCut() == SC) return index;
    return -1;
}

Integer TSynEditKeyStrokes::FindShortcut2(TShortCut SC, TShortCut SC2) const {
    for (Integer index = 0; index < Count(); ++index)
        if (Items(index)->ShortCut() == SC && Items(index)->ShortCut2() == SC2) return index;
    return -1;
}

void TSynEditKeyStrokes::ResetDefaults() {
    Clear();
    for (const DefaultBinding& binding : defaultKeyMap)
        AddKey(binding.Command, binding.Key, binding.Shift);
}

// A binding is appended only once it has been read whole, so a stream that
// ends early leaves no empty binding behind.
void TSynEditKeyStrokes::LoadFromStream(TStream* AStream) {
    Clear();
    Integer count = readCount(AStream);
    for (Integer index = 0; index < count; ++index) {
        TSynEditKeyStroke binding(nullptr);
        binding.LoadFromStream(AStream);
        Add()->Assign(&binding);
    }
}

void TSynEditKeyStrokes::SaveToStream(TStream* AStream) const {
    writeCount(AStream, Count());
    for (Integer index = 0; index < Count(); ++index)
        Items(index)->SaveToStream(AStream);
}

// ---- Command names ----

void GetEditorCommandValues(const TGetStrProc& Proc) {
    for (const TIdentMapEntry& entry : editorCommandNames)
        Proc(entry.Name);
}

void GetEditorCommandExtended(const TGetStrProc& Proc) {
    for (const TIdentMapEntry& entry : editorCommandNames)
        Proc(ConvertCodeStringToExtended(entry.Name));
}

bool IdentToEditorCommand(const AnsiString& Ident, Integer& Cmd) {
    return IdentToInt(Ident, Cmd, editorCommandNames);
}

bool EditorCommandToIdent(Integer Cmd, AnsiString& Ident) {
    return IntToIdent(Cmd, Ident, editorCommandNames);
}

// Commands carry no description of their own.
AnsiString EditorCommandToDescrString(TSynEditorCommand) {
    return {};
}

AnsiString EditorCommandToCodeString(TSynEditorCommand Cmd) {
    AnsiString name;
    if (!EditorCommandToIdent(Cmd, name)) name = IntToStr(Cmd);
    return name;
}

AnsiString ConvertCodeStringToExtended(AnsiString AString) {
    if (AString.rfind(codeStringPrefix, 0) != 0) return AString;
    AnsiString result = Trim(spaceOutWords(AString.substr(codeStringPrefix.size())));
    result = StringReplace(result, "Sel ", "Select ", rfReplaceAll);
    result = StringReplace(result, "Marker ", "Bookmark ", rfReplaceAll);
    return Trim(result);
}

AnsiString ConvertExtendedToCodeString(AnsiString AString) {
    if (AString.rfind(codeStringPrefix, 0) == 0) return AString;
    // "Select All" is the one name where "Select" is not a shortened "Sel".
    if (Pos("Select All", AString) == 0) AString = StringReplace(AString, "Select ", "Sel ", rfReplaceAll);
    AString = StringReplace(AString, "Bookmark ", "Marker ", rfReplaceAll);
    AString = StringReplace(AString, " ", "", rfReplaceAll);
    return AnsiString(codeStringPrefix) + AString;
}

TSynEditorCommand IndexToEditorCommand(Integer AIndex) {
    if (AIndex < 0 || AIndex >= static_cast<Integer>(std::size(editorCommandNames))) return ecNone;
    return static_cast<TSynEditorCommand>(editorCommandNames[AIndex].Value);
}

TSynEditorCommand ConvertCodeStringToCommand(const AnsiString& AString) {
    Integer command = ecNone;
    if (!IdentToEditorCommand(AString, command)) return ecNone;
    return static_cast<TSynEditorCommand>(command);
}

TSynEditorCommand ConvertExtendedToCommand(const AnsiString& AString) {
    return ConvertCodeStringToCommand(ConvertExtendedToCodeString(AString));
}

const TTypeInfo* TypeInfoEditorCommand() {
    static const TTypeInfo* info = [] {
        const TTypeInfo* type = DefineIntegerType("TSynEditorCommand");
        RegisterIntegerConsts(type, &IdentToEditorCommand, &EditorCommandToIdent);
        return type;
    }();
    return info;
}

namespace {

const TClass keyStrokeClass =
    DescribeClass<TSynEditKeyStroke, TCollectionItem>([](TClassBuilder<TSynEditKeyStroke>& c) {
        c.Property("Command", &TSynEditKeyStroke::Command, &TSynEditKeyStroke::SetCommand)
            .Type(TypeInfoEditorCommand());
        c.Property("ShortCut", &TSynEditKeyStroke::ShortCut, &TSynEditKeyStroke::SetShortCut)
            .Type(TypeInfoShortCut())
            .Default(scNone);
        c.Property("ShortCut2", &TSynEditKeyStroke::ShortCut2, &TSynEditKeyStroke::SetShortCut2)
            .Type(TypeInfoShortCut())
            .Default(scNone);
    });

// Form resources and property editors read and write commands by name from start-up on.
const TTypeInfo* const editorCommandType = TypeInfoEditorCommand();

} // namespace
