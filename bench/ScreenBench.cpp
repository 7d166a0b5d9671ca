// The library's settings screen as a person meets it, with Tavelin.dylib
// injected into the host: a tap on the settings button builds and pushes the
// screen, which is then laid out and drawn, and popped again, with the images
// that imageNamed: caches and with a memory warning before every tap (so that
// they are decoded again, as before the cache). Then the library's screen
// built, drawn and encoded as PNG at scale 2 and 3, and screens drawn at scale
// 3 and encoded, by our encoder beside cairo's writer of the same pixels.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <sstream>

#include "Foundation/DeviceRoot.h"
#include "Foundation/NSNotificationCenter.h"
#include "UIKit/PNGEncoder.h"
#include "UIKit/UIApplication.h"
#include "UIKit/UIRenderer.h"
#include "UIKit/UIScreen.h"
#include "host/FeedFile.h"
#include "host/HostClasses.h"
#include "host/HostSession.h"
#include "host/Loader.h"
#include "host/SessionCommands.h"

namespace {

struct Screens {
    std::ostringstream out;
    HostSession session{*loadFeed(TAVELIN_STAGE_ROOT "/Applications/Instagram.app/feed.json"),
                        builtInCommands(), out};
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
    for (auto _ : state) {
        screens.push();
        benchmark::DoNotOptimize(renderScreen(screens.session.top()));
        screens.pop();
    }
}

cairo_status_t countCairoBytes(void* closure, const unsigned char*, unsigned int length) {
    *static_cast<std::size_t*>(closure) += length;
    return CAIRO_STATUS_SUCCESS;
}

bool countBytes(void* closure, const unsigned char*, std::size_t length) {
    *static_cast<std::size_t*>(closure) += length;
    return true;
}

// The PNG's size, by our encoder or by cairo's writer.
std::size_t encode(cairo_surface_t* surface, bool cairoWriter) {
    std::size_t bytes = 0;
    if (cairoWriter)
        cairo_surface_write_to_png_stream(surface, countCairoBytes, &bytes);
    else
        encodePNG(surface, countBytes, &bytes);
    return bytes;
}

void setScale(CGFloat scale) {
    UIScreen::mainScreen()->setSize({390, 844});
    UIScreen::mainScreen()->setScale(scale);
}

// Arguments: the scale, and 1 for cairo's writer.
void pushDrawEncodeAndPop(benchmark::State& state) {
    setScale(static_cast<CGFloat>(state.range(0)));
    Screens screens;
    std::size_t bytes = 0;
    for (auto _ : state) {
        screens.push();
        Result<SurfacePtr> surface = renderScreen(screens.session.navigation());
        bytes = encode(surface->get(), state.range(1) == 1);
        screens.pop();
    }
    state.counters["bytes"] = static_cast<double>(bytes);
}

// A 390 x 844 point screen at scale 3, showing the feed or the library's screen.
struct ScaleThree : Screens {
    explicit ScaleThree(bool preferences) {
        setScale(3);
        if (preferences)
            push();
        else
            session.run("feed");
    }
};

// Arguments: 0 for the feed, 1 for the library's screen; 1 for cairo's writer.
void drawAndEncode(benchmark::State& state) {
    ScaleThree screens(state.range(0) == 1);
    for (auto _ : state) {
        Result<SurfacePtr> surface = renderScreen(screens.session.navigation());
        benchmark::DoNotOptimize(encode(surface->get(), state.range(1) == 1));
    }
}

void encodeOnly(benchmark::State& state) {
    ScaleThree screens(state.range(0) == 1);
    Result<SurfacePtr> surface = renderScreen(screens.session.navigation());
    std::size_t bytes = 0;
    for (auto _ : state)
        bytes = encode(surface->get(), state.range(1) == 1);
    state.counters["bytes"] = static_cast<double>(bytes);
}

} // namespace

BENCHMARK(pushAndPop)->Unit(benchmark::kMicrosecond);
BENCHMARK(pushAndPopAfterMemoryWarning)->Unit(benchmark::kMicrosecond);
BENCHMARK(pushDrawAndPop)->Unit(benchmark::kMicrosecond);
BENCHMARK(pushDrawEncodeAndPop)
    ->ArgNames({"scale", "cairo"})
    ->ArgsProduct({{2, 3}, {0, 1}})
    ->Unit(benchmark::kMillisecond);
BENCHMARK(drawAndEncode)
    ->ArgNames({"library", "cairo"})
    ->ArgsProduct({{0, 1}, {0, 1}})
    ->Unit(benchmark::kMillisecond);
BENCHMARK(encodeOnly)
    ->ArgNames({"library", "cairo"})
    ->ArgsProduct({{0, 1}, {0, 1}})
    ->Unit(benchmark::kMillisecond);

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
