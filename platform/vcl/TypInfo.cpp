// Class records, class registration by name, type information of property
// types and the named integer constants of form resources.
#include "platform/vcl/TypInfo.h"

#include "platform/core/SysUtils.h"
#include "platform/vcl/Components.h"

#include <algorithm>
#include <cstdlib>
#include <cxxabi.h>
#include <map>
#include <unordered_map>

namespace {

constexpr const char* SClassNotFound = "Class %s not found";
constexpr const char* SDuplicateClass = "A class named %s already exists";
constexpr const char* SPropertyReadOnly = "Property %s is read-only";
constexpr const char* SNoTypeInformation = "Type %s has no type information";

[[noreturn]] void raiseClassNotFound(const AnsiString& name) {
    throw EClassNotFound(Format(SClassNotFound, {name}));
}

// Every registry is created on first use, so units may describe their classes
// from their static set-up in any order.
struct Registries {
    std::recursive_mutex lock;
    std::unordered_map<std::type_index, std::unique_ptr<TMetaClass>> classesByType;
    std::map<AnsiString, TClass> registeredByName; // upper-case name
    std::unordered_map<std::type_index, std::unique_ptr<TTypeInfo>> typesByType;
    std::vector<std::unique_ptr<TTypeInfo>> namedIntegerTypes;
    std::map<const TTypeInfo*, std::pair<TIdentToInt, TIntToIdent>> integerConsts;
};

Registries& registries() {
    static Registries instance;
    return instance;
}

template <typename Item> const Item* findByName(const std::vector<Item>& items, const AnsiString& name) {
    for (const Item& item : items)
        if (SameText(item.Name, name)) return &item;
    return nullptr;
}

} // namespace

AnsiString ClassNameOfType(const std::type_info& Type) {
    return ClassNameOfType(std::type_index(Type));
}

AnsiString ClassNameOfType(std::type_index Type) {
    int status = 0;
    char* demangled = abi::__cxa_demangle(Type.name(), nullptr, nullptr, &status);
    AnsiString name = status == 0 && demangled ? demangled : Type.name();
    std::free(demangled);
    std::size_t separator = name.rfind("::");
    return separator == AnsiString::npos ? name : name.substr(separator + 2);
}

TMetaClass::TMetaClass(std::type_index type, std::type_index parentType,
                       std::function<void(TMetaClass&)> describe)
    : type_(type), parentType_(parentType), describe_(std::move(describe)) {
    name_ = ClassNameOfType(type_);
}

void TMetaClass::ensureDescribed() const {
    std::call_once(described_, [this] {
        auto* self = const_cast<TMetaClass*>(this);
        if (describe_) describe_(*self);
    });
}

TClass TMetaClass::ClassParent() const {
    if (parentType_ == typeid(void)) return nullptr;
    return ClassOfType(parentType_);
}

bool TMetaClass::InheritsFrom(TClass Ancestor) const {
    for (TClass current = this; current; current = current->ClassParent())
        if (current == Ancestor) return true;
    return false;
}

TComponent* TMetaClass::CreateComponent(TComponent* Owner) const {
    ensureDescribed();
    if (!createComponent_) throw EAbstractError(SAbstractError);
    TComponent* component = createComponent_(Owner);
    for (TClass current = this; current; current = current->ClassParent()) {
        current->ensureDescribed();
        if (!current->afterCreate_) continue;
        try {
            current->afterCreate_(component);
        } catch (...) {
            delete component;
            throw;
        }
        break;
    }
    return component;
}

TCollectionItem* TMetaClass::CreateItem(TCollection* Collection) const {
    ensureDescribed();
    if (!createItem_) throw EAbstractError(SAbstractError);
    return createItem_(Collection);
}

const TPropInfo* TMetaClass::FindProperty(const AnsiString& Name) const {
    for (TClass current = this; current; current = current->ClassParent()) {
        current->ensureDescribed();
        for (const auto& property : current->properties_)
            if (SameText(property->Name, Name)) return property.get();
    }
    return nullptr;
}

const TFieldInfo* TMetaClass::FindField(const AnsiString& Name) const {
    for (TClass current = this; current; current = current->ClassParent()) {
        current->ensureDescribed();
        if (const TFieldInfo* field = findByName(current->fields_, Name)) return field;
    }
    return nullptr;
}

const TMethodInfo* TMetaClass::FindMethod(const AnsiString& Name) const {
    for (TClass current = this; current; current = current->ClassParent()) {
        current->ensureDescribed();
        if (const TMethodInfo* method = findByName(current->methods_, Name)) return method;
    }
    return nullptr;
}

AnsiString TMetaClass::MethodName(const std::any& Method, const TTypeInfo* MethodType,
                                  TObject* Instance) const {
    for (TClass current = this; current; current = current->ClassParent()) {
        current->ensureDescribed();
        for (const TMethodInfo& method : current->methods_)
            if (method.MethodType == MethodType && MethodType->SameMethod(method.Bind(Instance), Method))
                return method.Name;
    }
    return {};
}

std::vector<const TPropInfo*> TMetaClass::Properties() const {
    std::vector<TClass> lineage;
    for (TClass current = this; current; current = current->ClassParent())
        lineage.push_back(current);
    std::vector<const TPropInfo*> result;
    for (auto it = lineage.rbegin(); it != lineage.rend(); ++it) {
        (*it)->ensureDescribed();
        for (const auto& property : (*it)->properties_) {
            auto redeclared = std::find_if(result.begin(), result.end(), [&](const TPropInfo* existing) {
                return SameText(existing->Name, property->Name);
            });
            if (redeclared != result.end())
                *redeclared = property.get();
            else
                result.push_back(property.get());
        }
    }
    return result;
}

std::vector<TClass> TMetaClass::FieldClasses() const {
    std::vector<TClass> result;
    for (TClass current = this; current; current = current->ClassParent()) {
        current->ensureDescribed();
        for (const TFieldInfo& field : current->fields_)
            if (TClass fieldClass = FindClassOfType(field.FieldType)) result.push_back(fieldClass);
    }
    return result;
}

TClass FindClassOfType(std::type_index Type) {
    Registries& r = registries();
    std::lock_guard guard(r.lock);
    auto found = r.classesByType.find(Type);
    return found == r.classesByType.end() ? nullptr : found->second.get();
}

TClass ClassOfType(std::type_index Type) {
    TClass found = FindClassOfType(Type);
    if (!found) raiseClassNotFound(ClassNameOfType(Type));
    return found;
}

TClass ClassTypeOf(const TObject* Object) {
    return ClassOfType(typeid(*Object));
}

void RegisterClass(TClass Class) {
    Registries& r = registries();
    std::lock_guard guard(r.lock);
    AnsiString key = UpperCase(Class->ClassName());
    auto [existing, inserted] = r.registeredByName.emplace(key, Class);
    if (!inserted && existing->second != Class)
        throw EFilerError(Format(SDuplicateClass, {Class->ClassName()}));
}

void RegisterClasses(std::initializer_list<TClass> Classes) {
    for (TClass Class : Classes)
        RegisterClass(Class);
}

void UnRegisterClass(TClass Class) {
    Registries& r = registries();
    std::lock_guard guard(r.lock);
    auto found = r.registeredByName.find(UpperCase(Class->ClassName()));
    if (found != r.registeredByName.end() && found->second == Class) r.registeredByName.erase(found);
}

TClass GetClass(const AnsiString& ClassName) {
    Registries& r = registries();
    std::lock_guard guard(r.lock);
    auto found = r.registeredByName.find(UpperCase(ClassName));
    return found == r.registeredByName.end() ? nullptr : found->second;
}

TClass FindClass(const AnsiString& ClassName) {
    TClass found = GetClass(ClassName);
    if (!found) raiseClassNotFound(ClassName);
    return found;
}

const TTypeInfo* DefineEnum(std::type_index Type, const AnsiString& Name,
                            std::initializer_list<const char*> Names) {
    TTypeInfo info;
    info.Kind = tkEnumeration;
    info.Name = Name;
    info.EnumNames.assign(Names.begin(), Names.end());
    return typinfo_detail::RegisterType(Type, std::move(info));
}

const TTypeInfo* DefineIntegerType(const AnsiString& Name) {
    Registries& r = registries();
    std::lock_guard guard(r.lock);
    auto info = std::make_unique<TTypeInfo>();
    info->Kind = tkInteger;
    info->Name = Name;
    r.namedIntegerTypes.push_back(std::move(info));
    return r.namedIntegerTypes.back().get();
}

void RegisterIntegerConsts(const TTypeInfo* IntegerType, TIdentToInt IdentToInt, TIntToIdent IntToIdent) {
    Registries& r = registries();
    std::lock_guard guard(r.lock);
    r.integerConsts[IntegerType] = {IdentToInt, IntToIdent};
}

TIdentToInt FindIdentToInt(const TTypeInfo* IntegerType) {
    Registries& r = registries();
    std::lock_guard guard(r.lock);
    auto found = r.integerConsts.find(IntegerType);
    return found == r.integerConsts.end() ? nullptr : found->second.first;
}

TIntToIdent FindIntToIdent(const TTypeInfo* IntegerType) {
    Registries& r = registries();
    std::lock_guard guard(r.lock);
    auto found = r.integerConsts.find(IntegerType);
    return found == r.integerConsts.end() ? nullptr : found->second.second;
}

bool IdentToInt(const AnsiString& Ident, Integer& Int, std::span<const TIdentMapEntry> Map) {
    for (const TIdentMapEntry& entry : Map)
        if (SameText(entry.Name, Ident)) {
            Int = entry.Value;
            return true;
        }
    return false;
}

bool IntToIdent(Integer Int, AnsiString& Ident, std::span<const TIdentMapEntry> Map) {
    for (const TIdentMapEntry& entry : Map)
        if (entry.Value == Int) {
            Ident = entry.Name;
            return true;
        }
    return false;
}

AnsiString GetEnumName(const TTypeInfo* TypeInfo, Integer Value) {
    if (Value < 0 || static_cast<std::size_t>(Value) >= TypeInfo->EnumNames.size()) return {};
    return TypeInfo->EnumNames[static_cast<std::size_t>(Value)];
}

Integer GetEnumValue(const TTypeInfo* TypeInfo, const AnsiString& Name) {
    const auto& names = TypeInfo->EnumNames;
    for (std::size_t i = 0; i < names.size(); ++i)
        if (SameText(names[i], Name)) return static_cast<Integer>(i);
    return -1;
}

const TPropInfo* GetPropInfo(TClass Class, const AnsiString& PropName) {
    return Class->FindProperty(PropName);
}

const TPropInfo* GetPropInfo(const TObject* Instance, const AnsiString& PropName) {
    return ClassTypeOf(Instance)->FindProperty(PropName);
}

std::vector<const TPropInfo*> GetPropList(const TObject* Instance) {
    return ClassTypeOf(Instance)->Properties();
}

bool IsStoredProp(const TObject* Instance, const TPropInfo* PropInfo) {
    return !PropInfo->Stored || PropInfo->Stored(Instance);
}

namespace {
template <typename V> V getAs(const TObject* instance, const TPropInfo* info) {
    return std::get<V>(info->Getter(instance));
}
void setFrom(TObject* instance, const TPropInfo* info, TPropValue value) {
    if (!info->Setter) throw EPropertyError(Format(SPropertyReadOnly, {info->Name}));
    info->Setter(instance, value);
}
} // namespace

Int64 GetOrdProp(const TObject* Instance, const TPropInfo* PropInfo) {
    return getAs<Int64>(Instance, PropInfo);
}
void SetOrdProp(TObject* Instance, const TPropInfo* PropInfo, Int64 Value) {
    setFrom(Instance, PropInfo, Value);
}
double GetFloatProp(const TObject* Instance, const TPropInfo* PropInfo) {
    return getAs<double>(Instance, PropInfo);
}
void SetFloatProp(TObject* Instance, const TPropInfo* PropInfo, double Value) {
    setFrom(Instance, PropInfo, Value);
}
AnsiString GetStrProp(const TObject* Instance, const TPropInfo* PropInfo) {
    return getAs<AnsiString>(Instance, PropInfo);
}
void SetStrProp(TObject* Instance, const TPropInfo* PropInfo, const AnsiString& Value) {
    setFrom(Instance, PropInfo, Value);
}
WideString GetWideStrProp(const TObject* Instance, const TPropInfo* PropInfo) {
    return getAs<WideString>(Instance, PropInfo);
}
void SetWideStrProp(TObject* Instance, const TPropInfo* PropInfo, const WideString& Value) {
    setFrom(Instance, PropInfo, Value);
}
TObject* GetObjectProp(const TObject* Instance, const TPropInfo* PropInfo) {
    return getAs<TObject*>(Instance, PropInfo);
}
void SetObjectProp(TObject* Instance, const TPropInfo* PropInfo, TObject* Value) {
    setFrom(Instance, PropInfo, Value);
}
std::any GetMethodProp(const TObject* Instance, const TPropInfo* PropInfo) {
    return getAs<std::any>(Instance, PropInfo);
}
void SetMethodProp(TObject* Instance, const TPropInfo* PropInfo, const std::any& Value) {
    setFrom(Instance, PropInfo, Value);
}

namespace typinfo_detail {

const TTypeInfo* FindRegisteredType(std::type_index Type) {
    Registries& r = registries();
    std::lock_guard guard(r.lock);
    auto found = r.typesByType.find(Type);
    return found == r.typesByType.end() ? nullptr : found->second.get();
}

const TTypeInfo* RegisterType(std::type_index Type, TTypeInfo Info) {
    Registries& r = registries();
    std::lock_guard guard(r.lock);
    auto& slot = r.typesByType[Type];
    if (!slot) slot = std::make_unique<TTypeInfo>(std::move(Info));
    return slot.get();
}

void RaiseNoTypeInfo(const std::type_info& Type) {
    throw EInvalidOperation(Format(SNoTypeInformation, {ClassNameOfType(Type)}));
}

void RaiseInvalidCast() {
    throw EInvalidCast(SInvalidCast);
}

TMetaClass* RegisterMetaClass(std::type_index Type, std::type_index ParentType,
                              std::function<void(TMetaClass&)> Describe) {
    Registries& r = registries();
    std::lock_guard guard(r.lock);
    auto& slot = r.classesByType[Type];
    if (!slot) slot = std::make_unique<TMetaClass>(Type, ParentType, std::move(Describe));
    return slot.get();
}

} // namespace typinfo_detail
