#include "platform/sqlite/tests/TestSupport.h"

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <sys/mman.h>
#include <unistd.h>

namespace sqlite2test {

namespace {

Text ownedText(const char* text) {
    return text ? Text(text) : std::nullopt;
}

Text takeError(char* error) {
    Text text = ownedText(error);
    std::free(error);
    return text;
}

struct ExecState {
    ExecResult* result;
    int stopAfter;
};

int collectRow(void* argument, int argc, char** argv, char** columnNames) {
    auto* state = static_cast<ExecState*>(argument);
    if (state->result->rows.empty())
        for (int index = 0; index < 2 * argc; ++index)
            state->result->namesAndTypes.push_back(ownedText(columnNames[index]));
    std::vector<Text> row;
    for (int index = 0; index < argc; ++index)
        row.push_back(ownedText(argv[index]));
    state->result->rows.push_back(std::move(row));
    return static_cast<int>(state->result->rows.size()) == state->stopAfter ? 1 : 0;
}

} // namespace

std::string fixturePath(std::string_view name) {
    return std::string(QUORVANE_FIXTURES_DIR "/db/") + std::string(name);
}

std::string readFile(const std::string& path) {
    std::ifstream stream(path, std::ios::binary);
    if (!stream) throw std::runtime_error("cannot read " + path);
    std::ostringstream content;
    content << stream.rdbuf();
    return content.str();
}

MemoryFile::MemoryFile() : descriptor(::memfd_create("sqlite-test", MFD_CLOEXEC)) {
    if (descriptor < 0) throw std::runtime_error("memfd_create failed");
    name = "/proc/self/fd/" + std::to_string(descriptor);
}

MemoryFile::~MemoryFile() {
    ::close(descriptor);
}

void MemoryFile::replaceContent(std::string_view bytes) {
    if (::ftruncate(descriptor, 0) != 0) throw std::runtime_error("ftruncate failed");
    for (std::size_t done = 0; done < bytes.size();) {
        const ssize_t count =
            ::pwrite(descriptor, bytes.data() + done, bytes.size() - done, static_cast<off_t>(done));
        if (count <= 0) throw std::runtime_error("pwrite failed");
        done += static_cast<std::size_t>(count);
    }
}

TableResult getTable(sqlite* db, const std::string& sql) {
    TableResult result;
    char** cells = nullptr;
    char* error = nullptr;
    result.code = sqlite_get_table(db, sql.c_str(), &cells, &result.rowCount, &result.columnCount, &error);
    result.error = takeError(error);
    result.resultIsNull = cells == nullptr;
    if (cells)
        for (int index = 0; index < (result.rowCount + 1) * result.columnCount; ++index)
            result.cells.push_back(ownedText(cells[index]));
    sqlite_free_table(cells);
    return result;
}

ExecResult exec(sqlite* db, const std::string& sql, int stopAfter) {
    ExecResult result;
    ExecState state{&result, stopAfter};
    char* error = nullptr;
    result.code = sqlite_exec(db, sql.c_str(), collectRow, &state, &error);
    result.error = takeError(error);
    return result;
}

std::string categoryStatement(std::string_view category) {
    return "SELECT * FROM MarrowindScript WHERE Effect ='" + std::string(category) + "';";
}

OpenResult openDatabase(const std::string& path) {
    char* error = nullptr;
    OpenResult result;
    result.db = sqlite_open(path.c_str(), 0660, &error);
    result.error = takeError(error);
    return result;
}

} // namespace sqlite2test
