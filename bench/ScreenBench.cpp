// The library's settings screen as a person meets it, with Tavelin.dylib
// injected into the host: a tap on the settings button builds and pushes the
// screen, which is then laid out and drawn, and popped again, with the images
// that imageNamed: caches and with a memory warning before every tap (so that
// they are decoded again, as before the cache). Then screens
// drawn at scale 3 and encoded as PNG, beside a bare cairo PNG write of the
// same pixels.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <sstream>

#include "Foundation/DeviceRoot.h"
#include "Foundation/NSNotificationCenter.h"
#include "UIKit/UIApplication.h"
#include "UIKit/UIRenderer.h"
#include "UIKit/UIScreen.h"
#include "host/FeedFile.h"
#include "host/HostClasses.h"
#include "host/HostSession.h"
#include "host/Loader.h"

namespace {

struct Screens {
    std::ostringstream out;
    HostSession session{loadFeed(TAVELIN_STAGE_ROOT "/Applications/Instagram.app/feed.json"), out};
    Screens() { session.run("settings"); }
    void push() { session.run("tap right"); }
    void pop() {
        session.run("back");
        out.str("");
    }
};

void memoryWarning() {
    NSNotificationCenter::defaultCenter()->postNotificationName(
        UIApplicationDidReceiveMemoryWarningNotification, nullptr);
}

void pushAndPop(benchmark::State& state) {
    Screens screens;
    for (auto _ : state) {
        screens.push();
        screens.pop();
    }
}

void pushAndPopAfterMemoryWarning(benchmark::State& state) {
    Screens screens;
    for (auto _ : state) {
        state.PauseTiming();
        memoryWarning();
        state.ResumeTiming();
        screens.push();
        screens.pop();
    }
}

void pushDrawAndPop(benchmark::State& state) {
    Screens screens;
    std::string error;
    for (auto _ : state) {
        screens.push();
        benchmark::DoNotOptimize(renderScreen(screens.session.top(), &error));
        screens.pop();
    }
}

cairo_status_t appendTo(void* closure, const unsigned char* data, unsigned int length) {
    static_cast<std::string*>(closure)->append(reinterpret_cast<const char*>(data), length);
    return CAIRO_STATUS_SUCCESS;
}

std::string encodePNG(cairo_surface_t* surface) {
    std::string png;
    cairo_surface_write_to_png_stream(surface, appendTo, &png);
    return png;
}

// A 390 x 844 point screen at scale 3, showing the feed or the library's screen.
struct ScaleThree : Screens {
    explicit ScaleThree(bool preferences) {
        UIScreen::mainScreen()->setSize({390, 844});
        UIScreen::mainScreen()->setScale(3);
        if (preferences)
            push();
        else
            session.run("feed");
    }
};

void drawAndEncode(benchmark::State& state) {
    ScaleThree screens(state.range(0) == 1);
    std::string error;
    for (auto _ : state) {
        SurfacePtr surface = renderScreen(screens.session.navigation(), &error);
        benchmark::DoNotOptimize(encodePNG(surface.get()));
    }
}

void encodeOnly(benchmark::State& state) {
    ScaleThree screens(state.range(0) == 1);
    std::string error;
    SurfacePtr surface = renderScreen(screens.session.navigation(), &error);
    for (auto _ : state)
        benchmark::DoNotOptimize(encodePNG(surface.get()));
}

} // namespace

BENCHMARK(pushAndPop)->Unit(benchmark::kMicrosecond);
BENCHMARK(pushAndPopAfterMemoryWarning)->Unit(benchmark::kMicrosecond);
BENCHMARK(pushDrawAndPop)->Unit(benchmark::kMicrosecond);
// Argument 0: the feed; 1: the library's screen.
BENCHMARK(drawAndEncode)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(encodeOnly)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
    std::string defaults =
        (std::filesystem::temp_directory_path() / "tavelin-bench-XXXXXX").string();
    setDeviceRoot(mkdtemp(defaults.data()));
    std::filesystem::create_directories(deviceRoot() + TAVELIN_JB_PREFIX "/Library");
    std::filesystem::create_directory_symlink(
        TAVELIN_STAGE_ROOT TAVELIN_JB_PREFIX "/Library/Application Support",
        deviceRoot() + TAVELIN_JB_PREFIX "/Library/Application Support");
    registerHostClasses();
    if (loadInjectedLibraries(TAVELIN_STAGE_ROOT, std::cerr).empty()) {
        std::cerr << "bench: Tavelin.dylib did not load from " << TAVELIN_STAGE_ROOT << "\n";
        return 1;
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    std::filesystem::remove_all(deviceRoot());
    return 0;
}
