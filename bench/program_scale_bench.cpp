// The main window over libraries of 2,500, 5,000 and 10,000 scripts (the demo
// rows repeated under 20 categories): a category switch (query done and the
// title list filled) and a title pick (editors filled and highlighted, wizard
// built, page composed and written, before the browser renders), headless and
// on a private X server with the desktop backend. The time per row of the
// category shows whether both grow linearly with the table.
#include "app/Main.h"
#include "app/Settings.h"
#include "platform/backend/Backend.h"
#include "platform/backend/HeadlessBackend.h"
#include "platform/backend/gtk/GtkBackend.h"
#include "platform/backend/tests/PrivateXServer.h"
#include "platform/vcl/StdCtrls.h"
#include "tests/program/TestDatabases.h"
#include "unicode/TntForms.h"

#include <benchmark/benchmark.h>

#include <fstream>
#include <map>

namespace {

constexpr int categoryCount = 20;
const std::string programFolder = QUORVANE_PROGRAM_FOLDER;

const std::filesystem::path& scratch() {
    static struct Folder {
        std::filesystem::path path;
        Folder() {
            std::string name = (std::filesystem::temp_directory_path() / "quorvane-scale-XXXXXX").string();
            path = mkdtemp(name.data()) ? std::filesystem::path(name) : std::filesystem::temp_directory_path();
            setenv("TMPDIR", path.c_str(), 1);
            setenv("QUORVANE_REGISTRY_FILE", (path / "registry").c_str(), 1);
        }
        ~Folder() {
            std::error_code ignored;
            std::filesystem::remove_all(path, ignored);
        }
    } folder;
    return folder.path;
}

const std::string& library(int Scripts) {
    static std::map<int, std::string> written;
    std::string& path = written[Scripts];
    if (path.empty()) {
        path = (scratch() / ("scale" + std::to_string(Scripts) + ".zelk")).string();
        WriteDatabase(path, ScaleDatabase(programFolder + "/demo.zelk", Scripts, categoryCount));
    }
    return path;
}

enum class Screen { Headless, Xvfb };

std::shared_ptr<Backend> backendFor(Screen Kind) {
    static std::shared_ptr<Backend> headless = std::make_shared<HeadlessBackend>();
    if (Kind == Screen::Headless) return headless;
    static std::unique_ptr<PrivateXServer> server;
    static std::shared_ptr<Backend> desktop = []() -> std::shared_ptr<Backend> {
        if (!PrivateXServer::Installed()) return nullptr;
        server = std::make_unique<PrivateXServer>();
        if (server->Display().empty()) return nullptr;
        setenv("DISPLAY", server->Display().c_str(), 1);
        setenv("NO_AT_BRIDGE", "1", 1);
        return GtkBackend::Open();
    }();
    return desktop;
}

// The main window over the library of `Scripts`, shown on the backend of
// `Kind`; made anew when either changes.
TMainForm* mainWindow(Screen Kind, int Scripts) {
    static std::unique_ptr<TMainForm> form;
    static std::pair<Screen, int> made{Screen::Headless, 0};
    if (form && made == std::make_pair(Kind, Scripts)) return form.get();
    form.reset();
    std::shared_ptr<Backend> backend = backendFor(Kind);
    if (!backend) return nullptr;
    static const bool formsReady = (InitializeTntForms(), Application->Initialize(), true);
    (void)formsReady;
    InstallAsBackend(backend);
    std::ofstream(SettingsFileName()) << "[Database]\nLastDBase=" << library(Scripts) << "\n";
    form.reset(NewForm<TMainForm>(nullptr));
    std::filesystem::remove(SettingsFileName());
    form->Show();
    Application->ProcessMessages();
    made = {Kind, Scripts};
    return form.get();
}

void switchCategories(benchmark::State& state, Screen Kind) {
    TMainForm* form = mainWindow(Kind, static_cast<int>(state.range(0)));
    if (!form) {
        state.SkipWithError("no private X server");
        return;
    }
    Integer category = 0;
    for (auto _ : state) {
        category = 1 - category;
        form->TypeComboBox->SetItemIndex(category);
        form->SelectScriptType(form->TypeComboBox);
    }
    const double rows = form->TitleBox->Items()->Count();
    state.counters["rows_in_category"] = rows;
    // Seconds per row of the category: flat when the switch grows linearly.
    state.counters["time_per_row"] =
        benchmark::Counter(rows, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

void pickTitles(benchmark::State& state, Screen Kind) {
    TMainForm* form = mainWindow(Kind, static_cast<int>(state.range(0)));
    if (!form) {
        state.SkipWithError("no private X server");
        return;
    }
    form->TypeComboBox->SetItemIndex(0);
    form->SelectScriptType(form->TypeComboBox);
    const Integer titles = form->TitleBox->Items()->Count();
    Integer title = 0;
    for (auto _ : state) {
        title = (title + 7) % titles;
        form->TitleBox->SetItemIndex(title);
        form->SelectTitleBox(form->TitleBox);
    }
}

void BM_CategorySwitch_Headless(benchmark::State& state) {
    switchCategories(state, Screen::Headless);
}
void BM_TitlePick_Headless(benchmark::State& state) {
    pickTitles(state, Screen::Headless);
}
void BM_CategorySwitch_Xvfb(benchmark::State& state) {
    switchCategories(state, Screen::Xvfb);
}
void BM_TitlePick_Xvfb(benchmark::State& state) {
    pickTitles(state, Screen::Xvfb);
}

BENCHMARK(BM_CategorySwitch_Headless)->Arg(2500)->Arg(5000)->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TitlePick_Headless)->Arg(2500)->Arg(5000)->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CategorySwitch_Xvfb)->Arg(2500)->Arg(5000)->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TitlePick_Xvfb)->Arg(2500)->Arg(5000)->Arg(10000)->Unit(benchmark::kMillisecond);

} // namespace
