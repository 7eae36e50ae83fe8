#include "highlighters/SynHighlighterMulti.h"

#include "editor/SynEditStrConst.h"
#include "platform/core/SysUtils.h"
#include "platform/vcl/Registry.h"

#include <algorithm>
#include <cassert>
#include <utility>

namespace {

constexpr const char* SOwnDefaultHighlighter = "A SynMultiSyn cannot be its own DefaultHighlighter.";
constexpr const char* SOwnSchemeHighlighter = "A SynMultiSyn cannot be the Highlighter of its own scheme.";

constexpr TColor MarkerBackground = clYellow;
constexpr const char* DefaultHighlighterKey = "\\DefaultHighlighter";
// Index of the i (ignore case) modifier of TRegExpr.
constexpr Integer ModifierIgnoreCase = 1;

// The nested packing: bits 0-2 hold the scheme index + 1 (0 = default
// highlighter), bits 3-6 the scheme highlighter's range while inside a
// scheme, the bits above the default highlighter's range.
constexpr unsigned SchemeFieldBits = 3;
constexpr Cardinal SchemeFieldMask = 7;
constexpr Integer NestedSchemeLimit = 7;
constexpr unsigned SchemeRangeBits = 4;
constexpr Cardinal SchemeRangeMask = 15;

// The recursive packing (a scheme highlighter is itself a multi-language
// highlighter): bits 0-3 hold the scheme index + 2, the bits above the
// range of the highlighter in charge.
constexpr unsigned RecursiveSchemeBits = 4;
constexpr Cardinal RecursiveSchemeMask = 15;
constexpr Integer RecursiveSchemeLimit = 15;
constexpr UInt64 PlainInnerRangeLimit = 255;
constexpr UInt64 InnerRangeLimit = UInt64{1} << 28;

// Like the framework's Copy: 1-based, and a stretch outside the text gives
// what lies inside it.
AnsiString copyOf(const AnsiString& Text, Integer From, Integer Count) {
    if (From < 1) {
        Count += From - 1;
        From = 1;
    }
    const Integer length = static_cast<Integer>(Text.size());
    if (Count <= 0 || From > length) return {};
    return Text.substr(static_cast<std::size_t>(From - 1), static_cast<std::size_t>(Count));
}

// A marker has at least one character. An expression that can match the
// empty string is searched on past its empty matches, so the marker search
// always moves forward. The search runs over the line in place from the
// 1-based From on, as if the line began there.
bool findMarkerMatch(TRegExpr& Expression, const AnsiString& Text, Integer From) {
    try {
        bool found = Expression.ExecFrom(Text, From);
        while (found && Expression.GetMatchLen(0) == 0)
            found = Expression.ExecNext();
        return found;
    } catch (const ERegExpr&) {
        // An expression that backtracks beyond the engine's budget on this
        // line finds no marker in it; the line is still coloured.
        return false;
    }
}

Cardinal low32Bits(TSynRangeValue Value) {
    return static_cast<Cardinal>(static_cast<UInt64>(Value));
}

TSynRangeValue rangeOf(const TSynCustomHighlighter* Highlighter) {
    return Highlighter ? Highlighter->GetRange() : 0;
}

const TClass describedSchemes = DescribeClass<TSchemes, TCollection>();

} // namespace

const TClass TSchemeClass = DescribeClass<TScheme, TCollectionItem>([](TClassBuilder<TScheme>& c) {
    c.Property("EndExpr", &TScheme::EndExpr, &TScheme::SetEndExpr);
    c.Property("StartExpr", &TScheme::StartExpr, &TScheme::SetStartExpr);
    c.Property("Highlighter", &TScheme::Highlighter, &TScheme::SetHighlighter);
    c.Property("MarkerAttri", &TScheme::MarkerAttri, &TScheme::SetMarkerAttri);
    c.Property("SchemeName", &TScheme::SchemeName, &TScheme::SetSchemeName);
    c.Property("CaseSensitive", &TScheme::CaseSensitive, &TScheme::SetCaseSensitive).Default(true);
    c.Property("OnCheckStartMarker", &TScheme::OnCheckStartMarker, &TScheme::OnCheckStartMarker);
    c.Property("OnCheckEndMarker", &TScheme::OnCheckEndMarker, &TScheme::OnCheckEndMarker);
});

const TClass TSynMultiSynClass =
    DescribeClass<TSynMultiSyn, TSynCustomHighlighter>([](TClassBuilder<TSynMultiSyn>& c) {
        c.Property("Schemes", &TSynMultiSyn::Schemes, &TSynMultiSyn::SetSchemes);
        c.Property("DefaultHighlighter", &TSynMultiSyn::DefaultHighlighter,
                   &TSynMultiSyn::SetDefaultHighlighter);
        c.Property("DefaultLanguageName", &TSynMultiSyn::DefaultLanguageName,
                   &TSynMultiSyn::DefaultLanguageName);
        c.Property("OnCustomRange", &TSynMultiSyn::OnCustomRange, &TSynMultiSyn::SetOnCustomRange);
    });

// ---- TScheme -------------------------------------------------------------------

TScheme::TScheme(TCollection* Collection)
    : TCollectionItem(Collection),
      MarkerAttri_(std::make_unique<TSynHighlighterAttributes>(SYNS_AttrMarker)) {
    MarkerAttri_->SetBackground(MarkerBackground);
    MarkerAttri_->SetStyle({fsBold});
    MarkerAttri_->InternalSaveDefaultValues();
    MarkerAttri_->OnChange = TNotifyEvent(this, &TScheme::MarkerAttriChanged);
}

TScheme::~TScheme() {
    SetHighlighter(nullptr);
    if (TSynMultiSyn* owner = parent()) owner->schemeGone(this);
}

void TScheme::Assign(TPersistent* Source) {
    auto* source = dynamic_cast<TScheme*>(Source);
    if (!source) {
        TCollectionItem::Assign(Source);
        return;
    }
    SetCaseSensitive(source->CaseSensitive_);
    SetStartExpr(source->StartExpr_);
    SetEndExpr(source->EndExpr_);
    SetHighlighter(source->Highlighter_);
    SetMarkerAttri(source->MarkerAttri());
    SchemeName_ = source->SchemeName_;
    OnCheckStartMarker = source->OnCheckStartMarker;
    OnCheckEndMarker = source->OnCheckEndMarker;
}

AnsiString TScheme::GetDisplayName() {
    return SchemeName_.empty() ? TCollectionItem::GetDisplayName() : SchemeName_;
}

void TScheme::SetDisplayName(const AnsiString& Value) {
    SchemeName_ = Value;
}

void TScheme::SetEndExpr(const AnsiString& Value) {
    setExpression(EndExpr_, EndMatcher_, Value);
}

void TScheme::SetStartExpr(const AnsiString& Value) {
    setExpression(StartExpr_, StartMatcher_, Value);
}

void TScheme::setExpression(AnsiString& Expression, std::unique_ptr<TRegExpr>& Matcher,
                            const AnsiString& Value) {
    if (Value == Expression) return;
    // Compiled before anything changes: an invalid expression raises ERegExpr
    // and the scheme keeps the one it had.
    std::unique_ptr<TRegExpr> compiled;
    if (!Value.empty()) {
        compiled = std::make_unique<TRegExpr>();
        compiled->SetExpression(Value);
        compiled->Compile();
    }
    const AnsiString old = std::exchange(Expression, Value);
    Matcher = std::move(compiled);
    if (!sameExpression(old, Value)) Changed(true);
}

// A change of letter case alone matches the same markers in a scheme that ignores case.
bool TScheme::sameExpression(const AnsiString& A, const AnsiString& B) const {
    return CaseSensitive_ ? A == B : AnsiUpperCase(A) == AnsiUpperCase(B);
}

void TScheme::SetHighlighter(TSynCustomHighlighter* Value) {
    if (Highlighter_ == Value) return;
    TSynMultiSyn* owner = parent();
    if (owner && Value && owner->leadsBackHere(Value)) throw Exception(SOwnSchemeHighlighter);
    TSynCustomHighlighter* old = std::exchange(Highlighter_, Value);
    if (owner) owner->highlighterReplaced(old, Value);
    const bool packingChanged = owner && dynamic_cast<TSynMultiSyn*>(Value) && owner->UpdateRangeProcs();
    if (!packingChanged) Changed(true);
}

void TScheme::SetMarkerAttri(TSynHighlighterAttributes* Value) {
    MarkerAttri_->Assign(Value);
}

void TScheme::SetCaseSensitive(bool Value) {
    if (CaseSensitive_ == Value) return;
    CaseSensitive_ = Value;
    Changed(true);
}

TSynMultiSyn* TScheme::parent() const {
    auto* schemes = dynamic_cast<TSchemes*>(Collection());
    return schemes ? static_cast<TSynMultiSyn*>(schemes->GetOwner()) : nullptr;
}

void TScheme::MarkerAttriChanged(TObject*) {
    Changed(false);
}

TRegExpr* TScheme::matcher(std::unique_ptr<TRegExpr>& Matcher) {
    if (!Matcher) return nullptr;
    Matcher->SetModifier(ModifierIgnoreCase, !CaseSensitive_);
    return Matcher.get();
}

bool TScheme::canOpen() const {
    return !StartExpr_.empty() && !EndExpr_.empty() && Highlighter_ && Highlighter_->Enabled();
}

// ---- TSchemes ------------------------------------------------------------------

TSchemes::TSchemes(TSynMultiSyn* Owner) : TCollection(TSchemeClass), Owner_(Owner) {}

TScheme* TSchemes::GetItems(Integer Index) const {
    auto* scheme = dynamic_cast<TScheme*>(Items(Index));
    if (!scheme) throw EInvalidCast(SInvalidCast);
    return scheme;
}

TPersistent* TSchemes::GetOwner() {
    return Owner_;
}

void TSchemes::Update(TCollectionItem* Item) {
    if (!Owner_) return;
    Owner_->keepCurrentScheme();
    if (Item)
        Owner_->announceChange(Item);
    else
        Owner_->announceChange(Owner_);
}

// ---- TSynMultiSyn: construction and embedded highlighters -----------------------

TSynMultiSyn::TSynMultiSyn(TComponent* AOwner)
    : TSynCustomHighlighter(AOwner), Schemes_(std::make_unique<TSchemes>(this)) {}

TSynMultiSyn::~TSynMultiSyn() {
    Destroying();
    ClearMarkers();
    Schemes_->Clear();
    SetDefaultHighlighter(nullptr);
}

AnsiString TSynMultiSyn::GetLanguageName() {
    return SYNS_LangGeneralMulti;
}

void TSynMultiSyn::Loaded() {
    TSynCustomHighlighter::Loaded();
    DefHighlightChange(this);
}

// The highlighter going may already be half destroyed: only its address is compared.
void TSynMultiSyn::Notification(TComponent* AComponent, TOperation Operation) {
    TSynCustomHighlighter::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent && AComponent->ComponentState().Contains(csDestroying))
        forgetHighlighter(AComponent);
}

void TSynMultiSyn::SetDefaultHighlighter(TSynCustomHighlighter* Value) {
    if (Value == DefaultHighlighter_) return;
    if (Value && leadsBackHere(Value)) throw Exception(SOwnDefaultHighlighter);
    TSynCustomHighlighter* old = std::exchange(DefaultHighlighter_, Value);
    highlighterReplaced(old, Value);
    announceChange(this);
}

void TSynMultiSyn::SetOnCustomRange(const TCustomRangeEvent& Value) {
    if (Value == OnCustomRange_) return;
    OnCustomRange_ = Value;
    UpdateRangeProcs();
}

void TSynMultiSyn::HookHighlighter(TSynCustomHighlighter* H) {
    H->FreeNotification(this);
    H->HookAttrChangeEvent(TNotifyEvent(this, &TSynMultiSyn::DefHighlightChange));
}

void TSynMultiSyn::UnhookHighlighter(TSynCustomHighlighter* H) {
    H->UnhookAttrChangeEvent(TNotifyEvent(this, &TSynMultiSyn::DefHighlightChange));
    H->RemoveFreeNotification(this);
}

// A highlighter serving several schemes (or a scheme and the default) is
// hooked once and unhooked when the last of them lets it go: unhooking
// removes the hook and the free notification whole.
void TSynMultiSyn::highlighterReplaced(TSynCustomHighlighter* Old, TSynCustomHighlighter* New) {
    keepCurrentScheme();
    if (New && usesOf(New) == 1) HookHighlighter(New);
    if (Old && usesOf(Old) == 0) UnhookHighlighter(Old);
}

void TSynMultiSyn::forgetHighlighter(const TComponent* Gone) {
    bool changed = false;
    if (DefaultHighlighter_ == Gone) {
        DefaultHighlighter_ = nullptr;
        changed = true;
    }
    for (Integer i = 0; i < Schemes_->Count(); ++i) {
        TScheme* scheme = schemeAt(i);
        if (scheme && scheme->Highlighter_ == Gone) {
            scheme->Highlighter_ = nullptr;
            changed = true;
        }
    }
    keepCurrentScheme();
    if (changed) announceChange(this);
}

Integer TSynMultiSyn::usesOf(const TSynCustomHighlighter* H) const {
    Integer uses = DefaultHighlighter_ == H ? 1 : 0;
    for (Integer i = 0; i < Schemes_->Count(); ++i)
        if (schemeHighlighter(i) == H) ++uses;
    return uses;
}

// Scanning with a highlighter that leads back here, directly or through
// other multi-language highlighters, would never end.
bool TSynMultiSyn::leadsBackHere(const TSynCustomHighlighter* H) const {
    std::vector<const TSynCustomHighlighter*> pending{H};
    std::vector<const TSynCustomHighlighter*> seen;
    while (!pending.empty()) {
        const TSynCustomHighlighter* next = pending.back();
        pending.pop_back();
        if (next == this) return true;
        if (std::find(seen.begin(), seen.end(), next) != seen.end()) continue;
        seen.push_back(next);
        const auto* multi = dynamic_cast<const TSynMultiSyn*>(next);
        if (!multi) continue;
        if (multi->DefaultHighlighter_) pending.push_back(multi->DefaultHighlighter_);
        for (Integer i = 0; i < multi->Schemes_->Count(); ++i)
            if (TSynCustomHighlighter* inner = multi->schemeHighlighter(i)) pending.push_back(inner);
    }
    return false;
}

void TSynMultiSyn::announceChange(TObject* Sender) {
    if (ComponentState().Contains(csDestroying)) return;
    DefHighlightChange(Sender);
}

TScheme* TSynMultiSyn::schemeAt(Integer Index) const {
    if (Index < 0 || Index >= Schemes_->Count()) return nullptr;
    return dynamic_cast<TScheme*>(Schemes_->Items(Index));
}

TSynCustomHighlighter* TSynMultiSyn::schemeHighlighter(Integer Index) const {
    TScheme* scheme = schemeAt(Index);
    return scheme ? scheme->Highlighter_ : nullptr;
}

void TSynMultiSyn::enterScheme(Integer Scheme) {
    CurrScheme = Scheme;
    keepCurrentScheme();
}

// The editor asks for the highlighter in charge at every token, and finding
// a scheme by its index costs a cast: both are kept from one change of the
// scheme, the schemes or their highlighters to the next.
void TSynMultiSyn::keepCurrentScheme() {
    CurrSchemeKept = schemeAt(CurrScheme);
    TSynCustomHighlighter* inScheme = CurrSchemeKept ? CurrSchemeKept->Highlighter_ : nullptr;
    CurrHighlighter = inScheme ? inScheme : DefaultHighlighter_;
}

void TSynMultiSyn::schemeGone(const TScheme* Scheme) {
    if (CurrSchemeKept != Scheme) return;
    CurrSchemeKept = nullptr;
    CurrHighlighter = DefaultHighlighter_;
}

// ---- Attributes ------------------------------------------------------------------

Integer TSynMultiSyn::GetAttribCount() const {
    Integer count = Schemes_->Count();
    if (DefaultHighlighter_) count += DefaultHighlighter_->GetAttribCount();
    for (Integer i = 0; i < Schemes_->Count(); ++i)
        if (const TSynCustomHighlighter* inner = schemeHighlighter(i)) count += inner->GetAttribCount();
    return count;
}

TSynHighlighterAttributes* TSynMultiSyn::GetAttribute(Integer Index) const {
    if (Index < 0) return nullptr;
    if (Index < Schemes_->Count()) {
        TScheme* scheme = schemeAt(Index);
        return scheme ? scheme->MarkerAttri() : nullptr;
    }
    Index -= Schemes_->Count();
    std::vector<const TSynCustomHighlighter*> inOrder{DefaultHighlighter_};
    for (Integer i = 0; i < Schemes_->Count(); ++i)
        inOrder.push_back(schemeHighlighter(i));
    for (const TSynCustomHighlighter* highlighter : inOrder) {
        if (!highlighter) continue;
        if (Index < highlighter->GetAttribCount()) return highlighter->GetAttribute(Index);
        Index -= highlighter->GetAttribCount();
    }
    return nullptr;
}

TSynHighlighterAttributes* TSynMultiSyn::GetDefaultAttribute(Integer Index) const {
    const TSynCustomHighlighter* highlighter = currentHighlighter();
    return highlighter ? highlighter->GetDefaultAttribute(Index) : nullptr;
}

TSynIdentChars TSynMultiSyn::GetIdentChars() const {
    const TSynCustomHighlighter* highlighter = currentHighlighter();
    return highlighter ? highlighter->GetIdentChars() : TSynCustomHighlighter::GetIdentChars();
}

// ---- Marker search -----------------------------------------------------------------

TMarker* TSynMultiSyn::GetMarkers(Integer Index) const {
    if (Index < 0 || Index >= MarkerCount()) throw EListError(Format(SListIndexError, {Index}));
    return Markers[static_cast<std::size_t>(Index)].get();
}

void TSynMultiSyn::SetLine(const AnsiString& NewValue, Integer LineNumber) {
    CurrMarker = nullptr;
    ClearMarkers();
    findMarkers(NewValue, LineNumber);
    Line = NewValue;
    LineNumber_ = LineNumber;
    Run = 1;
    TokenPos = 0;
    NextMarker = 0;
    SegmentPending = true;
    Next();
}

// Alternates between looking for the end of the region the scan is in and
// for the start of a new one, each search on what the previous left over.
// Alternates between looking for the end of the region the scan is in and
// for the start of a new one, each search on what the previous left over.
// A search never saw past a NUL, so the line is cut at its first one.
void TSynMultiSyn::findMarkers(const AnsiString& Text, Integer LineNumber) {
    const AnsiString text = Text.substr(0, Text.find('\0'));
    TScheme* inside = CurrSchemeKept;
    Integer eaten = 0;
    while (eaten < static_cast<Integer>(text.size())) {
        TRegExpr* found = nullptr;
        TScheme* scheme = inside;
        if (inside) {
            found = inside->endMatcher();
            if (!found || !findMarkerMatch(*found, text, eaten + 1)) break;
        } else {
            scheme = schemeOpenedIn(text, eaten + 1, found);
            if (!scheme) break;
        }
        const Integer matchPos = found->GetMatchPos(0);
        const Integer matchLen = found->GetMatchLen(0);
        DoCheckMarker(scheme, matchPos + eaten, matchLen, found->GetMatch(0), !inside, LineNumber);
        eaten += matchPos - 1 + matchLen;
        inside = inside ? nullptr : scheme;
    }
}

// The first scheme in collection order that matches anywhere from From on
// wins, even when a later one would match further left.
TScheme* TSynMultiSyn::schemeOpenedIn(const AnsiString& Text, Integer From, TRegExpr*& Found) {
    for (Integer i = 0; i < Schemes_->Count(); ++i) {
        TScheme* scheme = schemeAt(i);
        if (!scheme || !scheme->canOpen()) continue;
        TRegExpr* start = scheme->startMatcher();
        if (findMarkerMatch(*start, Text, From)) {
            Found = start;
            return scheme;
        }
    }
    return nullptr;
}

void TSynMultiSyn::DoCheckMarker(TScheme* Scheme, Integer StartPos, Integer MarkerLen,
                                 const AnsiString& MarkerText, bool Start, Integer LineNumber) {
    AnsiString markerText = MarkerText;
    const TOnCheckMarker& check = Start ? Scheme->OnCheckStartMarker : Scheme->OnCheckEndMarker;
    if (check) check(this, StartPos, MarkerLen, markerText, LineNumber);
    if (markerText.empty() || MarkerLen <= 0) return;
    Markers.push_back(std::make_unique<TMarker>(Scheme->Index(), StartPos, MarkerLen, Start, markerText));
}

// ---- Tokens ---------------------------------------------------------------------------

void TSynMultiSyn::Next() {
    [[maybe_unused]] const Integer before = Run;
    nextToken();
    // A token that neither advances nor ends the line would make a scan loop for ever.
    assert(Run > before || GetEol());
}

void TSynMultiSyn::nextToken() {
    if (!DefaultHighlighter_) return nextOfWholeLine();
    if (markerIsDue()) return emitMarker();
    if (CurrMarker) {
        leaveMarker();
        // Two markers side by side: the empty stretch between them is no
        // token, and must not end the line before the second marker.
        if (markerIsDue()) return emitMarker();
        handOverSegment();
    } else if (SegmentPending) {
        handOverSegment();
    } else {
        currentHighlighter()->Next();
    }
    takeInnerToken();
}

// Without a default highlighter the whole line is one token.
void TSynMultiSyn::nextOfWholeLine() {
    if (Run > 1)
        ++Run;
    else
        Run = static_cast<Integer>(Line.size()) + 2;
}

bool TSynMultiSyn::markerIsDue() const {
    return NextMarker < MarkerCount() && GetMarkers(NextMarker)->StartPos <= Run;
}

void TSynMultiSyn::emitMarker() {
    const TMarker* marker = GetMarkers(NextMarker);
    CurrMarker = marker;
    if (marker->IsOpenMarker) {
        enterScheme(marker->Scheme);
        SavedDefaultRange = DefaultHighlighter_->GetRange();
        if (TSynCustomHighlighter* inScheme = currentSchemeHighlighter()) inScheme->ResetRange();
    }
    ++NextMarker;
    TokenPos = Run - 1;
    Run += marker->MarkerLen;
}

void TSynMultiSyn::leaveMarker() {
    if (!CurrMarker->IsOpenMarker) {
        enterScheme(-1);
        DefaultHighlighter_->SetRange(SavedDefaultRange);
    }
    CurrMarker = nullptr;
}

// From the current position up to the next marker, or to the line's end.
void TSynMultiSyn::handOverSegment() {
    const Integer end =
        NextMarker < MarkerCount() ? GetMarkers(NextMarker)->StartPos : static_cast<Integer>(Line.size()) + 1;
    currentHighlighter()->SetLine(copyOf(Line, Run, end - Run), LineNumber_);
    SegmentPending = false;
}

// The inner highlighter counts from the start of its segment, which begins
// where the last marker ends.
void TSynMultiSyn::takeInnerToken() {
    TSynCustomHighlighter* inner = currentHighlighter();
    // The page scanner hands out an empty text token before an entity;
    // passing it on would give the editor a token that does not advance.
    AnsiString token = inner->GetToken();
    while (!inner->GetEol() && token.empty()) {
        inner->Next();
        token = inner->GetToken();
    }
    TokenPos = inner->GetTokenPos();
    if (NextMarker > 0) {
        const TMarker* last = GetMarkers(NextMarker - 1);
        TokenPos += last->StartPos + last->MarkerLen - 1;
    }
    Run = TokenPos + static_cast<Integer>(token.size()) + 1;
}

bool TSynMultiSyn::GetEol() const {
    if (!DefaultHighlighter_) return Run > static_cast<Integer>(Line.size()) + 2;
    if (CurrMarker) return false;
    return currentHighlighter()->GetEol();
}

AnsiString TSynMultiSyn::GetToken() const {
    if (!DefaultHighlighter_) return Line;
    return copyOf(Line, TokenPos + 1, Run - TokenPos - 1);
}

TSynHighlighterAttributes* TSynMultiSyn::GetTokenAttribute() const {
    if (CurrMarker) {
        TScheme* scheme = schemeAt(CurrMarker->Scheme);
        return scheme ? scheme->MarkerAttri() : nullptr;
    }
    if (!DefaultHighlighter_) return nullptr;
    return currentHighlighter()->GetTokenAttribute();
}

Integer TSynMultiSyn::GetTokenKind() const {
    if (CurrMarker || !DefaultHighlighter_) return 0;
    return currentHighlighter()->GetTokenKind();
}

// ---- Ranges ------------------------------------------------------------------------------

bool TSynMultiSyn::LoadFromRegistry(HKEY RootKey, const AnsiString& Key) {
    return transferRegistry(RootKey, Key, false);
}

bool TSynMultiSyn::SaveToRegistry(HKEY RootKey, const AnsiString& Key) {
    return transferRegistry(RootKey, Key, true);
}

bool TSynMultiSyn::transferRegistry(HKEY RootKey, const AnsiString& Key, bool Saving) {
    auto transferHighlighter = [&](TSynCustomHighlighter* Highlighter, const AnsiString& HighlighterKey) {
        return Saving ? Highlighter->SaveToRegistry(RootKey, HighlighterKey)
                      : Highlighter->LoadFromRegistry(RootKey, HighlighterKey);
    };
    bool result =
        DefaultHighlighter_ && transferHighlighter(DefaultHighlighter_, Key + DefaultHighlighterKey);
    TRegistry reg;
    reg.SetRootKey(RootKey);
    for (Integer i = 0; i < Schemes_->Count(); ++i) {
        TScheme* scheme = Schemes_->GetItems(i);
        if (scheme->SchemeName().empty()) {
            result = false;
            continue;
        }
        const AnsiString schemeKey = Key + "\\" + scheme->SchemeName();
        if (!(Saving ? reg.OpenKey(schemeKey, true) : reg.OpenKeyReadOnly(schemeKey))) {
            result = false;
            continue;
        }
        TSynHighlighterAttributes* marker = scheme->MarkerAttri();
        result = (Saving ? marker->SaveToRegistry(&reg) : marker->LoadFromRegistry(&reg)) && result;
        reg.CloseKey();
        result = scheme->Highlighter() && transferHighlighter(scheme->Highlighter(), schemeKey) && result;
    }
    return result;
}

bool TSynMultiSyn::anySchemeIsMulti() const {
    for (Integer i = 0; i < Schemes_->Count(); ++i)
        if (dynamic_cast<const TSynMultiSyn*>(schemeHighlighter(i))) return true;
    return false;
}

bool TSynMultiSyn::UpdateRangeProcs() {
    TRangePacking chosen = TRangePacking::Nested;
    if (OnCustomRange_)
        chosen = TRangePacking::User;
    else if (anySchemeIsMulti())
        chosen = TRangePacking::Recursive;
    if (chosen == RangePacking) return false;
    RangePacking = chosen;
    announceChange(this);
    return true;
}

TSynRangeValue TSynMultiSyn::GetRange() const {
    switch (RangePacking) {
    case TRangePacking::Nested:
        return packNested();
    case TRangePacking::Recursive:
        return packRecursive();
    case TRangePacking::User:
        break;
    }
    TSynRangeValue range = 0;
    // The event takes the highlighter as its sender; a read changes nothing of it.
    OnCustomRange_(const_cast<TSynMultiSyn*>(this), roGet, range);
    return range;
}

void TSynMultiSyn::SetRange(TSynRangeValue Value) {
    switch (RangePacking) {
    case TRangePacking::Nested:
        return unpackNested(Value);
    case TRangePacking::Recursive:
        return unpackRecursive(Value);
    case TRangePacking::User:
        break;
    }
    OnCustomRange_(this, roSet, Value);
    if (DefaultHighlighter_) SavedDefaultRange = DefaultHighlighter_->GetRange();
}

void TSynMultiSyn::ResetRange() {
    enterScheme(-1);
    if (!DefaultHighlighter_) return;
    DefaultHighlighter_->ResetRange();
    SavedDefaultRange = DefaultHighlighter_->GetRange();
}

// Inside a region the default highlighter is not driven; its part is the
// range it had when the region opened (kept apart, as the same highlighter
// may serve the scheme too).
TSynRangeValue TSynMultiSyn::packNested() const {
    const bool inside = CurrScheme >= 0;
    Cardinal value = 0;
    if (DefaultHighlighter_) value = low32Bits(inside ? SavedDefaultRange : DefaultHighlighter_->GetRange());
    if (inside) {
        const TSynRangeValue inner = rangeOf(currentSchemeHighlighter());
        Assert(static_cast<UInt64>(inner) <= SchemeRangeMask);
        value = (value << SchemeRangeBits) | static_cast<Cardinal>(inner);
    }
    Assert(CurrScheme < NestedSchemeLimit);
    return (value << SchemeFieldBits) | static_cast<Cardinal>(CurrScheme + 1);
}

void TSynMultiSyn::unpackNested(TSynRangeValue Value) {
    Cardinal value = low32Bits(Value);
    enterScheme(static_cast<Integer>(value & SchemeFieldMask) - 1);
    value >>= SchemeFieldBits;
    Cardinal inner = 0;
    if (CurrScheme >= 0) {
        inner = value & SchemeRangeMask;
        value >>= SchemeRangeBits;
    }
    if (DefaultHighlighter_) {
        SavedDefaultRange = value;
        DefaultHighlighter_->SetRange(value);
    }
    // After the default: a highlighter serving both ends in the scheme's state.
    if (TSynCustomHighlighter* inScheme = currentSchemeHighlighter()) inScheme->SetRange(inner);
    if (!CurrSchemeKept) CurrScheme = -1;
}

TSynRangeValue TSynMultiSyn::packRecursive() const {
    const TSynCustomHighlighter* inner = currentHighlighter();
    const UInt64 range = static_cast<UInt64>(rangeOf(inner));
    Assert(CurrScheme + 2 <= RecursiveSchemeLimit);
    Assert(dynamic_cast<const TSynMultiSyn*>(inner) || range <= PlainInnerRangeLimit);
    Assert(range < InnerRangeLimit);
    return (static_cast<Cardinal>(range) << RecursiveSchemeBits) | static_cast<Cardinal>(CurrScheme + 2);
}

void TSynMultiSyn::unpackRecursive(TSynRangeValue Value) {
    const Cardinal value = low32Bits(Value);
    if (value == 0) return;
    enterScheme(static_cast<Integer>(value & RecursiveSchemeMask) - 2);
    if (!CurrSchemeKept) CurrScheme = -1;
    // This packing has no room for the default highlighter's range inside a
    // region: after the region it starts afresh, whatever was scanned before.
    if (CurrScheme >= 0 && DefaultHighlighter_) {
        DefaultHighlighter_->ResetRange();
        SavedDefaultRange = DefaultHighlighter_->GetRange();
    }
    if (TSynCustomHighlighter* inner = currentHighlighter()) inner->SetRange(value >> RecursiveSchemeBits);
}
