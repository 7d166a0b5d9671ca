// GNUstep's Foundation on the cases that ours measures, in a process of its
// own (both define NSObject): a message, boolForKey: on one and two threads,
// setBool:forKey: with synchronize on a 100-key domain, and binary and XML
// property-list reads of the same 100-key file. Case names match ours.
#import <Foundation/Foundation.h>
#include <benchmark/benchmark.h>

@interface Gauge : NSObject
- (long)value;
@end
@implementation Gauge
- (long)value {
    return 7;
}
@end

namespace {

NSData* fixture(const char* name) {
    return [NSData dataWithContentsOfFile:[NSString stringWithFormat:@"%s/%s", BENCH_DATA, name]];
}

NSDictionary* readPropertyList(NSData* data) {
    return [NSPropertyListSerialization propertyListWithData:data
                                                     options:NSPropertyListImmutable
                                                      format:NULL
                                                       error:NULL];
}

void sendMessage(benchmark::State& state) {
    Gauge* gauge = [Gauge new];
    for (auto _ : state)
        benchmark::DoNotOptimize([gauge value]);
    [gauge release];
}
BENCHMARK(sendMessage);

void boolForKey(benchmark::State& state) {
    NSAutoreleasePool* pool = [NSAutoreleasePool new];
    NSUserDefaults* store = [NSUserDefaults standardUserDefaults];
    if (state.thread_index() == 0) [store setBool:YES forKey:@"TVLSWitch1"];
    for (auto _ : state)
        benchmark::DoNotOptimize([store boolForKey:@"TVLSWitch1"]);
    [pool release];
}
BENCHMARK(boolForKey)->Threads(1)->Threads(2)->UseRealTime();

// One changed key of a 100-key domain, written each time.
void synchronize(benchmark::State& state) {
    NSAutoreleasePool* pool = [NSAutoreleasePool new];
    NSUserDefaults* store = [NSUserDefaults standardUserDefaults];
    NSDictionary* domain = readPropertyList(fixture("defaults-100.plist"));
    NSEnumerator* keys = [domain keyEnumerator];
    for (NSString* key = [keys nextObject]; key; key = [keys nextObject])
        [store setObject:[domain objectForKey:key] forKey:key];
    [store synchronize];
    long i = 0;
    for (auto _ : state) {
        NSAutoreleasePool* inner = [NSAutoreleasePool new];
        [store setBool:++i % 2 forKey:@"key00000"];
        if (![store synchronize]) state.SkipWithError("synchronize failed");
        [inner release];
    }
    [pool release];
}
BENCHMARK(synchronize);

void readFile(benchmark::State& state, const char* name) {
    NSAutoreleasePool* pool = [NSAutoreleasePool new];
    NSData* data = fixture(name);
    for (auto _ : state) {
        NSAutoreleasePool* inner = [NSAutoreleasePool new];
        if ([readPropertyList(data) count] != 100) state.SkipWithError("the file did not read");
        [inner release];
    }
    [pool release];
}
BENCHMARK_CAPTURE(readFile, binary, "defaults-100.plist");
BENCHMARK_CAPTURE(readFile, xml, "defaults-100.xml");

} // namespace

BENCHMARK_MAIN();
