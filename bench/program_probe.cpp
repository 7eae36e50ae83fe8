// The program as the start-up and memory benchmarks run it: the same entry,
// units and backends as Quorvane, plus a report on stdout. It writes
// "painted" once the main window's first paint is on the screen (on the
// desktop: drawn by the display server; headless: presented), and with
// "walk" it then shows every script of the open library one after the
// other, writes its memory figures and ends.
//
//   program_probe paint    ends after "painted"
//   program_probe walk     "painted", "memory started ...", the walk, "memory walked ...", then ends
//
// Memory lines: "<when> peak=<kB> anon=<kB> engine=<kB>": the peak resident
// size and the present anonymous resident size of this process, and the
// resident size of the web engine's processes (its children).
#include "app/Main.h"
#include "app/Program.h"
#include "platform/backend/Backend.h"
#include "platform/backend/HeadlessBackend.h"
#include "platform/vcl/StdCtrls.h"
#include "platform/win/Keyboard.h"
#include "platform/win/Messages.h"
#include "platform/win/Timers.h"
#include "platform/win/Windows.h"
#if __has_include("platform/backend/gtk/GtkBackend.h")
#include "platform/backend/gtk/GtkBackend.h"
#endif

#include <dirent.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

namespace {

bool walking = false;
bool painted = false;

long statusField(const std::string& File, const std::string& Field) {
    std::ifstream status(File);
    for (std::string line; std::getline(status, line);)
        if (line.rfind(Field + ":", 0) == 0) return std::atol(line.c_str() + Field.size() + 1);
    return 0;
}

// The resident kB of the processes whose parent is this one (the web engine's).
long childrenResident() {
    long total = 0;
    const std::string self = std::to_string(getpid());
    DIR* processes = opendir("/proc");
    if (!processes) return 0;
    while (dirent* entry = readdir(processes)) {
        const std::string folder = std::string("/proc/") + entry->d_name;
        if (statusField(folder + "/status", "PPid") == std::atol(self.c_str()))
            total += statusField(folder + "/status", "VmRSS");
    }
    closedir(processes);
    return total;
}

void reportMemory(const char* When) {
    std::printf("memory %s peak=%ld anon=%ld engine=%ld\n", When, statusField("/proc/self/status", "VmHWM"),
                statusField("/proc/self/status", "RssAnon"), childrenResident());
    std::fflush(stdout);
}

// Lets the page loads and paints of one script happen before the next.
void settle() {
    MSG message;
    for (int round = 0; round < 3; ++round) {
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
        CurrentBackend().WaitForEvents(20);
    }
}

void walkEveryScript(HWND, UINT, UINT_PTR timer, DWORD) {
    KillTimer(nullptr, timer);
    reportMemory("started");
    TComboBox* categories = MainForm->TypeComboBox;
    for (Integer category = 0; category < categories->Items()->Count(); ++category) {
        categories->SetItemIndex(category);
        MainForm->SelectScriptType(categories);
        for (Integer title = 0; title < MainForm->TitleBox->Items()->Count(); ++title) {
            MainForm->TitleBox->SetItemIndex(title);
            MainForm->SelectTitleBox(MainForm->TitleBox);
            settle();
        }
    }
    reportMemory("walked");
    std::_Exit(0);
}

void mainWindowPainted(HWND window) {
    if (painted || !MainForm || !MainForm->HandleAllocated() || window != MainForm->Handle()) return;
    painted = true;
    std::printf("painted\n");
    std::fflush(stdout);
    if (!walking) std::_Exit(0);
    SetTimer(nullptr, 0, 0, walkEveryScript);
}

class ReportingHeadlessBackend : public HeadlessBackend {
public:
    void Present(HWND window, const PixelSurface& pixels, const TRect& changed) override {
        HeadlessBackend::Present(window, pixels, changed);
        mainWindowPainted(window);
    }
};

std::shared_ptr<Backend> openBackend() {
#if __has_include("platform/backend/gtk/GtkBackend.h")
    const char* chosen = std::getenv("QUORVANE_BACKEND");
    if (chosen && std::string(chosen) == "gtk") {
        std::shared_ptr<GtkBackend> desktop = GtkBackend::Open();
        if (desktop) {
            desktop->SetDrawnHandler(mainWindowPainted);
            return desktop;
        }
    }
#endif
    return std::make_shared<ReportingHeadlessBackend>();
}

} // namespace

int main(int argc, char** argv) {
    walking = argc > 1 && std::string(argv[1]) == "walk";
    InstallAsBackend(openBackend());
    return WinMain();
}
