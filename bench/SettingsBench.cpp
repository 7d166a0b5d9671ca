// The defaults store's reads on one and two threads, and KLPSettings'
// setValue: with and without a settings file, side by side with writing the
// same bytes with a bare temporary file, fsync and rename.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <unistd.h>

#include "Foundation/DeviceRoot.h"
#include "Foundation/NSNumber.h"
#include "Foundation/NSUserDefaults.h"
#include "KLPreferences/KLPSettings.h"

namespace {

// A device root of its own, under the working folder (a real disk, not tmpfs).
const std::filesystem::path& benchRoot() {
    static const std::filesystem::path root = [] {
        std::string pattern = (std::filesystem::current_path() / "settings-bench-XXXXXX").string();
        if (!::mkdtemp(pattern.data())) std::abort();
        setDeviceRoot(pattern);
        NSUserDefaults::resetStandardUserDefaults();
        std::atexit([] { std::filesystem::remove_all(deviceRoot()); });
        return std::filesystem::path(pattern);
    }();
    return root;
}

void boolForKey(benchmark::State& state) {
    if (state.thread_index() == 0) {
        benchRoot();
        NSUserDefaults::standardUserDefaults()->setObject(NSNumber::numberWithBool(true),
                                                          "TVLSWitch1"_ns);
    }
    NSUserDefaults* store = NSUserDefaults::standardUserDefaults();
    for (auto _ : state)
        benchmark::DoNotOptimize(store->boolForKey("TVLSWitch1"_ns));
}
BENCHMARK(boolForKey)->Threads(1)->Threads(2)->UseRealTime();

// setValue: alternating two different objects, so that every call writes.
void setValue(benchmark::State& state) {
    Ref<KLPSettings> setting =
        KLPSettings::settingsWithKey("TVLSWitch1"_ns, NSNumber::numberWithBool(false));
    if (state.range(0))
        setting->setFileSave(NSString::string((benchRoot() / "settings.plist").string()));
    Ref<NSNumber> values[] = {NSNumber::numberWithInt(0), NSNumber::numberWithInt(1)};
    long i = 0;
    for (auto _ : state)
        setting->setValue(values[++i % 2]);
    state.SetLabel(state.range(0) ? "defaults and settings file" : "defaults only");
}
BENCHMARK(setValue)->Arg(0)->Arg(1);

bool bareWriteOnce(const std::string& path, const std::string& bytes, bool flushFolder) {
    std::string temporary = path + ".tmp";
    int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0) return false;
    bool written = ::write(fd, bytes.data(), bytes.size()) == static_cast<ssize_t>(bytes.size()) &&
                   ::fsync(fd) == 0;
    if (::close(fd) != 0 || !written || ::rename(temporary.c_str(), path.c_str()) != 0)
        return false;
    if (!flushFolder) return true;
    int folder = ::open(std::filesystem::path(path).parent_path().c_str(),
                        O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    bool flushed = folder >= 0 && ::fsync(folder) == 0;
    if (folder >= 0) ::close(folder);
    return flushed;
}

// The same bytes as the defaults file, written as bare as it gets, to as many
// files; the second argument adds the folder flush that durability needs.
void bareWrite(benchmark::State& state) {
    std::string path = (benchRoot() / "bare.plist").string();
    std::string bytes = [] {
        std::ifstream in(NSUserDefaults::standardUserDefaults()->path());
        std::stringstream text;
        text << in.rdbuf();
        return text.str();
    }();
    for (auto _ : state)
        for (long file = 0; file < state.range(0); ++file)
            if (!bareWriteOnce(path, bytes, state.range(1) != 0))
                state.SkipWithError("the bare write failed");
    state.SetLabel(std::to_string(bytes.size()) +
                   (state.range(1) ? " bytes, folder flushed" : " bytes"));
}
BENCHMARK(bareWrite)->Args({1, 0})->Args({2, 0})->Args({1, 1})->Args({2, 1});

} // namespace

BENCHMARK_MAIN();
