#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <thread>
#include <vector>

#include "Foundation/NSArray.h"
#include "Foundation/NSData.h"
#include "Foundation/NSNotificationCenter.h"
#include "Foundation/NSNumber.h"
#include "Foundation/NSUserDefaults.h"
#include "Foundation/PropertyList.h"
#include "tests/platform/Foundation/TempRoot.h"

using namespace testing_support;

namespace {

class UserDefaultsTest : public TempRootTest {
  protected:
    NSUserDefaults* store() { return NSUserDefaults::standardUserDefaults(); }

    void registerDefault(NSString* key, NSObject* value) {
        NSObject* const objects[] = {value};
        NSString* const keys[] = {key};
        store()->registerDefaults(NSDictionary::dictionaryWithObjects(objects, keys, 1));
    }

    // Reloads the standard store from the same root, as a new process would.
    void reload() {
        NSUserDefaults::resetStandardUserDefaults();
        store();
    }
};

} // namespace

TEST_F(UserDefaultsTest, StoredValuesPersistAcrossLoadsAndRegisteredOnesDoNot) {
    Ref<NSNumber> stored = NSNumber::numberWithInt(42);
    EXPECT_TRUE(store()->setObject(stored, "answer"_ns));
    registerDefault("volatile"_ns, NSNumber::numberWithBool(true));
    EXPECT_EQ(store()->objectForKey("answer"_ns).get(), stored.get());
    EXPECT_TRUE(store()->synchronize());
    EXPECT_EQ(store()->path(), defaultsFile().string());
    reload();
    EXPECT_TRUE(objectsEqual(store()->objectForKey("answer"_ns), stored));
    EXPECT_FALSE(store()->objectForKey("volatile"_ns));
    Ref<NSDictionary> onDisk =
        NSDictionary::dictionaryWithContentsOfFile(NSString::string(defaultsFile().string()));
    ASSERT_TRUE(onDisk);
    EXPECT_EQ(onDisk->count(), 1u);
}

TEST_F(UserDefaultsTest, PersistentValuesComeFirstAndTheLatestRegistrationWins) {
    registerDefault("k"_ns, "first"_ns);
    registerDefault("k"_ns, "second"_ns);
    EXPECT_EQ(store()->objectForKey("k"_ns).get(), "second"_ns);
    store()->setObject("stored"_ns, "k"_ns);
    registerDefault("k"_ns, "third"_ns);
    EXPECT_EQ(store()->objectForKey("k"_ns).get(), "stored"_ns);
    EXPECT_TRUE(store()->removeObjectForKey("k"_ns));
    EXPECT_EQ(store()->objectForKey("k"_ns).get(), "third"_ns);
    EXPECT_FALSE(store()->objectForKey("missing"_ns));
    EXPECT_FALSE(store()->objectForKey(nullptr));
}

TEST_F(UserDefaultsTest, BoolForKeyFollowsThePlatformsTruth) {
    struct Case {
        Ref<NSObject> value;
        bool truth;
    };
    const Case cases[] = {
        {NSNumber::numberWithBool(true), true},  {NSNumber::numberWithBool(false), false},
        {NSNumber::numberWithInt(2), true},      {NSNumber::numberWithInt(0), false},
        {NSNumber::numberWithDouble(0.5), true}, {NSNumber::numberWithFloat(0), false},
        {NSString::string("YES"), true},         {NSString::string("true"), true},
        {NSString::string("1"), true},           {NSString::string("no"), false},
        {NSString::string("yes"), false},        {NSArray::array(), false}};
    for (const Case& c : cases) {
        store()->setObject(c.value, "flag"_ns);
        EXPECT_EQ(store()->boolForKey("flag"_ns), c.truth) << describe(c.value)->utf8();
    }
    EXPECT_FALSE(store()->boolForKey("missing"_ns));
    EXPECT_FALSE(store()->boolForKey(nullptr));
}

TEST_F(UserDefaultsTest, ValuesThatAreNoPropertyListAreRefusedAndNothingChanges) {
    store()->setObject("kept"_ns, "k"_ns);
    ASSERT_TRUE(store()->synchronize());
    std::string before = readText(defaultsFile());
    testing::internal::CaptureStderr();
    EXPECT_FALSE(store()->setObject(Ref<NSObject>::adopt(alloc<NSObject>()), "k"_ns));
    EXPECT_FALSE(store()->setObject(NSString::string("broken \xC3"), "k"_ns));
    EXPECT_FALSE(store()->setObject("v"_ns, nullptr));
    std::string messages = testing::internal::GetCapturedStderr();
    EXPECT_NE(messages.find("not a property-list object"), std::string::npos) << messages;
    EXPECT_NE(messages.find("no well-formed UTF-8"), std::string::npos) << messages;
    EXPECT_EQ(store()->objectForKey("k"_ns).get(), "kept"_ns);
    EXPECT_TRUE(store()->synchronize());
    EXPECT_EQ(readText(defaultsFile()), before);
}

TEST_F(UserDefaultsTest, EachChangePostsTheDidChangeNotification) {
    int posted = 0;
    Ref<NSObject> token = NSNotificationCenter::defaultCenter()->addObserverForName(
        NSUserDefaultsDidChangeNotification, nullptr, [&](NSNotification* note) {
            EXPECT_EQ(note->object(), store());
            ++posted;
        });
    store()->setObject("v"_ns, "k"_ns);
    store()->removeObjectForKey("k"_ns);
    store()->setObject(Ref<NSObject>::adopt(alloc<NSObject>()), "k"_ns);
    NSNotificationCenter::defaultCenter()->removeObserver(token);
    EXPECT_EQ(posted, 2);
}

TEST_F(UserDefaultsTest, ADamagedFileIsKeptAsideOnceAndTheStoreStartsEmpty) {
    std::filesystem::create_directories(preferences());
    for (const char* damaged : {"not a property list", "<plist><array><true/></array></plist>"}) {
        writeText(defaultsFile(), damaged);
        testing::internal::CaptureStderr();
        reload();
        std::string messages = testing::internal::GetCapturedStderr();
        EXPECT_NE(messages.find("starting with empty defaults"), std::string::npos) << messages;
        EXPECT_EQ(std::count(messages.begin(), messages.end(), '\n'), 1) << messages;
        EXPECT_EQ(store()->persistentDomain()->count(), 0u);
    }
    EXPECT_EQ(readText(defaultsFile().string() + ".corrupt"), "not a property list");
    EXPECT_EQ(readText(defaultsFile().string() + ".corrupt.1"),
              "<plist><array><true/></array></plist>");
    store()->setObject("fresh"_ns, "k"_ns);
    EXPECT_TRUE(store()->synchronize());
    reload();
    EXPECT_TRUE(objectsEqual(store()->objectForKey("k"_ns), "fresh"_ns));
}

// A failed save is posted with its reason, stays pending and is retried.
TEST_F(UserDefaultsTest, AFailedSaveIsReportedWithItsReasonAndRetried) {
    std::filesystem::create_directories(root_ / "var/mobile/Library");
    writeText(preferences(), "a file where the folder should be");
    std::vector<std::string> reasons;
    Ref<NSObject> token = NSNotificationCenter::defaultCenter()->addObserverForName(
        NSUserDefaultsSaveFailedNotification, store(), [&](NSNotification* note) {
            auto* reason = as<NSString>(note->userInfo()->objectForKey("NSLocalizedDescription"));
            reasons.push_back(reason ? reason->utf8() : "");
        });
    store()->setObject("v"_ns, "k"_ns);
    testing::internal::CaptureStderr();
    EXPECT_FALSE(store()->synchronize());
    EXPECT_FALSE(store()->setObject(Ref<NSObject>::adopt(alloc<NSObject>()), "bad"_ns));
    EXPECT_NE(testing::internal::GetCapturedStderr().find("could not save the defaults"),
              std::string::npos);
    NSNotificationCenter::defaultCenter()->removeObserver(token);
    ASSERT_EQ(reasons.size(), 2u);
    EXPECT_NE(reasons[0].find("Not a directory"), std::string::npos) << reasons[0];
    EXPECT_NE(reasons[1].find("not a property-list object"), std::string::npos) << reasons[1];
    EXPECT_EQ(store()->objectForKey("k"_ns).get(), "v"_ns);
    std::filesystem::remove(preferences());
    EXPECT_TRUE(store()->synchronize());
    reload();
    EXPECT_TRUE(objectsEqual(store()->objectForKey("k"_ns), "v"_ns));
}

TEST_F(UserDefaultsTest, AKillDuringSynchronizeLeavesTheOldOrTheNewFile) {
    store()->setObject(NSNumber::numberWithInt(0), "round"_ns);
    ASSERT_TRUE(store()->synchronize());
    for (int round = 1; round <= 8; ++round) {
        pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            for (int i = 0;; ++i) {
                store()->setObject(NSData::data(std::string(64 * 1024 + i % 1000, 'x')),
                                   "payload"_ns);
                store()->synchronize();
            }
        }
        ::usleep(2000 * round);
        ::kill(child, SIGKILL);
        ::waitpid(child, nullptr, 0);
        PropertyListFile kind = PropertyListFile::Ok;
        Result<Ref<NSDictionary>> contents = readDictionaryFile(defaultsFile().string(), kind);
        ASSERT_TRUE(contents) << contents.problem();
        EXPECT_TRUE((*contents)->objectForKey("round"));
    }
    // The next writer removes what killed writers left, never a live one's.
    pid_t dead = ::fork();
    if (dead == 0) std::_Exit(0);
    ::waitpid(dead, nullptr, 0);
    pid_t live = ::fork();
    if (live == 0) ::pause();
    std::string prefix = ".com.example.host.plist.tmp-";
    writeText(preferences() / (prefix + std::to_string(dead) + "-abcdef"), "left");
    writeText(preferences() / (prefix + std::to_string(live) + "-abcdef"), "writing");
    store()->setObject(NSNumber::numberWithInt(1), "round"_ns);
    ASSERT_TRUE(store()->synchronize());
    ::kill(live, SIGKILL);
    ::waitpid(live, nullptr, 0);
    EXPECT_EQ(folderNames(preferences()),
              (std::vector<std::string>{prefix + std::to_string(live) + "-abcdef",
                                        "com.example.host.plist", "com.example.host.plist.lock"}));
}

TEST_F(UserDefaultsTest, ReadersOnOtherThreadsSeeWholeValuesWhileAWriterChangesThem) {
    constexpr int writes = 2000;
    store()->setObject(NSNumber::numberWithInt(0), "counter"_ns);
    long before = liveObjects<NSNumber>();
    std::atomic<bool> done{false};
    std::atomic<long> bad{0};
    // Each read is a value some write made, never an older one than the last
    // read, and its truth follows it: YES once the counter has left 0.
    auto reader = [&] {
        long last = 0;
        while (!done) {
            Ref<NSObject> value = store()->objectForKey("counter"_ns);
            const NSNumber* number = as<NSNumber>(value);
            long now = number ? number->longLongValue() : -1;
            bool truth = store()->boolForKey("counter"_ns);
            if (now < last || now > writes || (now > 0 && !truth)) ++bad;
            last = std::max(last, now);
        }
    };
    std::vector<std::thread> readers;
    for (int i = 0; i < 4; ++i)
        readers.emplace_back(reader);
    for (int i = 1; i <= writes; ++i)
        store()->setObject(NSNumber::numberWithInt(i), "counter"_ns);
    done = true;
    for (std::thread& thread : readers)
        thread.join();
    EXPECT_EQ(bad, 0);
    // Every replaced value was freed with its snapshot.
    EXPECT_EQ(liveObjects<NSNumber>(), before);
}

TEST_F(UserDefaultsTest, AResetLoadsTheFileOfTheRootCurrentAtTheNextUse) {
    store()->setObject("first root"_ns, "k"_ns);
    ASSERT_TRUE(store()->synchronize());
    std::filesystem::path first = root_;
    NSUserDefaults::resetStandardUserDefaults();
    std::filesystem::path second = root_ / "second";
    std::filesystem::create_directories(second / "var/mobile/Library/Preferences");
    writeText(second / "var/mobile/Library/Preferences/com.example.host.plist", "damaged");
    setDeviceRoot(second.string());
    NSUserDefaults::resetStandardUserDefaults(); // a reset alone reads no file
    EXPECT_FALSE(std::filesystem::exists(
        second / "var/mobile/Library/Preferences/com.example.host.plist.corrupt"));
    testing::internal::CaptureStderr();
    EXPECT_FALSE(store()->objectForKey("k"_ns));
    testing::internal::GetCapturedStderr();
    EXPECT_TRUE(std::filesystem::exists(
        second / "var/mobile/Library/Preferences/com.example.host.plist.corrupt"));
    NSUserDefaults::resetStandardUserDefaults();
    setDeviceRoot(first.string());
    EXPECT_TRUE(objectsEqual(store()->objectForKey("k"_ns), "first root"_ns));
}

// Each process applies only its own keys under the lock; the last writer of
// a key wins.
TEST_F(UserDefaultsTest, ProcessesChangingDifferentKeysLoseNothing) {
    store()->setObject("parent"_ns, "mine"_ns);
    std::vector<pid_t> children;
    for (int writer = 0; writer < 4; ++writer) {
        pid_t child = ::fork();
        if (child == 0) {
            for (int i = 0; i < 20; ++i) {
                store()->setObject(NSNumber::numberWithInt(i),
                                   NSString::stringWithFormat("writer%d", writer));
                store()->setObject(NSNumber::numberWithInt(writer), "same"_ns);
                store()->synchronize();
            }
            std::_Exit(0);
        }
        children.push_back(child);
    }
    for (pid_t child : children)
        ::waitpid(child, nullptr, 0);
    ASSERT_TRUE(store()->synchronize());
    Ref<NSDictionary> domain = store()->persistentDomain();
    for (int writer = 0; writer < 4; ++writer)
        EXPECT_TRUE(objectsEqual(domain->objectForKey("writer" + std::to_string(writer)),
                                 NSNumber::numberWithInt(19)));
    EXPECT_TRUE(objectsEqual(domain->objectForKey("mine"), "parent"_ns));
    EXPECT_LT(as<NSNumber>(domain->objectForKey("same"))->intValue(), 4);
    reload();
    EXPECT_EQ(store()->persistentDomain()->count(), 6u);
}

// Seen without a restart; this process's pending change stays over it.
TEST_F(UserDefaultsTest, AnotherProcessesWriteReachesThisProcessesReads) {
    store()->setObject("local"_ns, "pending"_ns);
    EXPECT_EQ(childStatus([&] {
                  store()->setObject("theirs"_ns, "k"_ns);
                  store()->setObject("theirs"_ns, "pending"_ns);
                  return store()->synchronize() ? 0 : 1;
              }),
              0);
    for (int waited = 0; waited < 500 && !store()->objectForKey("k"_ns); ++waited)
        ::usleep(10000);
    EXPECT_TRUE(objectsEqual(store()->objectForKey("k"_ns), "theirs"_ns));
    EXPECT_TRUE(objectsEqual(store()->objectForKey("pending"_ns), "local"_ns));
}

// Run by the test below under strace, with the first open of the file failing.
TEST(UserDefaultsChild, DISABLED_TransientFailureAtLoad) {
    setDeviceRoot(std::getenv("TAVELIN_CHILD_PATH"));
    setMainBundleIdentifier("com.example.host");
    NSUserDefaults* store = NSUserDefaults::standardUserDefaults();
    bool unread = !store->objectForKey("kept"_ns);
    store->setObject("new"_ns, "added"_ns);
    bool merged = store->synchronize() && store->objectForKey("kept"_ns);
    std::_Exit(unread && merged ? 0 : 3);
}

TEST_F(UserDefaultsTest, ATransientErrorLeavesTheFileAloneAndIsMergedLater) {
    if (run("strace -V >/dev/null 2>&1") != 0) GTEST_SKIP() << "strace is not installed";
    for (const char* code : {"EMFILE", "ENFILE", "EIO", "EACCES"}) {
        store()->setObject("old"_ns, "kept"_ns);
        ASSERT_TRUE(store()->synchronize());
        EXPECT_EQ(run("TAVELIN_CHILD_PATH=" + root_.string() + " strace -f -o /dev/null -P " +
                      defaultsFile().string() + " -e inject=openat:error=" + code + ":when=1 " +
                      std::filesystem::read_symlink("/proc/self/exe").string() +
                      " --gtest_also_run_disabled_tests "
                      "--gtest_filter=UserDefaultsChild.DISABLED_TransientFailureAtLoad >/dev/null "
                      "2>&1"),
                  0)
            << code;
        reload();
        EXPECT_TRUE(objectsEqual(store()->objectForKey("added"_ns), "new"_ns)) << code;
        EXPECT_FALSE(std::filesystem::exists(defaultsFile().string() + ".corrupt")) << code;
    }
}

// Folders, FIFOs and symbolic links are never opened for a blocking read,
// moved or replaced; a damaged file that cannot be kept aside stays.
TEST_F(UserDefaultsTest, PathsThatAreNoRegularFileAreLeftAlone) {
    auto saves = [&] {
        return childStatus([&] {
            store()->setObject("v"_ns, "k"_ns);
            return store()->synchronize() ? 0 : 3;
        });
    };
    std::filesystem::create_directories(defaultsFile() / "inside");
    EXPECT_EQ(saves(), 3);
    EXPECT_TRUE(std::filesystem::is_directory(defaultsFile() / "inside"));
    std::filesystem::remove_all(defaultsFile());
    ASSERT_EQ(::mkfifo(defaultsFile().c_str(), 0644), 0);
    EXPECT_EQ(saves(), 3);
    EXPECT_TRUE(std::filesystem::is_fifo(defaultsFile()));
    std::filesystem::remove(defaultsFile());
    std::filesystem::path lock = defaultsFile().string() + ".lock";
    std::filesystem::remove(lock);
    std::filesystem::create_symlink(root_ / "outside", lock);
    EXPECT_EQ(saves(), 3);
    EXPECT_FALSE(std::filesystem::exists(root_ / "outside"));
    std::filesystem::remove(lock);
    ASSERT_EQ(::mkfifo(lock.c_str(), 0644), 0);
    EXPECT_EQ(saves(), 3);
    std::filesystem::remove(lock);
    writeText(defaultsFile(), "damaged");
    for (int copy = 0; copy < 1000; ++copy)
        writeText(defaultsFile().string() + ".corrupt" + (copy ? "." + std::to_string(copy) : ""),
                  "");
    EXPECT_EQ(saves(), 3);
    EXPECT_EQ(readText(defaultsFile()), "damaged");
    EXPECT_FALSE(std::filesystem::exists(defaultsFile().string() + ".corrupt.1000"));
}
