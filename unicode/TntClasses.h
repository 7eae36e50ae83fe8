// What lets UTF-16 text live beside the class library's ANSI machinery:
// synchronised wide copies of ANSI properties, the extra form-resource
// properties that carry wide values ("CaptionW", "Caption_UTF7"), side objects
// holding wide properties of components, streams opened by UTF-16 names,
// growable character buffers, and the concrete wide string lists with
// byte-order-mark loading and an ANSI view.
#pragma once

#include "platform/core/Classes.h"
#include "platform/vcl/Components.h"
#include "unicode/TntWideStrings.h"

#include <vector>

// ---- Synchronised wide strings --------------------------------------------------------

// WideStr, or AnsiStr widened when AnsiStr is no longer WideStr's ANSI form
// (something else changed the ANSI value behind the wide copy's back).
WideString GetSyncedWideString(WideString& WideStr, const AnsiString& AnsiStr);

using TSetAnsiStrEvent = Closure<void(const AnsiString& Value)>;
// Stores Value as the wide copy and its ANSI form through SetAnsiStr. When
// Value is lossy in ANSI and its ANSI form equals the current one, the ANSI
// side first receives an empty string, so that it still sees a change.
void SetSyncedWideString(const WideString& Value, WideString& WideStr, const AnsiString& AnsiStr,
                         TSetAnsiStrEvent SetAnsiStr);

// ---- Form-resource additions -------------------------------------------------------------

// Whether wide values read from "W" and "_UTF7" properties are applied at run
// time (they always are while the owner is being designed). Off from start-up.
extern bool RuntimeUTFStreaming;

// For every published wide-string property P of Instance: "PW" (UTF-8, read
// only) and "P_UTF7" (UTF-7, written when P holds characters beyond ASCII);
// for every wide-character property P: "PW" (read and written) and "P_UTF7"
// (read only). Components of the layer call it at the end of DefineProperties.
void TntPersistent_AfterInherited_DefineProperties(TFiler* Filer, TPersistent* Instance);

// ---- Component side objects ----------------------------------------------------------------

// Holds the wide properties of one component that has no room for them. It
// lives in a list sorted by component address and goes when its component goes.
class TWideComponentHelper : public TComponent {
public:
    // Not to be used: raises ETntInternalError.
    explicit TWideComponentHelper(TComponent* AOwner);
    TWideComponentHelper(TComponent* AOwner, TComponentList* ComponentHelperList);
    TComponent* Component() const { return component_; }

    // Frees the side object when its component goes.
    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    TComponent* component_ = nullptr;
};

// The side object of Component in the list, or null.
TWideComponentHelper* FindWideComponentHelper(TComponentList* ComponentHelperList, TComponent* Component);

using TListTargetCompare = Integer (*)(TObject* Item, const void* Target);
// Bisection over a list sorted by Compare; Index is the match or the insertion point.
bool FindSortedListByTarget(TComponentList* List, TListTargetCompare TargetCompare, const void* Target,
                            Integer& Index);

// ---- Streams ----------------------------------------------------------------------------------

// A file opened by a UTF-16 name: Mode is fmCreate or fmOpen* with fmShare*.
// Raises EFCreateError "Cannot create file %s" or EFOpenError "Cannot open
// file %s" with the full name.
class TTntFileStream : public THandleStream {
public:
    TTntFileStream(const WideString& FileName, Word Mode);
    ~TTntFileStream() override;
};

class TTntMemoryStream : public TMemoryStream {
public:
    using TCustomMemoryStream::SaveToFile;
    using TMemoryStream::LoadFromFile;
    void LoadFromFile(const WideString& FileName);
    void SaveToFile(const WideString& FileName);
};

// A program resource found by name (a number n is the name "#n"); raises
// EResNotFound "Resource %s not found". Writing raises EStreamError.
class TTntResourceStream : public TCustomMemoryStream {
public:
    TTntResourceStream(HINSTANCE Instance, const WideString& ResName, LPCWSTR ResType);
    TTntResourceStream(HINSTANCE Instance, Integer ResID, LPCWSTR ResType);
    Integer Write(const void* Buffer, Integer Count) override;
    using TCustomMemoryStream::SaveToFile;
    void SaveToFile(const WideString& FileName);

private:
    void initialize(const AnsiString& Name, LPCWSTR ResType);
};

// Reads another stream ahead through a buffer; seeking only moves the
// position. Writing raises ETntInternalError.
class TBufferedStreamReader : public TStream {
public:
    TBufferedStreamReader(TStream* Stream, Integer BufferSize = 1024);
    Integer Read(void* Buffer, Integer Count) override;
    Integer Write(const void* Buffer, Integer Count) override;
    Int64 Seek(Int64 Offset, Word Origin) override;
    Int64 Size() override { return sourceSize_; }

private:
    void fillBufferAt(Int64 Position);

    TStream* source_;
    Int64 sourceSize_;
    std::vector<Byte> buffer_;
    Int64 bufferStart_;
    Int64 position_ = 0;
};

// ---- Growable character buffers ------------------------------------------------------------------

class TBufferedWideString : public TObject {
public:
    // Empties the text and zero-fills the buffer, keeping its size.
    void Clear();
    void AddChar(WideChar C);
    void AddString(const WideString& S);
    // Adds characters until U+0000 or MaxLen of them.
    void AddBuffer(const WideChar* Buff, Cardinal MaxLen = 0xFFFFFFFF);
    // The text up to its first U+0000.
    WideString Value() const;
    WideChar* BuffPtr() { return buffer_.data(); }

private:
    WideString buffer_;
    Integer count_ = 0;
};

class TBufferedAnsiString : public TObject {
public:
    void Clear();
    void AddChar(AnsiChar C);
    void AddString(const AnsiString& S);
    void AddBuffer(const AnsiChar* Buff, Cardinal MaxLen = 0xFFFFFFFF);
    AnsiString Value() const;
    AnsiChar* BuffPtr() { return buffer_.data(); }

private:
    AnsiString buffer_;
    Integer count_ = 0;
};

// ---- Wide string lists ----------------------------------------------------------------------------

// The character set a file of strings was found in, from its byte-order mark.
enum TTntStreamCharSet { csAnsi, csUnicode, csUnicodeSwapped, csUtf8 };
// Reads a byte-order mark if there is one and leaves the stream after it;
// otherwise leaves the stream where it was (text without a mark is ANSI).
TTntStreamCharSet AutoDetectCharacterSet(TStream* Stream);

class TTntStrings;

// The ANSI view of a list: a TStrings with loading and saving by UTF-16 name
// and through a given code page.
class TAnsiStrings : public TStrings {
public:
    using TStrings::LoadFromFile;
    using TStrings::SaveToFile;
    void LoadFromFile(const WideString& FileName);
    void SaveToFile(const WideString& FileName);
    virtual void LoadFromStreamEx(TStream* Stream, Cardinal CodePage) = 0;
    virtual void SaveToStreamEx(TStream* Stream, Cardinal CodePage) = 0;
    void LoadFromFileEx(const WideString& FileName, Cardinal CodePage);
    // Code page 65001 writes the UTF-8 mark first.
    void SaveToFileEx(const WideString& FileName, Cardinal CodePage);
};

// Shows a wide list as ANSI strings of a code page (0: the system's).
class TAnsiStringsForWideStringsAdapter : public TAnsiStrings {
public:
    explicit TAnsiStringsForWideStringsAdapter(TTntStrings* WideStrings, Cardinal AdapterCodePage = 0);

    AnsiString Get(Integer Index) const override;
    Integer GetCount() const override;
    TObject* GetObject(Integer Index) const override;
    void Put(Integer Index, const AnsiString& S) override;
    void PutObject(Integer Index, TObject* AObject) override;
    void Clear() override;
    void Delete(Integer Index) override;
    void Insert(Integer Index, const AnsiString& S) override;
    void LoadFromStreamEx(TStream* Stream, Cardinal CodePage) override;
    void SaveToStreamEx(TStream* Stream, Cardinal CodePage) override;
    virtual Cardinal AdapterCodePage() const;

protected:
    void SetUpdateState(bool Updating) override;

private:
    TTntStrings* wideStrings_;
    Cardinal codePage_;
};

// A wide list that reads files by their byte-order mark (text without one is
// ANSI), writes UTF-16 little-endian with its mark, keeps an ANSI view of
// itself and reads the extra form properties of wide lists.
class TTntStrings : public TWideStrings {
public:
    TTntStrings();
    ~TTntStrings() override;

    virtual void LoadFromStream_BOM(TStream* Stream, bool WithBOM);
    virtual void SaveToStream_BOM(TStream* Stream, bool WithBOM);
    void LoadFromFile(const WideString& FileName) override;
    void LoadFromStream(TStream* Stream) override;
    void SaveToFile(const WideString& FileName) override;
    void SaveToStream(TStream* Stream) override;
    void DefineProperties(TFiler* Filer) override;

    TTntStreamCharSet DetectedFileCharSet() const { return detectedFileCharSet_; }
    TAnsiStrings* AnsiStrings() const { return ansiStrings_.get(); }
    // Assigns Value's strings into this list, converted.
    void SetAnsiStrings(TAnsiStrings* Value);

private:
    void readUtf8Strings(TReader* Reader);
    void readUtf7Strings(TReader* Reader);
    void writeUtf7Strings(TWriter* Writer);
    void readEncodedStrings(TReader* Reader, bool AlsoWhenEmpty, WideString (*Decode)(const AnsiString&));
    bool utf7ToBeWritten(TFiler* Filer) const;

    TTntStreamCharSet detectedFileCharSet_ = csUnicode;
    std::unique_ptr<TAnsiStringsForWideStringsAdapter> ansiStrings_;
};

class TTntStringList;
using TWideStringListSortCompare = Integer (*)(TTntStringList* List, Integer Index1, Integer Index2);

// The array-backed wide list: sorting, duplicate control and change events,
// as the class library's TStringList. The list never owns its objects.
class TTntStringList : public TTntStrings {
public:
    TTntStringList() = default;
    ~TTntStringList() override;

    WideString Get(Integer Index) const override;
    Integer GetCapacity() const override;
    Integer GetCount() const override;
    TObject* GetObject(Integer Index) const override;
    void Put(Integer Index, const WideString& S) override;
    void PutObject(Integer Index, TObject* AObject) override;
    // Raises "List capacity out of bounds (%d)" below Count.
    void SetCapacity(Integer NewCapacity) override;
    Integer CompareStrings(const WideString& S1, const WideString& S2) const override;

    Integer Add(const WideString& S) override;
    Integer AddObject(const WideString& S, TObject* AObject) override;
    void Clear() override;
    void Delete(Integer Index) override;
    void Exchange(Integer Index1, Integer Index2) override;
    Integer IndexOf(const WideString& S) const override;
    Integer IndexOfName(const WideString& Name) const override;
    void Insert(Integer Index, const WideString& S) override;
    void InsertObject(Integer Index, const WideString& S, TObject* AObject) override;
    // A sorted list cannot move items: raises before anything changes.
    void Move(Integer CurIndex, Integer NewIndex) override;
    // Bisection: true when found; Index is the match (the first of equals
    // with dupAccept) or the insertion point. Meaningful on a sorted list.
    virtual bool Find(const WideString& S, Integer& Index) const;
    virtual void Sort();
    virtual void CustomSort(TWideStringListSortCompare Compare);

    bool Sorted() const { return sorted_; }
    void SetSorted(bool Value);
    bool CaseSensitive() const { return caseSensitive_; }
    // Re-sorts a sorted list under the new comparison.
    void SetCaseSensitive(bool Value);
    TDuplicates Duplicates() const { return duplicates_; }
    void SetDuplicates(TDuplicates Value) { duplicates_ = Value; }

    TNotifyEvent OnChange;
    TNotifyEvent OnChanging;

protected:
    virtual void Changed();
    virtual void Changing();
    virtual void InsertItem(Integer Index, const WideString& S, TObject* AObject);
    void SetUpdateState(bool Updating) override;

private:
    struct TWideStringItem {
        WideString FString;
        TObject* FObject = nullptr;
    };

    void checkIndex(Integer Index) const;
    void grow();
    void sortItems(TWideStringListSortCompare Compare);

    bool updating_ = false;
    std::vector<TWideStringItem> items_;
    Integer capacity_ = 0;
    bool sorted_ = false;
    TDuplicates duplicates_ = dupIgnore;
    bool caseSensitive_ = false;
};
