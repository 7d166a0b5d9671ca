#include <gtest/gtest.h>

#include <csignal>
#include <thread>

#include "Foundation/NSArray.h"
#include "Foundation/NSData.h"
#include "Foundation/NSNotificationCenter.h"
#include "Foundation/NSNumber.h"
#include "Foundation/NSUserDefaults.h"
#include "Foundation/PropertyList.h"
#include "tests/foundation/TempRoot.h"

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
    EXPECT_FALSE(store()->setObject(NSString::string("escape \x1b"), "k"_ns));
    EXPECT_FALSE(store()->setObject("v"_ns, nullptr));
    std::string messages = testing::internal::GetCapturedStderr();
    EXPECT_NE(messages.find("not a property-list object"), std::string::npos) << messages;
    EXPECT_NE(messages.find("control characters"), std::string::npos) << messages;
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

TEST_F(UserDefaultsTest, AFolderThatCannotBeWrittenKeepsTheValueInMemoryAndReportsFailure) {
    std::filesystem::create_directories(root_ / "var/mobile/Library");
    writeText(preferences(), "a file where the folder should be");
    store()->setObject("v"_ns, "k"_ns);
    testing::internal::CaptureStderr();
    EXPECT_FALSE(store()->synchronize());
    EXPECT_NE(testing::internal::GetCapturedStderr().find("could not save the defaults"),
              std::string::npos);
    EXPECT_EQ(store()->objectForKey("k"_ns).get(), "v"_ns);
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
        std::string error;
        Ref<NSDictionary> contents;
        ASSERT_EQ(readDictionaryFile(defaultsFile().string(), contents, error),
                  PropertyListFile::Ok)
            << error;
        EXPECT_TRUE(contents->objectForKey("round"));
    }
}

TEST_F(UserDefaultsTest, ReadersOnOtherThreadsSeeWholeValuesWhileAWriterChangesThem) {
    store()->setObject(NSNumber::numberWithInt(0), "counter"_ns);
    long before = liveObjects<NSNumber>();
    std::atomic<bool> done{false};
    std::atomic<long> bad{0};
    auto reader = [&] {
        long last = 0;
        while (!done) {
            Ref<NSObject> value = store()->objectForKey("counter"_ns);
            const NSNumber* number = as<NSNumber>(value);
            if (!number || number->longLongValue() < last) ++bad;
            last = number ? number->longLongValue() : last;
            store()->boolForKey("counter"_ns);
        }
    };
    std::thread first(reader), second(reader);
    for (int i = 1; i <= 2000; ++i)
        store()->setObject(NSNumber::numberWithInt(i), "counter"_ns);
    done = true;
    first.join();
    second.join();
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
