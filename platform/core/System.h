// The root of every framework class, the closures that carry events (an
// object pointer plus a method, null-testable and comparable by code and
// data) and the thread's last operating-system error.
#pragma once

#include "platform/core/Types.h"

#include <array>
#include <cstring>
#include <type_traits>
#include <utility>

class TObject {
public:
    TObject() = default;
    TObject(const TObject&) = delete;
    TObject& operator=(const TObject&) = delete;
    virtual ~TObject() = default;

    // The name of the object's most derived class, as the framework's ClassName.
    AnsiString ClassName() const;
};

template <typename Signature> class Closure;

// A bound method: `Closure<void(TObject*)>(this, &TMyForm::ButtonClick)`.
// Two closures are equal when both their object and their method are equal;
// a default-constructed closure is "unassigned" and compares equal to others
// of its kind.
template <typename R, typename... Args> class Closure<R(Args...)> {
    // Large enough for a pointer to member function on every ABI we build for.
    using CodeBytes = std::array<unsigned char, 2 * sizeof(void*)>;
    using Invoker = R (*)(void* data, const CodeBytes& code, Args... args);

public:
    Closure() = default;
    Closure(std::nullptr_t) {}

    template <typename Object, typename Class>
    requires std::is_base_of_v<Class, Object> Closure(Object* object, R (Class::*method)(Args...)) {
        bind<Class>(static_cast<Class*>(object), method);
    }

    template <typename Object, typename Class>
    requires std::is_base_of_v<Class, Object> Closure(const Object* object,
                                                      R (Class::*method)(Args...) const) {
        bind<const Class>(static_cast<const Class*>(object), method);
    }

    explicit operator bool() const { return invoker_ != nullptr; }
    R operator()(Args... args) const { return invoker_(data_, code_, std::forward<Args>(args)...); }

    // The bound object, as the framework's TMethod.Data.
    void* Data() const { return data_; }
    // Whether both closures call the same method (TMethod.Code), whatever their objects.
    bool SameCode(const Closure& other) const { return invoker_ == other.invoker_ && code_ == other.code_; }

    friend bool operator==(const Closure& a, const Closure& b) { return a.data_ == b.data_ && a.SameCode(b); }
    friend bool operator==(const Closure& a, std::nullptr_t) { return !a; }

private:
    template <typename Class, typename Method> void bind(Class* object, Method method) {
        static_assert(sizeof(Method) <= sizeof(CodeBytes));
        data_ = const_cast<void*>(static_cast<const void*>(object));
        std::memcpy(code_.data(), &method, sizeof(Method));
        invoker_ = &invoke<Class, Method>;
    }

    template <typename Class, typename Method>
    static R invoke(void* data, const CodeBytes& code, Args... args) {
        Method method;
        std::memcpy(&method, code.data(), sizeof(Method));
        return (static_cast<Class*>(data)->*method)(std::forward<Args>(args)...);
    }

    void* data_ = nullptr;
    CodeBytes code_{};
    Invoker invoker_ = nullptr;
};

using TNotifyEvent = Closure<void(TObject* Sender)>;

// The calling thread's last operating-system error, in the Windows numbering
// (ERROR_FILE_NOT_FOUND = 2, ...); set by the file, code-page and stream calls
// that report failure through their result.
DWORD GetLastOSError();
void SetLastOSError(DWORD Code);

// The error codes the core reports, with their Windows numbers.
namespace OSErrorCode {
constexpr DWORD Success = 0;
constexpr DWORD FileNotFound = 2;
constexpr DWORD PathNotFound = 3;
constexpr DWORD TooManyOpenFiles = 4;
constexpr DWORD AccessDenied = 5;
constexpr DWORD InvalidHandle = 6;
constexpr DWORD NotEnoughMemory = 8;
constexpr DWORD NotSameDevice = 17;
constexpr DWORD NoMoreFiles = 18;
constexpr DWORD WriteProtect = 19;
constexpr DWORD SharingViolation = 32;
constexpr DWORD NotSupported = 50;
constexpr DWORD FileExists = 80;
constexpr DWORD InvalidParameter = 87;
constexpr DWORD DiskFull = 112;
constexpr DWORD InsufficientBuffer = 122;
constexpr DWORD InvalidName = 123;
constexpr DWORD NegativeSeek = 131;
constexpr DWORD DirectoryNotEmpty = 145;
constexpr DWORD AlreadyExists = 183;
constexpr DWORD FileNameTooLong = 206;
constexpr DWORD DirectoryInvalid = 267;
constexpr DWORD InvalidFlags = 1004;
constexpr DWORD NoUnicodeTranslation = 1113;
// Codes with this bit set carry a C library errno that has no Windows number.
constexpr DWORD ErrnoFlag = 0x20000000;
} // namespace OSErrorCode
