#include "platform/vcl/Registry.h"

#include "platform/core/SysUtils.h"
#include "platform/win/LastError.h"

#include <vector>

namespace {

constexpr const char* SRegCreateFailed = "Failed to create key %s";
constexpr const char* SRegGetDataFailed = "Failed to get data for '%s'";
constexpr const char* SRegSetDataFailed = "Failed to set data for '%s'";
constexpr const char* SInvalidRegType = "Invalid data type for '%s'";

// What KeyExists and a read-only fallback ask for: enough to look, nothing to change.
constexpr REGSAM STANDARD_RIGHTS_READ = 0x00020000;
constexpr REGSAM LookAccess = STANDARD_RIGHTS_READ | KEY_QUERY_VALUE | KEY_ENUMERATE_SUB_KEYS;

bool isRelative(const AnsiString& Key) {
    return Key.empty() || Key[0] != '\\';
}

AnsiString withoutLeadingSeparator(const AnsiString& Key) {
    return isRelative(Key) ? Key : Key.substr(1);
}

TRegDataType dataTypeOf(DWORD Type) {
    switch (Type) {
    case REG_SZ:
        return rdString;
    case REG_EXPAND_SZ:
        return rdExpandString;
    case REG_DWORD:
        return rdInteger;
    case REG_BINARY:
        return rdBinary;
    default:
        return rdUnknown;
    }
}

DWORD regTypeOf(TRegDataType Type) {
    switch (Type) {
    case rdString:
        return REG_SZ;
    case rdExpandString:
        return REG_EXPAND_SZ;
    case rdInteger:
        return REG_DWORD;
    case rdBinary:
        return REG_BINARY;
    default:
        return REG_NONE;
    }
}

[[noreturn]] void raiseRegistryError(const char* Text, const AnsiString& Name) {
    throw ERegistryException(Format(Text, {Name}));
}

} // namespace

TRegistry::TRegistry() : TRegistry(KEY_ALL_ACCESS) {}

TRegistry::TRegistry(LongWord AAccess) : rootKey_(HKEY_CURRENT_USER), access_(AAccess) {}

TRegistry::~TRegistry() {
    CloseKey();
}

void TRegistry::SetRootKey(HKEY Value) {
    if (rootKey_ == Value) return;
    rootKey_ = Value;
    CloseKey();
}

HKEY TRegistry::baseKey(bool Relative) const {
    return currentKey_ && Relative ? currentKey_ : rootKey_;
}

HKEY TRegistry::openKey(const AnsiString& Key) const {
    HKEY result = nullptr;
    if (RegOpenKeyExA(baseKey(isRelative(Key)), withoutLeadingSeparator(Key).c_str(), 0, access_, &result) !=
        LSTATUS(ERROR_SUCCESS))
        return nullptr;
    return result;
}

void TRegistry::changeKey(HKEY Value, const AnsiString& Path) {
    CloseKey();
    currentKey_ = Value;
    currentPath_ = Path;
}

bool TRegistry::OpenKey(const AnsiString& Key, bool CanCreate) {
    const bool relative = isRelative(Key);
    AnsiString path = withoutLeadingSeparator(Key);
    HKEY opened = nullptr;
    LSTATUS status;
    if (!CanCreate || path.empty()) {
        status = RegOpenKeyExA(baseKey(relative), path.c_str(), 0, access_, &opened);
    } else {
        DWORD disposition = 0;
        status = RegCreateKeyExA(baseKey(relative), path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                                 access_, nullptr, &opened, &disposition);
    }
    if (status != LSTATUS(ERROR_SUCCESS)) return false;
    if (currentKey_ && relative) path = currentPath_ + "\\" + path;
    changeKey(opened, path);
    return true;
}

bool TRegistry::OpenKeyReadOnly(const AnsiString& Key) {
    const bool relative = isRelative(Key);
    AnsiString path = withoutLeadingSeparator(Key);
    HKEY opened = nullptr;
    LongWord granted = KEY_READ;
    if (RegOpenKeyExA(baseKey(relative), path.c_str(), 0, KEY_READ, &opened) != LSTATUS(ERROR_SUCCESS)) {
        granted = LookAccess;
        if (RegOpenKeyExA(baseKey(relative), path.c_str(), 0, granted, &opened) != LSTATUS(ERROR_SUCCESS))
            return false;
    }
    access_ = granted;
    if (currentKey_ && relative) path = currentPath_ + "\\" + path;
    changeKey(opened, path);
    return true;
}

void TRegistry::CloseKey() {
    if (!currentKey_) return;
    if (!lazyWrite_) RegFlushKey(currentKey_);
    RegCloseKey(currentKey_);
    currentKey_ = nullptr;
    currentPath_.clear();
}

bool TRegistry::CreateKey(const AnsiString& Key) {
    HKEY created = nullptr;
    DWORD disposition = 0;
    if (RegCreateKeyExA(baseKey(isRelative(Key)), withoutLeadingSeparator(Key).c_str(), 0, nullptr,
                        REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, nullptr, &created,
                        &disposition) != LSTATUS(ERROR_SUCCESS))
        raiseRegistryError(SRegCreateFailed, Key);
    RegCloseKey(created);
    return true;
}

bool TRegistry::DeleteKey(const AnsiString& Key) {
    const bool relative = isRelative(Key);
    if (HKEY doomed = openKey(Key)) {
        // The sub-keys go first, from the last, since a key with sub-keys cannot be deleted.
        HKEY previous = currentKey_;
        currentKey_ = doomed;
        TStringList names;
        GetKeyNames(&names);
        for (Integer i = names.Count() - 1; i >= 0; --i)
            DeleteKey(names.Get(i));
        currentKey_ = previous;
        RegCloseKey(doomed);
    }
    return RegDeleteKeyA(baseKey(relative), withoutLeadingSeparator(Key).c_str()) == LSTATUS(ERROR_SUCCESS);
}

bool TRegistry::KeyExists(const AnsiString& Key) {
    const LongWord previous = access_;
    access_ = LookAccess;
    HKEY found = openKey(Key);
    access_ = previous;
    if (found) RegCloseKey(found);
    return found != nullptr;
}

bool TRegistry::GetKeyInfo(TRegKeyInfo& Value) {
    Value = TRegKeyInfo();
    DWORD subKeys = 0, maxSubKeyLength = 0, values = 0, maxValueNameLength = 0, maxValueLength = 0;
    if (RegQueryInfoKeyA(currentKey_, nullptr, nullptr, nullptr, &subKeys, &maxSubKeyLength, nullptr, &values,
                         &maxValueNameLength, &maxValueLength, nullptr, nullptr) != LSTATUS(ERROR_SUCCESS))
        return false;
    Value.NumSubKeys = static_cast<Integer>(subKeys);
    Value.MaxSubKeyLen = static_cast<Integer>(maxSubKeyLength);
    Value.NumValues = static_cast<Integer>(values);
    Value.MaxValueLen = static_cast<Integer>(maxValueNameLength);
    Value.MaxDataLen = static_cast<Integer>(maxValueLength);
    return true;
}

bool TRegistry::HasSubKeys() {
    TRegKeyInfo info;
    return GetKeyInfo(info) && info.NumSubKeys > 0;
}

void TRegistry::GetKeyNames(TStrings* Strings) {
    Strings->Clear();
    TRegKeyInfo info;
    if (!GetKeyInfo(info)) return;
    std::vector<char> name(static_cast<std::size_t>(info.MaxSubKeyLen) + 1);
    for (Integer i = 0; i < info.NumSubKeys; ++i) {
        DWORD length = static_cast<DWORD>(name.size());
        if (RegEnumKeyExA(currentKey_, static_cast<DWORD>(i), name.data(), &length, nullptr, nullptr, nullptr,
                          nullptr) == LSTATUS(ERROR_SUCCESS))
            Strings->Add(AnsiString(name.data(), length));
    }
}

void TRegistry::GetValueNames(TStrings* Strings) {
    Strings->Clear();
    TRegKeyInfo info;
    if (!GetKeyInfo(info)) return;
    std::vector<char> name(static_cast<std::size_t>(info.MaxValueLen) + 1);
    for (Integer i = 0; i < info.NumValues; ++i) {
        DWORD length = static_cast<DWORD>(name.size());
        if (RegEnumValueA(currentKey_, static_cast<DWORD>(i), name.data(), &length, nullptr, nullptr, nullptr,
                          nullptr) == LSTATUS(ERROR_SUCCESS))
            Strings->Add(AnsiString(name.data(), length));
    }
}

bool TRegistry::ValueExists(const AnsiString& Name) {
    TRegDataInfo info;
    return GetDataInfo(Name, info);
}

bool TRegistry::DeleteValue(const AnsiString& Name) {
    return RegDeleteValueA(currentKey_, Name.c_str()) == LSTATUS(ERROR_SUCCESS);
}

bool TRegistry::GetDataInfo(const AnsiString& ValueName, TRegDataInfo& Value) {
    Value = TRegDataInfo();
    DWORD type = REG_NONE;
    DWORD size = 0;
    if (RegQueryValueExA(currentKey_, ValueName.c_str(), nullptr, &type, nullptr, &size) !=
        LSTATUS(ERROR_SUCCESS))
        return false;
    Value.RegData = dataTypeOf(type);
    Value.DataSize = static_cast<Integer>(size);
    return true;
}

Integer TRegistry::GetDataSize(const AnsiString& ValueName) {
    TRegDataInfo info;
    return GetDataInfo(ValueName, info) ? info.DataSize : -1;
}

TRegDataType TRegistry::GetDataType(const AnsiString& ValueName) {
    TRegDataInfo info;
    return GetDataInfo(ValueName, info) ? info.RegData : rdUnknown;
}

void TRegistry::getData(const AnsiString& Name, void* Buffer, DWORD BufSize, TRegDataType& RegData) {
    DWORD type = REG_NONE;
    if (RegQueryValueExA(currentKey_, Name.c_str(), nullptr, &type, static_cast<LPBYTE>(Buffer), &BufSize) !=
        LSTATUS(ERROR_SUCCESS))
        raiseRegistryError(SRegGetDataFailed, Name);
    RegData = dataTypeOf(type);
}

void TRegistry::putData(const AnsiString& Name, const void* Buffer, DWORD BufSize, TRegDataType RegData) {
    if (RegSetValueExA(currentKey_, Name.c_str(), 0, regTypeOf(RegData), static_cast<const BYTE*>(Buffer),
                       BufSize) != LSTATUS(ERROR_SUCCESS))
        raiseRegistryError(SRegSetDataFailed, Name);
}

AnsiString TRegistry::ReadString(const AnsiString& Name) {
    const Integer size = GetDataSize(Name);
    if (size <= 0) return AnsiString();
    std::vector<char> buffer(static_cast<std::size_t>(size) + 1, '\0');
    TRegDataType type = rdUnknown;
    getData(Name, buffer.data(), static_cast<DWORD>(size), type);
    if (type != rdString && type != rdExpandString) raiseRegistryError(SInvalidRegType, Name);
    return AnsiString(buffer.data());
}

Integer TRegistry::ReadInteger(const AnsiString& Name) {
    Integer value = 0;
    TRegDataType type = rdUnknown;
    // A value larger than an integer fails to fit and reports the failure to get data.
    getData(Name, &value, sizeof(value), type);
    if (type != rdInteger) raiseRegistryError(SInvalidRegType, Name);
    return value;
}

bool TRegistry::ReadBool(const AnsiString& Name) {
    return ReadInteger(Name) != 0;
}

void TRegistry::WriteString(const AnsiString& Name, const AnsiString& Value) {
    putData(Name, Value.c_str(), static_cast<DWORD>(Value.size() + 1), rdString);
}

void TRegistry::WriteExpandString(const AnsiString& Name, const AnsiString& Value) {
    putData(Name, Value.c_str(), static_cast<DWORD>(Value.size() + 1), rdExpandString);
}

void TRegistry::WriteInteger(const AnsiString& Name, Integer Value) {
    putData(Name, &Value, sizeof(Value), rdInteger);
}

void TRegistry::WriteBool(const AnsiString& Name, bool Value) {
    WriteInteger(Name, Value ? 1 : 0);
}
