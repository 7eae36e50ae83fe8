// A self-contained regular-expression engine for 8-bit text. An expression is
// compiled into a compact byte program of linked nodes, which a backtracking
// matcher runs over an input string; the multi-language highlighter finds its
// region markers with it.
#pragma once

#include "platform/core/Exceptions.h"
#include "platform/core/System.h"
#include "platform/core/Types.h"

#include <array>
#include <bitset>
#include <memory>
#include <string_view>
#include <vector>

class TRegExpr;
class TStrings;

// Gives the other-case form of a character.
using TRegExprInvertCaseFunction = Closure<AnsiChar(AnsiChar)>;
// Computes the replacement text for the current match.
using TRegExprReplaceFunction = Closure<AnsiString(TRegExpr*)>;

class ERegExpr : public Exception {
public:
    ERegExpr(AnsiString message, Integer errorCode, Integer compilerErrorPos)
        : Exception(std::move(message)), ErrorCode(errorCode), CompilerErrorPos(compilerErrorPos) {}
    Integer ErrorCode;
    Integer CompilerErrorPos;
};

// Defaults that every new TRegExpr copies (the x modifier always starts off).
extern bool RegExprModifierI;
extern bool RegExprModifierR;
extern bool RegExprModifierS;
extern bool RegExprModifierG;
extern bool RegExprModifierM;
extern bool RegExprModifierX;
extern AnsiString RegExprSpaceChars;
extern AnsiString RegExprWordChars;
extern AnsiString RegExprLineSeparators;
extern AnsiString RegExprLinePairedSeparator;
extern TRegExprInvertCaseFunction RegExprInvertCaseFunction;

// Error codes carried by ERegExpr; codes below 1000 are compile errors.
constexpr Integer reeOk = 0;
constexpr Integer reeCompNullArgument = 100;
constexpr Integer reeCompRegexpTooBig = 101;
constexpr Integer reeCompParseRegTooManyBrackets = 102;
constexpr Integer reeCompParseRegUnmatchedBrackets = 103;
constexpr Integer reeCompParseRegUnmatchedBrackets2 = 104;
constexpr Integer reeCompParseRegJunkOnEnd = 105;
constexpr Integer reePlusStarOperandCouldBeEmpty = 106;
constexpr Integer reeNestedSQP = 107;
constexpr Integer reeBadHexDigit = 108;
constexpr Integer reeInvalidRange = 109;
constexpr Integer reeParseAtomTrailingBackSlash = 110;
constexpr Integer reeNoHexCodeAfterBSlashX = 111;
constexpr Integer reeHexCodeAfterBSlashXTooBig = 112;
constexpr Integer reeUnmatchedSqBrackets = 113;
constexpr Integer reeInternalUrp = 114;
constexpr Integer reeQPSBFollowsNothing = 115;
constexpr Integer reeTrailingBackSlash = 116;
constexpr Integer reeRarseAtomInternalDisaster = 119;
constexpr Integer reeBRACESArgTooBig = 122;
constexpr Integer reeBracesMinParamGreaterMax = 124;
constexpr Integer reeUnclosedComment = 125;
constexpr Integer reeComplexBracesNotImplemented = 126;
constexpr Integer reeUrecognizedModifier = 127;
constexpr Integer reeBadLinePairedSeparator = 128;
constexpr Integer reeRegRepeatCalledInappropriately = 1000;
constexpr Integer reeMatchPrimMemoryCorruption = 1001;
constexpr Integer reeMatchPrimCorruptedPointers = 1002;
constexpr Integer reeNoExpression = 1003;
constexpr Integer reeCorruptedProgram = 1004;
constexpr Integer reeNoInputStringSpecified = 1005;
constexpr Integer reeOffsetMustBeGreaterThen0 = 1006;
constexpr Integer reeExecNextWithoutExec = 1007;
constexpr Integer reeGetInputStringWithoutInputString = 1008;
constexpr Integer reeDumpCorruptedOpcode = 1011;
constexpr Integer reeModifierUnsupported = 1013;
constexpr Integer reeLoopStackExceeded = 1014;
constexpr Integer reeLoopWithoutEntry = 1015;
// The matcher keeps its backtracking on the heap; this bounds that memory.
constexpr Integer reeBacktrackStackExceeded = 1016;
// Each attempt at a start position may take a bounded number of steps; an
// expression whose backtracking the failure memo cannot bound ends with this
// error.
constexpr Integer reeMatchStepBudgetExceeded = 1017;
constexpr Integer reeBadPCodeImported = 2000;

// Group 0 is the whole match; groups 1..14 are the parenthesised ones.
constexpr Integer NSUBEXP = 15;
// Counted loops over complex operands may nest this deep while matching.
constexpr Integer LoopStackMax = 10;

class TRegExpr : public TObject {
public:
    TRegExpr();
    ~TRegExpr() override;

    static Integer VersionMajor();
    static Integer VersionMinor();

    AnsiString GetExpression() const;
    void SetExpression(const AnsiString& Value);

    // Index 1..6 stands for the modifiers i, r, s, g, m, x.
    bool GetModifier(Integer Index);
    void SetModifier(Integer Index, bool Value);
    AnsiString GetModifierStr() const;
    void SetModifierStr(const AnsiString& Value);
    static bool ParseModifiersStr(const AnsiString& Text, Integer& Mask);

    static AnsiChar InvertCaseFunction(AnsiChar Ch);

    void InvalidateProgramm();
    void Compile();
    Integer GetCompilerErrorPos() const;
    virtual void Error(Integer Code);
    virtual AnsiString ErrorMsg(Integer Code);
    // The code of the last error; reading it resets it to 0.
    Integer LastError();
    AnsiString Dump();

    void SetInputString(const AnsiString& Value);
    AnsiString GetInputString();
    bool Exec(const AnsiString& InputString);
    bool Exec();
    bool Exec(Integer Offset);
    bool ExecPos(Integer Offset = 1);
    bool ExecNext();
    // Searches Subject from its 1-based Offset on as if the text began there:
    // anchors and word boundaries see nothing before it, and match positions
    // count from it. Subject is not copied, so that a caller searching many
    // stretches of one long text pays for each once; it must stay unchanged
    // while results are read, and is taken up to its end, NULs included.
    bool ExecFrom(const AnsiString& Subject, Integer Offset);

    // Positions are 1-based; -1 for a group that took no part.
    Integer GetMatchPos(Integer Index) const;
    Integer GetMatchLen(Integer Index) const;
    AnsiString GetMatch(Integer Index) const;
    Integer GetSubExprMatchCount() const;

    AnsiString GetLineSeparators() const;
    void SetLineSeparators(const AnsiString& Value);
    AnsiString GetLinePairedSeparator() const;
    void SetLinePairedSeparator(const AnsiString& Value);

    AnsiString Substitute(const AnsiString& Template);
    void Split(const AnsiString& Input, TStrings* Pieces);
    AnsiString Replace(const AnsiString& Input, const AnsiString& Replacement, bool UseSubstitution = false);
    AnsiString ReplaceEx(const AnsiString& Input, TRegExprReplaceFunction ReplaceFunc);
    AnsiString Replace(const AnsiString& Input, TRegExprReplaceFunction ReplaceFunc);

    // Read when a program is compiled (\s, \w) and, for the word characters,
    // when a word boundary is tested.
    AnsiString SpaceChars;
    AnsiString WordChars;
    TRegExprInvertCaseFunction InvertCase;

private:
    struct Compiler;
    struct Matcher;
    struct MatcherStacks;
    using GroupPositions = std::array<Integer, NSUBEXP>;

    bool CompileRegExpr(const AnsiString& Expression);
    void computeStartupData(Integer topLevelFlags);
    void fillFirstCharSet();
    bool IsProgrammOk();
    bool ExecPrim(Integer Offset);
    bool matchesMustHave(Integer from) const;
    bool attemptAt(Integer position);
    void clearMatches();
    AnsiChar invertCase(AnsiChar ch) const;
    [[noreturn]] void fail(Integer Code);
    AnsiString appendReplacements(const AnsiString& Input, TRegExprReplaceFunction ReplaceFunc,
                                  const AnsiString* Replacement, bool UseSubstitution);

    GroupPositions matchStart_{};
    GroupPositions matchEnd_{};

    AnsiChar startChar_ = 0;
    bool anchored_ = false;
    Integer mustHaveOffset_ = -1;
    Integer mustHaveLength_ = 0;
    std::bitset<256> firstCharSet_;

    Integer parsePosition_ = 0;
    bool compiling_ = false;
    bool compiled_ = false;
    bool hasProgram_ = false;
    std::vector<Byte> program_;
    std::unique_ptr<MatcherStacks> stacks_;

    bool hasExpression_ = false;
    AnsiString expression_;
    bool hasInput_ = false;
    AnsiString input_;
    // What the searches run over: input_, or the caller's text for ExecFrom.
    std::string_view subject_;

    Integer lastError_ = 0;
    Integer modifiers_ = 0;
    Integer compileModifiers_ = 0;
    Integer programModifiers_ = 0;

    AnsiString lineSeparators_;
    bool hasPairedSeparator_ = false;
    AnsiChar pairHead_ = 0;
    AnsiChar pairTail_ = 0;
    std::bitset<256> lineSeparatorSet_;
};

bool ExecRegExpr(const AnsiString& ARegExpr, const AnsiString& AInputStr);
void SplitRegExpr(const AnsiString& ARegExpr, const AnsiString& AInputStr, TStrings* APieces);
AnsiString ReplaceRegExpr(const AnsiString& ARegExpr, const AnsiString& AInputStr,
                          const AnsiString& AReplaceStr, bool AUseSubstitution = false);
AnsiString QuoteRegExprMetaChars(const AnsiString& AStr);
Integer RegExprSubExpressions(const AnsiString& ARegExpr, TStrings* ASubExprs, bool AExtendedSyntax = false);
