// The JavaScript highlighter: splits lines of script source into tokens of
// eleven kinds, tells reserved words, the browser object model's names and
// event-handler names apart, and carries open block comments across lines.
#pragma once

#include "highlighters/SynEditHighlighter.h"

#include <array>

class TSynJScriptSyn : public TSynCustomHighlighter {
public:
    enum TtkTokenKind {
        tkComment,
        tkIdentifier,
        tkKey,
        tkNull,
        tkNumber,
        tkSpace,
        tkString,
        tkSymbol,
        tkUnknown,
        tkNonReservedKey,
        tkEvent
    };
    // rsANSI: the line ended inside a block comment.
    enum TRangeState : Byte { rsUnknown, rsANSI };

    explicit TSynJScriptSyn(TComponent* AOwner);

    static AnsiString GetLanguageName();
    AnsiString GetLanguageNameProp() const override { return GetLanguageName(); }
    bool IsFilterStored() const override;
    TSynHighlighterAttributes* GetDefaultAttribute(Integer Index) const override;
    TSynIdentChars GetIdentChars() const override;
    AnsiString GetSampleSource() const override;

    void SetLine(const AnsiString& NewValue, Integer LineNumber) override;
    void Next() override;
    bool GetEol() const override;
    AnsiString GetToken() const override;
    Integer GetTokenPos() const override;
    Integer GetTokenKind() const override;
    TtkTokenKind GetTokenID() const;
    TSynHighlighterAttributes* GetTokenAttribute() const override;
    TSynRangeValue GetRange() const override;
    void SetRange(TSynRangeValue Value) override;
    void ResetRange() override;

    TSynHighlighterAttributes* CommentAttri() const { return CommentAttri_; }
    TSynHighlighterAttributes* IdentifierAttri() const { return IdentifierAttri_; }
    TSynHighlighterAttributes* KeyAttri() const { return KeyAttri_; }
    TSynHighlighterAttributes* NonReservedKeyAttri() const { return NonReservedKeyAttri_; }
    TSynHighlighterAttributes* EventAttri() const { return EventAttri_; }
    TSynHighlighterAttributes* NumberAttri() const { return NumberAttri_; }
    TSynHighlighterAttributes* SpaceAttri() const { return SpaceAttri_; }
    TSynHighlighterAttributes* StringAttri() const { return StringAttri_; }
    TSynHighlighterAttributes* SymbolAttri() const { return SymbolAttri_; }

private:
    using TProcTableProc = void (TSynJScriptSyn::*)();

    TSynHighlighterAttributes* addStyledAttribute(const char* Name, TFontStyles Style);
    void MakeMethodTables();
    TtkTokenKind IdentKind(const char* Start);
    Integer KeyHash(const char* Start);
    bool KeyComp(const char* Key) const;

    char charAt(Integer Position) const { return LinePtr[Position]; }
    char current() const { return LinePtr[ScanPos]; }
    char following() const { return LinePtr[ScanPos + 1]; }
    void advanceIfNextIsOneOf(const char* Characters);

    void NullProc();
    void SpaceProc();
    void CRProc();
    void LFProc();
    void SymbolProc();
    void StringProc();
    void ModSymbolProc();
    void AndSymbolProc();
    void StarProc();
    void PlusProc();
    void MinusProc();
    void PointProc();
    void SlashProc();
    void NumberProc();
    void IdentProc();
    void OrSymbolProc();
    void UnknownProc();
    void CommentProc();
    void scanBlockComment();

    TSynHighlighterAttributes* CommentAttri_ = nullptr;
    TSynHighlighterAttributes* IdentifierAttri_ = nullptr;
    TSynHighlighterAttributes* KeyAttri_ = nullptr;
    TSynHighlighterAttributes* NonReservedKeyAttri_ = nullptr;
    TSynHighlighterAttributes* EventAttri_ = nullptr;
    TSynHighlighterAttributes* NumberAttri_ = nullptr;
    TSynHighlighterAttributes* SpaceAttri_ = nullptr;
    TSynHighlighterAttributes* StringAttri_ = nullptr;
    TSynHighlighterAttributes* SymbolAttri_ = nullptr;

    std::array<TProcTableProc, 256> ProcTable{};
    // A copy of the line being scanned, NUL-terminated; LinePtr points into it.
    AnsiString Line;
    const char* LinePtr = "";
    Integer LineNumber = 0;
    Integer ScanPos = 0;
    Integer TokenPos = 0;
    TtkTokenKind TokenKind = tkNull;
    TRangeState Range = rsUnknown;
    const char* IdentStart = nullptr;
    Integer IdentLen = 0;
};

// The class record that form resources create the highlighter from.
extern const TClass TSynJScriptSynClass;
