// The framework's basic classes: TPersistent, the pointer list TList, the
// string lists TStrings/TStringList with their virtual storage protocol, and
// the stream family (handle, file, memory and string streams).
#pragma once

#include "platform/core/Exceptions.h"
#include "platform/core/FileUtils.h"
#include "platform/core/System.h"
#include "platform/core/Types.h"

#include <vector>

class TFiler;
class TStream;

// ---- TPersistent ---------------------------------------------------------------

// An object that can copy itself from another through Assign. A class that
// knows how to copy into others overrides AssignTo; Assign from an unknown
// source raises EConvertError "Cannot assign a <source> to a <target>".
class TPersistent : public TObject {
public:
    virtual void Assign(TPersistent* Source);
    virtual TPersistent* GetOwner() { return nullptr; }
    virtual AnsiString GetNamePath() { return ClassName(); }
    // Lets a class store extra properties in form resources (see the filers).
    virtual void DefineProperties(TFiler* Filer) { (void)Filer; }

protected:
    virtual void AssignTo(TPersistent* Dest);
    [[noreturn]] void AssignError(TPersistent* Source);
};

// ---- TList -----------------------------------------------------------------------

enum TListNotification { lnAdded, lnExtracted, lnDeleted };
using TListSortCompare = Integer (*)(void* Item1, void* Item2);

// A list of untyped pointers. Index errors raise EListError "List index out
// of bounds (%d)". Descendants that own their items override Notify; note
// that ~TList cannot reach an override, so such a descendant clears itself
// in its own destructor.
class TList : public TObject {
public:
    ~TList() override;

    Integer Add(void* Item);
    virtual void Clear();
    void Delete(Integer Index);
    void Exchange(Integer Index1, Integer Index2);
    TList* Expand();
    void* Extract(void* Item);
    void* First() const;
    void* Last() const;
    Integer IndexOf(void* Item) const;
    void Insert(Integer Index, void* Item);
    void Move(Integer CurIndex, Integer NewIndex);
    Integer Remove(void* Item);
    // Removes the null entries.
    void Pack();
    void Sort(TListSortCompare Compare);

    void* Get(Integer Index) const;
    void Put(Integer Index, void* Item);
    void* operator[](Integer Index) const { return Get(Index); }
    Integer Count() const { return static_cast<Integer>(items_.size()); }
    void SetCount(Integer NewCount);
    Integer Capacity() const { return capacity_; }
    void SetCapacity(Integer NewCapacity);
    void** List() { return items_.data(); }

protected:
    virtual void Notify(void* Ptr, TListNotification Action);
    virtual void Grow();
    [[noreturn]] static void Error(const char* Message, Integer Data);

private:
    void checkIndex(Integer Index) const;

    std::vector<void*> items_;
    Integer capacity_ = 0;
};

// ---- TBits ------------------------------------------------------------------------

class EBitsError : public Exception {
public:
    using Exception::Exception;
};

// A growable array of bits, all clear when added. Setting a bit past the end
// grows the array to hold it; reading past the end or a negative index (or
// size) raises EBitsError "Bits index out of range".
class TBits : public TObject {
public:
    Integer Size() const { return static_cast<Integer>(bits_.size()); }
    void SetSize(Integer Value);
    bool Bits(Integer Index) const;
    void SetBits(Integer Index, bool Value);
    // The index of the first clear bit; Size when every bit is set.
    Integer OpenBit() const;

private:
    [[noreturn]] static void indexError();

    std::vector<bool> bits_;
};

// ---- TStrings ------------------------------------------------------------------------

// The abstract string list. A descendant supplies storage through Get,
// GetCount, Clear, Delete and Insert (and, to keep objects, GetObject and
// PutObject); everything else is built on them and may be overridden.
// Text uses CR LF after every line; setting it splits at CR, LF and CR LF and
// stops at the first NUL.
class TStrings : public TPersistent {
public:
    // ---- Storage protocol.
    virtual AnsiString Get(Integer Index) const = 0;
    virtual Integer GetCount() const = 0;
    virtual TObject* GetObject(Integer Index) const;
    virtual void Put(Integer Index, const AnsiString& S);
    virtual void PutObject(Integer Index, TObject* AObject);
    virtual Integer GetCapacity() const;
    virtual void SetCapacity(Integer NewCapacity);
    virtual AnsiString GetTextStr() const;
    virtual void SetTextStr(const AnsiString& Value);
    // Case-insensitive in the user's locale (AnsiCompareText).
    virtual Integer CompareStrings(const AnsiString& S1, const AnsiString& S2) const;

    // ---- Operations.
    virtual Integer Add(const AnsiString& S);
    virtual Integer AddObject(const AnsiString& S, TObject* AObject);
    void Append(const AnsiString& S);
    virtual void AddStrings(TStrings* Strings);
    void Assign(TPersistent* Source) override;
    void BeginUpdate();
    void EndUpdate();
    virtual void Clear() = 0;
    virtual void Delete(Integer Index) = 0;
    virtual void Exchange(Integer Index1, Integer Index2);
    virtual Integer IndexOf(const AnsiString& S) const;
    virtual Integer IndexOfName(const AnsiString& Name) const;
    virtual Integer IndexOfObject(TObject* AObject) const;
    virtual void Insert(Integer Index, const AnsiString& S) = 0;
    virtual void InsertObject(Integer Index, const AnsiString& S, TObject* AObject);
    virtual void Move(Integer CurIndex, Integer NewIndex);
    bool Equals(const TStrings* Strings) const;
    // Files are read with deny-write sharing and written with fmCreate.
    virtual void LoadFromFile(const AnsiString& FileName);
    virtual void LoadFromStream(TStream* Stream);
    virtual void SaveToFile(const AnsiString& FileName);
    virtual void SaveToStream(TStream* Stream);

    // ---- Properties.
    Integer Count() const { return GetCount(); }
    AnsiString Strings(Integer Index) const { return Get(Index); }
    void SetStrings(Integer Index, const AnsiString& S) { Put(Index, S); }
    AnsiString operator[](Integer Index) const { return Get(Index); }
    TObject* Objects(Integer Index) const { return GetObject(Index); }
    void SetObjects(Integer Index, TObject* AObject) { PutObject(Index, AObject); }
    Integer Capacity() const { return GetCapacity(); }
    AnsiString Text() const { return GetTextStr(); }
    void SetText(const AnsiString& Value) { SetTextStr(Value); }
    // Items separated by Delimiter; an item holding a blank, control
    // character, the quote or the delimiter is quoted with QuoteChar.
    AnsiString DelimitedText() const;
    void SetDelimitedText(const AnsiString& Value);
    // DelimitedText with "," and '"'; setting it makes them the list's own.
    AnsiString CommaText() const;
    void SetCommaText(const AnsiString& Value);
    char Delimiter() const { return delimiter_; }
    void SetDelimiter(char Value) { delimiter_ = Value; }
    char QuoteChar() const { return quoteChar_; }
    void SetQuoteChar(char Value) { quoteChar_ = Value; }
    char NameValueSeparator() const { return '='; }
    // "name=value" lines: the name is the text before the first "=".
    AnsiString Names(Integer Index) const;
    AnsiString Values(const AnsiString& Name) const;
    // An empty value deletes the line.
    void SetValues(const AnsiString& Name, const AnsiString& Value);
    AnsiString ValueFromIndex(Integer Index) const;
    void SetValueFromIndex(Integer Index, const AnsiString& Value);

protected:
    // Called with true by the outermost BeginUpdate and with false by the
    // outermost EndUpdate.
    virtual void SetUpdateState(bool Updating);
    Integer UpdateCount() const { return updateCount_; }
    // Raises EStringListError with Message formatted with Data.
    [[noreturn]] void Error(const char* Message, Integer Data) const;
    AnsiString ExtractName(const AnsiString& S) const;

private:
    AnsiString delimitedTextWith(char delimiter, char quote) const;

    Integer updateCount_ = 0;
    char delimiter_ = ',';
    char quoteChar_ = '"';
};

// ---- TStringList ------------------------------------------------------------------------

enum TDuplicates { dupIgnore, dupAccept, dupError };

class TStringList;
using TStringListSortCompare = Integer (*)(TStringList* List, Integer Index1, Integer Index2);

// The array-backed string list. Sorted lists keep their order on Add and
// refuse Put and Insert ("Operation not allowed on sorted list"); Duplicates
// says what adding an equal string does. Every change fires OnChanging before
// and OnChange after it, except inside BeginUpdate/EndUpdate, where
// BeginUpdate fires OnChanging and the last EndUpdate fires OnChange once.
// The list never owns its objects.
class TStringList : public TStrings {
public:
    TStringList() = default;
    ~TStringList() override;

    AnsiString Get(Integer Index) const override;
    Integer GetCount() const override;
    TObject* GetObject(Integer Index) const override;
    void Put(Integer Index, const AnsiString& S) override;
    void PutObject(Integer Index, TObject* AObject) override;
    Integer GetCapacity() const override;
    void SetCapacity(Integer NewCapacity) override;
    // AnsiCompareStr when CaseSensitive, else AnsiCompareText.
    Integer CompareStrings(const AnsiString& S1, const AnsiString& S2) const override;

    Integer Add(const AnsiString& S) override;
    Integer AddObject(const AnsiString& S, TObject* AObject) override;
    void Clear() override;
    void Delete(Integer Index) override;
    void Exchange(Integer Index1, Integer Index2) override;
    // Binary search of a sorted list: true when found; Index is the match (the
    // first of equals with dupAccept) or the insertion point.
    virtual bool Find(const AnsiString& S, Integer& Index) const;
    Integer IndexOf(const AnsiString& S) const override;
    void Insert(Integer Index, const AnsiString& S) override;
    void InsertObject(Integer Index, const AnsiString& S, TObject* AObject) override;
    virtual void Sort();
    // Sorts an unsorted list with Compare.
    virtual void CustomSort(TStringListSortCompare Compare);

    bool Sorted() const { return sorted_; }
    void SetSorted(bool Value);
    TDuplicates Duplicates() const { return duplicates_; }
    void SetDuplicates(TDuplicates Value) { duplicates_ = Value; }
    bool CaseSensitive() const { return caseSensitive_; }
    // Re-sorts a sorted list under the new comparison.
    void SetCaseSensitive(bool Value);

    TNotifyEvent OnChange;
    TNotifyEvent OnChanging;

protected:
    virtual void Changed();
    virtual void Changing();
    void SetUpdateState(bool Updating) override;
    virtual void InsertItem(Integer Index, const AnsiString& S, TObject* AObject);

private:
    struct Item {
        AnsiString string;
        TObject* object = nullptr;
    };

    void checkIndex(Integer Index) const;
    void grow();
    void quickSort(TStringListSortCompare Compare);

    std::vector<Item> items_;
    Integer capacity_ = 0;
    bool sorted_ = false;
    TDuplicates duplicates_ = dupIgnore;
    bool caseSensitive_ = false;
};

// ---- Streams ---------------------------------------------------------------------------

constexpr Word soFromBeginning = 0;
constexpr Word soFromCurrent = 1;
constexpr Word soFromEnd = 2;

// A sequence of bytes with a position. ReadBuffer/WriteBuffer raise
// EReadError "Stream read error" / EWriteError "Stream write error" when fewer
// bytes than asked for move.
class TStream : public TObject {
public:
    // The number of bytes moved (0 at the end or on failure).
    virtual Integer Read(void* Buffer, Integer Count) = 0;
    virtual Integer Write(const void* Buffer, Integer Count) = 0;
    // The new position; Origin is soFromBeginning, soFromCurrent or soFromEnd.
    virtual Int64 Seek(Int64 Offset, Word Origin) = 0;

    void ReadBuffer(void* Buffer, Integer Count);
    void WriteBuffer(const void* Buffer, Integer Count);
    // Copies Count bytes from Source's position, or all of Source (from its
    // start) when Count is 0; returns the bytes copied.
    Int64 CopyFrom(TStream* Source, Int64 Count);

    Int64 Position() { return Seek(0, soFromCurrent); }
    void SetPosition(Int64 Value) { Seek(Value, soFromBeginning); }
    virtual Int64 Size();
    virtual void SetSize(Int64 NewSize);
};

// A stream over an open file descriptor it does not own.
class THandleStream : public TStream {
public:
    explicit THandleStream(THandle AHandle) : handle_(AHandle) {}
    Integer Read(void* Buffer, Integer Count) override;
    Integer Write(const void* Buffer, Integer Count) override;
    Int64 Seek(Int64 Offset, Word Origin) override;
    // Raises EOSError when the file cannot be resized.
    void SetSize(Int64 NewSize) override;
    THandle Handle() const { return handle_; }

protected:
    THandle handle_;
};

// A stream on a named file: Mode is fmCreate (create or truncate) or one of
// fmOpenRead/fmOpenWrite/fmOpenReadWrite combined with a share flag (accepted,
// not enforced). Failures raise EFCreateError "Cannot create file "%s". %s" or
// EFOpenError "Cannot open file "%s". %s" with the full path and the system's
// message.
class TFileStream : public THandleStream {
public:
    TFileStream(const AnsiString& FileName, Word Mode);
    ~TFileStream() override;
    const AnsiString& FileName() const { return fileName_; }

private:
    AnsiString fileName_;
};

// Reads from a block of memory it does not own; see TMemoryStream for one
// that owns and grows its memory.
class TCustomMemoryStream : public TStream {
public:
    Integer Read(void* Buffer, Integer Count) override;
    Int64 Seek(Int64 Offset, Word Origin) override;
    Int64 Size() override { return size_; }
    void SaveToStream(TStream* Stream);
    void SaveToFile(const AnsiString& FileName);
    void* Memory() const { return memory_; }

protected:
    void SetPointer(void* Ptr, Int64 Size);
    Int64 position_ = 0;

private:
    char* memory_ = nullptr;
    Int64 size_ = 0;
};

class TMemoryStream : public TCustomMemoryStream {
public:
    Integer Write(const void* Buffer, Integer Count) override;
    void SetSize(Int64 NewSize) override;
    void Clear();
    void LoadFromStream(TStream* Stream);
    void LoadFromFile(const AnsiString& FileName);

private:
    void resize(Int64 NewSize);

    std::vector<char> storage_;
};

// A stream over an AnsiString; seeking stays within the string.
class TStringStream : public TStream {
public:
    explicit TStringStream(AnsiString AString = AnsiString()) : data_(std::move(AString)) {}
    Integer Read(void* Buffer, Integer Count) override;
    Integer Write(const void* Buffer, Integer Count) override;
    Int64 Seek(Int64 Offset, Word Origin) override;
    void SetSize(Int64 NewSize) override;
    AnsiString ReadString(Integer Count);
    void WriteString(const AnsiString& AString);
    const AnsiString& DataString() const { return data_; }

private:
    AnsiString data_;
    Int64 position_ = 0;
};
