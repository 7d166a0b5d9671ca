// The library's settings screen as a person meets it, with Tavelin.dylib
// injected into the host: a tap on the settings button builds and pushes the
// screen, which is then laid out and drawn, and popped again.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <sstream>

#include "Foundation/DeviceRoot.h"
#include "UIKit/UIRenderer.h"
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

void pushAndPop(benchmark::State& state) {
    Screens screens;
    for (auto _ : state) {
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

} // namespace

BENCHMARK(pushAndPop)->Unit(benchmark::kMicrosecond);
BENCHMARK(pushDrawAndPop)->Unit(benchmark::kMicrosecond);

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
