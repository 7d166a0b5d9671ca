// The defaults store's reads on one and two threads, by message and by its
// implementation alone, and KLPSettings' setValue: with and without a
// settings file, side by side with writing the same bytes with a bare
// temporary file, fsync and rename. Reading binary
// property lists of 100, 1,000 and 10,000 keys beside GNUstep's reader on the
// same 100-key file; synchronize beside writing the same bytes durably
// without the lock, the re-read and the merge.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <unistd.h>

#include "Foundation/AtomicFile.h"
#include "Foundation/DeviceRoot.h"
#include "Foundation/NSArray.h"
#include "Foundation/NSData.h"
#include "Foundation/NSDate.h"
#include "Foundation/NSNumber.h"
#include "Foundation/NSUserDefaults.h"
#include "Foundation/PropertyList.h"
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

// boolForKey: by message, and the store's read alone: its implementation
// called through the IMP that the runtime answers, found once.
void boolForKey(benchmark::State& state) {
    if (state.thread_index() == 0) {
        benchRoot();
        NSUserDefaults::standardUserDefaults()->setObject(NSNumber::numberWithBool(true),
                                                          "TVLSWitch1"_ns);
    }
    NSUserDefaults* store = NSUserDefaults::standardUserDefaults();
    NSString* key = "TVLSWitch1"_ns;
    SEL sel = "boolForKey:"_sel;
    auto read = fromIMP<bool(id, SEL, const NSString*)>(objc_msg_lookup(store, sel));
    if (state.range(0))
        for (auto _ : state)
            benchmark::DoNotOptimize(read(store, sel, key));
    else
        for (auto _ : state)
            benchmark::DoNotOptimize(store->boolForKey(key));
    state.SetLabel(state.range(0) ? "the store's read" : "message");
}
BENCHMARK(boolForKey)->Arg(0)->Arg(1)->Threads(1)->Threads(2)->UseRealTime();

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

// A defaults-like dictionary: each kind of value in turn.
Ref<NSDictionary> sample(long keys) {
    NSDictionary::Storage entries;
    for (long i = 0; i < keys; ++i) {
        Ref<NSObject> value;
        switch (i % 6) {
        case 0:
            value = NSString::stringWithFormat("value number %ld", i);
            break;
        case 1:
            value = NSNumber::numberWithLongLong(i * 7919);
            break;
        case 2:
            value = NSNumber::numberWithDouble(i / 3.0);
            break;
        case 3:
            value = NSNumber::numberWithBool(i % 2);
            break;
        case 4:
            value = NSDate::dateWithTimeIntervalSinceReferenceDate(i * 1000.5);
            break;
        default:
            value = NSData::data(std::string(16, static_cast<char>(i)));
        }
        entries.emplace(NSString::stringWithFormat("key%05ld", i)->utf8(), value);
    }
    return make<NSDictionary>(&NSDictionary::initWithStorage, std::move(entries));
}

std::string sampleBytes(long keys) {
    return *binaryPropertyList(sample(keys));
}

void readBinary(benchmark::State& state) {
    std::string bytes = sampleBytes(state.range(0));
    for (auto _ : state)
        benchmark::DoNotOptimize(propertyListFromBytes(bytes));
    state.SetLabel(std::to_string(state.range(0)) + " keys, " + std::to_string(bytes.size()) +
                   " bytes");
}
BENCHMARK(readBinary)->Arg(100)->Arg(1000)->Arg(10000);

// synchronize of one changed key in a 100-key domain, and the same bytes
// encoded and written durably without the lock, the re-read and the merge.
void synchronize(benchmark::State& state) {
    benchRoot();
    NSUserDefaults* store = NSUserDefaults::standardUserDefaults();
    Ref<NSDictionary> domain = sample(100);
    for (const auto& [key, value] : domain->entries())
        store->setObject(value, NSString::string(key));
    store->synchronize(); // makes the folder
    Ref<NSNumber> values[] = {NSNumber::numberWithInt(0), NSNumber::numberWithInt(1)};
    long i = 0;
    for (auto _ : state) {
        store->setObject(values[++i % 2], "key00000"_ns);
        if (state.range(0)) {
            if (!store->synchronize()) state.SkipWithError("synchronize failed");
            continue;
        }
        Result<std::string> bytes = binaryPropertyList(store->persistentDomain());
        Result<void> written =
            bytes ? writeFileAtomically(store->path(), *bytes) : Problem{bytes.problem()};
        if (!written) state.SkipWithError(written.problem().c_str());
    }
    state.SetLabel(state.range(0) ? "locked, re-read and merged" : "encoded and written bare");
}
BENCHMARK(synchronize)->Arg(0)->Arg(1);

} // namespace

BENCHMARK_MAIN();
