// Run-time type information of the component framework: class records that
// streaming creates objects from by name, and the published properties, fields
// and handler methods each class declares so that form resources can be read
// and written.
//
// A class is described once, in its unit, at namespace scope:
//
//   const TClass myButtonClass = DescribeClass<TMyButton, TButton>([](TClassBuilder<TMyButton>& c) {
//       c.Property("Caption", &TMyButton::GetCaption, &TMyButton::SetCaption);
//       c.Property("Color", &TMyButton::GetColor, &TMyButton::SetColor)
//           .Type(TypeInfoColor())
//           .Default(clBtnFace);
//       c.Property("OnClick", &TMyButton::FOnClick, &TMyButton::FOnClick);
//   });
//
// The description runs on first use, after every unit's static set-up, so
// the order in which units describe their classes does not matter.
#pragma once

#include "platform/core/Exceptions.h"
#include "platform/core/System.h"

#include <any>
#include <functional>
#include <initializer_list>
#include <memory>
#include <mutex>
#include <optional>
#include <span>
#include <type_traits>
#include <typeindex>
#include <variant>
#include <vector>

class TMetaClass;
class TComponent;
class TCollection;
class TCollectionItem;

// A class reference: the record of one class, as the framework's TClass.
using TClass = const TMetaClass*;

class EClassNotFound : public EFilerError {
public:
    using EFilerError::EFilerError;
};

class EPropertyError : public Exception {
public:
    using Exception::Exception;
};

// A set of enumeration values (the framework's "set of"); elements 0 to 63.
template <typename E> class TSet {
public:
    constexpr TSet() = default;
    constexpr TSet(std::initializer_list<E> elements) {
        for (E element : elements)
            Include(element);
    }
    static constexpr TSet FromBits(UInt64 bits) {
        TSet set;
        set.bits_ = bits;
        return set;
    }
    constexpr UInt64 Bits() const { return bits_; }
    constexpr bool Contains(E element) const { return (bits_ & bit(element)) != 0; }
    constexpr bool Empty() const { return bits_ == 0; }
    constexpr TSet& Include(E element) {
        bits_ |= bit(element);
        return *this;
    }
    constexpr TSet& Exclude(E element) {
        bits_ &= ~bit(element);
        return *this;
    }
    friend constexpr TSet operator+(TSet a, TSet b) { return FromBits(a.bits_ | b.bits_); }
    friend constexpr TSet operator-(TSet a, TSet b) { return FromBits(a.bits_ & ~b.bits_); }
    friend constexpr TSet operator*(TSet a, TSet b) { return FromBits(a.bits_ & b.bits_); }
    friend constexpr bool operator==(TSet, TSet) = default;

private:
    static constexpr UInt64 bit(E element) { return UInt64{1} << static_cast<unsigned>(element); }
    UInt64 bits_ = 0;
};

enum TTypeKind {
    tkUnknown,
    tkInteger,
    tkChar,
    tkEnumeration,
    tkFloat,
    tkSet,
    tkClass,
    tkMethod,
    tkWChar,
    tkLString,
    tkWString,
    tkInt64
};

// What a property's type is: its kind and what streaming needs to know of it.
struct TTypeInfo {
    TTypeKind Kind = tkUnknown;
    AnsiString Name;
    // tkEnumeration: the identifiers, by ordinal value.
    std::vector<AnsiString> EnumNames;
    // tkSet: the type of the elements.
    const TTypeInfo* CompType = nullptr;
    // tkClass: whether an object is of the declared class.
    bool (*IsInstance)(const TObject* Object) = nullptr;
    // tkMethod: the closures are held in std::any; these compare them.
    bool (*MethodAssigned)(const std::any& Method) = nullptr;
    bool (*SameMethod)(const std::any& A, const std::any& B) = nullptr;
    std::any (*EmptyMethod)() = nullptr;
};

// A property's value in one of the forms that the kinds need: ordinal kinds
// (integers, characters, enumerations, sets) as Int64, floats as double,
// objects as TObject*, handlers as the closure in std::any.
using TPropValue = std::variant<std::monostate, Int64, double, AnsiString, WideString, TObject*, std::any>;

// One published property.
struct TPropInfo {
    AnsiString Name;
    const TTypeInfo* PropType = nullptr;
    // Ordinal kinds: the value that is not stored; none means always stored.
    std::optional<Int64> Default;
    std::function<TPropValue(const TObject* Instance)> Getter;
    std::function<void(TObject* Instance, const TPropValue& Value)> Setter;
    // Null means always stored.
    std::function<bool(const TObject* Instance)> Stored;
};

// A published field of a root class: a component pointer that is set when a
// component of that name is owned by the root (and cleared when it goes).
struct TFieldInfo {
    AnsiString Name;
    std::type_index FieldType = typeid(void);
    // Sets the field; raises EInvalidCast when Value is not of the field's class.
    std::function<void(TObject* Root, TObject* Value)> Assign;
};

// A published handler method: form resources name it to connect an event.
struct TMethodInfo {
    AnsiString Name;
    const TTypeInfo* MethodType = nullptr;
    std::function<std::any(TObject* Instance)> Bind;
};

template <typename T> class TClassBuilder;

class TMetaClass {
public:
    TMetaClass(std::type_index type, std::type_index parentType, std::function<void(TMetaClass&)> describe);
    TMetaClass(const TMetaClass&) = delete;
    TMetaClass& operator=(const TMetaClass&) = delete;

    const AnsiString& ClassName() const { return name_; }
    TClass ClassParent() const;
    bool InheritsFrom(TClass Ancestor) const;
    std::type_index Type() const { return type_; }

    // Factories: the framework's virtual constructors. Each raises
    // EAbstractError when the class cannot be made that way. A component is
    // finished by the nearest ancestor's AfterCreate step, when one declares it.
    TComponent* CreateComponent(TComponent* Owner) const;
    TCollectionItem* CreateItem(TCollection* Collection) const;

    // Lookups include the ancestors'; names compare case-insensitively.
    const TPropInfo* FindProperty(const AnsiString& Name) const;
    const TFieldInfo* FindField(const AnsiString& Name) const;
    const TMethodInfo* FindMethod(const AnsiString& Name) const;
    // The published name of the handler that Method (bound to Instance) is, or empty.
    AnsiString MethodName(const std::any& Method, const TTypeInfo* MethodType, TObject* Instance) const;
    // The published properties, the ancestors' first, in declaration order; a
    // property declared again by a descendant replaces the ancestor's in place.
    std::vector<const TPropInfo*> Properties() const;
    // The classes of the published fields (the framework finds a root's
    // component classes there even when they are not registered).
    std::vector<TClass> FieldClasses() const;

private:
    template <typename T> friend class TClassBuilder;
    void ensureDescribed() const;

    std::type_index type_;
    std::type_index parentType_;
    AnsiString name_;
    std::function<void(TMetaClass&)> describe_;
    mutable std::once_flag described_;
    std::vector<std::unique_ptr<TPropInfo>> properties_;
    std::vector<TFieldInfo> fields_;
    std::vector<TMethodInfo> methods_;
    TComponent* (*createComponent_)(TComponent* Owner) = nullptr;
    void (*afterCreate_)(TComponent* Component) = nullptr;
    TCollectionItem* (*createItem_)(TCollection* Collection) = nullptr;
};

// The class name C++ gives a type, without namespaces: "TButton".
AnsiString ClassNameOfType(const std::type_info& Type);
AnsiString ClassNameOfType(std::type_index Type);
// The record of the class described for exactly this type, or null.
TClass FindClassOfType(std::type_index Type);
// The record of Object's own class; EClassNotFound when it was not described.
TClass ClassTypeOf(const TObject* Object);
// The record of class T; EClassNotFound when it was not described.
TClass ClassOfType(std::type_index Type);
template <typename T> TClass ClassOf() {
    return ClassOfType(typeid(T));
}

// Class registration by name, for streaming: RegisterClass makes a class known
// to FindClass/GetClass (names compare case-insensitively). A second class of
// the same name raises EFilerError "A class named %s already exists".
void RegisterClass(TClass Class);
void RegisterClasses(std::initializer_list<TClass> Classes);
void UnRegisterClass(TClass Class);
// Null when not registered.
TClass GetClass(const AnsiString& ClassName);
// EClassNotFound "Class %s not found" when not registered.
TClass FindClass(const AnsiString& ClassName);

// --- Type information of property types -------------------------------------

// Registers the identifiers of an enumeration, in ordinal order.
const TTypeInfo* DefineEnum(std::type_index Type, const AnsiString& Name,
                            std::initializer_list<const char*> Names);
template <typename E>
const TTypeInfo* DefineEnum(const AnsiString& Name, std::initializer_list<const char*> Names) {
    static_assert(std::is_enum_v<E>);
    return DefineEnum(typeid(E), Name, Names);
}
// A named integer type that is not a C++ type of its own (TColor, TCursor,
// TShortCut): give it to a property with TPropertyBuilder::Type.
const TTypeInfo* DefineIntegerType(const AnsiString& Name);

// Named integer constants of an integer type, for form resources: "clRed" for
// a TColor, "crHandPoint" for a TCursor.
using TIdentToInt = bool (*)(const AnsiString& Ident, Integer& Int);
using TIntToIdent = bool (*)(Integer Int, AnsiString& Ident);
void RegisterIntegerConsts(const TTypeInfo* IntegerType, TIdentToInt IdentToInt, TIntToIdent IntToIdent);
TIdentToInt FindIdentToInt(const TTypeInfo* IntegerType);
TIntToIdent FindIntToIdent(const TTypeInfo* IntegerType);

struct TIdentMapEntry {
    Integer Value;
    const char* Name;
};
// Look-ups in a table of named constants; identifiers compare case-insensitively.
bool IdentToInt(const AnsiString& Ident, Integer& Int, std::span<const TIdentMapEntry> Map);
bool IntToIdent(Integer Int, AnsiString& Ident, std::span<const TIdentMapEntry> Map);

AnsiString GetEnumName(const TTypeInfo* TypeInfo, Integer Value);
// -1 when Name is not one of the type's identifiers.
Integer GetEnumValue(const TTypeInfo* TypeInfo, const AnsiString& Name);

// Property access by name or record, as the streaming system does it.
const TPropInfo* GetPropInfo(TClass Class, const AnsiString& PropName);
const TPropInfo* GetPropInfo(const TObject* Instance, const AnsiString& PropName);
std::vector<const TPropInfo*> GetPropList(const TObject* Instance);
bool IsStoredProp(const TObject* Instance, const TPropInfo* PropInfo);
Int64 GetOrdProp(const TObject* Instance, const TPropInfo* PropInfo);
void SetOrdProp(TObject* Instance, const TPropInfo* PropInfo, Int64 Value);
double GetFloatProp(const TObject* Instance, const TPropInfo* PropInfo);
void SetFloatProp(TObject* Instance, const TPropInfo* PropInfo, double Value);
AnsiString GetStrProp(const TObject* Instance, const TPropInfo* PropInfo);
void SetStrProp(TObject* Instance, const TPropInfo* PropInfo, const AnsiString& Value);
WideString GetWideStrProp(const TObject* Instance, const TPropInfo* PropInfo);
void SetWideStrProp(TObject* Instance, const TPropInfo* PropInfo, const WideString& Value);
TObject* GetObjectProp(const TObject* Instance, const TPropInfo* PropInfo);
void SetObjectProp(TObject* Instance, const TPropInfo* PropInfo, TObject* Value);
std::any GetMethodProp(const TObject* Instance, const TPropInfo* PropInfo);
void SetMethodProp(TObject* Instance, const TPropInfo* PropInfo, const std::any& Value);

namespace typinfo_detail {
template <typename V> struct IsClosure : std::false_type {};
template <typename Signature> struct IsClosure<Closure<Signature>> : std::true_type {};
template <typename V> struct IsSet : std::false_type {};
template <typename E> struct IsSet<TSet<E>> : std::true_type { using Element = E; };
template <typename V>
constexpr bool IsOrdinal = std::is_integral_v<V> || std::is_enum_v<V> || IsSet<V>::value;
template <typename V>
constexpr bool IsObjectPointer = std::is_pointer_v<V>&& std::is_base_of_v<TObject, std::remove_pointer_t<V>>;

const TTypeInfo* FindRegisteredType(std::type_index Type);
const TTypeInfo* RegisterType(std::type_index Type, TTypeInfo Info);
[[noreturn]] void RaiseNoTypeInfo(const std::type_info& Type);
[[noreturn]] void RaiseInvalidCast();
TMetaClass* RegisterMetaClass(std::type_index Type, std::type_index ParentType,
                              std::function<void(TMetaClass&)> Describe);

template <typename C> bool isInstanceOf(const TObject* object) {
    return dynamic_cast<const C*>(object) != nullptr;
}
template <typename ClosureType> bool closureAssigned(const std::any& method) {
    const auto* closure = std::any_cast<ClosureType>(&method);
    return closure && static_cast<bool>(*closure);
}
template <typename ClosureType> bool sameClosure(const std::any& a, const std::any& b) {
    const auto* first = std::any_cast<ClosureType>(&a);
    const auto* second = std::any_cast<ClosureType>(&b);
    return first && second && *first == *second;
}

template <typename V> TTypeInfo makeTypeInfo();
} // namespace typinfo_detail

// The type information of a C++ property type: integers, Int64, bool, the
// character types, floating types, AnsiString, WideString, enumerations given
// to DefineEnum, TSet of such an enumeration, pointers to classes and closures.
template <typename V> const TTypeInfo* TypeInfoOf() {
    using namespace typinfo_detail;
    if (const TTypeInfo* found = FindRegisteredType(typeid(V))) return found;
    if constexpr (std::is_enum_v<V>)
        RaiseNoTypeInfo(typeid(V));
    else
        return RegisterType(typeid(V), makeTypeInfo<V>());
}

namespace typinfo_detail {
template <typename V> TTypeInfo makeTypeInfo() {
    TTypeInfo info;
    if constexpr (std::is_same_v<V, bool>) {
        info.Kind = tkEnumeration;
        info.Name = "Boolean";
        info.EnumNames = {"False", "True"};
    } else if constexpr (std::is_same_v<V, AnsiChar>) {
        info.Kind = tkChar;
        info.Name = "Char";
    } else if constexpr (std::is_same_v<V, WideChar>) {
        info.Kind = tkWChar;
        info.Name = "WideChar";
    } else if constexpr (std::is_same_v<V, Int64> || std::is_same_v<V, UInt64>) {
        info.Kind = tkInt64;
        info.Name = "Int64";
    } else if constexpr (std::is_integral_v<V>) {
        info.Kind = tkInteger;
        info.Name = "Integer";
    } else if constexpr (std::is_floating_point_v<V>) {
        info.Kind = tkFloat;
        info.Name = "Extended";
    } else if constexpr (std::is_same_v<V, AnsiString>) {
        info.Kind = tkLString;
        info.Name = "string";
    } else if constexpr (std::is_same_v<V, WideString>) {
        info.Kind = tkWString;
        info.Name = "WideString";
    } else if constexpr (IsSet<V>::value) {
        info.Kind = tkSet;
        info.CompType = TypeInfoOf<typename IsSet<V>::Element>();
        info.Name = "set of " + info.CompType->Name;
    } else if constexpr (IsObjectPointer<V>) {
        using C = std::remove_cv_t<std::remove_pointer_t<V>>;
        info.Kind = tkClass;
        info.Name = ClassNameOfType(typeid(C));
        info.IsInstance = &isInstanceOf<C>;
    } else if constexpr (IsClosure<V>::value) {
        info.Kind = tkMethod;
        info.Name = "TMethod";
        info.MethodAssigned = &closureAssigned<V>;
        info.SameMethod = &sameClosure<V>;
        info.EmptyMethod = [] { return std::any(V()); };
    } else {
        static_assert(!sizeof(V), "this type cannot be a published property");
    }
    return info;
}

template <typename V> TPropValue toPropValue(const V& value) {
    if constexpr (IsSet<V>::value)
        return static_cast<Int64>(value.Bits());
    else if constexpr (IsOrdinal<V>)
        return static_cast<Int64>(value);
    else if constexpr (std::is_floating_point_v<V>)
        return static_cast<double>(value);
    else if constexpr (std::is_same_v<V, AnsiString> || std::is_same_v<V, WideString>)
        return value;
    else if constexpr (IsObjectPointer<V>)
        return const_cast<TObject*>(static_cast<const TObject*>(value));
    else
        return std::any(value);
}

template <typename V> V fromPropValue(const TPropValue& value) {
    if constexpr (IsSet<V>::value) {
        return V::FromBits(static_cast<UInt64>(std::get<Int64>(value)));
    } else if constexpr (IsOrdinal<V>) {
        return static_cast<V>(std::get<Int64>(value));
    } else if constexpr (std::is_floating_point_v<V>) {
        return static_cast<V>(std::get<double>(value));
    } else if constexpr (std::is_same_v<V, AnsiString> || std::is_same_v<V, WideString>) {
        return std::get<V>(value);
    } else if constexpr (IsObjectPointer<V>) {
        TObject* object = std::get<TObject*>(value);
        if (!object) return nullptr;
        auto* typed = dynamic_cast<V>(object);
        if (!typed) RaiseInvalidCast();
        return typed;
    } else {
        const auto* closure = std::any_cast<V>(&std::get<std::any>(value));
        if (!closure) RaiseInvalidCast();
        return *closure;
    }
}
} // namespace typinfo_detail

// Sets the stream default and stored test of one property being declared.
template <typename T> class TPropertyBuilder {
public:
    explicit TPropertyBuilder(TPropInfo& info) : info_(info) {}
    // The type when the C++ type does not tell it (TColor, TCursor, TShortCut).
    TPropertyBuilder& Type(const TTypeInfo* PropType) {
        info_.PropType = PropType;
        return *this;
    }
    template <typename V> TPropertyBuilder& Default(V Value) {
        info_.Default = std::get<Int64>(typinfo_detail::toPropValue(Value));
        return *this;
    }
    TPropertyBuilder& Stored(bool IsStored) {
        if (IsStored)
            info_.Stored = nullptr;
        else
            info_.Stored = [](const TObject*) { return false; };
        return *this;
    }
    TPropertyBuilder& Stored(bool (T::*IsStored)() const) {
        info_.Stored = [IsStored](const TObject* instance) {
            return (static_cast<const T*>(instance)->*IsStored)();
        };
        return *this;
    }

private:
    TPropInfo& info_;
};

// What a class's description declares: its published properties, fields and
// handler methods.
template <typename T> class TClassBuilder {
public:
    explicit TClassBuilder(TMetaClass& meta) : meta_(meta) {
        // Only components and collection items are made by their class (an
        // action link also takes an owner-like pointer, its client).
        if constexpr (!std::is_abstract_v<T> && std::is_base_of_v<TComponent, T> &&
                      std::is_constructible_v<T, TComponent*>)
            meta_.createComponent_ = [](TComponent* owner) -> TComponent* { return new T(owner); };
        if constexpr (!std::is_abstract_v<T> && std::is_base_of_v<TCollectionItem, T> &&
                      std::is_constructible_v<T, TCollection*>)
            meta_.createItem_ = [](TCollection* collection) -> TCollectionItem* { return new T(collection); };
    }

    // Getter: a member function (const or not) or a data member; setter: a
    // member function taking the value or a data member.
    template <typename Getter, typename Setter>
    TPropertyBuilder<T> Property(const AnsiString& Name, Getter Get, Setter Set) {
        TPropInfo& info = declare<Getter>(Name, Get);
        using V = ValueOf<Getter>;
        info.Setter = [Set](TObject* instance, const TPropValue& value) {
            T* object = static_cast<T*>(instance);
            if constexpr (std::is_member_object_pointer_v<Setter>)
                object->*Set = typinfo_detail::fromPropValue<V>(value);
            else
                (object->*Set)(typinfo_detail::fromPropValue<V>(value));
        };
        return TPropertyBuilder<T>(info);
    }
    // A read-only property: sub-objects such as Font, Lines or a collection
    // are streamed through their own properties.
    template <typename Getter> TPropertyBuilder<T> Property(const AnsiString& Name, Getter Get) {
        return TPropertyBuilder<T>(declare<Getter>(Name, Get));
    }

    // What a component of this class or a descendant needs once its whole
    // object exists (C++ runs no virtual code of a descendant in a
    // constructor): a frame reads its form resource there.
    void AfterCreate(void (*Finish)(TComponent* Component)) { meta_.afterCreate_ = Finish; }

    template <typename F> void Field(const AnsiString& Name, F* T::*Member) {
        meta_.fields_.push_back(TFieldInfo{Name, typeid(F), [Member](TObject* root, TObject* value) {
                                               F* typed = value ? dynamic_cast<F*>(value) : nullptr;
                                               if (value && !typed) typinfo_detail::RaiseInvalidCast();
                                               static_cast<T*>(root)->*Member = typed;
                                           }});
    }

    template <typename C, typename R, typename... Args>
    void Method(const AnsiString& Name, R (C::*Handler)(Args...)) {
        static_assert(std::is_base_of_v<C, T>);
        using ClosureType = Closure<R(Args...)>;
        meta_.methods_.push_back(TMethodInfo{Name, TypeInfoOf<ClosureType>(), [Handler](TObject* instance) {
                                                 return std::any(
                                                     ClosureType(static_cast<T*>(instance), Handler));
                                             }});
    }

private:
    template <typename Getter> using ValueOf = std::remove_cvref_t<std::invoke_result_t<Getter, T&>>;

    template <typename Getter> TPropInfo& declare(const AnsiString& Name, Getter Get) {
        using V = ValueOf<Getter>;
        auto info = std::make_unique<TPropInfo>();
        info->Name = Name;
        info->PropType = TypeInfoOf<V>();
        info->Getter = [Get](const TObject* instance) {
            T& object = *const_cast<T*>(static_cast<const T*>(instance));
            return typinfo_detail::toPropValue<V>(std::invoke(Get, object));
        };
        meta_.properties_.push_back(std::move(info));
        return *meta_.properties_.back();
    }

    TMetaClass& meta_;
};

// Describes class T, derived from Parent (TObject for a root of its own).
template <typename T, typename Parent, typename Describe> TClass DescribeClass(Describe describe) {
    static_assert(std::is_base_of_v<Parent, T> && std::is_base_of_v<TObject, T>);
    std::type_index parent = std::is_same_v<Parent, TObject> ? std::type_index(typeid(void)) : typeid(Parent);
    return typinfo_detail::RegisterMetaClass(typeid(T), parent, [describe](TMetaClass& meta) {
        TClassBuilder<T> builder(meta);
        describe(builder);
    });
}
template <typename T, typename Parent> TClass DescribeClass() {
    return DescribeClass<T, Parent>([](TClassBuilder<T>&) {});
}
