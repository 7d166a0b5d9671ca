#include <gtest/gtest.h>

#include <dlfcn.h>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <string>

#include "Foundation/NSNumber.h"
#include "KLPreferences/KLPListCell.h"
#include "KLPreferences/KLPSegmentCell.h"
#include "KLPreferences/KLPSelectListTable.h"
#include "KLPreferences/KLPSliderCell.h"
#include "KLPreferences/KLPSwitchCell.h"
#include "KLPreferences/KLPTextFieldCell.h"
#include "ObjectModel/Message.h"
#include "UIKit/ScreenText.h"
#include "gallery/KLPGallery.h"
#include "host/GalleryCommand.h"
#include "host/HostProgram.h"
#include "host/HostSession.h"
#include "host/PreferencesCommand.h"
#include "tests/Tavelin/KLPreferences/Fixtures.h"

using fixtures::CellTest;
using fixtures::text;

namespace {

class Gallery : public CellTest {
  protected:
    void SetUp() override {
        CellTest::SetUp();
        // Kept open: the gallery's objects run its code.
        void* module = dlopen(KLP_GALLERY_MODULE, RTLD_NOW | RTLD_LOCAL);
        ASSERT_TRUE(module) << dlerror();
        auto makeController = reinterpret_cast<KLPGalleryMakeControllerFunction>(
            dlsym(module, kKLPGalleryMakeControllerSymbol));
        ASSERT_TRUE(makeController);
        plist = root_ / "gallery.plist";
        gallery = Ref<KLPreferences>::adopt(as<KLPreferences>(makeController(plist.c_str())));
        ASSERT_TRUE(gallery);
        navigation = UINavigationController::navigationControllerWithRootViewController(gallery);
        send(navigation, "viewWillAppear:"_sel, false);
        gallery->tableView()->layoutIfNeeded();
    }

    // The first cell of the class, in table order.
    template <class T> T* first() {
        for (NSObject* section : *gallery->sections())
            for (NSObject* cell : *static_cast<KLPSection*>(section)->cells())
                if (auto* found = as<T>(cell)) return found;
        return nullptr;
    }

    Ref<NSObject> inFile(NSString* key) {
        Ref<NSDictionary> contents =
            NSDictionary::dictionaryWithContentsOfFile(NSString::string(plist.string()));
        return contents ? contents->objectForKey(key) : nullptr;
    }

    std::filesystem::path plist;
    Ref<KLPreferences> gallery;
};

} // namespace

TEST_F(Gallery, ShowsEveryCellTypeWithEachControlOnAKeyOfItsOwn) {
    std::set<std::string> classes;
    std::set<std::string> keys;
    long controls = 0;
    for (NSObject* section : *gallery->sections())
        for (NSObject* cell : *static_cast<KLPSection*>(section)->cells()) {
            classes.insert(class_getName(cell->class_pointer));
            if (KLPSettings* setting = static_cast<KLPCell*>(cell)->setting()) {
                keys.insert(setting->key()->utf8());
                ++controls;
            }
        }
    EXPECT_EQ(classes, (std::set<std::string>{"KLPDeveloperCell", "KLPLinkCell", "KLPListCell",
                                              "KLPSegmentCell", "KLPSliderCell", "KLPSwitchCell",
                                              "KLPTextFieldCell", "KLPValueCell", "KLPViewCell"}));
    EXPECT_EQ(static_cast<long>(keys.size()), controls);
    EXPECT_EQ(controls, 6);
    EXPECT_EQ(text(gallery->title()), "Gallery");
}

TEST_F(Gallery, EveryControlWritesItsKeyIntoTheSettingsFile) {
    first<KLPSwitchCell>()->switchView()->flip();
    first<KLPSegmentCell>()->segment()->pickSegment(2);
    first<KLPTextFieldCell>()->textField()->typeText("Ada");
    first<KLPSliderCell>()->sliderCell()->dragTo(0.75f);
    gallery->tableView()->tapRowAtIndexPath(
        gallery->tableView()->indexPathForCell(first<KLPListCell>()));
    auto* list = as<KLPSelectListTable>(navigation->topViewController());
    ASSERT_TRUE(list);
    list->tableView()->tapRowAtIndexPath(NSIndexPath::indexPathForRow(1, 0));
    EXPECT_EQ(navigation->topViewController(), gallery.get());

    EXPECT_TRUE(objectsEqual(inFile("galleryEnabled"_ns), NSNumber::numberWithBool(true)));
    EXPECT_TRUE(objectsEqual(inFile("galleryQuality"_ns), "high"_ns));
    EXPECT_TRUE(objectsEqual(inFile("galleryNickname"_ns), "Ada"_ns));
    EXPECT_TRUE(objectsEqual(inFile("galleryVolume"_ns), NSNumber::numberWithFloat(0.75f)));
    EXPECT_TRUE(objectsEqual(inFile("galleryTheme"_ns), "dark"_ns));
    EXPECT_EQ(text(first<KLPListCell>()->detailTextLabel()->text()), "Dark");
    EXPECT_EQ(posted.size(), 7u);
}

TEST_F(Gallery, TheModuleIsStagedOutsideTheLoadersFolder) {
    const std::filesystem::path stage = TAVELIN_STAGE_ROOT;
    EXPECT_EQ(std::filesystem::path(KLP_GALLERY_MODULE), stage.string() + kKLPGalleryModulePath);
    EXPECT_FALSE(std::filesystem::exists(
        stage / "Library/MobileSubstrate/DynamicLibraries/KLPGallery.dylib"));
}

namespace {

class GalleryCommand : public CellTest {
  protected:
    void SetUp() override {
        CellTest::SetUp();
        home = make<UIViewController>(&UIViewController::init);
        navigation = UINavigationController::navigationControllerWithRootViewController(home);
    }
    void stageModule() {
        std::filesystem::path staged = devicePath(kKLPGalleryModulePath);
        std::filesystem::create_directories(staged.parent_path());
        std::filesystem::create_symlink(KLP_GALLERY_MODULE, staged);
    }
    Ref<UIViewController> home;
};

} // namespace

TEST_F(GalleryCommand, PushesTheGalleryWritingToItsSettingsFileUnderTheRoot) {
    stageModule();
    Result<void> opened = openGallery(navigation);
    ASSERT_TRUE(opened) << opened.problem();
    auto* gallery = as<KLPreferences>(navigation->topViewController());
    ASSERT_TRUE(gallery);
    EXPECT_EQ(text(gallery->plistPath()),
              (root_ / "var/mobile/Library/Preferences/com.tavelin.gallery.plist").string());
    EXPECT_EQ(navigation->viewControllers()->count(), 2u);
}

TEST_F(GalleryCommand, AMissingModuleOrNavigationSaysWhatToDoAndPushesNothing) {
    Result<void> missing = openGallery(navigation);
    EXPECT_NE(missing.problem().find("cannot open the gallery"), std::string::npos);
    EXPECT_NE(missing.problem().find("build the KLPGallery target"), std::string::npos);
    EXPECT_EQ(navigation->topViewController(), home.get());
    EXPECT_NE(openGallery(nullptr).problem().find("no navigation"), std::string::npos);
}

TEST_F(GalleryCommand, TheSessionOpensTheGalleryAndDragsItsSliderByTitle) {
    stageModule();
    std::ostringstream out;
    HostSession session(NSArray::array(), hostCommands({}), out);
    session.run("slide \"Volume\" 1");
    session.run("gallery");
    session.run("slide \"Volume\" 0.2 0.256");
    session.run("slide \"Volume\" 0.5 abc");
    session.run("slide \"Theme\" 0.5");
    for (const char* line : {"type nick Ada", "type --clear NICKNAME \"Bo \\\"B\\\"\"",
                             "pick quality HIGH", "pick Quality 9", "flip en on", "flip en on"})
        session.run(line);
    const std::string shown = out.str();
    EXPECT_NE(shown.find("Nickname  [Bo \"B\"|___]"), std::string::npos) << shown;
    EXPECT_NE(shown.find("Quality  [ Low | Medium | *High* ]"), std::string::npos) << shown;
    EXPECT_NE(shown.find("No segment \"9\"; pick takes a segment's title or its number, 1 to 3."),
              std::string::npos);
    EXPECT_EQ(
        text(as<NSString>(
            NSUserDefaults::standardUserDefaults()->objectForKey("galleryNickname"_ns).get())),
        "Bo \"B\"");
    EXPECT_TRUE(NSUserDefaults::standardUserDefaults()->boolForKey("galleryEnabled"_ns))
        << "flip ROW on sets, it does not toggle";
    EXPECT_NE(shown.find("No row \"Volume\" with a slider"), std::string::npos) << shown;
    EXPECT_NE(shown.find("[0.00 --o------ 1.00]  0.00  1.00  Volume  0.26"), std::string::npos);
    EXPECT_NE(shown.find("\"abc\" is no number"), std::string::npos);
    EXPECT_NE(shown.find("No row \"Theme\" with a slider"), std::string::npos);
    auto* stored = as<NSNumber>(
        NSUserDefaults::standardUserDefaults()->objectForKey("galleryVolume"_ns).get());
    ASSERT_TRUE(stored);
    EXPECT_EQ(stored->floatValue(), 0.256f);
}

TEST_F(GalleryCommand, TheSessionOpensASpecifierListWarnsAndStoresInTheListsDomain) {
    stageModule();
    std::filesystem::path file = root_ / "Tweak.plist";
    std::ofstream(file) << "<plist version=\"1.0\"><dict><key>title</key><string>Tweak</string>"
                           "<key>items</key><array><dict><key>cell</key><string>PSSwitchCell</"
                           "string><key>label</key><string>Active</string><key>key</key><string>"
                           "active</string><key>defaults</key><string>com.example.tweak</string>"
                           "</dict><dict><key>cell</key><string>PSOddCell</string></dict></array>"
                           "</dict></plist>";
    std::ostringstream out, problems;
    HostSession session(NSArray::array(), hostCommands({}), out, problems, "");
    EXPECT_NE(session.perform("open-preferences " + (root_ / "None.plist").string()), "");
    EXPECT_EQ(session.perform("open-preferences " + file.string()), "");
    EXPECT_EQ(session.perform("flip Active on"), "");
    EXPECT_EQ(problems.str(), "open-preferences: Tweak.plist: item 2: unknown cell type PSOddCell; "
                              "shown as a plain row\n");
    EXPECT_NE(session.screenText().find("Item 2  unknown cell type PSOddCell"), std::string::npos)
        << session.screenText();
    Ref<NSDictionary> domain = NSDictionary::dictionaryWithContentsOfFile(
        NSString::string(devicePath("/var/mobile/Library/Preferences/com.example.tweak.plist")));
    ASSERT_TRUE(domain);
    EXPECT_TRUE(as<NSNumber>(domain->objectForKey("active"_ns))->boolValue());
}
