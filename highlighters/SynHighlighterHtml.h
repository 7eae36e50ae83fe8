// The HTML highlighter: a small state machine over text, tag names, tag
// parameters, attribute values, comments and character entities; comments
// and quoted values may run on over several lines.
#pragma once

#include "highlighters/SynEditHighlighter.h"

#include <array>

class TSynHTMLSyn : public TSynCustomHighlighter {
public:
    enum TtkTokenKind {
        tkAmpersand,
        tkComment,
        tkIdentifier,
        tkKey,
        tkNull,
        tkSpace,
        tkSymbol,
        tkText,
        tkUndefKey,
        tkValue
    };
    // rsUnKnown is never entered by the scanner; rsAmpersand never outlives its line.
    enum TRangeState : Byte {
        rsAmpersand,
        rsComment,
        rsKey,
        rsParam,
        rsText,
        rsUnKnown,
        rsValue,
        rsQuoteValue,
        rsDoubleQuoteValue
    };

    explicit TSynHTMLSyn(TComponent* AOwner);

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

    TSynHighlighterAttributes* AndAttri() const { return AndAttri_; }
    TSynHighlighterAttributes* CommentAttri() const { return CommentAttri_; }
    TSynHighlighterAttributes* IdentifierAttri() const { return IdentifierAttri_; }
    TSynHighlighterAttributes* KeyAttri() const { return KeyAttri_; }
    TSynHighlighterAttributes* SpaceAttri() const { return SpaceAttri_; }
    TSynHighlighterAttributes* SymbolAttri() const { return SymbolAttri_; }
    TSynHighlighterAttributes* TextAttri() const { return TextAttri_; }
    TSynHighlighterAttributes* UndefKeyAttri() const { return UndefKeyAttri_; }
    TSynHighlighterAttributes* ValueAttri() const { return ValueAttri_; }

private:
    using TProcTableProc = void (TSynHTMLSyn::*)();

    TSynHighlighterAttributes* addAttribute(const char* Name, TFontStyles Style, TColor Foreground);
    void MakeMethodTables();
    TtkTokenKind IdentKind(const char* Start);
    Integer KeyHash(const char* Start);
    bool KeyComp(const char* Key) const;

    char charAt(Integer Position) const { return LinePtr[Position]; }
    char current() const { return LinePtr[ScanPos]; }
    char following() const { return LinePtr[ScanPos + 1]; }
    void dispatchCurrent();
    void skipReferenceDigits();
    bool referenceAt(Integer Position, Integer Code) const;
    Integer findReferenceAt(Integer Position) const;

    void NullProc();
    void SpaceProc();
    void LFProc();
    void CRProc();
    void StringProc();
    void AmpersandProc();
    void BraceOpenProc();
    void EqualProc();
    void BraceCloseProc();
    void IdentProc();
    void CommentProc();
    void TextProc();

    TSynHighlighterAttributes* AndAttri_ = nullptr;
    TSynHighlighterAttributes* CommentAttri_ = nullptr;
    TSynHighlighterAttributes* IdentifierAttri_ = nullptr;
    TSynHighlighterAttributes* KeyAttri_ = nullptr;
    TSynHighlighterAttributes* SpaceAttri_ = nullptr;
    TSynHighlighterAttributes* SymbolAttri_ = nullptr;
    TSynHighlighterAttributes* TextAttri_ = nullptr;
    TSynHighlighterAttributes* UndefKeyAttri_ = nullptr;
    TSynHighlighterAttributes* ValueAttri_ = nullptr;

    std::array<TProcTableProc, 256> ProcTable{};
    // A copy of the line being scanned, NUL-terminated; LinePtr points into it.
    AnsiString Line;
    const char* LinePtr = "";
    Integer LineNumber = 0;
    Integer ScanPos = 0;
    Integer TokenPos = 0;
    TtkTokenKind TokenKind = tkNull;
    TRangeState Range = rsText;
    const char* IdentStart = nullptr;
    Integer IdentLen = 0;
    // The entity reference the text scan found before the "&", or -1.
    Integer AndCode = -1;
};

// The class record that form resources create the highlighter from.
extern const TClass TSynHTMLSynClass;
