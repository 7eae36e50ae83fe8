// Speed of the colour page: one magnifier tick (screen grab, stretch,
// cross-hair, ring and the reported colour with its conversion into the
// page) must stay well inside the 25 ms timer; one RGB slider step with the
// texts, the rounded variants, the scheme rebuilt and the page repainted must
// fit a 16 ms frame. With $DISPLAY set (run it under xvfb-run) the ticks
// read the X server's screen through the desktop backend.
#include "app/Main.h"
#include "colour/ColorTab.h"
#include "platform/backend/Backend.h"
#include "platform/backend/HeadlessBackend.h"
#include "platform/vcl/ComCtrls.h"
#include "platform/vcl/StdCtrls.h"
#include "rx/RXSlider.h"
#include "unicode/TntComCtrls.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <memory>

namespace {

constexpr Integer ColorPage = 3;

// The main window on its colour page, made once, with the registry kept in
// a file of its own; headless, a picture stands for the screen.
struct ColourPage {
    ColourPage() {
        const std::filesystem::path registry =
            std::filesystem::temp_directory_path() / "quorvane-colour-bench-registry";
        setenv("QUORVANE_REGISTRY_FILE", registry.c_str(), 1);
        if (std::getenv("DISPLAY")) {
            InstallBackend();
        } else {
            headless = std::make_shared<HeadlessBackend>();
            InstallAsBackend(headless);
            showScreenPicture();
        }
        form.reset(NewForm<TMainForm>(nullptr));
        form->SetBounds(0, 0, 1000, 600);
        form->Show();
        form->PageControl1->SetActivePageIndex(ColorPage);
        Application->ProcessMessages();
    }
    void showScreenPicture() {
        auto screen = std::make_shared<PixelSurface>(HeadlessBackend::DefaultScreenWidth,
                                                     HeadlessBackend::DefaultScreenHeight);
        for (int y = 0; y < screen->Height(); ++y)
            for (int x = 0; x < screen->Width(); ++x)
                screen->Set(
                    x, y, static_cast<Pixel>((x * 7 & 0xFF) << 16 | (y * 5 & 0xFF) << 8 | ((x + y) & 0xFF)));
        headless->SetScreenImage(screen);
    }
    std::shared_ptr<HeadlessBackend> headless;
    std::unique_ptr<TMainForm> form;
};

std::unique_ptr<ColourPage>& madePage() {
    static std::unique_ptr<ColourPage> instance;
    return instance;
}

ColourPage& page() {
    std::unique_ptr<ColourPage>& made = madePage();
    if (!made) made = std::make_unique<ColourPage>();
    return *made;
}

void BM_RgbSliderStep(benchmark::State& state) {
    TMainForm& form = *page().form;
    form.ColourTab()->RGB_SliderMouseDown();
    Integer red = 0;
    for (auto _ : state) {
        red = (red + 1) % 256;
        form.RSlider->SetValue(red);
        Application->ProcessMessages();
    }
}
BENCHMARK(BM_RgbSliderStep)->Unit(benchmark::kMillisecond);

void BM_MagnifierTick(benchmark::State& state) {
    ColourPage& colour = page();
    TColorTab& tab = *colour.form->ColourTab();
    colour.form->ZoomAutoChkBox->SetChecked(true);
    tab.ToggleMagnifier(false);
    Application->ProcessMessages();
    Integer x = 100;
    for (auto _ : state) {
        // Over the screen picture below the main window, clear of both windows.
        x = x >= 700 ? 100 : x + 3;
        if (colour.headless) colour.headless->MoveMouse(POINT{x, 620 + x % 140});
        ZoomForm->Timer1Timer(ZoomForm->Timer1);
    }
    tab.ToggleMagnifier(true);
    Application->ProcessMessages();
}
BENCHMARK(BM_MagnifierTick)->Unit(benchmark::kMillisecond);

} // namespace

// The window goes before the program's exit: the window system's tables are
// statics that are made after the page and so would go before it.
int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    madePage().reset();
    benchmark::Shutdown();
    return 0;
}
