// Reading the same 100-key defaults domain from its binary and its XML
// property-list file, the cases that GNUstep's program measures by the same
// names (bench/gnustep/PeerBench.mm).
#include <benchmark/benchmark.h>

#include <fstream>
#include <sstream>

#include "Foundation/NSDictionary.h"
#include "Foundation/PropertyList.h"

namespace {

std::string fixture(const char* name) {
    std::ifstream in(std::string(BENCH_DATA) + "/" + name, std::ios::binary);
    std::stringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

void readFile(benchmark::State& state, const char* name) {
    std::string bytes = fixture(name);
    for (auto _ : state) {
        Result<Ref<NSObject>> root = propertyListFromBytes(bytes);
        if (!root || as<NSDictionary>(*root)->count() != 100)
            state.SkipWithError("the file did not read");
    }
}
BENCHMARK_CAPTURE(readFile, binary, "defaults-100.plist");
BENCHMARK_CAPTURE(readFile, xml, "defaults-100.xml");

} // namespace

BENCHMARK_MAIN();
