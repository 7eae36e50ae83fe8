// Procedure tokens: every token is an object of this unit; conversion handles
// are interned per (token, charset) so that reading a slot twice gives the same
// value, as callers compare them. A call holds its token alive, so a bound
// method may free its own token while it runs.
#include "platform/win/WindowProcedures.h"

#include <map>
#include <memory>
#include <mutex>

struct WindowProcedure {
    enum class Kind { Function, Method, Conversion };
    Kind kind = Kind::Function;
    WindowProcFunction function = nullptr;
    WindowProcMethod method;
    ProcedureSlot original;
};

namespace {

struct ProcedureTable {
    std::mutex mutex;
    std::map<WindowProcFunction, WNDPROC> functions;
    std::map<std::pair<WNDPROC, CharSet>, WNDPROC> conversions;
    std::map<WNDPROC, std::shared_ptr<WindowProcedure>> live;

    WNDPROC insert(std::shared_ptr<WindowProcedure> procedure) {
        WNDPROC token = procedure.get();
        live.emplace(token, std::move(procedure));
        return token;
    }
};

ProcedureTable& table() {
    static ProcedureTable procedures;
    return procedures;
}

std::shared_ptr<WindowProcedure> lookup(WNDPROC procedure) {
    ProcedureTable& procedures = table();
    std::lock_guard lock(procedures.mutex);
    auto found = procedures.live.find(procedure);
    return found == procedures.live.end() ? nullptr : found->second;
}

WNDPROC conversionHandle(const ProcedureSlot& slot) {
    ProcedureTable& procedures = table();
    std::lock_guard lock(procedures.mutex);
    WNDPROC& handle = procedures.conversions[{slot.procedure, slot.charSet}];
    if (!handle) {
        auto conversion = std::make_shared<WindowProcedure>();
        conversion->kind = WindowProcedure::Kind::Conversion;
        conversion->original = slot;
        handle = procedures.insert(std::move(conversion));
    }
    return handle;
}

} // namespace

WNDPROC WindowProcFromFunction(WindowProcFunction function) {
    if (!function) return nullptr;
    ProcedureTable& procedures = table();
    std::lock_guard lock(procedures.mutex);
    WNDPROC& token = procedures.functions[function];
    if (!token) {
        auto procedure = std::make_shared<WindowProcedure>();
        procedure->function = function;
        token = procedures.insert(std::move(procedure));
    }
    return token;
}

WNDPROC CreateWindowProcObject(WindowProcMethod method) {
    auto procedure = std::make_shared<WindowProcedure>();
    procedure->kind = WindowProcedure::Kind::Method;
    procedure->method = std::move(method);
    ProcedureTable& procedures = table();
    std::lock_guard lock(procedures.mutex);
    return procedures.insert(std::move(procedure));
}

void FreeWindowProcObject(WNDPROC procedure) {
    std::shared_ptr<WindowProcedure> released;
    ProcedureTable& procedures = table();
    std::lock_guard lock(procedures.mutex);
    auto found = procedures.live.find(procedure);
    if (found == procedures.live.end() || found->second->kind != WindowProcedure::Kind::Method) return;
    released = std::move(found->second);
    procedures.live.erase(found);
}

WNDPROC ProcedureAsSeenBy(const ProcedureSlot& slot, CharSet reader) {
    if (!slot.procedure || slot.charSet == reader) return slot.procedure;
    return conversionHandle(slot);
}

ProcedureSlot ProcedureSetBy(WNDPROC value, CharSet writer) {
    ProcedureSlot original;
    if (IsConversionHandle(value, original)) return original;
    return {value, writer};
}

bool IsConversionHandle(WNDPROC procedure, ProcedureSlot& original) {
    std::shared_ptr<WindowProcedure> found = lookup(procedure);
    if (!found || found->kind != WindowProcedure::Kind::Conversion) return false;
    original = found->original;
    return true;
}

bool IsValidProcedure(WNDPROC procedure) {
    return lookup(procedure) != nullptr;
}

LRESULT InvokeProcedure(WNDPROC procedure, HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    std::shared_ptr<WindowProcedure> held = lookup(procedure);
    if (!held) return 0;
    switch (held->kind) {
    case WindowProcedure::Kind::Function:
        return held->function(window, message, wParam, lParam);
    case WindowProcedure::Kind::Method:
        return held->method(window, message, wParam, lParam);
    case WindowProcedure::Kind::Conversion:
        return InvokeProcedure(held->original.procedure, window, message, wParam, lParam);
    }
    return 0;
}
