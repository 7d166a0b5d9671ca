// Scrolling the host's feed from top to bottom one screen at a time, for a
// feed of 1,000 and one of 10,000 posts side by side: the layout a text
// screen needs, and the picture at scale 2. Each run reports the process's
// peak resident memory so far (the 1,000-post runs come first).
#include <benchmark/benchmark.h>

#include <sys/resource.h>

#include "Foundation/DeviceRoot.h"
#include "UIKit/UIRenderer.h"
#include "UIKit/UIScreen.h"
#include "host/FeedFile.h"
#include "host/HostClasses.h"
#include "host/IGMainFeedViewController.h"

namespace {

Ref<NSArray> postsFeed(long count) {
    std::string json = R"({"items": [)";
    for (long i = 0; i < count; ++i)
        json += std::string(i ? "," : "") + R"({"kind": "post", "owner": "user)" +
                std::to_string(i) + R"(", "place": "Lisbon", "caption": "Post )" +
                std::to_string(i) + R"( of the feed"})";
    return *parseFeed(json + "]}", "bench");
}

struct ScrolledFeed {
    Ref<UINavigationController> navigation;
    IGFeedView* view;
    explicit ScrolledFeed(long posts) {
        Ref<IGMainFeedViewController> screen =
            IGMainFeedViewController::controllerWithObjects(postsFeed(posts));
        navigation = UINavigationController::navigationControllerWithRootViewController(screen);
        transitionAppearance(nullptr, navigation, false);
        view = static_cast<IGFeedView*>(send<Ref<UIView>>(screen, "view"_sel).get());
        view->layoutIfNeeded();
    }
    // The next screenful, from the top again after the last.
    void scroll() {
        CGPoint offset = view->contentOffset();
        offset.y += view->frame().size.height;
        if (offset.y >= view->contentSize().height) offset.y = 0;
        view->setContentOffset(offset);
    }
};

double peakMiB() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_maxrss) / 1024;
}

// The peak so far, and how much scrolling itself raised it.
void reportMemory(benchmark::State& state, double before) {
    state.counters["peakRSS_MiB"] = peakMiB();
    state.counters["scrollingAdded_MiB"] = peakMiB() - before;
}

void layoutPerScreen(benchmark::State& state) {
    ScrolledFeed feed(state.range(0));
    double before = peakMiB();
    for (auto _ : state) {
        feed.scroll();
        feed.view->layoutIfNeeded();
        benchmark::DoNotOptimize(send<Ref<NSString>>(feed.view, "screenText"_sel));
    }
    reportMemory(state, before);
}

void drawPerScreen(benchmark::State& state) {
    UIScreen::mainScreen()->setScale(2);
    ScrolledFeed feed(state.range(0));
    double before = peakMiB();
    for (auto _ : state) {
        feed.scroll();
        benchmark::DoNotOptimize(renderScreen(feed.navigation));
    }
    reportMemory(state, before);
}

// Reading the feed and measuring every card's height, once per feed.
void loadAndMeasure(benchmark::State& state) {
    double before = peakMiB();
    for (auto _ : state)
        benchmark::DoNotOptimize(ScrolledFeed(state.range(0)).view);
    state.counters["peakRSS_MiB"] = peakMiB();
    state.counters["loadingAdded_MiB"] = peakMiB() - before;
}

} // namespace

BENCHMARK(layoutPerScreen)->Arg(1000)->Arg(10000)->Unit(benchmark::kMicrosecond);
BENCHMARK(drawPerScreen)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK(loadAndMeasure)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond)->Iterations(3);

int main(int argc, char** argv) {
    setDeviceRoot(TAVELIN_STAGE_ROOT);
    registerHostClasses();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
