// Speed of the database reader: open and SELECT * over large.db and over generated
// files of 12, 25 and 50 MB (rows per second and MB per second, which stay flat when
// reading is linear in the file size), and a category query as the program sends it.
// Over the demonstration library, large.db and a generated 61 MB file both
// statements print rows/s and MB/s beside a plain read of the same file, page
// after page, in the same run; a whole-table read also prints the plain
// read's time and the ratio to it in its own row.
#include "BesideBaseline.h"
#include "platform/sqlite/sqlite.h"
#include "platform/sqlite/tests/DatabaseWriter.h"

#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <map>
#include <random>
#include <string>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

constexpr const char* SelectAll = "SELECT * FROM MarrowindScript;";
constexpr const char* CreateScripts =
    "CREATE TABLE MarrowindScript (Id INTEGER PRIMARY KEY, Wizard TEXT, Effect TEXT, Title TEXT, Head TEXT, "
    "BodyTag TEXT, Body TEXT, Author TEXT, Description TEXT, Files TEXT)";
constexpr std::size_t Megabyte = 1024 * 1024;
const char* const Categories[] = {"Animation", "Clocks", "Forms", "Images", "Navigation"};

std::string largeFixture() {
    return QUORVANE_FIXTURES_DIR "/db/large.db";
}

std::string demoLibrary() {
    return QUORVANE_FIXTURES_DIR "/demo/demo.zelk";
}

// Script rows with bodies from a hundred bytes to several kilobytes, until the file
// reaches the wanted size.
std::string generatedImage(std::size_t wantedBytes) {
    std::mt19937 random(2024);
    std::uniform_int_distribution<std::size_t> bodySize(100, 6000);
    std::vector<sqlite2test::Row> rows;
    std::size_t bytes = 0;
    for (std::int32_t id = 1; bytes < wantedBytes; ++id) {
        std::string body(bodySize(random), 'b');
        bytes += body.size() + 160;
        rows.push_back({id,
                        {std::nullopt, "#Text1#Hello|Caption", Categories[id % 5],
                         "Script " + std::to_string(id), "<script>function run() {}</script>",
                         "onload=\"run()\"", std::move(body), "Ann Smith", "Shows a generated script.", ""}});
    }
    sqlite2test::DatabaseWriter writer;
    writer.addTable("MarrowindScript", CreateScripts, rows);
    return writer.image();
}

// Generated files live in the temporary folder for the run and are removed after it.
class GeneratedFiles {
public:
    ~GeneratedFiles() {
        for (const auto& [size, path] : paths)
            fs::remove(path);
    }

    const std::string& pathFor(std::size_t megabytes) {
        auto found = paths.find(megabytes);
        if (found != paths.end()) return found->second;
        const fs::path path = fs::temp_directory_path() / ("sqlite-bench-" + std::to_string(::getpid()) +
                                                           "-" + std::to_string(megabytes) + ".db");
        std::ofstream(path, std::ios::binary) << generatedImage(megabytes * Megabyte);
        return paths.emplace(megabytes, path.string()).first->second;
    }

private:
    std::map<std::size_t, std::string> paths;
};

GeneratedFiles& generatedFiles() {
    static GeneratedFiles files;
    return files;
}

constexpr std::size_t PlainReadPageSize = 1024;

// The file read page after page, as the reader reads it, doing nothing with the pages.
bool readPageByPage(const std::string& path) {
    char page[PlainReadPageSize];
    const int descriptor = ::open(path.c_str(), O_RDONLY);
    if (descriptor < 0) return false;
    while (::read(descriptor, page, PlainReadPageSize) > 0)
        benchmark::DoNotOptimize(page);
    ::close(descriptor);
    return true;
}

// Open, the whole table as strings, free; beside a plain read of the file.
void openAndSelectAll(benchmark::State& state, const std::string& path) {
    int rows = 0;
    BesideBaseline beside(state);
    for (auto _ : state) {
        bool read = false;
        beside.iteration(
            [&] {
                sqlite* db = sqlite_open(path.c_str(), 0660, nullptr);
                char** result = nullptr;
                int columns = 0;
                read = db && sqlite_get_table(db, SelectAll, &result, &rows, &columns, nullptr) == SQLITE_OK;
                benchmark::DoNotOptimize(result);
                sqlite_free_table(result);
                sqlite_close(db);
            },
            [&] { read = readPageByPage(path) && read; });
        if (!read) {
            state.SkipWithError("the database could not be read");
            return;
        }
    }
    state.SetItemsProcessed(state.iterations() * rows);
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(fs::file_size(path)));
    state.counters["rows"] = rows;
}

void BM_OpenAndSelectAllLargeFixture(benchmark::State& state) {
    openAndSelectAll(state, largeFixture());
}

void BM_OpenAndSelectAllGenerated(benchmark::State& state) {
    openAndSelectAll(state, generatedFiles().pathFor(static_cast<std::size_t>(state.range(0))));
}

int countRow(void* argument, int, char**, char**) {
    ++*static_cast<int*>(argument);
    return 0;
}

// The size of the generated file that stands for a large user library (some 20,000 rows).
constexpr std::size_t largeLibraryMegabytes = 61;

std::string largeLibrary() {
    return generatedFiles().pathFor(largeLibraryMegabytes);
}

using FileOfBenchmark = std::string (*)();

void BM_CategoryQuery(benchmark::State& state, FileOfBenchmark file, const char* category) {
    const std::string path = file();
    const std::string query = std::string("SELECT * FROM MarrowindScript WHERE Effect ='") + category + "';";
    sqlite* db = sqlite_open(path.c_str(), 0660, nullptr);
    if (!db) {
        state.SkipWithError("the database could not be opened");
        return;
    }
    int rows = 0;
    for (auto _ : state) {
        rows = 0;
        sqlite_exec(db, query.c_str(), countRow, &rows, nullptr);
    }
    sqlite_close(db);
    state.SetItemsProcessed(state.iterations() * rows);
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(fs::file_size(path)));
    state.counters["rows"] = rows;
}

void BM_SelectAll(benchmark::State& state, FileOfBenchmark file) {
    openAndSelectAll(state, file());
}

// The reference on a row of its own.
void BM_PlainRead(benchmark::State& state, FileOfBenchmark file) {
    const std::string path = file();
    for (auto _ : state) {
        if (!readPageByPage(path)) {
            state.SkipWithError("the file could not be read");
            return;
        }
    }
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(fs::file_size(path)));
}

} // namespace

BENCHMARK(BM_OpenAndSelectAllLargeFixture)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OpenAndSelectAllGenerated)
    ->Arg(12)
    ->Arg(25)
    ->Arg(50)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

BENCHMARK_CAPTURE(BM_PlainRead, demo_zelk, demoLibrary)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_SelectAll, demo_zelk, demoLibrary)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_CategoryQuery, demo_zelk, demoLibrary, "Text effects")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_PlainRead, large_db, largeFixture)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_CategoryQuery, large_db, largeFixture, "Clocks")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_PlainRead, generated_61MB, largeLibrary)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_SelectAll, generated_61MB, largeLibrary)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_CategoryQuery, generated_61MB, largeLibrary, "Clocks")->Unit(benchmark::kMillisecond);
