#include <gtest/gtest.h>

#include <csignal>

#include "Foundation/NSArray.h"
#include "Foundation/NSNotificationCenter.h"
#include "Foundation/NSNumber.h"
#include "KLPreferences/KLPSettings.h"
#include "ObjectModel/Message.h"
#include "tests/platform/Foundation/TempRoot.h"

using namespace testing_support;

namespace {

class SettingsTest : public TempRootTest {
  protected:
    NSUserDefaults* store() { return NSUserDefaults::standardUserDefaults(); }
    std::string settingsFile() const { return (root_ / "prefs.plist").string(); }

    Ref<KLPSettings> settingWithFile(NSString* key, NSObject* defaultValue) {
        Ref<KLPSettings> setting = KLPSettings::settingsWithKey(key, defaultValue);
        setting->setFileSave(NSString::string(settingsFile()));
        return setting;
    }

    void reload() {
        NSUserDefaults::resetStandardUserDefaults();
        store();
    }

    Ref<NSDictionary> fileContents() {
        return NSDictionary::dictionaryWithContentsOfFile(NSString::string(settingsFile()));
    }

    // Counts the defaults store's change notifications (one per store write).
    int storeWrites(const std::function<void()>& action) {
        int writes = 0;
        Ref<NSObject> token = NSNotificationCenter::defaultCenter()->addObserverForName(
            NSUserDefaultsDidChangeNotification, nullptr, [&](NSNotification*) { ++writes; });
        action();
        NSNotificationCenter::defaultCenter()->removeObserver(token);
        return writes;
    }
};

} // namespace

TEST_F(SettingsTest, TheDefaultIsAnsweredWhileNothingIsStoredAndNothingReachesDisk) {
    Ref<KLPSettings> setting =
        KLPSettings::settingsWithKey("TVLSWitch1"_ns, NSNumber::numberWithBool(false));
    EXPECT_EQ(setting->value().get(), NSNumber::numberWithBool(false).get());
    EXPECT_FALSE(store()->boolForKey("TVLSWitch1"_ns));
    EXPECT_EQ(store()->persistentDomain()->count(), 0u);
    EXPECT_TRUE(store()->synchronize());
    EXPECT_FALSE(std::filesystem::exists(root_ / "var"));
}

TEST_F(SettingsTest, ANewValueIsStoredAndFlushedAtOnceWithoutAnyFile) {
    Ref<KLPSettings> setting = KLPSettings::settingsWithKey("k"_ns, "default"_ns);
    Ref<NSString> value = NSString::string("new");
    setting->setValue(value);
    EXPECT_EQ(setting->value().get(), value.get());
    Ref<NSDictionary> onDisk =
        NSDictionary::dictionaryWithContentsOfFile(NSString::string(defaultsFile().string()));
    ASSERT_TRUE(onDisk);
    EXPECT_TRUE(objectsEqual(onDisk->objectForKey("k"), value));
    setting->setFileSave(NSString::string(""));
    setting->setValue(NSString::string("again"));
    EXPECT_EQ(folderNames(root_), std::vector<std::string>{"var"});
}

TEST_F(SettingsTest, TheVeryCurrentObjectWritesNothingButAnEqualCopyIsWrittenAgain) {
    Ref<KLPSettings> setting = settingWithFile("k"_ns, "default"_ns);
    EXPECT_EQ(storeWrites([&] { setting->setValue(setting->value()); }), 0);
    EXPECT_FALSE(std::filesystem::exists(settingsFile()));
    EXPECT_FALSE(std::filesystem::exists(defaultsFile()));
    EXPECT_EQ(storeWrites([&] { setting->setValue(NSString::string("default")); }), 1);
    EXPECT_TRUE(std::filesystem::exists(settingsFile()));
    EXPECT_EQ(storeWrites([&] { setting->setValue(NSString::string("default")); }), 1);
    EXPECT_EQ(storeWrites([&] { setting->setValue(nullptr); }), 1);
    EXPECT_EQ(storeWrites([&] { setting->setValue(setting->value()); }), 0);
}

TEST_F(SettingsTest, AMissingFileGetsOneEntryAndEntriesUnderOtherKeysSurvive) {
    settingWithFile("other"_ns, "x"_ns)->setValue(NSString::string("kept"));
    Ref<NSDictionary> contents = fileContents();
    ASSERT_TRUE(contents);
    EXPECT_EQ(contents->count(), 1u);
    Ref<KLPSettings> setting = settingWithFile("k"_ns, NSNumber::numberWithInt(0));
    setting->setValue(NSNumber::numberWithInt(1));
    setting->setValue(NSNumber::numberWithFloat(0.5f));
    contents = fileContents();
    ASSERT_TRUE(contents);
    EXPECT_EQ(contents->count(), 2u);
    EXPECT_TRUE(objectsEqual(contents->objectForKey("other"), "kept"_ns));
    EXPECT_FLOAT_EQ(as<NSNumber>(contents->objectForKey("k"))->floatValue(), 0.5f);
}

TEST_F(SettingsTest, StoringNilRemovesTheKeyFromTheStoreAndTheFile) {
    settingWithFile("other"_ns, "x"_ns)->setValue(NSString::string("kept"));
    Ref<KLPSettings> setting = settingWithFile("k"_ns, "default"_ns);
    setting->setValue(NSString::string("stored"));
    setting->setValue(nullptr);
    EXPECT_EQ(setting->value().get(), "default"_ns);
    EXPECT_FALSE(store()->persistentDomain()->objectForKey("k"));
    Ref<NSDictionary> contents = fileContents();
    ASSERT_TRUE(contents);
    EXPECT_FALSE(contents->objectForKey("k"));
    EXPECT_TRUE(contents->objectForKey("other"));
}

TEST_F(SettingsTest, TheLatestRegistrationOfAKeyWins) {
    Ref<KLPSettings> first = KLPSettings::settingsWithKey("k"_ns, "first"_ns);
    Ref<KLPSettings> second = KLPSettings::settingsWithKey("k"_ns, "second"_ns);
    EXPECT_EQ(first->value().get(), "second"_ns);
    EXPECT_EQ(second->value().get(), "second"_ns);
}

TEST_F(SettingsTest, TheChangeBlockRunsOnlyForKeyValueObserving) {
    Ref<KLPSettings> setting = KLPSettings::settingsWithKey("k"_ns, "default"_ns);
    send<void>(setting.get(), "observeValueForKeyPath:ofObject:change:context:"_sel,
               static_cast<NSString*>(nullptr), static_cast<NSObject*>(nullptr),
               static_cast<NSDictionary*>(nullptr), static_cast<void*>(nullptr));
    int calls = 0;
    setting->setValueDidChangeBlock([&] { ++calls; });
    setting->setValue(NSString::string("new"));
    EXPECT_EQ(calls, 0);
    send<void>(setting.get(), "observeValueForKeyPath:ofObject:change:context:"_sel, "value"_ns,
               static_cast<NSObject*>(setting.get()), static_cast<NSDictionary*>(nullptr),
               static_cast<void*>(nullptr));
    EXPECT_EQ(calls, 1);
}

TEST_F(SettingsTest, ADamagedSettingsFileIsKeptAsideBeforeANewOneIsWritten) {
    Ref<KLPSettings> setting = settingWithFile("k"_ns, "default"_ns);
    for (const char* damaged : {"garbage", "<plist><string>no dictionary</string></plist>"}) {
        writeText(settingsFile(), damaged);
        testing::internal::CaptureStderr();
        setting->setValue(NSString::string(damaged));
        EXPECT_NE(testing::internal::GetCapturedStderr().find("kept as"), std::string::npos);
        Ref<NSDictionary> contents = fileContents();
        ASSERT_TRUE(contents);
        EXPECT_EQ(contents->count(), 1u);
    }
    EXPECT_EQ(readText(settingsFile() + ".corrupt"), "garbage");
    EXPECT_EQ(readText(settingsFile() + ".corrupt.1"),
              "<plist><string>no dictionary</string></plist>");
}

TEST_F(SettingsTest, AValueThatIsNoPropertyListIsRefusedAndNothingChanges) {
    Ref<KLPSettings> setting = settingWithFile("k"_ns, "default"_ns);
    setting->setValue(NSString::string("good"));
    std::string before = readText(settingsFile());
    Ref<NSObject> stored = setting->value();
    testing::internal::CaptureStderr();
    setting->setValue(Ref<NSObject>::adopt(alloc<NSObject>()));
    setting->saveValue(Ref<NSObject>::adopt(alloc<NSObject>()));
    std::string messages = testing::internal::GetCapturedStderr();
    EXPECT_NE(messages.find("not a property-list object"), std::string::npos) << messages;
    EXPECT_EQ(setting->value().get(), stored.get());
    EXPECT_EQ(readText(settingsFile()), before);
}

// The failure is posted with its reason; the value is written with the next save.
TEST_F(SettingsTest, AFailedSettingsFileSaveIsReportedAndRetried) {
    Ref<KLPSettings> setting = KLPSettings::settingsWithKey("k"_ns, "default"_ns);
    std::filesystem::path folder = root_ / "missing";
    setting->setFileSave(NSString::string((folder / "prefs.plist").string()));
    std::string reason;
    Ref<NSObject> token = NSNotificationCenter::defaultCenter()->addObserverForName(
        NSUserDefaultsSaveFailedNotification, setting, [&](NSNotification* note) {
            reason = as<NSString>(note->userInfo()->objectForKey("NSLocalizedDescription"))->utf8();
        });
    testing::internal::CaptureStderr();
    setting->setValue(NSString::string("v"));
    testing::internal::GetCapturedStderr();
    NSNotificationCenter::defaultCenter()->removeObserver(token);
    EXPECT_NE(reason.find("No such file or directory"), std::string::npos) << reason;
    EXPECT_TRUE(objectsEqual(setting->value(), "v"_ns));
    EXPECT_FALSE(std::filesystem::exists(folder));
    std::filesystem::create_directory(folder);
    Ref<KLPSettings> other = KLPSettings::settingsWithKey("other"_ns, "x"_ns);
    other->setFileSave(setting->fileSave());
    other->setValue(NSString::string("w"));
    Ref<NSDictionary> contents = NSDictionary::dictionaryWithContentsOfFile(
        NSString::string((folder / "prefs.plist").string()));
    ASSERT_TRUE(contents);
    EXPECT_TRUE(objectsEqual(contents->objectForKey("k"), "v"_ns));
    EXPECT_TRUE(objectsEqual(contents->objectForKey("other"), "w"_ns));
    ASSERT_EQ(::mkfifo(settingsFile().c_str(), 0644), 0); // never opened: no hang
    setting->setFileSave(NSString::string(settingsFile()));
    EXPECT_EQ(childStatus([&] {
                  setting->saveValue("v"_ns);
                  return 0;
              }),
              0);
    EXPECT_TRUE(std::filesystem::is_fifo(settingsFile()));
}

// The store keeps a copy: an edited array set again is written again.
TEST_F(SettingsTest, TheStoreKeepsAnImmutableCopyOfEachValue) {
    Ref<KLPSettings> setting = settingWithFile("list"_ns, NSArray::array());
    Ref<NSMutableArray> list = NSMutableArray::array();
    list->addObject("a"_ns);
    setting->setValue(list);
    EXPECT_NE(setting->value().get(), list.get());
    EXPECT_EQ(object_getClass(setting->value().get()), NSArray::objcClass());
    list->addObject("b"_ns);
    EXPECT_EQ(as<NSArray>(setting->value())->count(), 1u);
    EXPECT_EQ(storeWrites([&] { setting->setValue(list); }), 1);
    reload();
    Ref<NSArray> stored = as<NSArray>(store()->objectForKey("list"_ns));
    ASSERT_TRUE(stored);
    EXPECT_EQ(stored->count(), 2u);
    EXPECT_EQ(as<NSArray>(fileContents()->objectForKey("list"))->count(), 2u);
}

TEST_F(SettingsTest, TwoProcessesWritingOneSettingsFileLoseNoEntry) {
    constexpr int kWriters = 2, kKeys = 40;
    std::vector<pid_t> children;
    for (int writer = 0; writer < kWriters; ++writer) {
        pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            for (int key = 0; key < kKeys; ++key) {
                Ref<NSString> name = NSString::stringWithFormat("w%d-k%d", writer, key);
                settingWithFile(name, NSNumber::numberWithInt(-1))
                    ->setValue(NSNumber::numberWithInt(key));
            }
            std::_Exit(0);
        }
        children.push_back(child);
    }
    for (pid_t child : children) {
        int status = 0;
        ::waitpid(child, &status, 0);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
    Ref<NSDictionary> contents = fileContents();
    ASSERT_TRUE(contents);
    EXPECT_EQ(contents->count(), static_cast<NSUInteger>(kWriters * kKeys));
}
