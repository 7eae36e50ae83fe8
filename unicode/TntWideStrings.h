// The abstract list of UTF-16 strings with an object per entry, the wide
// counterpart of the class library's TStrings: descendants supply storage
// through a few operations and inherit text, delimited text, name=value
// access, searching, streaming and form-resource storage.
#pragma once

#include "platform/core/Classes.h"
#include "unicode/TntSystem.h"

#include <memory>

class TReader;
class TWriter;
class TWideStrings;

// Something that follows a list (none is installed anywhere in the program).
class IWideStringsAdapter {
public:
    virtual ~IWideStringsAdapter() = default;
    virtual void ReferenceStrings(TWideStrings* S) = 0;
    virtual void ReleaseStrings() = 0;
};

class TWideStringsEnumerator : public TObject {
public:
    explicit TWideStringsEnumerator(const TWideStrings* Strings) : strings_(Strings) {}
    bool MoveNext();
    WideString GetCurrent() const;

private:
    const TWideStrings* strings_;
    Integer index_ = -1;
};

class TWideStrings : public TPersistent {
public:
    ~TWideStrings() override;

    // ---- Storage protocol.
    virtual WideString Get(Integer Index) const = 0;
    virtual Integer GetCapacity() const;
    virtual Integer GetCount() const = 0;
    virtual TObject* GetObject(Integer Index) const;
    // Every string followed by CR LF.
    virtual WideString GetTextStr() const;
    virtual void Put(Integer Index, const WideString& S);
    virtual void PutObject(Integer Index, TObject* AObject);
    virtual void SetCapacity(Integer NewCapacity);
    // Splits at CR LF, CR, LF and U+2028, and stops at the first U+0000.
    virtual void SetTextStr(const WideString& Value);
    // Case-insensitive in the user's locale; <0, 0 or >0.
    virtual Integer CompareStrings(const WideString& S1, const WideString& S2) const;

    // ---- Operations.
    virtual Integer Add(const WideString& S);
    virtual Integer AddObject(const WideString& S, TObject* AObject);
    void Append(const WideString& S);
    // ANSI strings are converted through the system code page.
    virtual void AddStrings(TStrings* Strings);
    virtual void AddStrings(TWideStrings* Strings);
    void Assign(TPersistent* Source) override;
    void BeginUpdate();
    void EndUpdate();
    virtual void Clear() = 0;
    virtual void Delete(Integer Index) = 0;
    virtual void Exchange(Integer Index1, Integer Index2);
    // The text in a new block the caller frees with WStrDispose.
    virtual WideChar* GetTextW() const;
    virtual Integer IndexOf(const WideString& S) const;
    virtual Integer IndexOfName(const WideString& Name) const;
    virtual Integer IndexOfObject(TObject* AObject) const;
    virtual void Insert(Integer Index, const WideString& S) = 0;
    virtual void InsertObject(Integer Index, const WideString& S, TObject* AObject);
    // UTF-16 little-endian without a byte-order mark.
    virtual void LoadFromFile(const WideString& FileName);
    virtual void LoadFromStream(TStream* Stream);
    virtual void Move(Integer CurIndex, Integer NewIndex);
    virtual void SaveToFile(const WideString& FileName);
    virtual void SaveToStream(TStream* Stream);
    virtual void SetTextW(const WideChar* Text);
    // Same count and the same strings, code unit for code unit.
    bool Equals(const TWideStrings* Strings) const;
    std::unique_ptr<TWideStringsEnumerator> GetEnumerator() const;
    void DefineProperties(TFiler* Filer) override;

    // ---- Properties.
    Integer Count() const { return GetCount(); }
    WideString Strings(Integer Index) const { return Get(Index); }
    void SetStrings(Integer Index, const WideString& S) { Put(Index, S); }
    WideString operator[](Integer Index) const { return Get(Index); }
    TObject* Objects(Integer Index) const { return GetObject(Index); }
    void SetObjects(Integer Index, TObject* AObject) { PutObject(Index, AObject); }
    Integer Capacity() const { return GetCapacity(); }
    WideString Text() const { return GetTextStr(); }
    void SetText(const WideString& Value) { SetTextStr(Value); }
    // Items separated by Delimiter; one holding a blank, a control character,
    // the quote or the delimiter is quoted with QuoteChar.
    WideString DelimitedText() const;
    void SetDelimitedText(const WideString& Value);
    // DelimitedText with "," and '"'; setting it makes them the list's own.
    WideString CommaText() const;
    void SetCommaText(const WideString& Value);
    // "," and '"' until set.
    WideChar Delimiter() const;
    void SetDelimiter(WideChar Value);
    WideChar QuoteChar() const;
    void SetQuoteChar(WideChar Value);
    WideChar NameValueSeparator() const { return u'='; }
    // "name=value" lines: the name is the text before the first "=".
    WideString Names(Integer Index) const;
    WideString Values(const WideString& Name) const;
    // An empty value deletes the line; a new name adds "name=value".
    void SetValues(const WideString& Name, const WideString& Value);
    WideString ValueFromIndex(Integer Index) const;
    void SetValueFromIndex(Integer Index, const WideString& Value);
    std::shared_ptr<IWideStringsAdapter> StringsAdapter() const { return adapter_; }
    void SetStringsAdapter(std::shared_ptr<IWideStringsAdapter> Value);

protected:
    void AssignTo(TPersistent* Dest) override;
    // Called with true by the outermost BeginUpdate and with false by the outermost EndUpdate.
    virtual void SetUpdateState(bool Updating);
    Integer UpdateCount() const { return updateCount_; }
    // Raises EStringListError with Message formatted with Data.
    [[noreturn]] void Error(const char* Message, Integer Data) const;
    [[noreturn]] void Error(PResStringRec Message, Integer Data) const;
    // Whether "Strings" is written: it differs from the ancestor's, or, without one, is not empty.
    bool StringsToBeWritten(TFiler* Filer) const;
    // The "Strings" value: a string, or a list of strings.
    void ReadData(TReader* Reader);
    void WriteData(TWriter* Writer);
    // Replaces the content with the bytes of Stream from its position, as UTF-16 little-endian.
    void LoadUtf16FromStream(TStream* Stream, bool SwapBytes);

private:
    enum DefinedFlag : Byte { DelimiterDefined = 1, QuoteCharDefined = 2 };

    mutable Byte defined_ = 0;
    mutable WideChar delimiter_ = 0;
    mutable WideChar quoteChar_ = 0;
    Integer updateCount_ = 0;
    std::shared_ptr<IWideStringsAdapter> adapter_;
};
