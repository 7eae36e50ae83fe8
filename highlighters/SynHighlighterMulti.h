// The multi-language highlighter: colours a text written in one language with
// embedded regions of others (script blocks inside a page). It scans nothing
// itself: each stretch of a line goes to the default highlighter or to the
// highlighter of the scheme whose start and end markers enclose it.
#pragma once

#include "highlighters/SynEditHighlighter.h"
#include "highlighters/SynRegExpr.h"

#include <memory>
#include <vector>

class TSynMultiSyn;

enum TRangeOperation { roGet, roSet };

// Packs (roGet) or unpacks (roSet) the range value in place of the built-in packings.
using TCustomRangeEvent =
    Closure<void(TSynMultiSyn* Sender, TRangeOperation Operation, TSynRangeValue& Range)>;
// Sees every marker found, with its 1-based start; emptying the text or
// zeroing the length drops it.
using TOnCheckMarker = Closure<void(TObject* Sender, Integer& StartPos, Integer& MarkerLen,
                                    AnsiString& MarkerText, Integer Line)>;

// One embedded language: the expressions that open and close its regions,
// the highlighter of their inside and the attribute of the markers.
class TScheme : public TCollectionItem {
public:
    explicit TScheme(TCollection* Collection);
    ~TScheme() override;

    void Assign(TPersistent* Source) override;
    AnsiString GetDisplayName() override;
    void SetDisplayName(const AnsiString& Value) override;

    // An expression that does not compile raises ERegExpr and is not taken.
    const AnsiString& EndExpr() const { return EndExpr_; }
    void SetEndExpr(const AnsiString& Value);
    const AnsiString& StartExpr() const { return StartExpr_; }
    void SetStartExpr(const AnsiString& Value);
    // Not owned.
    TSynCustomHighlighter* Highlighter() const { return Highlighter_; }
    void SetHighlighter(TSynCustomHighlighter* Value);
    TSynHighlighterAttributes* MarkerAttri() const { return MarkerAttri_.get(); }
    void SetMarkerAttri(TSynHighlighterAttributes* Value);
    const AnsiString& SchemeName() const { return SchemeName_; }
    void SetSchemeName(const AnsiString& Value) { SchemeName_ = Value; }
    bool CaseSensitive() const { return CaseSensitive_; }
    void SetCaseSensitive(bool Value);

    TOnCheckMarker OnCheckStartMarker;
    TOnCheckMarker OnCheckEndMarker;

private:
    friend class TSynMultiSyn;

    TSynMultiSyn* parent() const;
    void MarkerAttriChanged(TObject* Sender);
    void setExpression(AnsiString& Expression, std::unique_ptr<TRegExpr>& Matcher, const AnsiString& Value);
    bool sameExpression(const AnsiString& A, const AnsiString& B) const;
    // The compiled expressions, null when empty; the i modifier follows CaseSensitive.
    TRegExpr* startMatcher() { return matcher(StartMatcher_); }
    TRegExpr* endMatcher() { return matcher(EndMatcher_); }
    TRegExpr* matcher(std::unique_ptr<TRegExpr>& Matcher);
    // Whether the marker search may open a region of this scheme.
    bool canOpen() const;

    AnsiString EndExpr_;
    AnsiString StartExpr_;
    TSynCustomHighlighter* Highlighter_ = nullptr;
    std::unique_ptr<TSynHighlighterAttributes> MarkerAttri_;
    AnsiString SchemeName_;
    bool CaseSensitive_ = true;
    std::unique_ptr<TRegExpr> StartMatcher_;
    std::unique_ptr<TRegExpr> EndMatcher_;
};

// The schemes of a multi-language highlighter; every change makes the
// editors that show it rescan.
class TSchemes : public TCollection {
public:
    explicit TSchemes(TSynMultiSyn* Owner);

    // EInvalidCast when the item is not a TScheme.
    TScheme* GetItems(Integer Index) const;
    void SetItems(Integer Index, TScheme* Value) { SetItem(Index, Value); }
    TPersistent* GetOwner() override;

protected:
    void Update(TCollectionItem* Item) override;

private:
    TSynMultiSyn* Owner_;
};

// A start or end marker found in the current line.
class TMarker : public TObject {
public:
    TMarker(Integer Scheme, Integer StartPos, Integer MarkerLen, bool IsOpenMarker,
            const AnsiString& MarkerText)
        : Scheme(Scheme), StartPos(StartPos), MarkerLen(MarkerLen), MarkerText(MarkerText),
          IsOpenMarker(IsOpenMarker) {}

    Integer Scheme;
    // 1-based.
    Integer StartPos;
    Integer MarkerLen;
    AnsiString MarkerText;
    bool IsOpenMarker;
};

class TSynMultiSyn : public TSynCustomHighlighter {
public:
    explicit TSynMultiSyn(TComponent* AOwner);
    ~TSynMultiSyn() override;

    void Loaded() override;
    void Notification(TComponent* AComponent, TOperation Operation) override;

    // The schemes' marker attributes, then the default highlighter's
    // attributes, then those of each scheme's highlighter in scheme order.
    Integer GetAttribCount() const override;
    TSynHighlighterAttributes* GetAttribute(Integer Index) const override;
    TSynHighlighterAttributes* GetDefaultAttribute(Integer Index) const override;
    TSynIdentChars GetIdentChars() const override;
    AnsiString GetSampleSource() const override { return SampleSource_; }
    void SetSampleSource(const AnsiString& Value) override { SampleSource_ = Value; }
    static AnsiString GetLanguageName();
    AnsiString GetLanguageNameProp() const override { return GetLanguageName(); }

    bool GetEol() const override;
    TSynRangeValue GetRange() const override;
    AnsiString GetToken() const override;
    TSynHighlighterAttributes* GetTokenAttribute() const override;
    // 0 for a marker.
    Integer GetTokenKind() const override;
    Integer GetTokenPos() const override { return TokenPos; }
    void Next() override;
    void SetLine(const AnsiString& NewValue, Integer LineNumber) override;
    void SetRange(TSynRangeValue Value) override;
    void ResetRange() override;
    // The default highlighter below Key\DefaultHighlighter; each scheme's
    // marker attribute and highlighter below Key\<scheme name>. False when
    // anything is missing: either highlighter, a scheme name or a key.
    bool LoadFromRegistry(HKEY RootKey, const AnsiString& Key) override;
    bool SaveToRegistry(HKEY RootKey, const AnsiString& Key) override;

    Integer MarkerCount() const { return static_cast<Integer>(Markers.size()); }
    // EListError when Index is outside the list.
    TMarker* GetMarkers(Integer Index) const;
    void ClearMarkers() { Markers.clear(); }

    TSchemes* Schemes() const { return Schemes_.get(); }
    void SetSchemes(TSchemes* Value) { Schemes_->Assign(Value); }
    // Not owned. A highlighter that leads back to this one is refused.
    TSynCustomHighlighter* DefaultHighlighter() const { return DefaultHighlighter_; }
    void SetDefaultHighlighter(TSynCustomHighlighter* Value);
    const TCustomRangeEvent& OnCustomRange() const { return OnCustomRange_; }
    void SetOnCustomRange(const TCustomRangeEvent& Value);

    // Kept for the user; nothing reads it.
    AnsiString DefaultLanguageName;

protected:
    // Makes attribute changes of H repaint the editors that show this highlighter.
    void HookHighlighter(TSynCustomHighlighter* H);
    void UnhookHighlighter(TSynCustomHighlighter* H);
    // Chooses the range packing; a change makes the editors rescan.
    bool UpdateRangeProcs();

private:
    friend class TScheme;
    friend class TSchemes;

    // How the scan state is packed into a line's range value.
    enum class TRangePacking { Nested, Recursive, User };

    // Marker search.
    void findMarkers(const AnsiString& Text, Integer LineNumber);
    TScheme* schemeOpenedIn(const AnsiString& Text, Integer From, TRegExpr*& Found);
    void DoCheckMarker(TScheme* Scheme, Integer StartPos, Integer MarkerLen, const AnsiString& MarkerText,
                       bool Start, Integer LineNumber);

    // Tokens.
    void nextToken();
    void nextOfWholeLine();
    bool markerIsDue() const;
    void emitMarker();
    void leaveMarker();
    void handOverSegment();
    void takeInnerToken();

    // Range packings.
    TSynRangeValue packNested() const;
    void unpackNested(TSynRangeValue Value);
    TSynRangeValue packRecursive() const;
    void unpackRecursive(TSynRangeValue Value);
    bool anySchemeIsMulti() const;

    // Loading and saving share one walk over the highlighters and schemes.
    bool transferRegistry(HKEY RootKey, const AnsiString& Key, bool Saving);

    // Embedded highlighters.
    TScheme* schemeAt(Integer Index) const;
    TSynCustomHighlighter* schemeHighlighter(Integer Index) const;
    void enterScheme(Integer Scheme);
    // Looks up the scheme the scan is in and the highlighter in charge anew,
    // after a change of either or of the schemes.
    void keepCurrentScheme();
    // A scheme being destroyed may be the one kept.
    void schemeGone(const TScheme* Scheme);
    TSynCustomHighlighter* currentSchemeHighlighter() const {
        return CurrSchemeKept ? CurrSchemeKept->Highlighter_ : nullptr;
    }
    // The scheme's highlighter inside a region that has one, else the default.
    TSynCustomHighlighter* currentHighlighter() const { return CurrHighlighter; }
    Integer usesOf(const TSynCustomHighlighter* H) const;
    bool leadsBackHere(const TSynCustomHighlighter* H) const;
    void highlighterReplaced(TSynCustomHighlighter* Old, TSynCustomHighlighter* New);
    void forgetHighlighter(const TComponent* Gone);
    // Tells the editors, unless this highlighter is going.
    void announceChange(TObject* Sender);

    TRangePacking RangePacking = TRangePacking::Nested;
    std::vector<std::unique_ptr<TMarker>> Markers;
    const TMarker* CurrMarker = nullptr;
    Integer NextMarker = 0;
    Integer CurrScheme = -1;
    // The scheme at CurrScheme (null outside a region) and the highlighter in charge.
    TScheme* CurrSchemeKept = nullptr;
    TSynCustomHighlighter* CurrHighlighter = nullptr;
    TSynRangeValue SavedDefaultRange = 0;
    TCustomRangeEvent OnCustomRange_;
    std::unique_ptr<TSchemes> Schemes_;
    TSynCustomHighlighter* DefaultHighlighter_ = nullptr;
    AnsiString Line;
    Integer LineNumber_ = 0;
    Integer TokenPos = 0;
    // 1-based position just after the current token.
    Integer Run = 1;
    // The line's first segment has not been given to its highlighter yet.
    bool SegmentPending = true;
    AnsiString SampleSource_;
};

// The class records that form resources create the highlighter and its schemes from.
extern const TClass TSynMultiSynClass;
extern const TClass TSchemeClass;
