// The whole program's start-up and memory, measured on the program's own
// entry (program_probe): from exec to the main window's first paint on the
// screen, the splash window's pauses turned off, headless and on a private X
// server, with the demo library and with a library of 10,000 scripts, and a
// bare GTK window's first paint on the same server as the floor; then
// the memory of the program's process after start-up and after showing every
// demo script, the web engine's processes apart.
#include "platform/backend/tests/PrivateXServer.h"
#include "tests/program/TestDatabases.h"

#include <benchmark/benchmark.h>

#include <fstream>
#include <sstream>

namespace {

using namespace std::chrono_literals;

constexpr auto paintTimeout = 30s;
constexpr auto walkTimeout = 120s;
constexpr int scaleScripts = 10000;
constexpr int scaleCategories = 20;

const std::string programFolder = QUORVANE_PROGRAM_FOLDER;
const std::string probe = programFolder + "/program_probe";
const std::string bareWindow = programFolder + "/bare_window_probe";

// A private folder for the settings, registry, caches and temporary files of
// the runs, removed at exit.
const std::filesystem::path& scratch() {
    static struct Folder {
        std::filesystem::path path;
        Folder() {
            std::string name = (std::filesystem::temp_directory_path() / "quorvane-bench-XXXXXX").string();
            path = mkdtemp(name.data()) ? std::filesystem::path(name) : std::filesystem::temp_directory_path();
        }
        ~Folder() {
            std::error_code ignored;
            std::filesystem::remove_all(path, ignored);
        }
    } folder;
    return folder.path;
}

PrivateXServer* sharedServer() {
    static std::unique_ptr<PrivateXServer> server =
        PrivateXServer::Installed() ? std::make_unique<PrivateXServer>() : nullptr;
    return server && !server->Display().empty() ? server.get() : nullptr;
}

const std::string& scaleLibrary() {
    static const std::string path = [] {
        const std::string file = (scratch() / "scale.zelk").string();
        WriteDatabase(file, ScaleDatabase(programFolder + "/demo.zelk", scaleScripts, scaleCategories));
        return file;
    }();
    return path;
}

// The probe's settings file names the library to open; none gives the demo.
class ProbeSettings {
public:
    explicit ProbeSettings(const std::string& Library) {
        std::filesystem::remove(file_);
        if (!Library.empty()) std::ofstream(file_) << "[Database]\nLastDBase=" << Library << "\n";
    }
    ~ProbeSettings() { std::filesystem::remove(file_); }

private:
    std::string file_ = probe + ".ini";
};

Environment environmentFor(bool Desktop) {
    const std::filesystem::path& folder = scratch();
    Environment environment{
        {"QUORVANE_NO_PAUSES", "1"},
        {"TMPDIR", folder.string()},
        {"QUORVANE_REGISTRY_FILE", (folder / "registry").string()},
        {"XDG_CACHE_HOME", (folder / "cache").string()},
        {"XDG_DATA_HOME", (folder / "data").string()},
        {"XDG_CONFIG_HOME", (folder / "config").string()},
        {"NO_AT_BRIDGE", "1"},
        {"QUORVANE_BACKEND", Desktop ? "gtk" : "headless"},
    };
    if (Desktop) environment["DISPLAY"] = sharedServer()->Display();
    return environment;
}

bool needsDisplay(benchmark::State& state, bool Desktop) {
    if (!Desktop || sharedServer()) return false;
    state.SkipWithError("Xvfb is not installed");
    return true;
}

void startUntilPainted(benchmark::State& state, bool Desktop, const std::string& Library) {
    if (needsDisplay(state, Desktop)) return;
    ProbeSettings settings(Library);
    for (auto _ : state) {
        const auto started = std::chrono::steady_clock::now();
        ChildProcess program({probe, "paint"}, environmentFor(Desktop));
        const bool painted = program.WaitForLine("painted", paintTimeout).has_value();
        state.SetIterationTime(
            std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count());
        if (!painted) state.SkipWithError("the main window was never painted");
    }
}

void BM_StartupToFirstPaint_Headless(benchmark::State& state) {
    startUntilPainted(state, false, {});
}
void BM_StartupToFirstPaint_Xvfb(benchmark::State& state) {
    startUntilPainted(state, true, {});
}
void BM_StartupToFirstPaint_10000Scripts_Headless(benchmark::State& state) {
    startUntilPainted(state, false, scaleLibrary());
}
void BM_StartupToFirstPaint_10000Scripts_Xvfb(benchmark::State& state) {
    startUntilPainted(state, true, scaleLibrary());
}
// The floor under BM_StartupToFirstPaint_Xvfb on this machine and server.
void BM_BareGtkWindowFirstPaint_Xvfb(benchmark::State& state) {
    if (needsDisplay(state, true)) return;
    for (auto _ : state) {
        const auto started = std::chrono::steady_clock::now();
        ChildProcess window({bareWindow}, environmentFor(true));
        const bool painted = window.WaitForLine("painted", paintTimeout).has_value();
        state.SetIterationTime(
            std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count());
        if (!painted) state.SkipWithError("the bare window was never painted");
    }
}

BENCHMARK(BM_StartupToFirstPaint_Headless)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(10);
BENCHMARK(BM_StartupToFirstPaint_Xvfb)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(10);
BENCHMARK(BM_BareGtkWindowFirstPaint_Xvfb)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(10);
BENCHMARK(BM_StartupToFirstPaint_10000Scripts_Headless)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_StartupToFirstPaint_10000Scripts_Xvfb)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(3);

// Reads "memory <when> peak=.. anon=.. engine=.." into counters named <when>_peak_MB and so on.
void countMemory(benchmark::State& state, const std::string& Line) {
    std::istringstream fields(Line);
    std::string when;
    fields >> when;
    for (std::string field; fields >> field;) {
        const std::size_t equals = field.find('=');
        if (equals == std::string::npos) continue;
        state.counters[when + "_" + field.substr(0, equals) + "_MB"] =
            std::atof(field.c_str() + equals + 1) / 1024.0;
    }
}

void walkAndMeasure(benchmark::State& state, bool Desktop) {
    if (needsDisplay(state, Desktop)) return;
    ProbeSettings settings({});
    for (auto _ : state) {
        ChildProcess program({probe, "walk"}, environmentFor(Desktop));
        bool complete = false;
        for (int report = 0; report < 2; ++report) {
            std::optional<std::string> line = program.WaitForLine("memory ", walkTimeout);
            if (!line) break;
            countMemory(state, *line);
            complete = report == 1;
        }
        if (!complete) state.SkipWithError("the walk did not finish");
    }
}

void BM_MemoryAfterStartAndWalk_Headless(benchmark::State& state) {
    walkAndMeasure(state, false);
}
void BM_MemoryAfterStartAndWalk_Xvfb(benchmark::State& state) {
    walkAndMeasure(state, true);
}
BENCHMARK(BM_MemoryAfterStartAndWalk_Headless)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(BM_MemoryAfterStartAndWalk_Xvfb)->Unit(benchmark::kMillisecond)->Iterations(1);

} // namespace
