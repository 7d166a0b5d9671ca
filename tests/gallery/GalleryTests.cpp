#include <dlfcn.h>
#include <set>
#include <sstream>

#include "Foundation/NSNumber.h"
#include "KLPreferences/KLPListCell.h"
#include "KLPreferences/KLPSegmentCell.h"
#include "KLPreferences/KLPSelectListTable.h"
#include "KLPreferences/KLPSliderCell.h"
#include "KLPreferences/KLPSwitchCell.h"
#include "KLPreferences/KLPTextFieldCell.h"
#include "gallery/KLPGallery.h"
#include "host/GalleryCommand.h"
#include "host/HostProgram.h"
#include "host/HostSession.h"
#include "host/PreferencesCommand.h"
#include "tests/Tavelin/KLPreferences/Fixtures.h"

namespace {

// The gallery made by the staged module, its settings file under the root.
class Gallery : public fixtures::CellTest {
  protected:
    void SetUp() override {
        CellTest::SetUp();
        void* module = dlopen(KLP_GALLERY_MODULE, RTLD_NOW | RTLD_LOCAL); // kept open
        ASSERT_TRUE(module) << dlerror();
        auto makeController = reinterpret_cast<KLPGalleryMakeControllerFunction>(
            dlsym(module, kKLPGalleryMakeControllerSymbol));
        gallery = Ref<KLPreferences>::adopt(as<KLPreferences>(makeController(file().c_str())));
        ASSERT_TRUE(gallery);
        navigation = UINavigationController::navigationControllerWithRootViewController(gallery);
        send(navigation, "viewWillAppear:"_sel, false);
    }
    std::string file() const { return (root_ / "gallery.plist").string(); }
    template <class T> T* first() {
        for (KLPCell* cell : rows(gallery))
            if (auto* found = as<T>(cell)) return found;
        return nullptr;
    }
    void stageModule() {
        std::filesystem::path staged = devicePath(kKLPGalleryModulePath);
        std::filesystem::create_directories(staged.parent_path());
        std::filesystem::create_symlink(KLP_GALLERY_MODULE, staged);
    }

    Ref<KLPreferences> gallery;
};

} // namespace

// Every cell type, each control writing a key of its own.
TEST_F(Gallery, ShowsEveryCellTypeAndEveryControlWritesItsKeyIntoTheSettingsFile) {
    std::set<std::string> classes;
    for (KLPCell* cell : rows(gallery))
        classes.insert(object_getClassName(cell));
    EXPECT_EQ(classes, (std::set<std::string>{"KLPDeveloperCell", "KLPLinkCell", "KLPListCell",
                                              "KLPSegmentCell", "KLPSliderCell", "KLPSwitchCell",
                                              "KLPTextFieldCell", "KLPValueCell", "KLPViewCell"}));
    first<KLPSwitchCell>()->switchView()->flip();
    first<KLPSegmentCell>()->segment()->pickSegment(2);
    first<KLPTextFieldCell>()->textField()->typeText("Ada");
    first<KLPSliderCell>()->sliderCell()->dragTo(0.75f);
    gallery->tableView()->tapRowAtIndexPath(
        gallery->tableView()->indexPathForCell(first<KLPListCell>()));
    as<KLPSelectListTable>(navigation->topViewController())->tableView()->tapRowAtIndexPath(row(1));
    EXPECT_EQ(navigation->topViewController(), gallery.get()) << "the theme list closes";
    Ref<NSDictionary> written =
        NSDictionary::dictionaryWithContentsOfFile(NSString::string(file()));
    ASSERT_TRUE(written);
    const std::pair<const char*, Ref<NSObject>> expected[] = {
        {"galleryEnabled", NSNumber::numberWithBool(true)},
        {"galleryQuality", "high"_ns},
        {"galleryNickname", "Ada"_ns},
        {"galleryVolume", NSNumber::numberWithFloat(0.75f)},
        {"galleryTheme", "dark"_ns}};
    for (const auto& [key, value] : expected)
        EXPECT_TRUE(objectsEqual(written->objectForKey(NSString::string(key)), value)) << key;
    EXPECT_EQ(events.size(), 7u);
}

TEST_F(Gallery, TheCommandPushesTheStagedModulesGalleryOrSaysWhatToDo) {
    EXPECT_NE(openGallery(nullptr).problem().find("no navigation"), std::string::npos);
    Result<void> missing = openGallery(navigation);
    EXPECT_NE(missing.problem().find("build the KLPGallery target"), std::string::npos);
    EXPECT_FALSE(
        std::filesystem::exists(std::string(TAVELIN_STAGE_ROOT) +
                                "/Library/MobileSubstrate/DynamicLibraries/KLPGallery.dylib"));
    stageModule();
    Result<void> opened = openGallery(navigation);
    ASSERT_TRUE(opened) << opened.problem();
    EXPECT_EQ(text(as<KLPreferences>(navigation->topViewController())->plistPath()),
              (preferences() / "com.tavelin.gallery.plist").string());
}

// The host's commands act on the gallery's rows by title; a wrong row or
// value says so and changes nothing.
TEST_F(Gallery, TheSessionDrivesTheGallerysRowsByTitle) {
    stageModule();
    std::ostringstream out;
    HostSession session(NSArray::array(), hostCommands({}), out);
    for (const char* line :
         {"slide \"Volume\" 1", "gallery", "slide \"Volume\" 0.2 0.256", "slide \"Volume\" 0.5 abc",
          "slide \"Theme\" 0.5", "type nick Ada", "type --clear NICKNAME \"Bo \\\"B\\\"\"",
          "pick quality HIGH", "pick Quality 9", "flip en on", "flip en on"})
        session.run(line);
    const std::string shown = out.str();
    for (const char* expected :
         {"No row \"Volume\" with a slider", "[0.00 --o------ 1.00]  0.00  1.00  Volume  0.26",
          "\"abc\" is no number", "No row \"Theme\" with a slider", "Nickname  [Bo \"B\"|___]",
          "Quality  [ Low | Medium | *High* ]",
          "No segment \"9\"; pick takes a segment's title or its number, 1 to 3."})
        EXPECT_NE(shown.find(expected), std::string::npos) << expected;
    NSUserDefaults* store = NSUserDefaults::standardUserDefaults();
    EXPECT_EQ(text(store->objectForKey("galleryNickname"_ns)), "Bo \"B\"");
    EXPECT_TRUE(store->boolForKey("galleryEnabled"_ns)) << "flip ROW on sets, it does not toggle";
    EXPECT_EQ(as<NSNumber>(store->objectForKey("galleryVolume"_ns))->floatValue(), 0.256f);
}

TEST_F(Gallery, TheSessionOpensASpecifierListWarnsAndStoresInTheListsDomain) {
    stageModule();
    std::filesystem::path list = root_ / "Tweak.plist";
    std::ofstream(list) << "{title = Tweak; items = ({cell = PSSwitchCell; label = Active; key = "
                           "active; defaults = com.example.tweak;}, {cell = PSOddCell;});}";
    std::ostringstream out, problems;
    HostSession session(NSArray::array(), hostCommands({}), out, problems, "");
    EXPECT_NE(session.perform("open-preferences " + (root_ / "None.plist").string()), "");
    EXPECT_EQ(session.perform("open-preferences " + list.string()), "");
    EXPECT_EQ(session.perform("flip Active on"), "");
    EXPECT_EQ(problems.str(), "open-preferences: Tweak.plist: item 2: unknown cell type PSOddCell; "
                              "shown as a plain row\n");
    EXPECT_NE(session.screenText().find("Item 2  unknown cell type PSOddCell"), std::string::npos);
    Ref<NSDictionary> domain = NSDictionary::dictionaryWithContentsOfFile(
        NSString::string((preferences() / "com.example.tweak.plist").string()));
    ASSERT_TRUE(domain);
    EXPECT_TRUE(as<NSNumber>(domain->objectForKey("active"_ns))->boolValue());
}
