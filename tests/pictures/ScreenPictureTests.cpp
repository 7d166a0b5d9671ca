#include "PictureHost.h"

#include "gallery/KLPGallery.h"
#include "host/PreferencesCommand.h"

namespace {

void screensWithTheLibrary() {
    PictureHost host(true);
    host.run({"feed"});
    EXPECT_TRUE(host.looksLike("feed-with-library"));
    host.run({"settings"});
    EXPECT_TRUE(host.looksLike("account-settings"));
    EXPECT_NE(host.run({"tap right"}).find("Velin Mode  [off]"), std::string::npos);
    EXPECT_NE(host.run({"flip \"Velin Mode\""}).find("Velin Mode  [on]"), std::string::npos);
    EXPECT_TRUE(host.looksLike("tavelin-on"));
    EXPECT_EQ(host.run({"feed"}).find("Post by"), std::string::npos);
    EXPECT_TRUE(host.looksLike("feed-velin-on"));
}

TEST(ScreenPictures, WithTheLibraryEachScreenMatchesItsReference) {
    EXPECT_IN_CHILD(screensWithTheLibrary());
}

void screensWithoutTheLibrary() {
    PictureHost host(false);
    SurfacePtr first = host.picture();
    EXPECT_NE(host.run({"feed"}).find("[Sponsored] Post by @northwind.coffee"), std::string::npos);
    EXPECT_TRUE(host.looksLike("feed-without-library"));
    EXPECT_NE(host.run({"settings"}).find("| Settings | [Done]"), std::string::npos)
        << "the host's own button, none of the library's";
    host.run({"feed"});
    SurfacePtr again = host.picture();
    ASSERT_TRUE(first && again);
    EXPECT_TRUE(snapshot::samePixels(first.get(), again.get())) << "drawn the same each time";
}

TEST(ScreenPictures, WithoutTheLibraryTheFeedShowsSponsoredItems) {
    EXPECT_IN_CHILD(screensWithoutTheLibrary());
}

// Each device class in dark: the island and the library's screen, the notch
// and the feed.
void darkScreenOnADevice(const char* device, const std::vector<std::string>& commands,
                         const std::string& reference) {
    PictureHost host(true, device, UIUserInterfaceStyleDark);
    for (const std::string& command : commands)
        host.run({command});
    EXPECT_TRUE(host.looksLike(reference));
}

TEST(ScreenPictures, InDarkOnEachDeviceClass) {
    EXPECT_IN_CHILD(darkScreenOnADevice("iPhone 15",
                                        {"settings", "tap right", "flip \"Velin Mode\""},
                                        "tavelin-on-iphone-15-dark"));
    EXPECT_IN_CHILD(darkScreenOnADevice("iPhone 14", {}, "feed-iphone-14-dark"));
}

// In Arabic the list reads right to left: titles at the right, controls and
// chevrons at the left, the first segment at the right, the back button at
// the right of the bar; the choices it pushes read the same way.
void aListInARightToLeftLanguage() {
    PictureHost host(true);
    std::filesystem::path module = devicePath(kKLPGalleryModulePath);
    std::filesystem::create_directories(module.parent_path());
    std::filesystem::create_symlink(KLP_GALLERY_MODULE, module);
    setPreferencesLanguage("ar");
    host.run(
        {"settings", "open-preferences " +
                         (snapshot::sourceDir() / "tests/pictures/rtl/Mirrored.plist").string()});
    EXPECT_TRUE(host.looksLike("preferences-arabic"));
    host.run({"tap \"السمة\""});
    EXPECT_TRUE(host.looksLike("preferences-arabic-choices"));
}

TEST(ScreenPictures, AListInARightToLeftLanguageIsMirrored) {
    EXPECT_IN_CHILD(aListInARightToLeftLanguage());
}

} // namespace
