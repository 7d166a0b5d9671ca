// Messages and the library's hooks, side by side with what they replace:
// send against the raw runtime call and a C++ virtual call through an
// interface implemented in another translation unit; the hooked
// mediaCoord against an unhooked one; the feed filter against the host's
// own method.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <dlfcn.h>
#include <filesystem>
#include <iostream>

#include "Foundation/DeviceRoot.h"
#include "Foundation/NSNumber.h"
#include "Foundation/NSUserDefaults.h"
#include "ObjectModel/ClassBuilder.h"
#include "ObjectModel/Message.h"
#include "host/HostClasses.h"
#include "host/IGFeed.h"
#include "host/IGMainFeed.h"
#include "host/Loader.h"
#include "support/VirtualGauge.h"

namespace {

struct Gauge : NSObject {
    OBJC_CLASS(Gauge, NSObject)
    OBJC_READONLY(long, value)
    long _value = 7;
};

struct Library {
    void* handle = nullptr;
    template <class T> T slot(const char* name) const {
        return *static_cast<T*>(dlsym(handle, name));
    }
};

Library& library() {
    static Library instance;
    return instance;
}

Ref<IGMediaCoord> sampleCoord() {
    return IGMediaCoord::coordWithOwner("ana"_ns, "Porto"_ns);
}

void setVelinMode(bool on) {
    NSUserDefaults::standardUserDefaults()->setObject(NSNumber::numberWithBool(on),
                                                      "TVLSWitch1"_ns);
}

void sendMessage(benchmark::State& state) {
    Ref<Gauge> gauge = Ref<Gauge>::adopt(alloc<Gauge>());
    for (auto _ : state)
        benchmark::DoNotOptimize(send<long>(gauge, "value"_sel));
}

void rawRuntimeCall(benchmark::State& state) {
    Ref<Gauge> gauge = Ref<Gauge>::adopt(alloc<Gauge>());
    id receiver = gauge.get();
    SEL sel = "value"_sel;
    for (auto _ : state) {
        benchmark::DoNotOptimize(receiver);
        benchmark::DoNotOptimize(
            fromIMP<long(id, SEL)>(objc_msg_lookup(receiver, sel))(receiver, sel));
    }
}

void virtualCall(benchmark::State& state) {
    std::unique_ptr<VirtualGauge> gauge = makeVirtualGauge();
    VirtualGauge* target = gauge.get();
    for (auto _ : state) {
        benchmark::DoNotOptimize(target);
        benchmark::DoNotOptimize(target->value());
    }
}

Ref<IGPost> postWithCoord() {
    Ref<IGPost> post = Ref<IGPost>::adopt(alloc<IGPost>());
    setVelinMode(false);
    send(post, "setMediaCoord:"_sel, sampleCoord().get());
    return post;
}

// The host's own implementation, looked up and called as an unhooked message is.
void mediaCoordUnhooked(benchmark::State& state) {
    Ref<IGPost> post = postWithCoord();
    IMP host = library().slot<IMP>("orig_IGPost_mediaCoord");
    SEL sel = "mediaCoord"_sel;
    for (auto _ : state) {
        benchmark::DoNotOptimize(objc_msg_lookup(post, sel));
        benchmark::DoNotOptimize(
            Ref<IGMediaCoord>(fromIMP<Retained<IGMediaCoord>(id, SEL)>(host)(post, sel)));
    }
}

void mediaCoordHooked(benchmark::State& state) {
    Ref<IGPost> post = postWithCoord();
    setVelinMode(state.range(0) != 0);
    for (auto _ : state)
        benchmark::DoNotOptimize(send<Ref<IGMediaCoord>>(post, "mediaCoord"_sel));
    setVelinMode(false);
}

void boolForKey(benchmark::State& state) {
    NSUserDefaults* defaults = NSUserDefaults::standardUserDefaults();
    for (auto _ : state)
        benchmark::DoNotOptimize(defaults->boolForKey("TVLSWitch1"_ns));
}

void classFromString(benchmark::State& state) {
    for (auto _ : state)
        benchmark::DoNotOptimize(NSClassFromString("IGFeedItem"_ns));
}

// A feed of posts, one in five sponsored, with stories strips between them.
Ref<NSArray> feedOf(long count) {
    Ref<NSMutableArray> feed = NSMutableArray::arrayWithCapacity(count);
    for (long i = 0; i < count; ++i) {
        if (i % 7 == 6) {
            feed->addObject(IGAccountStrip::stripWithTitle("Stories"_ns, nullptr));
            continue;
        }
        Ref<IGPost> post = Ref<IGPost>::adopt(alloc<IGPost>());
        post->setSponsored(i % 5 == 0);
        feed->addObject(post);
    }
    return feed;
}

void countPerObject(benchmark::State& state) {
    state.SetItemsProcessed(state.iterations() * state.range(0));
    state.counters["per_object"] = benchmark::Counter(
        static_cast<double>(state.range(0)),
        benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

void feedFilter(benchmark::State& state, bool hooked) {
    auto source = IGMainFeedListAdapterDataSource::dataSourceWithObjects(feedOf(state.range(0)));
    auto adapter = IGListAdapter::adapterWithDataSource(source);
    IMP host = library().slot<IMP>("orig_IGMainFeedListAdapterDataSource_objectsForListAdapter");
    SEL sel = "objectsForListAdapter:"_sel;
    for (auto _ : state) {
        if (hooked)
            benchmark::DoNotOptimize(adapter->objects());
        else
            benchmark::DoNotOptimize(
                Ref<NSArray>(fromIMP<Retained<NSArray>(id, SEL, id)>(host)(source, sel, adapter)));
    }
    countPerObject(state);
}

// What an array that owns its objects pays for each one it holds, a retain
// when it takes the object and a release when it lets go: the filter pays it
// for every object it keeps.
void retainRelease(benchmark::State& state) {
    Ref<NSArray> feed = feedOf(state.range(0));
    for (auto _ : state) {
        for (NSObject* object : *feed)
            object->retain();
        for (NSObject* object : *feed)
            object->release();
    }
    countPerObject(state);
}

void feedFilterHooked(benchmark::State& state) {
    feedFilter(state, true);
}
void feedFilterHostOnly(benchmark::State& state) {
    feedFilter(state, false);
}

} // namespace

OBJC_IMPLEMENT_CLASS(Gauge)

BENCHMARK(sendMessage);
BENCHMARK(rawRuntimeCall);
BENCHMARK(virtualCall);
BENCHMARK(mediaCoordUnhooked);
BENCHMARK(mediaCoordHooked)->ArgName("velin")->Arg(0)->Arg(1);
BENCHMARK(boolForKey);
BENCHMARK(classFromString);
BENCHMARK(feedFilterHostOnly)->Arg(10)->Arg(1000)->Arg(100000);
BENCHMARK(feedFilterHooked)->Arg(10)->Arg(1000)->Arg(100000)->Arg(1000000);
BENCHMARK(retainRelease)->Arg(1000)->Arg(100000)->Arg(1000000);

int main(int argc, char** argv) {
    std::string defaults =
        (std::filesystem::temp_directory_path() / "tavelin-bench-XXXXXX").string();
    setDeviceRoot(mkdtemp(defaults.data()));
    registerHostClasses();
    std::vector<LoadedLibrary> loaded = loadInjectedLibraries(TAVELIN_STAGE_ROOT, std::cerr);
    if (loaded.empty()) {
        std::cerr << "bench: Tavelin.dylib did not load from " << TAVELIN_STAGE_ROOT << "\n";
        return 1;
    }
    library().handle = loaded.front().handle;
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    std::filesystem::remove_all(deviceRoot());
    return 0;
}
