// The framework's registry object: one open key at a time below a root key,
// typed reads and writes of its values, and the sub-key and value lists,
// over the operating system's registry calls.
#pragma once

#include "platform/core/Classes.h"
#include "platform/win/Registry.h"

class ERegistryException : public Exception {
public:
    using Exception::Exception;
};

enum TRegDataType { rdUnknown, rdString, rdExpandString, rdInteger, rdBinary };

struct TRegDataInfo {
    TRegDataType RegData = rdUnknown;
    Integer DataSize = 0;
};

struct TRegKeyInfo {
    Integer NumSubKeys = 0;
    Integer MaxSubKeyLen = 0;
    Integer NumValues = 0;
    Integer MaxValueLen = 0;
    Integer MaxDataLen = 0;
};

// Key paths starting with "\" are taken from RootKey, others from the open
// key (or RootKey when none is open).
class TRegistry : public TObject {
public:
    // RootKey HKEY_CURRENT_USER, full access.
    TRegistry();
    explicit TRegistry(LongWord AAccess);
    ~TRegistry() override;

    HKEY RootKey() const { return rootKey_; }
    // Closes the open key when the root changes.
    void SetRootKey(HKEY Value);
    HKEY CurrentKey() const { return currentKey_; }
    // The open key's path below RootKey, without a leading "\".
    const AnsiString& CurrentPath() const { return currentPath_; }
    LongWord Access() const { return access_; }
    void SetAccess(LongWord Value) { access_ = Value; }
    bool LazyWrite() const { return lazyWrite_; }
    void SetLazyWrite(bool Value) { lazyWrite_ = Value; }

    // Makes Key the open key; with CanCreate a missing key is created. False
    // when it can be neither opened nor created.
    bool OpenKey(const AnsiString& Key, bool CanCreate);
    bool OpenKeyReadOnly(const AnsiString& Key);
    void CloseKey();
    // Creates Key without opening it; ERegistryException "Failed to create key %s".
    bool CreateKey(const AnsiString& Key);
    // Deletes Key with everything below it.
    bool DeleteKey(const AnsiString& Key);
    bool KeyExists(const AnsiString& Key);
    bool HasSubKeys();
    bool GetKeyInfo(TRegKeyInfo& Value);
    // Replace Strings' contents with the names of the open key's sub-keys or values.
    void GetKeyNames(TStrings* Strings);
    void GetValueNames(TStrings* Strings);

    bool ValueExists(const AnsiString& Name);
    bool DeleteValue(const AnsiString& Name);
    bool GetDataInfo(const AnsiString& ValueName, TRegDataInfo& Value);
    // -1 when the value does not exist.
    Integer GetDataSize(const AnsiString& ValueName);
    TRegDataType GetDataType(const AnsiString& ValueName);

    // A missing value reads as an empty string; a value of another type raises
    // ERegistryException "Invalid data type for '%s'".
    AnsiString ReadString(const AnsiString& Name);
    // A missing value raises "Failed to get data for '%s'", one of another
    // type "Invalid data type for '%s'".
    Integer ReadInteger(const AnsiString& Name);
    bool ReadBool(const AnsiString& Name);
    // Failures raise "Failed to set data for '%s'".
    void WriteString(const AnsiString& Name, const AnsiString& Value);
    void WriteExpandString(const AnsiString& Name, const AnsiString& Value);
    void WriteInteger(const AnsiString& Name, Integer Value);
    void WriteBool(const AnsiString& Name, bool Value);

private:
    HKEY baseKey(bool Relative) const;
    // Opens Key (relative or from the root) with the current access; null on failure.
    HKEY openKey(const AnsiString& Key) const;
    void changeKey(HKEY Value, const AnsiString& Path);
    void getData(const AnsiString& Name, void* Buffer, DWORD BufSize, TRegDataType& RegData);
    void putData(const AnsiString& Name, const void* Buffer, DWORD BufSize, TRegDataType RegData);

    HKEY rootKey_;
    HKEY currentKey_ = nullptr;
    AnsiString currentPath_;
    LongWord access_;
    bool lazyWrite_ = true;
};
