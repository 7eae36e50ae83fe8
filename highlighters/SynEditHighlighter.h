// The abstract highlighter that the editor drives line by line and token by
// token, the token attributes it paints with (stored in INI files and the
// registry), the announcement of attribute changes and the process-wide list
// of highlighters.
#pragma once

#include "editor/SynEditMiscClasses.h"
#include "editor/SynEditTypes.h"
#include "platform/core/Classes.h"
#include "platform/vcl/Components.h"
#include "platform/vcl/Graphics.h"
#include "platform/win/Registry.h"

#include <memory>
#include <span>
#include <vector>

class TIniFile;
class TRegistry;

// Indexes of GetDefaultAttribute.
constexpr Integer SYN_ATTR_COMMENT = 0;
constexpr Integer SYN_ATTR_IDENTIFIER = 1;
constexpr Integer SYN_ATTR_KEYWORD = 2;
constexpr Integer SYN_ATTR_STRING = 3;
constexpr Integer SYN_ATTR_WHITESPACE = 4;
constexpr Integer SYN_ATTR_SYMBOL = 5;

// How one kind of token is painted: colours (clNone: the editor's own) and
// font style, with the values that count as defaults for streaming.
class TSynHighlighterAttributes : public TPersistent {
public:
    explicit TSynHighlighterAttributes(const AnsiString& AttribName);

    void Assign(TPersistent* Source) override;
    virtual void Changed();
    // Takes colours and style from an outside development environment's
    // settings below AttrKey: with OldStyle one comma-separated string value
    // AttrName, otherwise a key AttrName with a value per setting. False, with
    // nothing changed, when a setting is missing or cannot be read.
    virtual bool LoadFromBorlandRegistry(HKEY RootKey, const AnsiString& AttrKey, const AnsiString& AttrName,
                                         bool OldStyle);
    // Copies colours and style, announcing one change when anything differs.
    void AssignColorAndStyle(TSynHighlighterAttributes* Source);
    // Makes the current values the streaming defaults.
    void InternalSaveDefaultValues();

    // The section named after the attribute, with the integer keys
    // "Background", "Foreground" and "Style"; a missing section loads nothing.
    bool LoadFromFile(TIniFile* Ini);
    bool SaveToFile(TIniFile* Ini);
    // The same values in the sub-key named after the attribute, below Reg's
    // open key, which is open again on return; a missing sub-key loads nothing.
    bool LoadFromRegistry(TRegistry* Reg);
    bool SaveToRegistry(TRegistry* Reg);

    const AnsiString& Name() const { return Name_; }
    TColor Background() const { return Background_; }
    void SetBackground(TColor Value);
    TColor Foreground() const { return Foreground_; }
    void SetForeground(TColor Value);
    TFontStyles Style() const { return Style_; }
    void SetStyle(TFontStyles Value);
    // Bold 1, italic 2, underline 4, strike-out 8, summed.
    Integer GetStyleFromInt() const;
    void SetStyleFromInt(Integer Value);

    TColor BackgroundDefault() const { return BackgroundDefault_; }
    TColor ForegroundDefault() const { return ForegroundDefault_; }
    TFontStyles StyleDefault() const { return StyleDefault_; }
    bool GetBackgroundColorStored() const { return Background_ != BackgroundDefault_; }
    bool GetForegroundColorStored() const { return Foreground_ != ForegroundDefault_; }
    bool GetFontStyleStored() const { return Style_ != StyleDefault_; }

    TNotifyEvent OnChange;

private:
    TColor Background_ = clNone;
    TColor BackgroundDefault_ = clNone;
    TColor Foreground_ = clNone;
    TColor ForegroundDefault_ = clNone;
    AnsiString Name_;
    TFontStyles Style_;
    TFontStyles StyleDefault_;
};

enum TSynHighlighterCapability { hcUserSettings, hcRegistry };
using TSynHighlighterCapabilities = TSet<TSynHighlighterCapability>;

// The base of every highlighter. The editor sets a line with its start range,
// steps through the tokens and stores the range at the line's end; token
// kinds are each highlighter's own.
class TSynCustomHighlighter : public TComponent {
public:
    explicit TSynCustomHighlighter(TComponent* AOwner);
    ~TSynCustomHighlighter() override;

    void Assign(TPersistent* Source) override;
    void Loaded() override;

    // Attributes in alphabetical order of their storage names.
    virtual Integer GetAttribCount() const;
    virtual TSynHighlighterAttributes* GetAttribute(Integer Index) const;
    // By the SYN_ATTR_ indexes; nil where the highlighter has no such attribute.
    virtual TSynHighlighterAttributes* GetDefaultAttribute(Integer Index) const;
    virtual AnsiString GetDefaultFilter() const;
    virtual TSynIdentChars GetIdentChars() const;
    virtual AnsiString GetSampleSource() const;
    virtual bool IsFilterStored() const;
    virtual void SetDefaultFilter(const AnsiString& Value);
    virtual void SetSampleSource(const AnsiString& Value);
    virtual void SetWordBreakChars(const TSynIdentChars& Value);
    static TSynHighlighterCapabilities GetCapabilities();
    static AnsiString GetLanguageName();

    // The token protocol. The operations a concrete highlighter must provide
    // raise "Abstract Error" here.
    virtual bool GetEol() const;
    virtual TSynRangeValue GetRange() const;
    virtual AnsiString GetToken() const;
    // Nil for the end-of-line token.
    virtual TSynHighlighterAttributes* GetTokenAttribute() const;
    virtual Integer GetTokenKind() const;
    // 0-based index of the token's first character in the line.
    virtual Integer GetTokenPos() const;
    virtual bool IsKeyword(const AnsiString& AKeyword) const;
    virtual void Next();
    // Starts scanning a line (the highlighter keeps its own copy of the text,
    // so the caller's string may go); the first token is current on return.
    virtual void SetLine(const AnsiString& NewValue, Integer LineNumber);
    virtual void SetRange(TSynRangeValue Value);
    virtual void ResetRange();
    virtual bool UseUserSettings(Integer SettingIndex);
    virtual void EnumUserSettings(TStrings* Settings);
    // Every attribute below Key, each in its own sub-key; true when the key
    // and every attribute's sub-key could be opened (created, when saving).
    virtual bool LoadFromRegistry(HKEY RootKey, const AnsiString& Key);
    virtual bool SaveToRegistry(HKEY RootKey, const AnsiString& Key);

    // The class functions of the object's own class.
    virtual TSynHighlighterCapabilities GetCapabilitiesProp() const { return GetCapabilities(); }
    virtual AnsiString GetLanguageNameProp() const { return GetLanguageName(); }

    // Changes between the outermost pair are announced once, at its end.
    void BeginUpdate();
    void EndUpdate();
    void HookAttrChangeEvent(const TNotifyEvent& ANotifyEvent);
    void UnhookAttrChangeEvent(const TNotifyEvent& ANotifyEvent);
    void NextToEol();
    bool LoadFromFile(const AnsiString& AFileName);
    bool SaveToFile(const AnsiString& AFileName);

    bool Enabled() const { return Enabled_; }
    void SetEnabled(bool Value);
    TSynIdentChars IdentChars() const { return GetIdentChars(); }
    const TSynIdentChars& WordBreakChars() const { return WordBreakChars_; }
    AnsiString SampleSource() const { return GetSampleSource(); }
    AnsiString DefaultFilter() const { return GetDefaultFilter(); }

protected:
    void AddAttribute(TSynHighlighterAttributes* AAttrib);
    void DefHighlightChange(TObject* Sender);
    void FreeHighlighterAttributes();
    void SetAttributesOnChange(const TNotifyEvent& AEvent);

private:
    std::unique_ptr<TStringList> Attributes;
    std::unique_ptr<TSynNotifyEventChain> AttrChangeHooks;
    Integer UpdateCount = 0;
    bool Enabled_ = true;
    TSynIdentChars WordBreakChars_;
    AnsiString DefaultFilter_;
    bool UpdateChange = false;
};

// The characters of words in the bundled languages: digits, letters, "_" and
// the accented letters of the ANSI code page.
TSynIdentChars WordIdentChars();
// Sample lines joined by CR LF, with no line break after the last.
AnsiString JoinSampleLines(std::span<const char* const> Lines);

// A highlighter class as a value: what its class functions answer, and a
// test whether an object is of it.
struct TSynHighlighterClassRecord {
    AnsiString (*GetLanguageName)();
    TSynHighlighterCapabilities (*GetCapabilities)();
    bool (*IsInstance)(const TObject* Object);
};
using TSynCustomHighlighterClass = const TSynHighlighterClassRecord*;

template <typename T> TSynCustomHighlighterClass SynHighlighterClass() {
    static const TSynHighlighterClassRecord record{
        &T::GetLanguageName, &T::GetCapabilities,
        [](const TObject* Object) { return dynamic_cast<const T*>(Object) != nullptr; }};
    return &record;
}

// The highlighter classes that can be placed on a form, in registration order.
class TSynHighlighterList : public TObject {
public:
    Integer Count() const { return static_cast<Integer>(HighlighterList.size()); }
    TSynCustomHighlighterClass GetItem(Integer Index) const;
    // The first class that Comp is an instance of, -1 if none.
    Integer FindByClass(const TComponent* Comp) const;
    // Compared exactly, case-sensitively; -1 if none.
    Integer FindByName(const AnsiString& Name) const;
    void Add(TSynCustomHighlighterClass Class);

private:
    std::vector<TSynCustomHighlighterClass> HighlighterList;
};

TSynHighlighterList* GetPlaceableHighlighters();
// A class already listed is not added again.
void RegisterPlaceableHighlighter(TSynCustomHighlighterClass HighlighterClass);
