#include "highlighters/SynEditHighlighter.h"

#include "platform/core/IniFiles.h"
#include "platform/core/SysUtils.h"
#include "platform/vcl/Idents.h"
#include "platform/vcl/Registry.h"

#include <array>
#include <optional>

namespace {

// The style integer's value of each font style.
constexpr Integer StyleBold = 1;
constexpr Integer StyleItalic = 2;
constexpr Integer StyleUnderline = 4;
constexpr Integer StyleStrikeOut = 8;

constexpr const char* KeyBackground = "Background";
constexpr const char* KeyForeground = "Foreground";
constexpr const char* KeyStyle = "Style";

// The outside environment's colour settings: a palette of 16 colours picked
// by index, and the names of its settings.
constexpr std::array<TColor, 16> OutsidePalette = {0x000000, 0x000080, 0x008000, 0x008080, 0x800000, 0x800080,
                                                   0x808000, 0xC0C0C0, 0x808080, 0x0000FF, 0x00FF00, 0x00FFFF,
                                                   0xFF0000, 0xFF00FF, 0xFFFF00, 0xFFFFFF};
constexpr std::size_t OldStyleFieldCount = 7;
constexpr std::size_t OldStyleStyleField = 2;
constexpr std::size_t OldStyleDefaultForegroundField = 3;
constexpr std::size_t OldStyleDefaultBackgroundField = 4;
constexpr std::size_t OldStyleForegroundField = 5;
constexpr std::size_t OldStyleBackgroundField = 6;
constexpr const char* OutsideForeground = "Foreground Color";
constexpr const char* OutsideBackground = "Background Color";
// Appended to a colour's name for the value holding it as colour text.
constexpr const char* OutsideColourTextSuffix = " New";
constexpr const char* OutsideBold = "Bold";
constexpr const char* OutsideItalic = "Italic";
constexpr const char* OutsideUnderline = "Underline";
constexpr const char* OutsideDefaultForeground = "Default Foreground";
constexpr const char* OutsideDefaultBackground = "Default Background";

constexpr const char* DefaultWordBreakChars = "!\"'()*+,-./:;=?[\\]^{|}";
constexpr const char* UnknownLanguageName = "<Unknown>";

[[noreturn]] void abstractError() {
    throw EAbstractError(SAbstractError);
}

const TClass describedAttributes =
    DescribeClass<TSynHighlighterAttributes, TPersistent>([](TClassBuilder<TSynHighlighterAttributes>& c) {
        TypeInfoFontStyle();
        c.Property("Background", &TSynHighlighterAttributes::Background,
                   &TSynHighlighterAttributes::SetBackground)
            .Type(TypeInfoColor())
            .Stored(&TSynHighlighterAttributes::GetBackgroundColorStored);
        c.Property("Foreground", &TSynHighlighterAttributes::Foreground,
                   &TSynHighlighterAttributes::SetForeground)
            .Type(TypeInfoColor())
            .Stored(&TSynHighlighterAttributes::GetForegroundColorStored);
        c.Property("Style", &TSynHighlighterAttributes::Style, &TSynHighlighterAttributes::SetStyle)
            .Stored(&TSynHighlighterAttributes::GetFontStyleStored);
    });

const TClass describedHighlighter =
    DescribeClass<TSynCustomHighlighter, TComponent>([](TClassBuilder<TSynCustomHighlighter>& c) {
        c.Property("DefaultFilter", &TSynCustomHighlighter::DefaultFilter,
                   &TSynCustomHighlighter::SetDefaultFilter)
            .Stored(&TSynCustomHighlighter::IsFilterStored);
        c.Property("Enabled", &TSynCustomHighlighter::Enabled, &TSynCustomHighlighter::SetEnabled)
            .Default(true);
    });

// What an import from the outside environment gives an attribute.
struct ImportedSettings {
    TColor Background = clNone;
    TColor Foreground = clNone;
    TFontStyles Style;
};

// An index outside the palette fails the import like any unreadable setting.
TColor paletteColour(Integer Index) {
    return OutsidePalette.at(static_cast<std::size_t>(Index));
}

// Up to the first comma, again and again; missing fields are empty.
std::array<AnsiString, OldStyleFieldCount> splitAtCommas(const AnsiString& Text) {
    std::array<AnsiString, OldStyleFieldCount> fields;
    AnsiString rest = Text;
    for (AnsiString& field : fields) {
        const std::size_t comma = rest.find(',');
        field = rest.substr(0, comma);
        rest = comma == AnsiString::npos ? AnsiString() : rest.substr(comma + 1);
    }
    return fields;
}

// One string value: style letters, default flags and palette indexes.
std::optional<ImportedSettings> readOldStyleSettings(TRegistry& Reg, const AnsiString& AttrKey,
                                                     const AnsiString& AttrName) {
    if (!Reg.OpenKeyReadOnly(AttrKey) || !Reg.ValueExists(AttrName)) return std::nullopt;
    const auto fields = splitAtCommas(Reg.ReadString(AttrName));
    ImportedSettings settings;
    settings.Background = fields[OldStyleDefaultBackgroundField] == "1"
                              ? clWindow
                              : paletteColour(StrToInt(fields[OldStyleBackgroundField]));
    settings.Foreground = fields[OldStyleDefaultForegroundField] == "1"
                              ? clWindowText
                              : paletteColour(StrToInt(fields[OldStyleForegroundField]));
    const AnsiString& letters = fields[OldStyleStyleField];
    if (letters.find('B') != AnsiString::npos) settings.Style.Include(fsBold);
    if (letters.find('I') != AnsiString::npos) settings.Style.Include(fsItalic);
    if (letters.find('U') != AnsiString::npos) settings.Style.Include(fsUnderline);
    return settings;
}

// A palette index, or else the colour as text (a colour name or a number).
std::optional<TColor> readOutsideColour(TRegistry& Reg, const AnsiString& Name) {
    if (Reg.ValueExists(Name)) return paletteColour(Reg.ReadInteger(Name));
    const AnsiString textName = Name + OutsideColourTextSuffix;
    if (Reg.ValueExists(textName)) return StringToColor(Reg.ReadString(textName));
    return std::nullopt;
}

bool isOutsideTrue(const AnsiString& Text) {
    return UpperCase(Text) != "FALSE" && Text != "0";
}

// A key per attribute with a value per setting, every one of them required.
std::optional<ImportedSettings> readNewStyleSettings(TRegistry& Reg, const AnsiString& AttrKey,
                                                     const AnsiString& AttrName) {
    if (!Reg.OpenKeyReadOnly(AttrKey + "\\" + AttrName)) return std::nullopt;
    const std::optional<TColor> foreground = readOutsideColour(Reg, OutsideForeground);
    if (!foreground) return std::nullopt;
    const std::optional<TColor> background = readOutsideColour(Reg, OutsideBackground);
    if (!background) return std::nullopt;
    for (const char* flag :
         {OutsideBold, OutsideItalic, OutsideUnderline, OutsideDefaultForeground, OutsideDefaultBackground})
        if (!Reg.ValueExists(flag)) return std::nullopt;
    ImportedSettings settings;
    settings.Background = isOutsideTrue(Reg.ReadString(OutsideDefaultBackground)) ? clWindow : *background;
    settings.Foreground =
        isOutsideTrue(Reg.ReadString(OutsideDefaultForeground)) ? clWindowText : *foreground;
    if (isOutsideTrue(Reg.ReadString(OutsideBold))) settings.Style.Include(fsBold);
    if (isOutsideTrue(Reg.ReadString(OutsideItalic))) settings.Style.Include(fsItalic);
    if (isOutsideTrue(Reg.ReadString(OutsideUnderline))) settings.Style.Include(fsUnderline);
    return settings;
}

} // namespace

// ---- TSynHighlighterAttributes -----------------------------------------------

TSynHighlighterAttributes::TSynHighlighterAttributes(const AnsiString& AttribName) : Name_(AttribName) {
    SetBackground(clNone);
    SetForeground(clNone);
}

void TSynHighlighterAttributes::Assign(TPersistent* Source) {
    if (auto* source = dynamic_cast<TSynHighlighterAttributes*>(Source)) {
        Name_ = source->Name_;
        AssignColorAndStyle(source);
    } else {
        TPersistent::Assign(Source);
    }
}

void TSynHighlighterAttributes::Changed() {
    if (OnChange) OnChange(this);
}

void TSynHighlighterAttributes::AssignColorAndStyle(TSynHighlighterAttributes* Source) {
    bool changed = false;
    if (Background_ != Source->Background_) {
        Background_ = Source->Background_;
        changed = true;
    }
    if (Foreground_ != Source->Foreground_) {
        Foreground_ = Source->Foreground_;
        changed = true;
    }
    if (Style_ != Source->Style_) {
        Style_ = Source->Style_;
        changed = true;
    }
    if (changed) Changed();
}

void TSynHighlighterAttributes::InternalSaveDefaultValues() {
    BackgroundDefault_ = Background_;
    ForegroundDefault_ = Foreground_;
    StyleDefault_ = Style_;
}

void TSynHighlighterAttributes::SetBackground(TColor Value) {
    if (Background_ == Value) return;
    Background_ = Value;
    Changed();
}

void TSynHighlighterAttributes::SetForeground(TColor Value) {
    if (Foreground_ == Value) return;
    Foreground_ = Value;
    Changed();
}

void TSynHighlighterAttributes::SetStyle(TFontStyles Value) {
    if (Style_ == Value) return;
    Style_ = Value;
    Changed();
}

Integer TSynHighlighterAttributes::GetStyleFromInt() const {
    Integer value = 0;
    if (Style_.Contains(fsBold)) value += StyleBold;
    if (Style_.Contains(fsItalic)) value += StyleItalic;
    if (Style_.Contains(fsUnderline)) value += StyleUnderline;
    if (Style_.Contains(fsStrikeOut)) value += StyleStrikeOut;
    return value;
}

// One setter call per member, as each may be announced to the editors.
void TSynHighlighterAttributes::SetStyleFromInt(Integer Value) {
    SetStyle((Value & StyleBold) != 0 ? TFontStyles{fsBold} : TFontStyles{});
    if ((Value & StyleItalic) != 0) SetStyle(Style_ + TFontStyles{fsItalic});
    if ((Value & StyleUnderline) != 0) SetStyle(Style_ + TFontStyles{fsUnderline});
    if ((Value & StyleStrikeOut) != 0) SetStyle(Style_ + TFontStyles{fsStrikeOut});
}

bool TSynHighlighterAttributes::LoadFromFile(TIniFile* Ini) {
    TStringList keys;
    Ini->ReadSection(Name_, &keys);
    if (keys.Count() == 0) return false;
    if (keys.IndexOf(KeyBackground) >= 0) SetBackground(Ini->ReadInteger(Name_, KeyBackground, Background_));
    if (keys.IndexOf(KeyForeground) >= 0) SetForeground(Ini->ReadInteger(Name_, KeyForeground, Foreground_));
    if (keys.IndexOf(KeyStyle) >= 0) SetStyleFromInt(Ini->ReadInteger(Name_, KeyStyle, GetStyleFromInt()));
    return true;
}

bool TSynHighlighterAttributes::SaveToFile(TIniFile* Ini) {
    Ini->WriteInteger(Name_, KeyBackground, Background_);
    Ini->WriteInteger(Name_, KeyForeground, Foreground_);
    Ini->WriteInteger(Name_, KeyStyle, GetStyleFromInt());
    return true;
}

bool TSynHighlighterAttributes::LoadFromRegistry(TRegistry* Reg) {
    const AnsiString openKey = "\\" + Reg->CurrentPath();
    if (!Reg->OpenKeyReadOnly(Name_)) return false;
    if (Reg->ValueExists(KeyBackground)) SetBackground(Reg->ReadInteger(KeyBackground));
    if (Reg->ValueExists(KeyForeground)) SetForeground(Reg->ReadInteger(KeyForeground));
    if (Reg->ValueExists(KeyStyle)) SetStyleFromInt(Reg->ReadInteger(KeyStyle));
    Reg->OpenKeyReadOnly(openKey);
    return true;
}

bool TSynHighlighterAttributes::SaveToRegistry(TRegistry* Reg) {
    const AnsiString openKey = "\\" + Reg->CurrentPath();
    if (!Reg->OpenKey(Name_, true)) return false;
    Reg->WriteInteger(KeyBackground, Background_);
    Reg->WriteInteger(KeyForeground, Foreground_);
    Reg->WriteInteger(KeyStyle, GetStyleFromInt());
    Reg->OpenKey(openKey, false);
    return true;
}

bool TSynHighlighterAttributes::LoadFromBorlandRegistry(HKEY RootKey, const AnsiString& AttrKey,
                                                        const AnsiString& AttrName, bool OldStyle) {
    std::optional<ImportedSettings> settings;
    try {
        TRegistry reg;
        reg.SetRootKey(RootKey);
        settings = OldStyle ? readOldStyleSettings(reg, AttrKey, AttrName)
                            : readNewStyleSettings(reg, AttrKey, AttrName);
    } catch (...) {
        // Settings of the wrong type or form are an import that did not work out.
        return false;
    }
    if (!settings) return false;
    SetBackground(settings->Background);
    SetForeground(settings->Foreground);
    SetStyle(settings->Style);
    return true;
}

// ---- TSynCustomHighlighter ---------------------------------------------------

TSynCustomHighlighter::TSynCustomHighlighter(TComponent* AOwner)
    : TComponent(AOwner), Attributes(std::make_unique<TStringList>()),
      AttrChangeHooks(std::make_unique<TSynNotifyEventChain>(this)), WordBreakChars_(DefaultWordBreakChars) {
    Attributes->SetDuplicates(dupError);
    Attributes->SetSorted(true);
}

TSynCustomHighlighter::~TSynCustomHighlighter() {
    // Editors unhook from the attribute-change chain when they hear that the
    // highlighter goes, so they must hear it while the chain exists.
    Destroying();
    RemoveFreeNotifications();
    // Owned components may still look at the attributes while they go.
    DestroyComponents();
    FreeHighlighterAttributes();
}

void TSynCustomHighlighter::Assign(TPersistent* Source) {
    auto* source = dynamic_cast<TSynCustomHighlighter*>(Source);
    if (!source) {
        TComponent::Assign(Source);
        return;
    }
    for (Integer i = 0; i < GetAttribCount(); ++i) {
        TSynHighlighterAttributes* own = GetAttribute(i);
        for (Integer j = 0; j < source->GetAttribCount(); ++j) {
            TSynHighlighterAttributes* theirs = source->GetAttribute(j);
            if (theirs->Name() == own->Name()) {
                own->Assign(theirs);
                break;
            }
        }
    }
    if (ClassTypeOf(source)->InheritsFrom(ClassTypeOf(this))) SetSampleSource(source->GetSampleSource());
    WordBreakChars_ = source->WordBreakChars_;
    SetDefaultFilter(source->GetDefaultFilter());
    SetEnabled(source->Enabled());
}

void TSynCustomHighlighter::Loaded() {
    TComponent::Loaded();
    DefHighlightChange(nullptr);
}

Integer TSynCustomHighlighter::GetAttribCount() const {
    return Attributes->Count();
}

TSynHighlighterAttributes* TSynCustomHighlighter::GetAttribute(Integer Index) const {
    if (Index < 0 || Index >= Attributes->Count()) return nullptr;
    return static_cast<TSynHighlighterAttributes*>(Attributes->Objects(Index));
}

TSynHighlighterAttributes* TSynCustomHighlighter::GetDefaultAttribute(Integer) const {
    abstractError();
}

AnsiString TSynCustomHighlighter::GetDefaultFilter() const {
    return DefaultFilter_;
}

TSynIdentChars TSynCustomHighlighter::GetIdentChars() const {
    TSynIdentChars chars;
    chars.IncludeRange('\x21', '\xFF');
    return chars;
}

AnsiString TSynCustomHighlighter::GetSampleSource() const {
    return AnsiString();
}

bool TSynCustomHighlighter::IsFilterStored() const {
    return true;
}

void TSynCustomHighlighter::SetDefaultFilter(const AnsiString& Value) {
    DefaultFilter_ = Value;
}

void TSynCustomHighlighter::SetSampleSource(const AnsiString&) {}

void TSynCustomHighlighter::SetWordBreakChars(const TSynIdentChars& Value) {
    WordBreakChars_ = Value;
}

TSynHighlighterCapabilities TSynCustomHighlighter::GetCapabilities() {
    return {hcRegistry};
}

AnsiString TSynCustomHighlighter::GetLanguageName() {
    return UnknownLanguageName;
}

bool TSynCustomHighlighter::GetEol() const {
    abstractError();
}

TSynRangeValue TSynCustomHighlighter::GetRange() const {
    return 0;
}

AnsiString TSynCustomHighlighter::GetToken() const {
    abstractError();
}

TSynHighlighterAttributes* TSynCustomHighlighter::GetTokenAttribute() const {
    abstractError();
}

Integer TSynCustomHighlighter::GetTokenKind() const {
    abstractError();
}

Integer TSynCustomHighlighter::GetTokenPos() const {
    abstractError();
}

bool TSynCustomHighlighter::IsKeyword(const AnsiString&) const {
    return false;
}

void TSynCustomHighlighter::Next() {
    abstractError();
}

void TSynCustomHighlighter::SetLine(const AnsiString&, Integer) {
    abstractError();
}

void TSynCustomHighlighter::SetRange(TSynRangeValue) {}

void TSynCustomHighlighter::ResetRange() {}

bool TSynCustomHighlighter::UseUserSettings(Integer) {
    return false;
}

void TSynCustomHighlighter::EnumUserSettings(TStrings* Settings) {
    Settings->Clear();
}

void TSynCustomHighlighter::BeginUpdate() {
    ++UpdateCount;
}

void TSynCustomHighlighter::EndUpdate() {
    if (UpdateCount < 1) return;
    --UpdateCount;
    if (UpdateCount == 0 && UpdateChange) {
        UpdateChange = false;
        DefHighlightChange(nullptr);
    }
}

void TSynCustomHighlighter::HookAttrChangeEvent(const TNotifyEvent& ANotifyEvent) {
    AttrChangeHooks->Add(ANotifyEvent);
}

void TSynCustomHighlighter::UnhookAttrChangeEvent(const TNotifyEvent& ANotifyEvent) {
    AttrChangeHooks->Remove(ANotifyEvent);
}

void TSynCustomHighlighter::NextToEol() {
    while (!GetEol())
        Next();
}

bool TSynCustomHighlighter::LoadFromFile(const AnsiString& AFileName) {
    TIniFile ini(AFileName);
    bool result = true;
    for (Integer i = 0; i < GetAttribCount(); ++i)
        result = GetAttribute(i)->LoadFromFile(&ini) && result;
    return result;
}

bool TSynCustomHighlighter::SaveToFile(const AnsiString& AFileName) {
    TIniFile ini(AFileName);
    bool result = true;
    for (Integer i = 0; i < GetAttribCount(); ++i)
        result = GetAttribute(i)->SaveToFile(&ini) && result;
    return result;
}

bool TSynCustomHighlighter::LoadFromRegistry(HKEY RootKey, const AnsiString& Key) {
    TRegistry reg;
    reg.SetRootKey(RootKey);
    if (!reg.OpenKeyReadOnly(Key)) return false;
    bool result = true;
    for (Integer i = 0; i < GetAttribCount(); ++i)
        result = GetAttribute(i)->LoadFromRegistry(&reg) && result;
    return result;
}

bool TSynCustomHighlighter::SaveToRegistry(HKEY RootKey, const AnsiString& Key) {
    TRegistry reg;
    reg.SetRootKey(RootKey);
    if (!reg.OpenKey(Key, true)) return false;
    bool result = true;
    for (Integer i = 0; i < GetAttribCount(); ++i)
        result = GetAttribute(i)->SaveToRegistry(&reg) && result;
    return result;
}

void TSynCustomHighlighter::SetEnabled(bool Value) {
    if (Enabled_ == Value) return;
    Enabled_ = Value;
    DefHighlightChange(nullptr);
}

void TSynCustomHighlighter::AddAttribute(TSynHighlighterAttributes* AAttrib) {
    // The list owns the attribute from here on, even when adding it fails.
    try {
        Attributes->AddObject(AAttrib->Name(), AAttrib);
    } catch (...) {
        delete AAttrib;
        throw;
    }
}

void TSynCustomHighlighter::DefHighlightChange(TObject* Sender) {
    if (UpdateCount > 0) {
        UpdateChange = true;
        return;
    }
    if (ComponentState().Contains(csLoading)) return;
    AttrChangeHooks->Sender = Sender;
    AttrChangeHooks->Fire();
}

void TSynCustomHighlighter::FreeHighlighterAttributes() {
    for (Integer i = Attributes->Count() - 1; i >= 0; --i)
        delete Attributes->Objects(i);
    Attributes->Clear();
}

void TSynCustomHighlighter::SetAttributesOnChange(const TNotifyEvent& AEvent) {
    for (Integer i = Attributes->Count() - 1; i >= 0; --i) {
        auto* attribute = static_cast<TSynHighlighterAttributes*>(Attributes->Objects(i));
        if (!attribute) continue;
        attribute->OnChange = AEvent;
        attribute->InternalSaveDefaultValues();
    }
}

// ---- Helpers and the list of highlighter classes -----------------------------

TSynIdentChars WordIdentChars() {
    TSynIdentChars chars("_");
    chars.IncludeRange('0', '9');
    chars.IncludeRange('A', 'Z');
    chars.IncludeRange('a', 'z');
    chars.IncludeRange('\xC0', '\xFF');
    // The multiplication and division signs sit among the accented letters.
    chars.Exclude('\xD7');
    chars.Exclude('\xF7');
    return chars;
}

AnsiString JoinSampleLines(std::span<const char* const> Lines) {
    AnsiString text;
    for (std::size_t i = 0; i < Lines.size(); ++i) {
        if (i > 0) text += "\r\n";
        text += Lines[i];
    }
    return text;
}

TSynCustomHighlighterClass TSynHighlighterList::GetItem(Integer Index) const {
    if (Index < 0 || Index >= Count()) throw EListError(Format(SListIndexError, {Index}));
    return HighlighterList[Index];
}

Integer TSynHighlighterList::FindByClass(const TComponent* Comp) const {
    for (Integer i = 0; i < Count(); ++i)
        if (HighlighterList[i]->IsInstance(Comp)) return i;
    return -1;
}

Integer TSynHighlighterList::FindByName(const AnsiString& Name) const {
    for (Integer i = 0; i < Count(); ++i)
        if (HighlighterList[i]->GetLanguageName() == Name) return i;
    return -1;
}

void TSynHighlighterList::Add(TSynCustomHighlighterClass Class) {
    HighlighterList.push_back(Class);
}

TSynHighlighterList* GetPlaceableHighlighters() {
    static TSynHighlighterList list;
    return &list;
}

void RegisterPlaceableHighlighter(TSynCustomHighlighterClass HighlighterClass) {
    TSynHighlighterList* list = GetPlaceableHighlighters();
    for (Integer i = 0; i < list->Count(); ++i)
        if (list->GetItem(i) == HighlighterClass) return;
    list->Add(HighlighterClass);
}
