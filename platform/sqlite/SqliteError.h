// The failure every part of the reader throws: a result code of the C interface with
// the error text handed back to the caller.
#pragma once

#include "platform/sqlite/sqlite.h"

#include <stdexcept>
#include <string>

namespace sqlite2 {

class SqliteError : public std::runtime_error {
public:
    SqliteError(int code, const std::string& message) : std::runtime_error(message), code(code) {}
    int code;
};

inline constexpr const char* MalformedText = "database disk image is malformed";

[[noreturn]] inline void throwCorrupt() {
    throw SqliteError(SQLITE_CORRUPT, MalformedText);
}

} // namespace sqlite2
