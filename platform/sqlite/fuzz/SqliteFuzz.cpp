// libFuzzer target: the input is a database file, opened by name and read the way the
// program reads it, the whole table first, then the rows of each category it names.
#include "platform/sqlite/sqlite.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <sys/mman.h>
#include <unistd.h>
#include <vector>

namespace {

constexpr std::size_t MaximumCategories = 4;
constexpr std::size_t EffectColumn = 2;
constexpr int RowsBeforeStopping = 3;
constexpr const char* SelectAll = "SELECT * FROM MarrowindScript;";

// One in-memory file for the whole run, refilled for every input.
class InputFile {
public:
    InputFile() : descriptor(::memfd_create("sqlite-fuzz", MFD_CLOEXEC)) {
        if (descriptor < 0) std::abort();
        name = "/proc/self/fd/" + std::to_string(descriptor);
    }

    void fill(const std::uint8_t* data, std::size_t size) {
        if (::ftruncate(descriptor, 0) != 0) std::abort();
        for (std::size_t done = 0; done < size;) {
            const ssize_t count = ::pwrite(descriptor, data + done, size - done, static_cast<off_t>(done));
            if (count <= 0) std::abort();
            done += static_cast<std::size_t>(count);
        }
    }

    const char* path() const { return name.c_str(); }

private:
    int descriptor;
    std::string name;
};

// Reads every text handed over, so that the sanitizers see any bad pointer.
std::size_t touch(char** texts, int count) {
    std::size_t total = 0;
    for (int index = 0; index < count; ++index)
        if (texts[index]) total += std::strlen(texts[index]);
    return total;
}

int touchRow(void* argument, int argc, char** argv, char** columnNames) {
    auto* calls = static_cast<int*>(argument);
    touch(argv, argc + 1);
    touch(columnNames, 2 * argc + 1);
    return ++*calls == RowsBeforeStopping ? 1 : 0;
}

std::vector<std::string> readTable(sqlite* db) {
    std::vector<std::string> categories = {"Buttons", "Rock'n Roll"};
    char** result = nullptr;
    char* error = nullptr;
    int rows = 0, columns = 0;
    if (sqlite_get_table(db, SelectAll, &result, &rows, &columns, &error) == SQLITE_OK) {
        touch(result, (rows + 1) * columns);
        for (int row = 1; row <= rows && categories.size() < MaximumCategories; ++row)
            if (columns > static_cast<int>(EffectColumn) && result[row * columns + EffectColumn])
                categories.emplace_back(result[row * columns + EffectColumn]);
    }
    std::free(error);
    sqlite_free_table(result);
    return categories;
}

void runStatement(sqlite* db, const std::string& sql) {
    int calls = 0;
    char* error = nullptr;
    sqlite_exec(db, sql.c_str(), touchRow, &calls, &error);
    std::free(error);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static InputFile file;
    file.fill(data, size);
    char* error = nullptr;
    sqlite* db = sqlite_open(file.path(), 0660, &error);
    std::free(error);
    if (!db) return 0;
    for (const std::string& category : readTable(db))
        runStatement(db, "SELECT * FROM MarrowindScript WHERE Effect ='" + category + "';");
    runStatement(db, SelectAll);
    sqlite_close(db);
    return 0;
}
