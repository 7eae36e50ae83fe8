// Run-time type names for TObject and the per-thread operating-system error.
#include "platform/core/System.h"

#include <cstdlib>
#include <cxxabi.h>
#include <memory>
#include <typeinfo>

AnsiString TObject::ClassName() const {
    const char* mangled = typeid(*this).name();
    int status = 0;
    const std::unique_ptr<char, void (*)(void*)> demangled(
        abi::__cxa_demangle(mangled, nullptr, nullptr, &status), std::free);
    const AnsiString name = status == 0 && demangled ? demangled.get() : mangled;
    // Classes are known by their own name, whatever namespace holds them.
    const std::size_t scope = name.rfind("::");
    return scope == AnsiString::npos ? name : name.substr(scope + 2);
}

namespace {
thread_local DWORD lastOSError = 0;
} // namespace

DWORD GetLastOSError() {
    return lastOSError;
}
void SetLastOSError(DWORD Code) {
    lastOSError = Code;
}
