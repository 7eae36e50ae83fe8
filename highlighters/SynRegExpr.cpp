// The regular-expression engine: a recursive-descent compiler that emits the
// node program, the start-up filters of the search, and a backtracking matcher
// that keeps its choice points on the heap, so that no input can exhaust the
// machine stack.
#include "highlighters/SynRegExpr.h"

#include "platform/core/Classes.h"
#include "platform/core/CodePages.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdio>
#include <cstring>

namespace {

// ---- Program layout -------------------------------------------------------

constexpr Byte MagicByte = 216;
constexpr Integer FirstNode = 1;
constexpr Integer OpcodeSize = 1;
constexpr Integer NextOffsetSize = 4;
constexpr Integer NodeHeaderSize = OpcodeSize + NextOffsetSize;
constexpr Integer IntegerOperandSize = 4;
constexpr Integer BracesHeaderSize = NodeHeaderSize + 2 * IntegerOperandSize;
constexpr Integer LoopOperandSize = 3 * IntegerOperandSize;
constexpr Integer TinySetSize = 3;
constexpr Integer FullSetSize = 32;
constexpr Integer GroupNumberSize = 1;

// An open upper bound of {n,} and of the counted loops of "*?" and "+?".
constexpr Integer MaxBracesArgument = 2147483646;
// The bound of the single-character stars and pluses.
constexpr Integer MaxRepeatCount = 2147483647;
constexpr Integer MaxBracesDigits = 8;
constexpr Integer MaxGroupNumber = NSUBEXP - 1;

enum Opcode : Byte {
    opEnd = 0,
    opBol = 1,
    opEol = 2,
    opAny = 3,
    opAnyOf = 4,
    opAnyBut = 5,
    opBranch = 6,
    opBack = 7,
    opExactly = 8,
    opNothing = 9,
    opStar = 10,
    opPlus = 11,
    opAnyDigit = 12,
    opNotDigit = 13,
    opAnyLetter = 14,
    opNotLetter = 15,
    opAnySpace = 16,
    opNotSpace = 17,
    opBraces = 18,
    opComment = 19,
    opExactlyCI = 20,
    opAnyOfCI = 21,
    opAnyButCI = 22,
    opLoopEntry = 23,
    opLoop = 24,
    opAnyOfTinySet = 25,
    opAnyButTinySet = 26,
    opAnyOfFullSet = 27,
    opBackReference = 28,
    opBackReferenceCI = 29,
    opStarNG = 30,
    opPlusNG = 31,
    opBracesNG = 32,
    opLoopNG = 33,
    opBolML = 34,
    opEolML = 35,
    opAnyML = 36,
    opBound = 37,
    opNotBound = 38,
    opOpen = 39,  // + group number
    opClose = 54, // + group number
    opLastValid = opClose + MaxGroupNumber,
};

bool isOpenGroup(Byte op) {
    return op > opOpen && op <= opOpen + MaxGroupNumber;
}
bool isCloseGroup(Byte op) {
    return op > opClose && op <= opClose + MaxGroupNumber;
}

Integer readInteger(const Byte* at) {
    Integer value;
    std::memcpy(&value, at, sizeof value);
    return value;
}

void writeInteger(Byte* at, Integer value) {
    std::memcpy(at, &value, sizeof value);
}

Integer nextNodeOf(const Byte* program, Integer node) {
    const Integer offset = readInteger(program + node + OpcodeSize);
    return offset == 0 ? -1 : node + offset;
}

Integer operandOf(Integer node) {
    return node + NodeHeaderSize;
}

Integer bracesMin(const Byte* program, Integer node) {
    return readInteger(program + node + NodeHeaderSize);
}
Integer bracesMax(const Byte* program, Integer node) {
    return readInteger(program + node + NodeHeaderSize + IntegerOperandSize);
}
Integer bracesOperand(Integer node) {
    return node + BracesHeaderSize;
}
Integer loopBody(const Byte* program, Integer node) {
    return node - readInteger(program + node + NodeHeaderSize + 2 * IntegerOperandSize);
}

bool isLiteralOpcode(Byte op) {
    return op == opExactly || op == opExactlyCI || op == opAnyOf || op == opAnyBut || op == opAnyOfCI ||
           op == opAnyButCI;
}

// Bytes a node occupies before the node that follows it in the program.
Integer nodeSize(const Byte* program, Integer node) {
    const Byte op = program[node];
    const char* operand = reinterpret_cast<const char*>(program + operandOf(node));
    if (isLiteralOpcode(op)) return NodeHeaderSize + static_cast<Integer>(std::strlen(operand)) + 1;
    switch (op) {
    case opAnyOfTinySet:
    case opAnyButTinySet:
        return NodeHeaderSize + TinySetSize;
    case opAnyOfFullSet:
        return NodeHeaderSize + FullSetSize;
    case opBackReference:
    case opBackReferenceCI:
        return NodeHeaderSize + GroupNumberSize;
    case opBraces:
    case opBracesNG:
        return BracesHeaderSize;
    case opLoop:
    case opLoopNG:
        return NodeHeaderSize + LoopOperandSize;
    default:
        return NodeHeaderSize;
    }
}

bool fullSetHas(const Byte* set, unsigned char ch) {
    return (set[ch / 8] >> (ch % 8)) & 1;
}

// ---- Modifiers and character classes --------------------------------------

constexpr Integer ModifierI = 1;
constexpr Integer ModifierR = 2;
constexpr Integer ModifierS = 4;
constexpr Integer ModifierG = 8;
constexpr Integer ModifierM = 16;
constexpr Integer ModifierX = 32;

struct ModifierLetter {
    char letter;
    Integer mask;
};
constexpr ModifierLetter ModifierLetters[] = {{'i', ModifierI}, {'r', ModifierR}, {'s', ModifierS},
                                              {'g', ModifierG}, {'m', ModifierM}, {'x', ModifierX}};
constexpr Integer ModifierCount = 6;

// The compiler's metacharacters; "]" and "}" are ordinary outside a set.
constexpr const char* Metacharacters = "^$.[()|?+*\\{";
constexpr const char* QuotedCharacters = "^$.[()|?+*\\{]}";
constexpr const char* Digits = "0123456789";

bool isQuantifier(char ch) {
    return ch == '*' || ch == '+' || ch == '?' || ch == '{';
}
bool isBlank(char ch) {
    return ch == ' ' || ch == '\t' || ch == '\n' || ch == '\r';
}
bool isDigit(char ch) {
    return ch >= '0' && ch <= '9';
}

Integer hexDigitValue(char ch) {
    if (ch >= '0' && ch <= '9') return ch - '0';
    if (ch >= 'a' && ch <= 'f') return ch - 'a' + 10;
    if (ch >= 'A' && ch <= 'F') return ch - 'A' + 10;
    return -1;
}

std::bitset<256> characterSetOf(const AnsiString& characters) {
    std::bitset<256> set;
    for (char ch : characters)
        set.set(static_cast<unsigned char>(ch));
    return set;
}

// The other-case form of every character of the ANSI code page, as the
// system's upper-casing (or, where that changes nothing, lower-casing) gives it.
const std::array<AnsiChar, 256>& otherCaseTable() {
    static const std::array<AnsiChar, 256> table = [] {
        std::array<AnsiChar, 256> forms{};
        for (Integer code = 0; code < 256; ++code) {
            const AnsiChar ch = static_cast<AnsiChar>(code);
            const AnsiChar upper = AnsiCharUpper(ch);
            forms[code] = upper != ch ? upper : AnsiCharLower(ch);
        }
        return forms;
    }();
    return table;
}

char asciiLowerCase(char ch) {
    return ch >= 'A' && ch <= 'Z' ? static_cast<char>(ch - 'A' + 'a') : ch;
}

// Lets the unit-level default case inverter be a method pointer like any other.
struct DefaultCaseInverter : TObject {
    AnsiChar Invert(AnsiChar ch) const { return TRegExpr::InvertCaseFunction(ch); }
};
const DefaultCaseInverter defaultCaseInverter;

AnsiString decimal(Integer value) {
    return std::to_string(value);
}

AnsiString paddedDecimal(Integer value) {
    char text[16];
    std::snprintf(text, sizeof text, "%2d", value);
    return text;
}

// A set member as the listing shows it: control characters by their code.
AnsiString listedCharacter(unsigned char ch) {
    return ch < 32 ? "#" + decimal(ch) : AnsiString(1, static_cast<char>(ch));
}

// ---- Error messages -------------------------------------------------------

struct ErrorText {
    Integer code;
    const char* text;
};

constexpr ErrorText ErrorTexts[] = {
    {reeOk, "No errors"},
    {reeCompNullArgument, "TRegExpr(comp): Null Argument"},
    {reeCompRegexpTooBig, "TRegExpr(comp): Regexp Too Big"},
    {reeCompParseRegTooManyBrackets, "TRegExpr(comp): ParseReg Too Many ()"},
    {reeCompParseRegUnmatchedBrackets, "TRegExpr(comp): ParseReg Unmatched ()"},
    {reeCompParseRegUnmatchedBrackets2, "TRegExpr(comp): ParseReg Unmatched ()"},
    {reeCompParseRegJunkOnEnd, "TRegExpr(comp): ParseReg Junk On End"},
    {reePlusStarOperandCouldBeEmpty, "TRegExpr(comp): *+ Operand Could Be Empty"},
    {reeNestedSQP, "TRegExpr(comp): Nested *?+"},
    {reeBadHexDigit, "TRegExpr(comp): Bad Hex Digit"},
    {reeInvalidRange, "TRegExpr(comp): Invalid [] Range"},
    {reeParseAtomTrailingBackSlash, "TRegExpr(comp): Parse Atom Trailing \\"},
    {reeNoHexCodeAfterBSlashX, "TRegExpr(comp): No Hex Code After \\x"},
    {reeHexCodeAfterBSlashXTooBig, "TRegExpr(comp): Hex Code After \\x Is Too Big"},
    {reeUnmatchedSqBrackets, "TRegExpr(comp): Unmatched []"},
    {reeInternalUrp, "TRegExpr(comp): Internal Urp"},
    {reeQPSBFollowsNothing, "TRegExpr(comp): ?+*{ Follows Nothing"},
    {reeTrailingBackSlash, "TRegExpr(comp): Trailing \\"},
    {reeRarseAtomInternalDisaster, "TRegExpr(comp): RarseAtom Internal Disaster"},
    {reeBRACESArgTooBig, "TRegExpr(comp): BRACES Argument Too Big"},
    {reeBracesMinParamGreaterMax, "TRegExpr(comp): BRACE Min Param Greater then Max"},
    {reeUnclosedComment, "TRegExpr(comp): Unclosed (?#Comment)"},
    {reeComplexBracesNotImplemented, "TRegExpr(comp): If you want take part in beta-testing BRACES "
                                     "'{min,max}' and non-greedy ops '*?', '+?', "
                                     "'?\?' for complex cases - remove '.' from {.$DEFINE ComplexBraces}"},
    {reeUrecognizedModifier, "TRegExpr(comp): Urecognized Modifier"},
    {reeBadLinePairedSeparator,
     "TRegExpr(comp): LinePairedSeparator must countain two different chars or no chars at all"},
    {reeRegRepeatCalledInappropriately, "TRegExpr(exec): RegRepeat Called Inappropriately"},
    {reeMatchPrimMemoryCorruption, "TRegExpr(exec): MatchPrim Memory Corruption"},
    {reeMatchPrimCorruptedPointers, "TRegExpr(exec): MatchPrim Corrupted Pointers"},
    {reeNoExpression, "TRegExpr(exec): Not Assigned Expression Property"},
    {reeCorruptedProgram, "TRegExpr(exec): Corrupted Program"},
    {reeNoInputStringSpecified, "TRegExpr(exec): No Input String Specified"},
    {reeOffsetMustBeGreaterThen0, "TRegExpr(exec): Offset Must Be Greater Then 0"},
    {reeExecNextWithoutExec, "TRegExpr(exec): ExecNext Without Exec[Pos]"},
    {reeGetInputStringWithoutInputString, "TRegExpr(exec): GetInputString Without InputString"},
    {reeDumpCorruptedOpcode, "TRegExpr(dump): Corrupted Opcode"},
    {reeLoopStackExceeded, "TRegExpr(exec): Loop Stack Exceeded"},
    {reeLoopWithoutEntry, "TRegExpr(exec): Loop Without LoopEntry !"},
    {reeBacktrackStackExceeded, "TRegExpr(exec): Backtrack Stack Exceeded"},
    {reeMatchStepBudgetExceeded, "TRegExpr(exec): Too Much Backtracking"},
    {reeBadPCodeImported, "TRegExpr(misc): Bad p-code imported"},
};

const char* opcodeName(Byte op) {
    static const char* const names[] = {
        "END",       "BOL",        "EOL",       "ANY",      "ANYOF",        "ANYBUT",        "BRANCH",
        "BACK",      "EXACTLY",    "NOTHING",   "STAR",     "PLUS",         "ANYDIGIT",      "NOTDIGIT",
        "ANYLETTER", "NOTLETTER",  "ANYSPACE",  "NOTSPACE", "BRACES",       "COMMENT",       "EXACTLY/CI",
        "ANYOF/CI",  "ANYBUT/CI",  "LOOPENTRY", "LOOP",     "ANYOFTINYSET", "ANYBUTTINYSET", "ANYOFFULLSET",
        "BSUBEXP",   "BSUBEXP/CI", "STARNG",    "PLUSNG",   "BRACESNG",     "LOOPNG",        "BOLML",
        "EOLML",     "ANYML",      "BOUND",     "NOTBOUND"};
    return op < std::size(names) ? names[op] : nullptr;
}

// Flags of a parsed construct.
constexpr Integer FlagHasWidth = 1;  // always consumes a character
constexpr Integer FlagSimple = 2;    // a single-character matcher the repeat counter can count
constexpr Integer FlagStarStart = 4; // begins with a repetition

// ---- Shortcuts the program's shape allows ------------------------------------

bool isRepeatOpcode(Byte op) {
    return op == opStar || op == opPlus || op == opBraces || op == opStarNG || op == opPlusNG ||
           op == opBracesNG;
}

Integer repeatOperand(const Byte* program, Integer repeatNode) {
    const Byte op = program[repeatNode];
    return op == opBraces || op == opBracesNG ? bracesOperand(repeatNode) : operandOf(repeatNode);
}

Integer repeatMinimum(const Byte* program, Integer repeatNode) {
    switch (program[repeatNode]) {
    case opPlus:
    case opPlusNG:
        return 1;
    case opBraces:
    case opBracesNG:
        return bracesMin(program, repeatNode);
    default:
        return 0;
    }
}

bool repeatIsUnbounded(const Byte* program, Integer repeatNode) {
    const Byte op = program[repeatNode];
    return !(op == opBraces || op == opBracesNG) || bracesMax(program, repeatNode) >= MaxBracesArgument;
}

// The characters a node that consumes exactly one of them accepts; false for
// any other node, and for the case-insensitive ones, whose other cases are
// only known while matching.
bool singleCharacters(const Byte* program, Integer node, std::bitset<256>& accepted) {
    const Byte* operand = program + operandOf(node);
    accepted.reset();
    switch (program[node]) {
    case opAny:
        accepted.set();
        return true;
    case opExactly:
        if (operand[0] == 0 || operand[1] != 0) return false;
        accepted.set(operand[0]);
        return true;
    case opAnyDigit:
    case opNotDigit:
        for (Integer ch = '0'; ch <= '9'; ++ch)
            accepted.set(static_cast<size_t>(ch));
        if (program[node] == opNotDigit) accepted.flip();
        return true;
    case opAnyOfTinySet:
    case opAnyButTinySet:
        for (Integer i = 0; i < TinySetSize; ++i)
            accepted.set(operand[i]);
        if (program[node] == opAnyButTinySet) accepted.flip();
        return true;
    case opAnyOfFullSet:
        for (Integer ch = 0; ch < 256; ++ch)
            if (fullSetHas(operand, static_cast<unsigned char>(ch))) accepted.set(static_cast<size_t>(ch));
        return true;
    default:
        return false;
    }
}

// The characters the rest of the program can go on with after a node, when
// it must consume one of them first (an end anchor consumes none and
// accepts only the end); false when that is not known.
bool charactersAfter(const Byte* program, Integer node, std::bitset<256>& first) {
    for (Integer following = nextNodeOf(program, node); following >= 0;
         following = nextNodeOf(program, following)) {
        const Byte op = program[following];
        if (isOpenGroup(op) || isCloseGroup(op) || op == opComment || op == opNothing) continue;
        first.reset();
        if (op == opEol) return true;
        if (op == opExactly) {
            first.set(program[operandOf(following)]);
            return true;
        }
        if (isRepeatOpcode(op))
            return repeatMinimum(program, following) > 0 &&
                   singleCharacters(program, repeatOperand(program, following), first);
        return singleCharacters(program, following, first);
    }
    return false;
}

// A greedy repeat whose operand accepts none of the characters the rest of
// the program must begin with gives nothing back: every shorter count would
// leave one of the operand's characters where the rest must begin.
bool repeatGivesNothingBack(const Byte* program, Integer repeatNode) {
    const Byte op = program[repeatNode];
    std::bitset<256> repeated, following;
    return (op == opStar || op == opPlus || op == opBraces) &&
           singleCharacters(program, repeatOperand(program, repeatNode), repeated) &&
           charactersAfter(program, repeatNode, following) && (repeated & following).none();
}

// A set of failed matcher states, each a short list of numbers (the node,
// the position and whatever else its future depends on), kept in one pool.
// Full keys are compared, so a state is never mistaken for another.
class FailureTable {
public:
    // Beyond this many states, or numbers in their keys (32 MB), the table
    // stops learning; the step budget still bounds the search.
    static constexpr size_t MaxStates = size_t(1) << 20;
    static constexpr size_t MaxPooledNumbers = size_t(1) << 23;

    void clear() {
        pool_.clear();
        states_.clear();
        buckets_.assign(InitialBuckets, Empty);
    }

    // The state's index, added when new; -1 when the table is full.
    Integer findOrAdd(const std::vector<Integer>& key) {
        const size_t mask = buckets_.size() - 1;
        for (size_t bucket = hashOf(key) & mask;; bucket = (bucket + 1) & mask) {
            const Integer index = buckets_[bucket];
            if (index == Empty) return add(key, bucket);
            if (sameKey(states_[static_cast<size_t>(index)], key)) return index;
        }
    }

    bool failed(Integer index) const { return states_[static_cast<size_t>(index)].failed; }
    void markFailed(Integer index) { states_[static_cast<size_t>(index)].failed = true; }

private:
    static constexpr Integer Empty = -1;
    static constexpr size_t InitialBuckets = 1024;

    struct State {
        size_t offset;
        size_t length;
        bool failed;
    };

    static size_t hashOf(const std::vector<Integer>& key) {
        std::uint64_t hash = 0x9E3779B97F4A7C15u;
        for (Integer value : key) {
            hash ^= static_cast<std::uint32_t>(value);
            hash *= 0xFF51AFD7ED558CCDu;
            hash ^= hash >> 32;
        }
        return static_cast<size_t>(hash);
    }

    bool sameKey(const State& state, const std::vector<Integer>& key) const {
        return state.length == key.size() && std::equal(key.begin(), key.end(), pool_.begin() + state.offset);
    }

    Integer add(const std::vector<Integer>& key, size_t bucket) {
        if (states_.size() >= MaxStates || pool_.size() + key.size() > MaxPooledNumbers) return -1;
        const Integer index = static_cast<Integer>(states_.size());
        states_.push_back({pool_.size(), key.size(), false});
        pool_.insert(pool_.end(), key.begin(), key.end());
        buckets_[bucket] = index;
        if (states_.size() * 2 > buckets_.size()) rehash();
        return index;
    }

    void rehash() {
        buckets_.assign(buckets_.size() * 2, Empty);
        const size_t mask = buckets_.size() - 1;
        std::vector<Integer> key;
        for (size_t index = 0; index < states_.size(); ++index) {
            const State& state = states_[index];
            key.assign(pool_.begin() + state.offset, pool_.begin() + state.offset + state.length);
            size_t bucket = hashOf(key) & mask;
            while (buckets_[bucket] != Empty)
                bucket = (bucket + 1) & mask;
            buckets_[bucket] = static_cast<Integer>(index);
        }
    }

    std::vector<Integer> pool_;
    std::vector<State> states_;
    std::vector<Integer> buckets_ = std::vector<Integer>(InitialBuckets, Empty);
};

} // namespace

// ---- Unit-level defaults --------------------------------------------------

bool RegExprModifierI = false;
bool RegExprModifierR = true;
bool RegExprModifierS = true;
bool RegExprModifierG = true;
bool RegExprModifierM = false;
bool RegExprModifierX = false;
AnsiString RegExprSpaceChars = " \t\n\r\f";
AnsiString RegExprWordChars = "0123456789abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ_";
AnsiString RegExprLineSeparators = "\r\n";
AnsiString RegExprLinePairedSeparator = "\r\n";
TRegExprInvertCaseFunction RegExprInvertCaseFunction(&defaultCaseInverter, &DefaultCaseInverter::Invert);

// ---- Matcher working storage ----------------------------------------------

// Every value the matcher changes along a path lives in one array of slots;
// each change is logged on the trail so that backtracking to a choice point
// restores exactly the state in which the choice point was made.
struct TRegExpr::MatcherStacks {
    enum ChoiceKind : Integer {
        NextAlternative,
        FewerRepeats,
        MoreRepeats,
        LeaveLoop,
        IterateLoop,
        RecordFailure
    };

    struct Choice {
        ChoiceKind kind;
        Integer node;
        Integer position;
        Integer count; // repeats: the count tried last; failures: the state's index
        Integer limit; // repeats: the last count that may be tried; failures: which memo
        Integer trailHeight;
    };

    struct Undo {
        Integer slot;
        Integer value;
    };

    // Slot layout.
    static constexpr Integer GroupStartSlot = 0;
    static constexpr Integer GroupEndSlot = GroupStartSlot + NSUBEXP;
    // Where a group opened on the current path; it becomes the group's start
    // only when the group closes, so that a back-reference inside the group
    // sees the group's previous complete text.
    static constexpr Integer GroupOpenSlot = GroupEndSlot + NSUBEXP;
    static constexpr Integer LoopCounterSlot = GroupOpenSlot + NSUBEXP; // indexed by depth 1..10
    static constexpr Integer LoopDepthSlot = LoopCounterSlot + LoopStackMax + 1;
    static constexpr Integer LoopIterationStartSlot = LoopDepthSlot + 1; // indexed by depth 1..10
    // Then one slot per BRANCH/BACK loop: where its current iteration began.
    static constexpr Integer IterationStartSlot = LoopIterationStartSlot + LoopStackMax + 1;

    // Enough for a repeat per character over inputs of a few megabytes, and
    // a few hundred megabytes at most; stacks grown past the kept size are
    // released when the next search starts.
    static constexpr size_t MaxChoices = size_t(1) << 22;
    static constexpr size_t MaxTrail = size_t(1) << 24;
    static constexpr size_t KeptCapacity = size_t(1) << 16;
    // Backtracking this often within one attempt, or this often per subject
    // character over a whole search, signals an expression that retries the
    // same stretches again and again; from then on failures are remembered.
    // Below it, searches pay nothing for the memo.
    static constexpr Integer ResumptionsBeforeMemo = 1 << 12;
    static constexpr Int64 SearchResumptionsPerCharacterBeforeMemo = 16;
    // One bit per memo row and input position, up to 32 MB.
    static constexpr size_t MaxMemoEntries = size_t(1) << 28;
    // The steps one attempt at a start position may take, as a backtracking
    // matcher without a memo is allowed (a common match limit is ten million
    // calls), plus enough per remaining character for any linear scan. With
    // the memo, only an expression whose states are too many to remember
    // reaches it.
    static constexpr Int64 StepBudgetPerAttempt = 10'000'000;
    static constexpr Int64 StepBudgetPerCharacter = 64;
    // A memo point whose loop counts combine into more rows keeps its
    // failures in the table of states instead of the bitmap.
    static constexpr Integer MaxBitmapRowsPerPoint = 256;
    static constexpr Integer BitmapMemo = 0;
    static constexpr Integer TableMemo = 1;

    // The counts of a counted loop that lead to different futures: beyond its
    // minimum, a loop without a maximum behaves the same whatever the count.
    static Integer distinctLoopCounts(const Byte* code, Integer loopNode) {
        const Integer min = bracesMin(code, loopNode);
        const Integer max = bracesMax(code, loopNode);
        return max >= MaxBracesArgument ? min + 1 : max + 1;
    }
    static Integer countClass(const Byte* code, Integer loopNode, Integer count) {
        return bracesMax(code, loopNode) >= MaxBracesArgument ? std::min(count, bracesMin(code, loopNode))
                                                              : count;
    }

    std::vector<Choice> choices;
    std::vector<Undo> trail;
    std::vector<Integer> slots;
    std::vector<Integer> initialSlots;
    // The loops of complex operands, x* as (x&|) and x+ as x(&|): an
    // iteration that consumed nothing ends the loop, which then goes on with
    // what follows it. By node: the loop's iteration-start slot, recorded at
    // the head of x* and at the BACK of x+, and for BACK nodes the node that
    // leaves the loop.
    struct LoopGuard {
        Integer slot = -1;
        Integer exit = -1;
        bool recordedAtBack = false;
    };
    std::vector<LoopGuard> loopGuards;
    std::bitset<256> wordCharacters;
    AnsiString wordCharactersSource; // what wordCharacters was built from

    // Failure memo. Its points are the lists of alternatives and the counted
    // loops' nodes; at a point, whether everything from there on fails
    // depends on the position and on the path only through
    //  - the counts of the counted loops round the point (as far as they
    //    lead to different futures),
    //  - the spans of the groups a back-reference reachable from the point
    //    reads,
    //  - a loop's iteration that began at this very position (no entry is
    //    made or used then: it ends differently when it consumes nothing).
    // Points that depend on no group keep one bit per count row and position;
    // the others, and all of them when the bitmap would be too large, keep
    // their failed states in the table.
    struct MemoPoint {
        Integer depth = 0;      // counted loops round the point
        Integer firstLoop = 0;  // where their nodes, outermost first, begin in enclosingLoops
        Integer bitmapRow = -1; // -1: kept in the table
        std::uint32_t groups = 0;
    };
    std::vector<Integer> memoPointOfNode;
    std::vector<MemoPoint> memoPoints;
    std::vector<Integer> enclosingLoops;
    Integer bitmapRows = 0;
    bool memoActive = false;
    bool memoInBitmap = false;
    Integer resumptions = 0;
    Int64 searchResumptions = 0;
    Int64 searchResumptionsBeforeMemo = 0;
    std::vector<bool> failedAt;
    FailureTable failedStates;
    std::vector<Integer> stateKey;
    Int64 stepsLeft = 0;

    // By node: the repeats that give nothing back, and for branches the
    // character their alternative must begin with (-1: any).
    std::vector<bool> givesNothingBack;
    std::vector<Integer> leadCharacter;
    // An expression that begins with a character and a repeat without an
    // upper bound, and reads no group: an attempt that failed also fails at
    // every start up to where that repeat's run ends, since the repeat ends
    // there again and what follows it was tried there and at every other
    // position the later start could reach.
    Integer leadingNode = -1;
    Integer leadingRepeat = -1;
    // The text every match begins with, when it is longer than a character:
    // where it is found is where an attempt can succeed.
    Integer leadingTextOffset = -1;
    Integer leadingTextLength = 0;
    // Where an attempt begins: past the top-level branch when it has no
    // alternatives, as it then chooses nothing.
    Integer entryNode = FirstNode;
    bool testsWordBoundaries = false;

    void useWordCharacters(const AnsiString& characters) {
        if (characters == wordCharactersSource) return;
        wordCharacters = characterSetOf(characters);
        wordCharactersSource = characters;
    }

    void prepareForProgram(const std::vector<Byte>& program) {
        const Byte* code = program.data();
        loopGuards.assign(program.size(), LoopGuard());
        memoPointOfNode.assign(program.size(), -1);
        memoPoints.clear();
        enclosingLoops.clear();
        bitmapRows = 0;
        std::vector<bool> laterAlternative(program.size(), false);
        std::vector<Integer> openLoops;
        const std::vector<std::uint32_t> groupsRead = groupsReadFrom(program);
        Integer loops = 0;
        for (Integer node = FirstNode, previous = -1; program[node] != opEnd;
             previous = node, node += nodeSize(code, node)) {
            const Byte op = program[node];
            if (op == opBack) {
                // In x+ the BACK is the operand of the loop's first BRANCH; in
                // x* it jumps back to that BRANCH.
                const bool plusForm =
                    previous >= 0 && program[previous] == opBranch && operandOf(previous) == node;
                const Integer firstBranch = plusForm ? previous : nextNodeOf(code, node);
                const Integer slot = IterationStartSlot + loops++;
                loopGuards[node] = {slot, operandOf(nextNodeOf(code, firstBranch)), plusForm};
                if (!plusForm) loopGuards[firstBranch].slot = slot;
            }
            if (op == opLoopEntry) openLoops.push_back(nextNodeOf(code, node));
            const Integer following = nextNodeOf(code, node);
            const bool listHead =
                op == opBranch && following >= 0 && program[following] == opBranch && !laterAlternative[node];
            if (op == opBranch && following >= 0 && program[following] == opBranch)
                laterAlternative[following] = true;
            if (listHead || op == opLoop || op == opLoopNG)
                addMemoPoint(code, node, openLoops, groupsRead[node]);
            if ((op == opLoop || op == opLoopNG) && !openLoops.empty()) openLoops.pop_back();
        }
        initialSlots.assign(IterationStartSlot + loops, -1);
        initialSlots[LoopDepthSlot] = 0;
        slots = initialSlots;
        trail.clear();
        findShortcuts(program);
        findLeadingRun(program, groupsRead[FirstNode] != 0);
        findLeadingText(program);
        const Integer afterFirst = nextNodeOf(program.data(), FirstNode);
        entryNode = afterFirst >= 0 && program[afterFirst] == opBranch ? FirstNode : operandOf(FirstNode);
    }

    void findLeadingText(const std::vector<Byte>& program) {
        leadingTextOffset = -1;
        leadingTextLength = 0;
        const Integer afterFirst = nextNodeOf(program.data(), FirstNode);
        const Integer operand = operandOf(FirstNode);
        if ((afterFirst >= 0 && program[afterFirst] == opBranch) || program[operand] != opExactly) return;
        const Integer length = static_cast<Integer>(
            std::strlen(reinterpret_cast<const char*>(program.data() + operandOf(operand))));
        if (length < 2) return;
        leadingTextOffset = operandOf(operand);
        leadingTextLength = length;
    }

    void findShortcuts(const std::vector<Byte>& program) {
        const Byte* code = program.data();
        givesNothingBack.assign(program.size(), false);
        leadCharacter.assign(program.size(), -1);
        testsWordBoundaries = false;
        for (Integer node = FirstNode; program[node] != opEnd; node += nodeSize(code, node)) {
            if (program[node] == opBound || program[node] == opNotBound) testsWordBoundaries = true;
            if (isRepeatOpcode(program[node])) givesNothingBack[node] = repeatGivesNothingBack(code, node);
            if (program[node] == opBranch && program[operandOf(node)] == opExactly)
                leadCharacter[node] = program[operandOf(operandOf(node))];
        }
    }

    void findLeadingRun(const std::vector<Byte>& program, bool readsGroups) {
        const Byte* code = program.data();
        leadingNode = leadingRepeat = -1;
        const Integer afterFirst = nextNodeOf(code, FirstNode);
        if (readsGroups || (afterFirst >= 0 && program[afterFirst] == opBranch)) return;
        Integer node = operandOf(FirstNode);
        while (isOpenGroup(program[node]))
            node = nextNodeOf(code, node);
        std::bitset<256> accepted;
        if (!singleCharacters(code, node, accepted)) return;
        const Integer repeat = nextNodeOf(code, node);
        if (repeat < 0 || !isRepeatOpcode(program[repeat]) || !repeatIsUnbounded(code, repeat)) return;
        if (program[repeatOperand(code, repeat)] == opBackReference ||
            program[repeatOperand(code, repeat)] == opBackReferenceCI)
            return;
        leadingNode = node;
        leadingRepeat = repeat;
    }

    void addMemoPoint(const Byte* code, Integer node, const std::vector<Integer>& openLoops,
                      std::uint32_t groups) {
        MemoPoint point;
        point.depth = static_cast<Integer>(openLoops.size());
        point.firstLoop = static_cast<Integer>(enclosingLoops.size());
        point.groups = groups;
        enclosingLoops.insert(enclosingLoops.end(), openLoops.begin(), openLoops.end());
        Int64 rows = 1;
        for (Integer loopNode : openLoops)
            rows = std::min<Int64>(rows * distinctLoopCounts(code, loopNode), MaxBitmapRowsPerPoint + 1);
        if (groups == 0 && rows <= MaxBitmapRowsPerPoint) {
            point.bitmapRow = bitmapRows;
            bitmapRows += static_cast<Integer>(rows);
        }
        memoPointOfNode[node] = static_cast<Integer>(memoPoints.size());
        memoPoints.push_back(point);
    }

    // For each node, the groups whose text a back-reference reachable from
    // it reads: the state a failure there depends on.
    static std::vector<std::uint32_t> groupsReadFrom(const std::vector<Byte>& program) {
        const Byte* code = program.data();
        std::vector<Integer> nodes;
        for (Integer node = FirstNode; program[node] != opEnd; node += nodeSize(code, node))
            nodes.push_back(node);
        std::vector<std::uint32_t> groups(program.size(), 0);
        for (Integer node : nodes)
            if (program[node] == opBackReference || program[node] == opBackReferenceCI)
                groups[node] = std::uint32_t(1) << program[operandOf(node)];
        for (bool changed = true; changed;) {
            changed = false;
            for (auto at = nodes.rbegin(); at != nodes.rend(); ++at) {
                std::uint32_t reached = groups[*at];
                for (Integer successor : successorsOf(code, *at))
                    if (successor >= 0) reached |= groups[successor];
                if (reached != groups[*at]) {
                    groups[*at] = reached;
                    changed = true;
                }
            }
        }
        return groups;
    }

    // Where the matcher may go from a node: its next node, and for branches,
    // loops and repeats the nodes they enter.
    static std::array<Integer, 2> successorsOf(const Byte* code, Integer node) {
        const Integer following = nextNodeOf(code, node);
        switch (code[node]) {
        case opBranch:
            return {following, operandOf(node)};
        case opLoop:
        case opLoopNG:
            return {following, loopBody(code, node)};
        case opStar:
        case opPlus:
        case opStarNG:
        case opPlusNG:
            return {following, operandOf(node)};
        case opBraces:
        case opBracesNG:
            return {following, bracesOperand(node)};
        default:
            return {following, -1};
        }
    }

    void startSearch(Integer subjectLength) {
        // Every attempt that ends normally undoes its changes; one that
        // ended with an error may have left some.
        if (!trail.empty()) slots = initialSlots;
        choices.clear();
        trail.clear();
        if (choices.capacity() > KeptCapacity) choices.shrink_to_fit();
        if (trail.capacity() > KeptCapacity) trail.shrink_to_fit();
        memoActive = false;
        failedAt.clear();
        searchResumptions = 0;
        searchResumptionsBeforeMemo =
            ResumptionsBeforeMemo + SearchResumptionsPerCharacterBeforeMemo * Int64(subjectLength);
    }

    void startMemo(Integer subjectLength) {
        memoActive = true;
        const size_t entries = static_cast<size_t>(bitmapRows) * static_cast<size_t>(subjectLength + 1);
        memoInBitmap = entries <= MaxMemoEntries;
        if (memoInBitmap) failedAt.assign(entries, false);
        failedStates.clear();
    }
};

// ---- Construction, expression and modifiers -------------------------------

TRegExpr::TRegExpr() : stacks_(std::make_unique<MatcherStacks>()) {
    const bool defaults[] = {RegExprModifierI, RegExprModifierR, RegExprModifierS, RegExprModifierG,
                             RegExprModifierM};
    for (Integer index = 0; index < ModifierCount - 1; ++index)
        if (defaults[index]) modifiers_ |= ModifierLetters[index].mask;
    SpaceChars = RegExprSpaceChars;
    WordChars = RegExprWordChars;
    InvertCase = RegExprInvertCaseFunction;
    lineSeparators_ = RegExprLineSeparators;
    lineSeparatorSet_ = characterSetOf(lineSeparators_);
    SetLinePairedSeparator(RegExprLinePairedSeparator);
}

TRegExpr::~TRegExpr() = default;

Integer TRegExpr::VersionMajor() {
    return 0;
}
Integer TRegExpr::VersionMinor() {
    return 952;
}

AnsiString TRegExpr::GetExpression() const {
    return hasExpression_ ? expression_ : AnsiString();
}

void TRegExpr::SetExpression(const AnsiString& Value) {
    const AnsiString text = Value.substr(0, Value.find('\0'));
    if (hasExpression_ && text == expression_ && compiled_) return;
    compiled_ = false;
    hasExpression_ = !text.empty();
    expression_ = text;
    // An empty expression must not leave the previous program running.
    InvalidateProgramm();
}

bool TRegExpr::GetModifier(Integer Index) {
    if (Index < 1 || Index > ModifierCount) {
        Error(reeModifierUnsupported);
        return false;
    }
    return (modifiers_ & ModifierLetters[Index - 1].mask) != 0;
}

void TRegExpr::SetModifier(Integer Index, bool Value) {
    if (Index < 1 || Index > ModifierCount) {
        Error(reeModifierUnsupported);
        return;
    }
    const Integer mask = ModifierLetters[Index - 1].mask;
    modifiers_ = Value ? modifiers_ | mask : modifiers_ & ~mask;
}

AnsiString TRegExpr::GetModifierStr() const {
    AnsiString result = "-";
    for (const ModifierLetter& modifier : ModifierLetters) {
        if (modifiers_ & modifier.mask)
            result.insert(result.begin(), modifier.letter);
        else
            result += modifier.letter;
    }
    if (result.back() == '-') result.pop_back();
    return result;
}

void TRegExpr::SetModifierStr(const AnsiString& Value) {
    if (!ParseModifiersStr(Value, modifiers_)) Error(reeModifierUnsupported);
}

bool TRegExpr::ParseModifiersStr(const AnsiString& Text, Integer& Mask) {
    bool setting = true;
    for (char ch : Text) {
        if (ch == '-') {
            setting = false;
            continue;
        }
        const char letter = asciiLowerCase(ch);
        const auto* modifier = std::find_if(std::begin(ModifierLetters), std::end(ModifierLetters),
                                            [letter](const ModifierLetter& m) { return m.letter == letter; });
        if (modifier == std::end(ModifierLetters)) return false;
        Mask = setting ? Mask | modifier->mask : Mask & ~modifier->mask;
    }
    return true;
}

AnsiChar TRegExpr::InvertCaseFunction(AnsiChar Ch) {
    return otherCaseTable()[static_cast<unsigned char>(Ch)];
}

void TRegExpr::InvalidateProgramm() {
    program_.clear();
    hasProgram_ = false;
}

void TRegExpr::Compile() {
    if (!hasExpression_) fail(reeNoExpression);
    CompileRegExpr(expression_);
}

Integer TRegExpr::GetCompilerErrorPos() const {
    return compiling_ ? parsePosition_ : 0;
}

void TRegExpr::Error(Integer Code) {
    lastError_ = Code;
    AnsiString message = ErrorMsg(Code);
    if (Code < reeRegRepeatCalledInappropriately) message += " (pos " + decimal(GetCompilerErrorPos()) + ")";
    throw ERegExpr(message, Code, GetCompilerErrorPos());
}

// Every failure goes through the overridable Error; should an override return,
// the operation must still stop.
void TRegExpr::fail(Integer Code) {
    Error(Code);
    throw ERegExpr(ErrorMsg(Code), Code, GetCompilerErrorPos());
}

AnsiString TRegExpr::ErrorMsg(Integer Code) {
    for (const ErrorText& entry : ErrorTexts)
        if (entry.code == Code) return entry.text;
    return "Unknown error";
}

Integer TRegExpr::LastError() {
    const Integer code = lastError_;
    lastError_ = reeOk;
    return code;
}

// ---- Compiler ---------------------------------------------------------------

struct TRegExpr::Compiler {
    TRegExpr& owner;
    const char* text;
    std::vector<Byte>& program;
    Integer& position;
    Integer& modifiers;
    Integer groupCount = 1;

    Compiler(TRegExpr& regExpr, const char* expression)
        : owner(regExpr), text(expression), program(regExpr.program_), position(regExpr.parsePosition_),
          modifiers(regExpr.compileModifiers_) {}

    char current() const { return text[position]; }
    bool has(Integer modifier) const { return (modifiers & modifier) != 0; }
    [[noreturn]] void fail(Integer code) { owner.fail(code); }

    // -- emission --

    Integer emitNode(Byte op) {
        const Integer node = static_cast<Integer>(program.size());
        program.push_back(op);
        program.insert(program.end(), NextOffsetSize, 0);
        return node;
    }

    void emitByte(Byte value) { program.push_back(value); }

    void emitInteger(Integer value) {
        const size_t at = program.size();
        program.resize(at + IntegerOperandSize);
        writeInteger(program.data() + at, value);
    }

    void insertOperator(Byte op, Integer operand, Integer size) {
        program.insert(program.begin() + operand, size, 0);
        program[operand] = op;
    }

    Integer next(Integer node) const { return nextNodeOf(program.data(), node); }

    void tail(Integer node, Integer target) {
        Integer last = node;
        for (Integer following = next(last); following >= 0; following = next(last))
            last = following;
        writeInteger(program.data() + last + OpcodeSize, target - last);
    }

    void opTail(Integer node, Integer target) {
        if (program[node] == opBranch) tail(operandOf(node), target);
    }

    // -- grammar --

    Integer parseReg(bool group, Integer& flags) {
        const Integer savedModifiers = modifiers;
        flags = FlagHasWidth;
        Integer result = -1;
        Integer groupNumber = 0;
        if (group) {
            if (groupCount >= NSUBEXP) fail(reeCompParseRegTooManyBrackets);
            groupNumber = groupCount++;
            result = emitNode(static_cast<Byte>(opOpen + groupNumber));
        }
        for (bool first = true; first || current() == '|'; first = false) {
            if (!first) ++position;
            Integer branchFlags = 0;
            const Integer branch = parseBranch(branchFlags);
            if (result < 0)
                result = branch;
            else
                tail(result, branch);
            if (!(branchFlags & FlagHasWidth)) flags &= ~FlagHasWidth;
            flags |= branchFlags & FlagStarStart;
        }
        const Integer ender = emitNode(group ? static_cast<Byte>(opClose + groupNumber) : Byte{opEnd});
        tail(result, ender);
        for (Integer node = result; node >= 0; node = next(node))
            opTail(node, ender);
        expectEndOf(group);
        modifiers = savedModifiers;
        return result;
    }

    void expectEndOf(bool group) {
        if (group) {
            if (current() != ')') fail(reeCompParseRegUnmatchedBrackets);
            ++position;
        } else if (current() != '\0') {
            fail(current() == ')' ? reeCompParseRegUnmatchedBrackets2 : reeCompParseRegJunkOnEnd);
        }
    }

    Integer parseBranch(Integer& flags) {
        flags = 0;
        const Integer branch = emitNode(opBranch);
        Integer chain = -1;
        while (current() != '\0' && current() != '|' && current() != ')') {
            Integer pieceFlags = 0;
            const Integer piece = parsePiece(pieceFlags);
            flags |= pieceFlags & FlagHasWidth;
            if (chain < 0)
                flags |= pieceFlags & FlagStarStart;
            else
                tail(chain, piece);
            chain = piece;
        }
        if (chain < 0) emitNode(opNothing);
        return branch;
    }

    struct Bounds {
        Integer min;
        Integer max;
    };

    Integer parsePiece(Integer& flags) {
        Integer atomFlags = 0;
        const Integer atom = parseAtom(atomFlags);
        const char op = current();
        flags = atomFlags;
        if (!isQuantifier(op)) return atom;
        if (!(atomFlags & FlagHasWidth) && op != '?') fail(reePlusStarOperandCouldBeEmpty);
        Bounds bounds{0, 0};
        if (op == '{') {
            if (!parseBounds(bounds)) return atom; // the "{" is literal text
        } else {
            ++position;
        }
        bool greedy = has(ModifierG);
        if (current() == '?') {
            greedy = false;
            ++position;
        }
        const bool simple = (atomFlags & FlagSimple) != 0;
        switch (op) {
        case '*':
            flags = FlagStarStart;
            quantifyStar(atom, simple, greedy);
            break;
        case '+':
            flags = FlagHasWidth | FlagStarStart;
            quantifyPlus(atom, simple, greedy);
            break;
        case '?':
            flags = 0;
            quantifyOptional(atom, simple, greedy);
            break;
        default:
            flags = bounds.max > 0 ? FlagHasWidth | FlagStarStart : 0;
            quantifyBounded(atom, simple, greedy, bounds);
            break;
        }
        if (isQuantifier(current())) fail(reeNestedSQP);
        return atom;
    }

    // "{n}", "{n,}" or "{n,m}" at the current "{"; anything else leaves the
    // position alone and the "{" becomes an ordinary character.
    bool parseBounds(Bounds& bounds) {
        Integer at = position + 1;
        const Integer minStart = at;
        while (isDigit(text[at]))
            ++at;
        const Integer minEnd = at;
        if (minEnd == minStart || (text[at] != '}' && text[at] != ',')) return false;
        Integer maxStart = minStart;
        Integer maxEnd = minEnd;
        if (text[at] == ',') {
            maxStart = ++at;
            while (isDigit(text[at]))
                ++at;
            maxEnd = at;
            if (text[at] != '}') return false;
        }
        bounds.min = boundValue(minStart, minEnd);
        bounds.max = maxEnd == maxStart ? MaxBracesArgument : boundValue(maxStart, maxEnd);
        position = at + 1;
        if (bounds.min > bounds.max) fail(reeBracesMinParamGreaterMax);
        return true;
    }

    Integer boundValue(Integer from, Integer to) {
        if (to - from > MaxBracesDigits) {
            position = from;
            fail(reeBRACESArgTooBig);
        }
        Integer value = 0;
        for (Integer at = from; at < to; ++at)
            value = value * 10 + (text[at] - '0');
        return value;
    }

    void quantifyStar(Integer atom, bool simple, bool greedy) {
        if (simple) {
            insertOperator(greedy ? opStar : opStarNG, atom, NodeHeaderSize);
        } else if (greedy) { // x* as (x&|)
            insertOperator(opBranch, atom, NodeHeaderSize);
            opTail(atom, emitNode(opBack));
            opTail(atom, atom);
            tail(atom, emitNode(opBranch));
            tail(atom, emitNode(opNothing));
        } else {
            countedLoop(atom, greedy, {0, MaxBracesArgument});
        }
    }

    void quantifyPlus(Integer atom, bool simple, bool greedy) {
        if (simple) {
            insertOperator(greedy ? opPlus : opPlusNG, atom, NodeHeaderSize);
        } else if (greedy) { // x+ as x(&|)
            const Integer branch = emitNode(opBranch);
            tail(atom, branch);
            tail(emitNode(opBack), atom);
            tail(branch, emitNode(opBranch));
            tail(atom, emitNode(opNothing));
        } else {
            countedLoop(atom, greedy, {1, MaxBracesArgument});
        }
    }

    void quantifyOptional(Integer atom, bool simple, bool greedy) {
        if (greedy) { // x? as (x|)
            insertOperator(opBranch, atom, NodeHeaderSize);
            tail(atom, emitNode(opBranch));
            const Integer nothing = emitNode(opNothing);
            tail(atom, nothing);
            opTail(atom, nothing);
        } else {
            quantifyBounded(atom, simple, greedy, {0, 1});
        }
    }

    void quantifyBounded(Integer atom, bool simple, bool greedy, Bounds bounds) {
        if (!simple) {
            countedLoop(atom, greedy, bounds);
            return;
        }
        insertOperator(greedy ? opBraces : opBracesNG, atom, BracesHeaderSize);
        writeInteger(program.data() + atom + NodeHeaderSize, bounds.min);
        writeInteger(program.data() + atom + NodeHeaderSize + IntegerOperandSize, bounds.max);
    }

    void countedLoop(Integer atom, bool greedy, Bounds bounds) {
        insertOperator(opLoopEntry, atom, NodeHeaderSize);
        const Integer body = atom + NodeHeaderSize;
        const Integer loop = emitNode(greedy ? opLoop : opLoopNG);
        emitInteger(bounds.min);
        emitInteger(bounds.max);
        emitInteger(loop - body);
        tail(atom, loop);
        tail(body, loop);
    }

    Integer parseAtom(Integer& flags) {
        flags = 0;
        const char ch = current();
        if (ch == '\0') fail(reeInternalUrp);
        ++position;
        switch (ch) {
        case '^':
            return emitNode(multiLineAnchors() ? opBolML : opBol);
        case '$':
            return emitNode(multiLineAnchors() ? opEolML : opEol);
        case '.':
            flags = has(ModifierS) ? FlagHasWidth | FlagSimple : FlagHasWidth;
            return emitNode(has(ModifierS) ? opAny : opAnyML);
        case '[':
            flags = FlagHasWidth | FlagSimple;
            return parseSet();
        case '(':
            return parseParenthesis(flags);
        case '|':
        case ')':
            fail(reeInternalUrp);
        case '?':
        case '+':
        case '*':
            fail(reeQPSBFollowsNothing);
        case '\\':
            return parseEscapeAtom(flags);
        default:
            --position;
            return parseLiteral(flags);
        }
    }

    bool multiLineAnchors() const {
        return has(ModifierM) && (!owner.lineSeparators_.empty() || owner.hasPairedSeparator_);
    }

    Integer parseParenthesis(Integer& flags) {
        if (current() != '?') {
            Integer groupFlags = 0;
            const Integer group = parseReg(true, groupFlags);
            flags = groupFlags & (FlagHasWidth | FlagStarStart);
            return group;
        }
        const bool isComment = text[position + 1] == '#';
        const char* closing = std::strchr(text + position, ')');
        if (!closing) {
            position += static_cast<Integer>(std::strlen(text + position));
            fail(isComment ? reeUnclosedComment : reeUrecognizedModifier);
        }
        const Integer closingAt = static_cast<Integer>(closing - text);
        if (!isComment) {
            const AnsiString letters(text + position + 1, text + closingAt);
            if (!ParseModifiersStr(letters, modifiers)) fail(reeUrecognizedModifier);
        }
        position = closingAt + 1;
        return emitNode(opComment);
    }

    Integer parseEscapeAtom(Integer& flags) {
        const char ch = current();
        if (ch == '\0') fail(reeTrailingBackSlash);
        ++position;
        flags = FlagHasWidth | FlagSimple;
        switch (ch) {
        case 'd':
            return emitNode(opAnyDigit);
        case 'D':
            return emitNode(opNotDigit);
        case 's':
        case 'S':
            return emitSet(characterSetOf(owner.SpaceChars), ch == 'S');
        case 'w':
        case 'W':
            return emitSet(characterSetOf(owner.WordChars), ch == 'W');
        default:
            break;
        }
        if (ch >= '1' && ch <= '9') {
            const Integer node = emitNode(has(ModifierI) ? opBackReferenceCI : opBackReference);
            emitByte(static_cast<Byte>(ch - '0'));
            return node;
        }
        const Byte anchor = escapedAnchor(ch);
        if (anchor != opEnd) {
            flags = 0;
            return emitNode(anchor);
        }
        --position;
        return emitCharacter(decodeEscape());
    }

    static Byte escapedAnchor(char ch) {
        switch (ch) {
        case 'b':
            return opBound;
        case 'B':
            return opNotBound;
        case 'A':
            return opBol;
        case 'Z':
            return opEol;
        default:
            return opEnd;
        }
    }

    // One literal character. The input never holds a NUL (it ends there), so
    // a NUL becomes a set that matches nothing rather than an empty literal
    // that would match everywhere.
    Integer emitCharacter(unsigned char ch) {
        if (ch == 0) return emitSet(std::bitset<256>().set(0), false);
        const Integer node = emitNode(has(ModifierI) ? opExactlyCI : opExactly);
        emitByte(ch);
        emitByte(0);
        return node;
    }

    // The character after a "\" (the position is on it); moves past the escape.
    unsigned char decodeEscape() {
        const char ch = current();
        ++position;
        switch (ch) {
        case 't':
            return '\t';
        case 'n':
            return '\n';
        case 'r':
            return '\r';
        case 'f':
            return '\f';
        case 'a':
            return 7;
        case 'e':
            return 27;
        case 'x':
            return decodeHexEscape();
        default:
            return static_cast<unsigned char>(ch);
        }
    }

    unsigned char decodeHexEscape() {
        if (current() == '\0') fail(reeNoHexCodeAfterBSlashX);
        if (current() != '{') {
            const Integer high = hexDigit();
            if (current() == '\0') fail(reeNoHexCodeAfterBSlashX);
            return static_cast<unsigned char>(high * 16 + hexDigit());
        }
        ++position;
        Integer value = 0;
        while (current() != '}') {
            if (current() == '\0') fail(reeNoHexCodeAfterBSlashX);
            const Integer digit = hexDigit();
            if (value > 15) fail(reeHexCodeAfterBSlashXTooBig);
            value = value * 16 + digit;
        }
        ++position;
        return static_cast<unsigned char>(value);
    }

    Integer hexDigit() {
        const Integer value = hexDigitValue(current());
        if (value < 0) fail(reeBadHexDigit);
        ++position;
        return value;
    }

    Integer parseLiteral(Integer& flags) {
        const bool extended = has(ModifierX);
        if (extended && current() == '#') {
            skipComment();
            return emitNode(opComment);
        }
        if (extended && isBlank(current())) {
            while (isBlank(current()))
                ++position;
            return emitNode(opComment);
        }
        Integer length = static_cast<Integer>(std::strcspn(text + position, Metacharacters));
        if (length == 0) {
            if (current() != '{') fail(reeRarseAtomInternalDisaster);
            length = 1 + static_cast<Integer>(std::strcspn(text + position + 1, Metacharacters));
        }
        // A quantifier after a run applies to its last character alone.
        if (length > 1 && isQuantifier(text[position + length])) --length;
        flags = length == 1 ? FlagHasWidth | FlagSimple : FlagHasWidth;
        const Integer node = emitNode(has(ModifierI) ? opExactlyCI : opExactly);
        for (; length > 0 && !(extended && current() == '#'); --length, ++position)
            if (!extended || !isBlank(current())) emitByte(static_cast<Byte>(current()));
        emitByte(0);
        return node;
    }

    void skipComment() {
        while (current() != '\0' && current() != '\r' && current() != '\n')
            ++position;
        while (current() == '\r' || current() == '\n')
            ++position;
    }

    // -- sets --

    Integer parseSet() {
        const bool negated = current() == '^';
        if (negated) ++position;
        std::bitset<256> members;
        bool canStartRange = false;
        unsigned char rangeStart = 0;
        auto addMember = [&](unsigned char ch) {
            members.set(ch);
            canStartRange = true;
            rangeStart = ch;
        };
        if (current() == ']') {
            addMember(']');
            ++position;
        }
        while (current() != '\0' && current() != ']') {
            const char ch = current();
            if (ch == '-' && canStartRange && text[position + 1] != ']' && text[position + 1] != '\0') {
                ++position;
                if (current() == '\\' && isClassLetter(text[position + 1])) {
                    addMember('-'); // the class is read next
                    canStartRange = false;
                    continue;
                }
                addRange(members, rangeStart, rangeEnd());
                canStartRange = false;
            } else if (ch == '\\') {
                ++position;
                if (current() == '\0') fail(reeParseAtomTrailingBackSlash);
                if (addClass(members, current())) {
                    ++position;
                    canStartRange = false;
                } else {
                    addMember(decodeEscape());
                }
            } else {
                addMember(static_cast<unsigned char>(ch));
                ++position;
            }
        }
        if (current() != ']') fail(reeUnmatchedSqBrackets);
        ++position;
        if (has(ModifierI)) addOtherCases(members);
        return emitSet(members, negated);
    }

    static bool isClassLetter(char ch) { return ch != '\0' && std::strchr("dDsSwW", ch) != nullptr; }

    unsigned char rangeEnd() {
        if (current() != '\\') return static_cast<unsigned char>(text[position++]);
        ++position;
        if (current() == '\0') fail(reeParseAtomTrailingBackSlash);
        return decodeEscape();
    }

    bool addClass(std::bitset<256>& members, char letter) {
        switch (letter) {
        case 'd':
            members |= characterSetOf(Digits);
            return true;
        case 'w':
            members |= characterSetOf(owner.WordChars);
            return true;
        case 's':
            members |= characterSetOf(owner.SpaceChars);
            return true;
        default:
            return false;
        }
    }

    void addRange(std::bitset<256>& members, unsigned char first, unsigned char last) {
        if (has(ModifierR) && addCyrillicRange(members, first, last)) return;
        if (first > last) fail(reeInvalidRange);
        for (Integer ch = first; ch <= last; ++ch)
            members.set(ch);
    }

    // Windows-1251 keeps yo (0xA8, 0xB8) outside the alphabet's block.
    static bool addCyrillicRange(std::bitset<256>& members, unsigned char first, unsigned char last) {
        constexpr unsigned char UpperA = 0xC0, UpperYa = 0xDF, LowerA = 0xE0, LowerYa = 0xFF;
        constexpr unsigned char UpperYo = 0xA8, LowerYo = 0xB8;
        const bool lower = first == LowerA && (last == LowerYa || last == UpperYa);
        const bool upper = (first == UpperA && last == UpperYa) || (first == LowerA && last == UpperYa);
        if (!lower && !upper) return false;
        if (lower) {
            for (Integer ch = LowerA; ch <= LowerYa; ++ch)
                members.set(ch);
            members.set(LowerYo);
        }
        if (upper) {
            for (Integer ch = UpperA; ch <= UpperYa; ++ch)
                members.set(ch);
            members.set(UpperYo);
        }
        return true;
    }

    void addOtherCases(std::bitset<256>& members) {
        const std::bitset<256> original = members;
        for (Integer ch = 0; ch < 256; ++ch)
            if (original.test(ch))
                members.set(static_cast<unsigned char>(owner.invertCase(static_cast<AnsiChar>(ch))));
    }

    Integer emitSet(std::bitset<256> members, bool negated) {
        const size_t count = members.count();
        if (count == 0 || count > TinySetSize) {
            if (negated) members.flip();
            const Integer node = emitNode(opAnyOfFullSet);
            Byte bytes[FullSetSize] = {};
            for (Integer ch = 0; ch < 256; ++ch)
                if (members.test(ch)) bytes[ch / 8] |= static_cast<Byte>(1 << (ch % 8));
            program.insert(program.end(), bytes, bytes + FullSetSize);
            return node;
        }
        const Integer node = emitNode(negated ? opAnyButTinySet : opAnyOfTinySet);
        Integer emitted = 0;
        Byte largest = 0;
        for (Integer ch = 0; ch < 256; ++ch) {
            if (!members.test(ch)) continue;
            largest = static_cast<Byte>(ch);
            emitByte(largest);
            ++emitted;
        }
        for (; emitted < TinySetSize; ++emitted)
            emitByte(largest);
        return node;
    }
};

AnsiChar TRegExpr::invertCase(AnsiChar ch) const {
    return InvertCase ? InvertCase(ch) : InvertCaseFunction(ch);
}

bool TRegExpr::CompileRegExpr(const AnsiString& Expression) {
    compiling_ = true;
    InvalidateProgramm();
    try {
        compileModifiers_ = programModifiers_ = modifiers_;
        parsePosition_ = 0;
        program_.assign(1, MagicByte);
        Compiler compiler(*this, Expression.c_str());
        Integer flags = 0;
        compiler.parseReg(false, flags);
        computeStartupData(flags);
        stacks_->prepareForProgram(program_);
    } catch (...) {
        compiling_ = false;
        InvalidateProgramm();
        throw;
    }
    compiling_ = false;
    hasProgram_ = true;
    compiled_ = true;
    return true;
}

// ---- Start-up filters --------------------------------------------------------

void TRegExpr::computeStartupData(Integer topLevelFlags) {
    fillFirstCharSet();
    startChar_ = 0;
    anchored_ = false;
    mustHaveOffset_ = -1;
    mustHaveLength_ = 0;
    const Byte* program = program_.data();
    const Integer afterFirst = nextNodeOf(program, FirstNode);
    if (afterFirst < 0 || program[afterFirst] != opEnd) return; // several top-level alternatives
    const Integer operand = operandOf(FirstNode);
    if (program[operand] == opExactly)
        startChar_ = static_cast<AnsiChar>(program[operandOf(operand)]);
    else if (program[operand] == opBol)
        anchored_ = true;
    if (!(topLevelFlags & FlagStarStart)) return;
    for (Integer node = operand; node >= 0; node = nextNodeOf(program, node)) {
        if (program[node] != opExactly) continue;
        const Integer length =
            static_cast<Integer>(std::strlen(reinterpret_cast<const char*>(program + operandOf(node))));
        if (length >= mustHaveLength_) {
            mustHaveOffset_ = operandOf(node);
            mustHaveLength_ = length;
        }
    }
}

// The characters a match can begin with: a reachability walk from the first
// node that stops at every node that must consume a character. Each node is
// walked once; a counted loop whose body can pass without consuming also lets
// the walk through to what follows the loop.
void TRegExpr::fillFirstCharSet() {
    const Byte* program = program_.data();
    std::vector<bool> visited(program_.size(), false);
    std::vector<bool> loopPending(program_.size(), false);
    std::vector<Integer> work{FirstNode};
    auto addAll = [this] { firstCharSet_.set(); };
    auto add = [this](unsigned char ch) { firstCharSet_.set(ch); };
    firstCharSet_.reset();
    while (!work.empty()) {
        Integer node = work.back();
        work.pop_back();
        while (node >= 0) {
            const Byte op = program[node];
            if (visited[node]) {
                if (loopPending[node]) { // the body came back round without consuming
                    loopPending[node] = false;
                    work.push_back(nextNodeOf(program, node));
                }
                break;
            }
            visited[node] = true;
            Integer following = -1;
            switch (op) {
            case opEnd:
            case opAny:
            case opAnyML:
            case opBackReference:
            case opBackReferenceCI:
                addAll();
                break;
            case opBol:
            case opBolML:
            case opBack:
            case opNothing:
            case opComment:
            case opBound:
            case opNotBound:
            case opLoopEntry:
                following = nextNodeOf(program, node);
                break;
            case opEol:
            case opEolML:
                add(0);
                if (modifiers_ & ModifierM) {
                    for (char ch : lineSeparators_)
                        add(static_cast<unsigned char>(ch));
                    if (hasPairedSeparator_) add(static_cast<unsigned char>(pairHead_));
                }
                break;
            case opBranch: {
                const Integer alternative = nextNodeOf(program, node);
                if (alternative >= 0 && program[alternative] == opBranch) {
                    for (Integer branch = node; branch >= 0 && program[branch] == opBranch;
                         branch = nextNodeOf(program, branch))
                        work.push_back(operandOf(branch));
                } else {
                    following = operandOf(node);
                }
                break;
            }
            case opExactly:
                add(program[operandOf(node)]);
                break;
            case opExactlyCI:
                add(program[operandOf(node)]);
                add(static_cast<unsigned char>(invertCase(static_cast<AnsiChar>(program[operandOf(node)]))));
                break;
            case opStar:
            case opStarNG:
                work.push_back(operandOf(node));
                following = nextNodeOf(program, node);
                break;
            case opPlus:
            case opPlusNG:
                work.push_back(operandOf(node));
                break;
            case opBraces:
            case opBracesNG:
                work.push_back(bracesOperand(node));
                if (bracesMin(program, node) == 0) following = nextNodeOf(program, node);
                break;
            case opAnyDigit:
            case opNotDigit:
                for (Integer ch = 0; ch < 256; ++ch)
                    if ((ch >= '0' && ch <= '9') == (op == opAnyDigit)) add(static_cast<unsigned char>(ch));
                break;
            case opAnyOfTinySet:
                for (Integer i = 0; i < TinySetSize; ++i)
                    add(program[operandOf(node) + i]);
                break;
            case opAnyButTinySet: {
                const Byte* set = program + operandOf(node);
                for (Integer ch = 0; ch < 256; ++ch)
                    if (ch != set[0] && ch != set[1] && ch != set[2]) add(static_cast<unsigned char>(ch));
                break;
            }
            case opAnyOfFullSet:
                for (Integer ch = 0; ch < 256; ++ch)
                    if (fullSetHas(program + operandOf(node), static_cast<unsigned char>(ch)))
                        add(static_cast<unsigned char>(ch));
                break;
            case opLoop:
            case opLoopNG:
                work.push_back(loopBody(program, node));
                if (bracesMin(program, node) == 0)
                    following = nextNodeOf(program, node);
                else
                    loopPending[node] = true;
                break;
            default:
                if (isOpenGroup(op) || isCloseGroup(op)) {
                    following = nextNodeOf(program, node);
                    break;
                }
                fail(reeMatchPrimMemoryCorruption);
            }
            node = following;
        }
    }
}

// ---- Listing ----------------------------------------------------------------

namespace {

AnsiString nodeName(Byte op) {
    if (const char* name = opcodeName(op)) return name;
    if (op >= opOpen && op < opClose) return "OPEN[" + decimal(op - opOpen) + "]";
    return "CLOSE[" + decimal(op - opClose) + "]";
}

AnsiString listedSet(const std::bitset<256>& set) {
    AnsiString result;
    for (Integer ch = 0; ch < 256; ++ch)
        if (set.test(ch)) result += listedCharacter(static_cast<unsigned char>(ch));
    return result;
}

AnsiString listedOperand(const Byte* program, Integer node) {
    const Byte op = program[node];
    const Byte* operand = program + operandOf(node);
    if (isLiteralOpcode(op)) return reinterpret_cast<const char*>(operand);
    switch (op) {
    case opAnyOfTinySet:
    case opAnyButTinySet:
        return AnsiString(reinterpret_cast<const char*>(operand), TinySetSize);
    case opBackReference:
    case opBackReferenceCI:
        return " \\" + decimal(*operand);
    case opAnyOfFullSet: {
        std::bitset<256> set;
        for (Integer ch = 0; ch < 256; ++ch)
            set[ch] = fullSetHas(operand, static_cast<unsigned char>(ch));
        return listedSet(set);
    }
    case opBraces:
    case opBracesNG:
        return "{" + decimal(bracesMin(program, node)) + "," + decimal(bracesMax(program, node)) + "}";
    case opLoop:
    case opLoopNG:
        return " -> (" + decimal(loopBody(program, node)) + ") {" + decimal(bracesMin(program, node)) + "," +
               decimal(bracesMax(program, node)) + "}";
    default:
        return "";
    }
}

} // namespace

AnsiString TRegExpr::Dump() {
    if (!IsProgrammOk()) return "";
    const Byte* program = program_.data();
    AnsiString result;
    for (Integer node = FirstNode;; node += nodeSize(program, node)) {
        const Byte op = program[node];
        if (op > opLastValid) fail(reeDumpCorruptedOpcode);
        result += paddedDecimal(node) + ":" + nodeName(op);
        const Integer following = nextNodeOf(program, node);
        result += following >= 0 ? " (" + decimal(following) + ") " : AnsiString(" (0)");
        result += listedOperand(program, node) + "\r\n";
        if (op == opEnd) break;
    }
    if (startChar_ != 0) result += "start " + AnsiString(1, startChar_);
    if (anchored_) result += "anchored ";
    if (mustHaveOffset_ >= 0)
        result += "must have " + AnsiString(reinterpret_cast<const char*>(program + mustHaveOffset_));
    result += "\r\nFirstCharSet:" + listedSet(firstCharSet_) + "\r\n";
    return result;
}

// ---- Matcher ----------------------------------------------------------------

struct TRegExpr::Matcher {
    using Stacks = MatcherStacks;
    enum class Step { Next, Fail, Matched };

    TRegExpr& owner;
    Stacks& stacks;
    const Byte* program;
    const unsigned char* input;
    Integer length;
    Integer node = FirstNode;
    Integer position = 0;

    Matcher(TRegExpr& regExpr, Stacks& workingStacks)
        : owner(regExpr), stacks(workingStacks), program(regExpr.program_.data()),
          input(reinterpret_cast<const unsigned char*>(regExpr.subject_.data())),
          length(static_cast<Integer>(regExpr.subject_.size())) {}

    // -- state --

    Integer slot(Integer index) const { return stacks.slots[index]; }

    void setSlot(Integer index, Integer value) {
        if (stacks.trail.size() >= Stacks::MaxTrail) owner.fail(reeBacktrackStackExceeded);
        stacks.trail.push_back({index, stacks.slots[index]});
        stacks.slots[index] = value;
    }

    void unwindTo(size_t height) {
        while (stacks.trail.size() > height) {
            const Stacks::Undo& undo = stacks.trail.back();
            stacks.slots[undo.slot] = undo.value;
            stacks.trail.pop_back();
        }
    }

    void pushChoice(Stacks::ChoiceKind kind, Integer choiceNode, Integer count = 0, Integer limit = 0) {
        if (stacks.choices.size() >= Stacks::MaxChoices) owner.fail(reeBacktrackStackExceeded);
        stacks.choices.push_back(
            {kind, choiceNode, position, count, limit, static_cast<Integer>(stacks.trail.size())});
    }

    Integer follow(Integer from) const {
        const Integer following = nextNodeOf(program, from);
        if (following < 0) owner.fail(reeMatchPrimCorruptedPointers);
        return following;
    }

    // -- the run --

    bool run(Integer start) {
        stacks.resumptions = 0;
        stacks.stepsLeft =
            Stacks::StepBudgetPerAttempt + Stacks::StepBudgetPerCharacter * (length - start + 1);
        node = stacks.entryNode;
        position = start;
        for (;;) {
            if (--stacks.stepsLeft < 0) owner.fail(reeMatchStepBudgetExceeded);
            switch (step()) {
            case Step::Next:
                break;
            case Step::Matched: // the slots hold the results until the caller has read them
                stacks.choices.clear();
                return true;
            case Step::Fail:
                if (!backtrack()) return false;
                break;
            }
        }
    }

    bool backtrack() {
        while (!stacks.choices.empty()) {
            unwindTo(static_cast<size_t>(stacks.choices.back().trailHeight));
            if (!stacks.memoActive && (++stacks.resumptions > Stacks::ResumptionsBeforeMemo ||
                                       ++stacks.searchResumptions > stacks.searchResumptionsBeforeMemo))
                stacks.startMemo(length);
            if (resume()) return true;
        }
        unwindTo(0);
        return false;
    }

    // -- failure memo --

    // Whether a loop's current iteration began at this position, so that
    // the future here depends on it.
    bool iterationBeganHere(const Stacks::MemoPoint& point) const {
        for (Integer startSlot = Stacks::IterationStartSlot;
             startSlot < static_cast<Integer>(stacks.slots.size()); ++startSlot)
            if (slot(startSlot) == position) return true;
        for (Integer depth = 1; depth <= point.depth; ++depth)
            if (slot(Stacks::LoopIterationStartSlot + depth) == position) return true;
        return false;
    }

    // The row of a bitmap point for the current counts of its loops.
    Integer bitmapRow(const Stacks::MemoPoint& point) const {
        Integer row = 0;
        for (Integer depth = 1; depth <= point.depth; ++depth) {
            const Integer loopNode = stacks.enclosingLoops[static_cast<size_t>(point.firstLoop + depth - 1)];
            row = row * Stacks::distinctLoopCounts(program, loopNode) +
                  Stacks::countClass(program, loopNode, slot(Stacks::LoopCounterSlot + depth));
        }
        return point.bitmapRow + row;
    }

    // The state at a table point: node, position, loop counts and the spans
    // of the groups read further on.
    const std::vector<Integer>& tableKey(const Stacks::MemoPoint& point) {
        std::vector<Integer>& key = stacks.stateKey;
        key.assign({node, position});
        for (Integer depth = 1; depth <= point.depth; ++depth) {
            const Integer loopNode = stacks.enclosingLoops[static_cast<size_t>(point.firstLoop + depth - 1)];
            key.push_back(Stacks::countClass(program, loopNode, slot(Stacks::LoopCounterSlot + depth)));
        }
        for (Integer group = 1; group < NSUBEXP; ++group) {
            if (!(point.groups & (std::uint32_t(1) << group))) continue;
            key.push_back(slot(Stacks::GroupStartSlot + group));
            key.push_back(slot(Stacks::GroupEndSlot + group));
            key.push_back(slot(Stacks::GroupOpenSlot + group));
        }
        return key;
    }

    // At a memo point: fails at once where the memo knows the future fails;
    // otherwise arranges for the memo to learn it if it does.
    bool knownToFail() {
        if (!stacks.memoActive || stacks.memoPointOfNode[node] < 0) return false;
        const Stacks::MemoPoint& point = stacks.memoPoints[static_cast<size_t>(stacks.memoPointOfNode[node])];
        if (iterationBeganHere(point)) return false;
        if (point.bitmapRow >= 0 && stacks.memoInBitmap) {
            const Integer entry = bitmapRow(point) * (length + 1) + position;
            if (stacks.failedAt[static_cast<size_t>(entry)]) return true;
            pushChoice(Stacks::RecordFailure, node, entry, Stacks::BitmapMemo);
            return false;
        }
        const Integer state = stacks.failedStates.findOrAdd(tableKey(point));
        if (state < 0) return false;
        if (stacks.failedStates.failed(state)) return true;
        pushChoice(Stacks::RecordFailure, node, state, Stacks::TableMemo);
        return false;
    }

    void recordFailure(const Stacks::Choice& choice) {
        if (choice.limit == Stacks::BitmapMemo)
            stacks.failedAt[static_cast<size_t>(choice.count)] = true;
        else
            stacks.failedStates.markFailed(choice.count);
    }

    // Alternatives entered from the program (not resumed after a failure).
    Step enterAlternatives() {
        if (knownToFail()) return Step::Fail;
        const Stacks::LoopGuard& guard = stacks.loopGuards[node];
        if (guard.slot >= 0) setSlot(guard.slot, position); // the head of x*: an iteration begins
        return enterAlternative(node) ? Step::Next : Step::Fail;
    }

    // Takes up the newest choice point; false when it has no try left.
    bool resume() {
        const Stacks::Choice choice = stacks.choices.back();
        position = choice.position;
        switch (choice.kind) {
        case Stacks::NextAlternative:
            stacks.choices.pop_back();
            return enterAlternative(choice.node);
        case Stacks::FewerRepeats:
        case Stacks::MoreRepeats:
            return retryRepeat(choice);
        case Stacks::LeaveLoop:
            stacks.choices.pop_back();
            leaveLoop(choice.node);
            return true;
        case Stacks::IterateLoop:
            stacks.choices.pop_back();
            iterateLoop(choice.node, slot(Stacks::LoopCounterSlot + slot(Stacks::LoopDepthSlot)));
            return true;
        case Stacks::RecordFailure:
            stacks.choices.pop_back();
            recordFailure(choice);
            return false;
        }
        return false;
    }

    Step step() {
        const Byte op = program[node];
        switch (op) {
        case opEnd:
            return Step::Matched;
        case opBol:
            if (position != 0) return Step::Fail;
            break;
        case opEol:
            if (position != length) return Step::Fail;
            break;
        case opBolML:
            if (!atLineStart()) return Step::Fail;
            break;
        case opEolML:
            if (!atLineEnd()) return Step::Fail;
            break;
        case opAnyML:
            if (atLineSeparator()) return Step::Fail;
            ++position;
            break;
        case opBound:
        case opNotBound:
            if (atWordBoundary() != (op == opBound)) return Step::Fail;
            break;
        case opExactly:
        case opExactlyCI:
            if (!matchLiteral(op == opExactlyCI)) return Step::Fail;
            break;
        case opAny:
        case opAnyDigit:
        case opNotDigit:
        case opAnyOfTinySet:
        case opAnyButTinySet:
        case opAnyOfFullSet:
            if (position >= length || !matchesCharacter(node, input[position])) return Step::Fail;
            ++position;
            break;
        case opBackReference:
        case opBackReferenceCI:
            if (!matchBackReference()) return Step::Fail;
            break;
        case opBranch:
            return enterAlternatives();
        case opBack:
            passBack();
            return Step::Next;
        case opNothing:
        case opComment:
            break;
        case opLoopEntry:
            enterLoop();
            break;
        case opLoop:
        case opLoopNG:
            return loop(op == opLoop);
        case opStar:
        case opPlus:
        case opBraces:
        case opStarNG:
        case opPlusNG:
        case opBracesNG:
            return startRepeat();
        default:
            if (isOpenGroup(op)) {
                setSlot(Stacks::GroupOpenSlot + (op - opOpen), position);
            } else if (isCloseGroup(op)) {
                const Integer group = op - opClose;
                setSlot(Stacks::GroupStartSlot + group, slot(Stacks::GroupOpenSlot + group));
                setSlot(Stacks::GroupEndSlot + group, position);
            } else {
                owner.fail(reeMatchPrimMemoryCorruption);
            }
        }
        node = follow(node);
        return Step::Next;
    }

    // -- single positions --

    bool isSeparator(unsigned char ch) const { return owner.lineSeparatorSet_.test(ch); }
    bool pairHeadAt(Integer at) const {
        return owner.hasPairedSeparator_ && at >= 0 && at < length &&
               input[at] == static_cast<unsigned char>(owner.pairHead_);
    }
    bool pairTailAt(Integer at) const {
        return owner.hasPairedSeparator_ && at >= 0 && at < length &&
               input[at] == static_cast<unsigned char>(owner.pairTail_);
    }

    bool atLineStart() const {
        if (position == 0) return true;
        if (pairTailAt(position - 1) && pairHeadAt(position - 2)) return true;
        if (pairHeadAt(position - 1) && pairTailAt(position)) return false;
        return isSeparator(input[position - 1]);
    }

    bool atLineEnd() const {
        if (position >= length) return true;
        if (pairHeadAt(position) && pairTailAt(position + 1)) return true;
        if (pairTailAt(position) && pairHeadAt(position - 1)) return false;
        return isSeparator(input[position]);
    }

    bool atLineSeparator() const {
        return position >= length || (pairHeadAt(position) && pairTailAt(position + 1)) ||
               isSeparator(input[position]);
    }

    bool atWordBoundary() const {
        const bool wordBefore = position > 0 && stacks.wordCharacters.test(input[position - 1]);
        const bool wordAfter = position < length && stacks.wordCharacters.test(input[position]);
        return wordBefore != wordAfter;
    }

    bool sameIgnoringCase(unsigned char pattern, unsigned char ch) const {
        return ch == pattern ||
               ch == static_cast<unsigned char>(owner.invertCase(static_cast<AnsiChar>(pattern)));
    }

    bool matchLiteral(bool ignoreCase) {
        const unsigned char* literal = program + operandOf(node);
        Integer at = position;
        for (; *literal != 0; ++literal, ++at) {
            if (at >= length) return false;
            if (input[at] != *literal && !(ignoreCase && sameIgnoringCase(*literal, input[at]))) return false;
        }
        position = at;
        return true;
    }

    // Whether a single-character node accepts ch (never the end of the input).
    bool matchesCharacter(Integer characterNode, unsigned char ch) const {
        const Byte* operand = program + operandOf(characterNode);
        switch (program[characterNode]) {
        case opAny:
            return true;
        case opExactly:
            return ch == operand[0];
        case opExactlyCI:
            return sameIgnoringCase(operand[0], ch);
        case opAnyDigit:
            return ch >= '0' && ch <= '9';
        case opNotDigit:
            return ch < '0' || ch > '9';
        case opAnyOfTinySet:
            return ch == operand[0] || ch == operand[1] || ch == operand[2];
        case opAnyButTinySet:
            return ch != operand[0] && ch != operand[1] && ch != operand[2];
        case opAnyOfFullSet:
            return fullSetHas(operand, ch);
        default:
            owner.fail(reeRegRepeatCalledInappropriately);
        }
    }

    // The text of the group a back-reference node names; false when the group
    // has no result.
    bool referencedText(Integer referenceNode, Integer& start, Integer& textLength) const {
        const Integer group = program[operandOf(referenceNode)];
        start = slot(Stacks::GroupStartSlot + group);
        const Integer end = slot(Stacks::GroupEndSlot + group);
        if (start < 0 || end < 0) return false;
        textLength = end - start;
        return true;
    }

    bool copyOfGroupAt(Integer referenceNode, Integer at) const {
        Integer start = 0, textLength = 0;
        if (!referencedText(referenceNode, start, textLength) || at + textLength > length) return false;
        const bool ignoreCase = program[referenceNode] == opBackReferenceCI;
        for (Integer i = 0; i < textLength; ++i) {
            const unsigned char expected = input[start + i];
            if (input[at + i] != expected && !(ignoreCase && sameIgnoringCase(expected, input[at + i])))
                return false;
        }
        return true;
    }

    bool matchBackReference() {
        Integer start = 0, textLength = 0;
        if (!referencedText(node, start, textLength) || !copyOfGroupAt(node, position)) return false;
        position += textLength;
        return true;
    }

    // -- alternatives and the loops of complex operands --

    // Enters the first alternative from branch on that can begin here, and
    // keeps the next one as a choice; false when none can.
    bool enterAlternative(Integer branch) {
        branch = viableAlternative(branch);
        if (branch < 0) return false;
        const Integer alternative = viableAlternative(nextNodeOf(program, branch));
        if (alternative >= 0) pushChoice(Stacks::NextAlternative, alternative);
        node = operandOf(branch);
        return true;
    }

    Integer viableAlternative(Integer branch) const {
        for (; branch >= 0 && program[branch] == opBranch; branch = nextNodeOf(program, branch)) {
            const Integer lead = stacks.leadCharacter[branch];
            if (lead < 0 || (position < length && input[position] == lead)) return branch;
        }
        return -1;
    }

    // Where, from `from` on, the text a match must begin with next stands
    // (its first character, or all of it when longer); -1 when nowhere.
    Integer nextStartCandidate(Integer from) const {
        const unsigned char first = static_cast<unsigned char>(owner.startChar_);
        const bool wholeText = stacks.leadingTextOffset >= 0;
        const size_t textLength = wholeText ? static_cast<size_t>(stacks.leadingTextLength) : 1;
        for (Integer at = from; at < length; ++at) {
            const void* found = std::memchr(input + at, first, static_cast<size_t>(length - at));
            if (!found) return -1;
            at = static_cast<Integer>(static_cast<const unsigned char*>(found) - input);
            if (!wholeText) return at;
            if (static_cast<size_t>(length - at) < textLength) return -1;
            if (std::memcmp(input + at, program + stacks.leadingTextOffset, textLength) == 0) return at;
        }
        return -1;
    }

    // Where the search goes on after the attempt at `failed` came to nothing.
    Integer startAfterFailure(Integer failed) const {
        if (stacks.leadingRepeat < 0 || failed >= length ||
            !matchesCharacter(stacks.leadingNode, input[failed]))
            return failed + 1;
        return runOf(repeatOperand(program, stacks.leadingRepeat), failed + 1, length);
    }

    // An iteration that consumed nothing would repeat itself identically, so
    // it ends the loop.
    void passBack() {
        const Stacks::LoopGuard& guard = stacks.loopGuards[node];
        if (slot(guard.slot) == position) {
            node = guard.exit;
            return;
        }
        if (guard.recordedAtBack) setSlot(guard.slot, position);
        node = follow(node);
    }

    void enterLoop() {
        const Integer depth = slot(Stacks::LoopDepthSlot) + 1;
        if (depth > LoopStackMax) owner.fail(reeLoopStackExceeded);
        setSlot(Stacks::LoopDepthSlot, depth);
        setSlot(Stacks::LoopCounterSlot + depth, 0);
    }

    Step loop(bool greedy) {
        const Integer depth = slot(Stacks::LoopDepthSlot);
        if (depth <= 0) owner.fail(reeLoopWithoutEntry);
        const Integer count = slot(Stacks::LoopCounterSlot + depth);
        const Integer min = bracesMin(program, node);
        const Integer max = bracesMax(program, node);
        // An iteration that consumed nothing would repeat itself identically:
        // the loop is done, whatever its minimum.
        const bool emptyIteration = count > 0 && position == slot(Stacks::LoopIterationStartSlot + depth);
        if (knownToFail()) return Step::Fail;
        if (count < min && !emptyIteration) {
            iterateLoop(node, count);
        } else if (emptyIteration || count >= max) {
            leaveLoop(node);
        } else if (greedy) {
            pushChoice(Stacks::LeaveLoop, node);
            iterateLoop(node, count);
        } else {
            pushChoice(Stacks::IterateLoop, node);
            leaveLoop(node);
        }
        return Step::Next;
    }

    void iterateLoop(Integer loopNode, Integer count) {
        const Integer depth = slot(Stacks::LoopDepthSlot);
        setSlot(Stacks::LoopCounterSlot + depth, count + 1);
        setSlot(Stacks::LoopIterationStartSlot + depth, position);
        node = loopBody(program, loopNode);
    }

    void leaveLoop(Integer loopNode) {
        setSlot(Stacks::LoopDepthSlot, slot(Stacks::LoopDepthSlot) - 1);
        node = follow(loopNode);
    }

    // -- repeats of single-character operands --

    struct Repeat {
        Integer operand;
        Integer min;
        Integer max;
        Integer width; // characters per repeat: 1, or a referenced group's length
        bool greedy;
    };

    Repeat repeatAt(Integer repeatNode) const {
        const Byte op = program[repeatNode];
        Repeat repeat{operandOf(repeatNode), 0, MaxRepeatCount, 1, true};
        switch (op) {
        case opPlus:
        case opPlusNG:
            repeat.min = 1;
            break;
        case opBraces:
        case opBracesNG:
            repeat.operand = bracesOperand(repeatNode);
            repeat.min = bracesMin(program, repeatNode);
            repeat.max = bracesMax(program, repeatNode);
            break;
        default:
            break;
        }
        repeat.greedy = op == opStar || op == opPlus || op == opBraces;
        const Byte operandOp = program[repeat.operand];
        if (operandOp == opBackReference || operandOp == opBackReferenceCI) {
            Integer start = 0;
            if (!referencedText(repeat.operand, start, repeat.width)) repeat.width = -1;
        }
        return repeat;
    }

    // How often the operand matches in a row from the current position.
    Integer countRepeats(const Repeat& repeat) const {
        if (repeat.width == 0) return std::min(repeat.min, repeat.max); // an empty group: every count fits
        if (repeat.width < 0) return 0;                                 // a group without a result
        const Byte op = program[repeat.operand];
        if (op == opBackReference || op == opBackReferenceCI) {
            Integer count = 0;
            while (count < repeat.max && copyOfGroupAt(repeat.operand, position + count * repeat.width))
                ++count;
            return count;
        }
        return runOf(repeat.operand, position,
                     static_cast<Integer>(std::min<Int64>(Int64(position) + repeat.max, length))) -
               position;
    }

    // Where the run of characters a single-character node accepts, from
    // `from` on and ending at `limit` at the latest, ends. The test is chosen
    // once per run rather than once per character.
    Integer runOf(Integer characterNode, Integer from, Integer limit) const {
        const Byte* operand = program + operandOf(characterNode);
        auto runWhile = [&](auto accepts) {
            Integer at = from;
            while (at < limit && accepts(input[at]))
                ++at;
            return at;
        };
        switch (program[characterNode]) {
        case opAny:
            return limit;
        case opExactly:
            return runWhile([ch = operand[0]](unsigned char c) { return c == ch; });
        case opAnyOfTinySet:
            return runWhile(
                [operand](unsigned char c) { return c == operand[0] || c == operand[1] || c == operand[2]; });
        case opAnyButTinySet:
            if (operand[0] == operand[1] && operand[1] == operand[2]) {
                const void* found = std::memchr(input + from, operand[0], static_cast<size_t>(limit - from));
                return found ? static_cast<Integer>(static_cast<const unsigned char*>(found) - input) : limit;
            }
            return runWhile(
                [operand](unsigned char c) { return c != operand[0] && c != operand[1] && c != operand[2]; });
        case opAnyOfFullSet:
            return runWhile([operand](unsigned char c) { return fullSetHas(operand, c); });
        default:
            return runWhile([&](unsigned char c) { return matchesCharacter(characterNode, c); });
        }
    }

    // The first character of a literal that follows the repeat must stand
    // where the rest of the program would begin.
    Integer hintAfter(Integer repeatNode) const {
        const Integer following = nextNodeOf(program, repeatNode);
        if (following < 0 || program[following] != opExactly) return -1;
        return program[operandOf(following)];
    }

    bool hintAllows(Integer hint, Integer at) const { return hint < 0 || (at < length && input[at] == hint); }

    Step startRepeat() {
        const Repeat repeat = repeatAt(node);
        const Integer count = countRepeats(repeat);
        if (count < repeat.min) return Step::Fail;
        if (stacks.givesNothingBack[node]) {
            position += count;
            node = follow(node);
            return Step::Next;
        }
        if (repeat.greedy) {
            pushChoice(Stacks::FewerRepeats, node, count + 1, repeat.min);
        } else {
            pushChoice(Stacks::MoreRepeats, node, repeat.min - 1, count);
        }
        return retryRepeat(stacks.choices.back()) ? Step::Next : Step::Fail;
    }

    // Tries the next count of a repeat choice point; pops it when no count is left.
    bool retryRepeat(Stacks::Choice choice) {
        const Repeat repeat = repeatAt(choice.node);
        const Integer hint = hintAfter(choice.node);
        const Integer width = std::max<Integer>(repeat.width, 0);
        const Integer step = choice.kind == Stacks::FewerRepeats ? -1 : 1;
        Integer count = choice.count + step;
        auto inRange = [&](Integer n) { return step < 0 ? n >= choice.limit : n <= choice.limit; };
        while (inRange(count) && !hintAllows(hint, choice.position + count * width))
            count += step;
        if (!inRange(count)) {
            stacks.choices.pop_back();
            return false;
        }
        if (inRange(count + step))
            stacks.choices.back().count = count;
        else
            stacks.choices.pop_back();
        position = choice.position + count * width;
        node = follow(choice.node);
        return true;
    }
};

// ---- Search -----------------------------------------------------------------

bool TRegExpr::IsProgrammOk() {
    if (modifiers_ != programModifiers_) InvalidateProgramm();
    if (!hasProgram_) Compile();
    if (!hasProgram_) return false;
    if (program_[0] != MagicByte) fail(reeCorruptedProgram);
    return true;
}

void TRegExpr::clearMatches() {
    matchStart_.fill(-1);
    matchEnd_.fill(-1);
}

bool TRegExpr::matchesMustHave(Integer from) const {
    const AnsiString::size_type found =
        subject_.find(std::string_view(reinterpret_cast<const char*>(program_.data() + mustHaveOffset_),
                                       static_cast<size_t>(mustHaveLength_)),
                      static_cast<size_t>(from));
    return found != std::string_view::npos;
}

bool TRegExpr::attemptAt(Integer position) {
    Matcher matcher(*this, *stacks_);
    if (!matcher.run(position)) return false;
    for (Integer group = 1; group < NSUBEXP; ++group) {
        matchStart_[group] = stacks_->slots[MatcherStacks::GroupStartSlot + group];
        matchEnd_[group] = stacks_->slots[MatcherStacks::GroupEndSlot + group];
    }
    matchStart_[0] = position;
    matchEnd_[0] = matcher.position;
    matcher.unwindTo(0);
    return true;
}

bool TRegExpr::ExecPrim(Integer Offset) {
    clearMatches();
    if (!IsProgrammOk()) return false;
    if (!hasInput_) fail(reeNoInputStringSpecified);
    if (Offset < 1) fail(reeOffsetMustBeGreaterThen0);
    const Integer length = static_cast<Integer>(subject_.size());
    if (Offset > length + 1) return false;
    const Integer start = Offset - 1;
    if (mustHaveOffset_ >= 0 && !matchesMustHave(start)) return false;

    stacks_->startSearch(length);
    if (stacks_->testsWordBoundaries) stacks_->useWordCharacters(WordChars);

    if (anchored_) return attemptAt(start);
    const Matcher matcher(*this, *stacks_);
    if (startChar_ != 0) {
        for (Integer at = matcher.nextStartCandidate(start); at >= 0;
             at = matcher.nextStartCandidate(matcher.startAfterFailure(at)))
            if (attemptAt(at)) return true;
        return false;
    }
    const unsigned char* text = reinterpret_cast<const unsigned char*>(subject_.data());
    for (Integer at = start; at <= length;) {
        if (!firstCharSet_.test(text[at])) {
            ++at;
            continue;
        }
        if (attemptAt(at)) return true;
        at = matcher.startAfterFailure(at);
    }
    return false;
}

// ---- Input and results ------------------------------------------------------

void TRegExpr::SetInputString(const AnsiString& Value) {
    clearMatches();
    input_.assign(Value, 0, Value.find('\0'));
    subject_ = input_;
    hasInput_ = true;
}

AnsiString TRegExpr::GetInputString() {
    if (!hasInput_) fail(reeGetInputStringWithoutInputString);
    return AnsiString(subject_);
}

bool TRegExpr::ExecFrom(const AnsiString& Subject, Integer Offset) {
    if (Offset < 1) fail(reeOffsetMustBeGreaterThen0);
    clearMatches();
    input_.clear();
    subject_ = std::string_view(Subject).substr(std::min(static_cast<size_t>(Offset - 1), Subject.size()));
    hasInput_ = true;
    return ExecPrim(1);
}

bool TRegExpr::Exec(const AnsiString& InputString) {
    SetInputString(InputString);
    return ExecPrim(1);
}

bool TRegExpr::Exec() {
    return ExecPrim(1);
}
bool TRegExpr::Exec(Integer Offset) {
    return ExecPrim(Offset);
}
bool TRegExpr::ExecPos(Integer Offset) {
    return ExecPrim(Offset);
}

bool TRegExpr::ExecNext() {
    if (matchStart_[0] < 0 || matchEnd_[0] < 0) fail(reeExecNextWithoutExec);
    Integer offset = matchEnd_[0] + 1;
    if (matchEnd_[0] == matchStart_[0]) ++offset; // an empty match: step past it
    return ExecPrim(offset);
}

Integer TRegExpr::GetMatchPos(Integer Index) const {
    if (Index < 0 || Index >= NSUBEXP || !hasInput_ || matchStart_[Index] < 0 || matchEnd_[Index] < 0)
        return -1;
    return matchStart_[Index] + 1;
}

Integer TRegExpr::GetMatchLen(Integer Index) const {
    if (Index < 0 || Index >= NSUBEXP || !hasInput_ || matchStart_[Index] < 0 || matchEnd_[Index] < 0)
        return -1;
    return matchEnd_[Index] - matchStart_[Index];
}

AnsiString TRegExpr::GetMatch(Integer Index) const {
    if (GetMatchPos(Index) < 0) return "";
    return AnsiString(
        subject_.substr(static_cast<size_t>(matchStart_[Index]), static_cast<size_t>(GetMatchLen(Index))));
}

Integer TRegExpr::GetSubExprMatchCount() const {
    if (!hasInput_) return -1;
    for (Integer group = NSUBEXP - 1; group > 0; --group)
        if (matchStart_[group] >= 0 && matchEnd_[group] >= 0) return group;
    return 0;
}

AnsiString TRegExpr::GetLineSeparators() const {
    return lineSeparators_;
}

void TRegExpr::SetLineSeparators(const AnsiString& Value) {
    if (Value == lineSeparators_) return;
    lineSeparators_ = Value;
    lineSeparatorSet_ = characterSetOf(lineSeparators_);
    InvalidateProgramm();
}

AnsiString TRegExpr::GetLinePairedSeparator() const {
    return hasPairedSeparator_ ? AnsiString{pairHead_, pairTail_} : AnsiString();
}

void TRegExpr::SetLinePairedSeparator(const AnsiString& Value) {
    if (Value.empty()) {
        if (hasPairedSeparator_) InvalidateProgramm();
        hasPairedSeparator_ = false;
        return;
    }
    if (Value.size() != 2 || Value[0] == Value[1]) fail(reeBadLinePairedSeparator);
    if (hasPairedSeparator_ && pairHead_ == Value[0] && pairTail_ == Value[1]) return;
    hasPairedSeparator_ = true;
    pairHead_ = Value[0];
    pairTail_ = Value[1];
    InvalidateProgramm();
}

// ---- Substitution, splitting and replacing ----------------------------------

namespace {

// A group reference after "$": "&" or digits, bare or in braces. A group
// number of any length saturates past the last group instead of overflowing.
bool readGroupReference(const AnsiString& text, size_t at, Integer& group, size_t& after) {
    const bool braced = at < text.size() && text[at] == '{';
    if (braced) ++at;
    if (at < text.size() && text[at] == '&') {
        group = 0;
        ++at;
    } else {
        const size_t first = at;
        group = 0;
        for (; at < text.size() && isDigit(text[at]); ++at)
            group = std::min(group * 10 + (text[at] - '0'), NSUBEXP);
        if (at == first) return false;
    }
    if (braced) {
        if (at >= text.size() || text[at] != '}') return false;
        ++at;
    }
    after = at;
    return true;
}

} // namespace

AnsiString TRegExpr::Substitute(const AnsiString& Template) {
    if (!IsProgrammOk()) return "";
    if (!hasInput_) fail(reeNoInputStringSpecified);
    AnsiString result;
    auto expand = [&](auto&& emit) {
        for (size_t at = 0; at < Template.size();) {
            const char ch = Template[at];
            Integer group = 0;
            size_t after = 0;
            if (ch == '$' && readGroupReference(Template, at + 1, group, after)) {
                if (group < NSUBEXP && matchStart_[group] >= 0 && matchEnd_[group] >= 0)
                    emit(subject_.data() + matchStart_[group],
                         static_cast<size_t>(matchEnd_[group] - matchStart_[group]));
                at = after;
            } else if (ch == '\\' && at + 1 < Template.size()) {
                emit(Template.data() + at + 1, 1);
                at += 2;
            } else {
                emit(Template.data() + at, 1);
                ++at;
            }
        }
    };
    size_t length = 0;
    expand([&](const char*, size_t count) { length += count; });
    result.reserve(length);
    expand([&](const char* from, size_t count) { result.append(from, count); });
    return result;
}

AnsiString TRegExpr::appendReplacements(const AnsiString& Input, TRegExprReplaceFunction ReplaceFunc,
                                        const AnsiString* Replacement, bool UseSubstitution) {
    AnsiString result;
    Integer previous = 1;
    if (Exec(Input)) {
        do {
            result += Input.substr(static_cast<size_t>(previous - 1),
                                   static_cast<size_t>(GetMatchPos(0) - previous));
            if (!Replacement)
                result += ReplaceFunc(this);
            else
                result += UseSubstitution ? Substitute(*Replacement) : *Replacement;
            previous = GetMatchPos(0) + GetMatchLen(0);
        } while (ExecNext());
    }
    if (static_cast<size_t>(previous - 1) < Input.size())
        result += Input.substr(static_cast<size_t>(previous - 1));
    return result;
}

void TRegExpr::Split(const AnsiString& Input, TStrings* Pieces) {
    Integer previous = 1;
    if (Exec(Input)) {
        do {
            Pieces->Add(Input.substr(static_cast<size_t>(previous - 1),
                                     static_cast<size_t>(GetMatchPos(0) - previous)));
            previous = GetMatchPos(0) + GetMatchLen(0);
        } while (ExecNext());
    }
    Pieces->Add(static_cast<size_t>(previous - 1) < Input.size()
                    ? Input.substr(static_cast<size_t>(previous - 1))
                    : AnsiString());
}

AnsiString TRegExpr::Replace(const AnsiString& Input, const AnsiString& Replacement, bool UseSubstitution) {
    return appendReplacements(Input, nullptr, &Replacement, UseSubstitution);
}

AnsiString TRegExpr::ReplaceEx(const AnsiString& Input, TRegExprReplaceFunction ReplaceFunc) {
    return appendReplacements(Input, ReplaceFunc, nullptr, false);
}

AnsiString TRegExpr::Replace(const AnsiString& Input, TRegExprReplaceFunction ReplaceFunc) {
    return ReplaceEx(Input, ReplaceFunc);
}

// ---- Unit-level functions ---------------------------------------------------

bool ExecRegExpr(const AnsiString& ARegExpr, const AnsiString& AInputStr) {
    TRegExpr regExpr;
    regExpr.SetExpression(ARegExpr);
    return regExpr.Exec(AInputStr);
}

void SplitRegExpr(const AnsiString& ARegExpr, const AnsiString& AInputStr, TStrings* APieces) {
    TRegExpr regExpr;
    APieces->Clear();
    regExpr.SetExpression(ARegExpr);
    regExpr.Split(AInputStr, APieces);
}

AnsiString ReplaceRegExpr(const AnsiString& ARegExpr, const AnsiString& AInputStr,
                          const AnsiString& AReplaceStr, bool AUseSubstitution) {
    TRegExpr regExpr;
    regExpr.SetExpression(ARegExpr);
    return regExpr.Replace(AInputStr, AReplaceStr, AUseSubstitution);
}

AnsiString QuoteRegExprMetaChars(const AnsiString& AStr) {
    AnsiString result;
    result.reserve(AStr.size() * 2);
    for (char ch : AStr) {
        if (ch != '\0' && std::strchr(QuotedCharacters, ch)) result += '\\';
        result += ch;
    }
    return result;
}

namespace {

// A group's place in the expression as the sub-expression list keeps it in
// the entry's object: the 1-based position of "(" and, above bit 16, the
// length up to and including ")".
TObject* packedSpan(size_t position, size_t length) {
    constexpr int LengthShift = 16;
    return reinterpret_cast<TObject*>(static_cast<std::intptr_t>(position | (length << LengthShift)));
}

struct OpenGroup {
    Integer entry;
    size_t position; // 0-based, of "("
};

// The index of the "]" that closes the set opening at "[", or npos.
size_t closingBracket(const AnsiString& text, size_t opening) {
    size_t at = opening + 1;
    if (at < text.size() && text[at] == ']') ++at;
    for (; at < text.size(); ++at) {
        if (text[at] == '\\')
            ++at;
        else if (text[at] == ']')
            return at;
    }
    return AnsiString::npos;
}

size_t afterComment(const AnsiString& text, size_t at) {
    while (at < text.size() && text[at] != '\r' && text[at] != '\n')
        ++at;
    while (at < text.size() && (text[at] == '\r' || text[at] == '\n'))
        ++at;
    return at;
}

} // namespace

Integer RegExprSubExpressions(const AnsiString& ARegExpr, TStrings* ASubExprs, bool AExtendedSyntax) {
    ASubExprs->Clear();
    Integer result = 0;
    bool extended = AExtendedSyntax;
    std::vector<OpenGroup> open;
    size_t at = 0;
    while (at < ARegExpr.size()) {
        const char ch = ARegExpr[at];
        if (ch == '\\') {
            at += 2;
        } else if (ch == '[') {
            const size_t closing = closingBracket(ARegExpr, at);
            if (closing == AnsiString::npos) {
                result = -static_cast<Integer>(at + 2);
                break;
            }
            at = closing + 1;
        } else if (ch == '#' && extended) {
            at = afterComment(ARegExpr, at);
        } else if (ch == '(' && at + 1 < ARegExpr.size() && ARegExpr[at + 1] == '?') {
            const size_t closing = ARegExpr.find(')', at + 2);
            if (closing == AnsiString::npos) {
                result = -1;
                break;
            }
            Integer mask = extended ? ModifierX : 0;
            if (TRegExpr::ParseModifiersStr(ARegExpr.substr(at + 2, closing - at - 2), mask))
                extended = (mask & ModifierX) != 0;
            at = closing + 1;
        } else if (ch == '(') {
            open.push_back({ASubExprs->Add(""), at});
            ++at;
        } else if (ch == ')') {
            if (open.empty()) {
                result = static_cast<Integer>(at + 1);
            } else {
                const OpenGroup group = open.back();
                open.pop_back();
                const size_t length = at - group.position + 1;
                ASubExprs->SetStrings(group.entry, ARegExpr.substr(group.position + 1, length - 2));
                ASubExprs->SetObjects(group.entry, packedSpan(group.position + 1, length));
            }
            ++at;
        } else {
            ++at;
        }
    }
    if (!open.empty()) result = -1;
    const bool firstSpansAll =
        ASubExprs->Count() > 0 && ASubExprs->Objects(0) == packedSpan(1, ARegExpr.size());
    if (!firstSpansAll) ASubExprs->InsertObject(0, ARegExpr, packedSpan(1, ARegExpr.size()));
    return result;
}
