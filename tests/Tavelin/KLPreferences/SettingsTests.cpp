#include <sys/stat.h>

#include "Foundation/NSNumber.h"
#include "KLPreferences/KLPSettings.h"
#include "tests/Tavelin/KLPreferences/Fixtures.h"

using namespace testing_support;

namespace {

class Settings : public fixtures::CellTest {
  protected:
    static NSUserDefaults* store() { return NSUserDefaults::standardUserDefaults(); }
    std::string file() const { return (root_ / "prefs.plist").string(); }
    Ref<KLPSettings> withFile(const char* key, NSObject* defaultValue = "default"_ns) {
        Ref<KLPSettings> setting = CellTest::setting(key, defaultValue);
        setting->setFileSave(NSString::string(file()));
        return setting;
    }
    Ref<NSDictionary> contents() {
        return NSDictionary::dictionaryWithContentsOfFile(NSString::string(file()));
    }
};

} // namespace

TEST_F(Settings, TheLatestDefaultIsAnsweredWhileNothingIsStoredAndNothingReachesDisk) {
    Ref<KLPSettings> first = setting("k", "first"_ns);
    Ref<KLPSettings> setting = CellTest::setting("k", NSNumber::numberWithBool(false));
    EXPECT_EQ(first->value().get(), NSNumber::numberWithBool(false).get());
    EXPECT_EQ(store()->persistentDomain()->count(), 0u);
    EXPECT_TRUE(store()->synchronize());
    EXPECT_FALSE(std::filesystem::exists(root_ / "var"));
}

TEST_F(Settings, ANewValueIsFlushedAtOnceAndAnEmptyFileNameWritesNoFile) {
    Ref<KLPSettings> setting = CellTest::setting("k", "default"_ns);
    setting->setFileSave(""_ns);
    setting->setValue("new"_ns);
    Ref<NSDictionary> onDisk =
        NSDictionary::dictionaryWithContentsOfFile(NSString::string(defaultsFile().string()));
    ASSERT_TRUE(onDisk);
    EXPECT_EQ(text(onDisk->objectForKey("k")), "new");
    EXPECT_EQ(folderNames(root_), std::vector<std::string>{"var"});
}

TEST_F(Settings, TheVeryCurrentObjectWritesNothingButAnEqualCopyIsWrittenAgain) {
    Ref<KLPSettings> setting = withFile("k");
    setting->setValue(setting->value());
    EXPECT_FALSE(std::filesystem::exists(file()));
    EXPECT_FALSE(std::filesystem::exists(defaultsFile()));
    setting->setValue(NSString::string("default"));
    EXPECT_TRUE(std::filesystem::exists(file()));
    EXPECT_EQ(text(stored("k")), "default");
}

TEST_F(Settings, TheFileKeepsOtherKeysAndNilRemovesTheKeyFromStoreAndFile) {
    withFile("other")->setValue("kept"_ns);
    Ref<KLPSettings> setting = withFile("k");
    setting->setValue(NSNumber::numberWithFloat(0.5f));
    ASSERT_TRUE(contents());
    EXPECT_EQ(contents()->count(), 2u);
    EXPECT_FLOAT_EQ(as<NSNumber>(contents()->objectForKey("k"))->floatValue(), 0.5f);
    setting->setValue(nullptr);
    EXPECT_EQ(text(setting->value()), "default");
    EXPECT_FALSE(store()->persistentDomain()->objectForKey("k"));
    EXPECT_FALSE(contents()->objectForKey("k"));
    EXPECT_EQ(text(contents()->objectForKey("other")), "kept");
}

TEST_F(Settings, TheChangeBlockRunsOnlyForKeyValueObserving) {
    Ref<KLPSettings> setting = CellTest::setting("k");
    int calls = 0;
    setting->setValueDidChangeBlock([&] { ++calls; });
    setting->setValue("new"_ns);
    EXPECT_EQ(calls, 0);
    send<void>(setting.get(), "observeValueForKeyPath:ofObject:change:context:"_sel, "value"_ns,
               static_cast<NSObject*>(setting.get()), static_cast<NSDictionary*>(nullptr),
               static_cast<void*>(nullptr));
    EXPECT_EQ(calls, 1);
}

TEST_F(Settings, ADamagedSettingsFileIsKeptAsideBeforeANewOneIsWritten) {
    Ref<KLPSettings> setting = withFile("k");
    const char* damaged[] = {"garbage", "<plist><string>no dictionary</string></plist>"};
    for (const char* text : damaged) {
        writeText(file(), text);
        testing::internal::CaptureStderr();
        setting->setValue(NSString::string(text));
        EXPECT_NE(testing::internal::GetCapturedStderr().find("kept as"), std::string::npos);
        ASSERT_TRUE(contents());
        EXPECT_EQ(contents()->count(), 1u);
    }
    EXPECT_EQ(readText(file() + ".corrupt"), damaged[0]);
    EXPECT_EQ(readText(file() + ".corrupt.1"), damaged[1]);
}

TEST_F(Settings, AValueThatIsNoPropertyListIsRefusedAndNothingChanges) {
    Ref<KLPSettings> setting = withFile("k");
    setting->setValue("good"_ns);
    std::string before = readText(file());
    testing::internal::CaptureStderr();
    setting->setValue(Ref<NSObject>::adopt(alloc<NSObject>()));
    setting->saveValue(Ref<NSObject>::adopt(alloc<NSObject>()));
    std::string messages = testing::internal::GetCapturedStderr();
    EXPECT_NE(messages.find("not a property-list object"), std::string::npos) << messages;
    EXPECT_EQ(text(setting->value()), "good");
    EXPECT_EQ(readText(file()), before);
}

// The failure is posted with its reason; the value is written with the next save.
TEST_F(Settings, AFailedSettingsFileSaveIsReportedAndRetried) {
    std::filesystem::path folder = root_ / "missing";
    Ref<KLPSettings> setting = CellTest::setting("k");
    setting->setFileSave(NSString::string((folder / "prefs.plist").string()));
    std::string reason;
    Ref<NSObject> token = NSNotificationCenter::defaultCenter()->addObserverForName(
        NSUserDefaultsSaveFailedNotification, setting, [&](NSNotification* note) {
            reason = text(note->userInfo()->objectForKey("NSLocalizedDescription"));
        });
    testing::internal::CaptureStderr();
    setting->setValue("v"_ns);
    testing::internal::GetCapturedStderr();
    NSNotificationCenter::defaultCenter()->removeObserver(token);
    EXPECT_NE(reason.find("No such file or directory"), std::string::npos) << reason;
    EXPECT_EQ(text(setting->value()), "v");
    std::filesystem::create_directory(folder);
    Ref<KLPSettings> other = CellTest::setting("other");
    other->setFileSave(setting->fileSave());
    other->setValue("w"_ns);
    Ref<NSDictionary> written = NSDictionary::dictionaryWithContentsOfFile(setting->fileSave());
    ASSERT_TRUE(written);
    EXPECT_EQ(text(written->objectForKey("k")), "v");
    EXPECT_EQ(text(written->objectForKey("other")), "w");
}

TEST_F(Settings, ASettingsFileThatIsAPipeIsNeverOpened) {
    ASSERT_EQ(::mkfifo(file().c_str(), 0644), 0);
    Ref<KLPSettings> setting = withFile("k");
    EXPECT_EQ(childStatus([&] {
                  setting->saveValue("v"_ns);
                  return 0;
              }),
              0);
    EXPECT_TRUE(std::filesystem::is_fifo(file()));
}

// The store keeps a copy: an edited array set again is written again.
TEST_F(Settings, TheStoreKeepsAnImmutableCopyOfEachValue) {
    Ref<KLPSettings> setting = withFile("list", NSArray::array());
    Ref<NSMutableArray> list = NSMutableArray::array();
    list->addObject("a"_ns);
    setting->setValue(list);
    EXPECT_EQ(object_getClass(setting->value().get()), NSArray::objcClass());
    list->addObject("b"_ns);
    EXPECT_EQ(as<NSArray>(setting->value())->count(), 1u);
    setting->setValue(list);
    EXPECT_EQ(as<NSArray>(contents()->objectForKey("list"))->count(), 2u);
}

// A second process writes its keys while this one writes its own.
TEST_F(Settings, TwoProcessesWritingOneSettingsFileLoseNoEntry) {
    auto writeKeys = [&](const char* writer) {
        for (int key = 0; key < 40; ++key)
            withFile(NSString::stringWithFormat("%s-k%d", writer, key)->UTF8String())
                ->setValue(NSNumber::numberWithInt(key));
    };
    pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        writeKeys("child");
        std::_Exit(0);
    }
    writeKeys("parent");
    int status = 0;
    ::waitpid(child, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    ASSERT_TRUE(contents());
    EXPECT_EQ(contents()->count(), 80u);
}
