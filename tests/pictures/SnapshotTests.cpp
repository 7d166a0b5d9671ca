#include <map>
#include <sys/stat.h>
#include <sys/sysmacros.h>

#include "PictureHost.h"

namespace {

// The size in pixels of the PNG at the path, or 0x0.
std::pair<int, int> pictureSize(const std::string& path) {
    cairo_surface_t* image = cairo_image_surface_create_from_png(path.c_str());
    std::pair<int, int> size{0, 0};
    if (cairo_surface_status(image) == CAIRO_STATUS_SUCCESS)
        size = {cairo_image_surface_get_width(image), cairo_image_surface_get_height(image)};
    cairo_surface_destroy(image);
    return size;
}

void snapshotsAreWrittenSafelyOrRefusedWithTheRealReason() {
    PictureHost host(false);
    const std::string dir = host.root.path();
    std::string outside = host.root.write("outside.txt", "keep");
    std::filesystem::create_symlink(outside, dir + "/link.png");
    std::filesystem::create_symlink(outside, dir + "/feed.png.tmp");
    ASSERT_EQ(mkfifo((dir + "/pipe.png").c_str(), 0600), 0);
    std::filesystem::create_directory(dir + "/folder.png");
    std::string file = host.root.write("file.txt", "text");
    std::vector<std::pair<std::string, std::string>> refusals = {
        {dir + "/missing/x.png",
         "the folder " + dir + "/missing does not exist; create it or choose another path"},
        {file + "/x.png", "part of the folder path is not a folder; check the path"},
        {dir + "/g.jpg", "the name must end in .png (pictures are written as PNG); give FILE.png"},
        {"/proc/x.png", "the folder /proc takes no new files"},
    };
    std::vector<std::pair<std::string, std::string>> inTheWay = {
        {"link.png", "a symbolic link"}, {"pipe.png", "a named pipe"}, {"folder.png", "a folder"}};
    if (geteuid() == 0 && mknod((dir + "/device.png").c_str(), S_IFCHR | 0600, makedev(1, 3)) == 0)
        inTheWay.push_back({"device.png", "a device"});
    for (const auto& [name, kind] : inTheWay)
        refusals.push_back({dir + "/" + name, dir + "/" + name + " is " + kind +
                                                  ", not a picture file; it is left alone"});
    for (const auto& [path, reason] : refusals) {
        std::string said = host.run({"snapshot \"" + path + "\""});
        EXPECT_TRUE(contains(said, "tavelin-host: No picture taken: cannot write the picture to " +
                                       path + ": " + reason))
            << said;
    }
    EXPECT_TRUE(std::filesystem::is_fifo(dir + "/pipe.png"));

    EXPECT_EQ(host.run({"snapshot " + dir + "/feed.png"}),
              "Picture of the screen written to " + dir + "/feed.png\n");
    EXPECT_EQ(pictureSize(dir + "/feed.png"), std::make_pair(750, 1334));
    EXPECT_TRUE(std::filesystem::is_symlink(dir + "/feed.png.tmp"));
    EXPECT_EQ(std::filesystem::file_size(outside), 4u) << "no link is followed";
    for (const auto& entry : std::filesystem::directory_iterator(dir))
        EXPECT_FALSE(entry.path().filename().string().ends_with(".tmp") && !entry.is_symlink())
            << "a temporary stays: " << entry.path();

    EXPECT_EQ(host.run({"snapshot " + dir + "/same.png --compare " + dir + "/feed.png"}),
              "Picture of the screen written to " + dir + "/same.png\n");
    std::string differs =
        host.run({"settings", "snapshot " + dir + "/settings.png --compare " + dir + "/feed.png"});
    EXPECT_TRUE(contains(differs, "pixels differ from " + dir + "/feed.png; the difference is in " +
                                      dir + "/settings-difference.png.\n"))
        << differs;
    EXPECT_EQ(pictureSize(dir + "/settings-difference.png"), std::make_pair(750, 1334));
    EXPECT_TRUE(contains(host.run({"snapshot " + dir + "/x.png --compare " + outside}),
                         "The picture does not match: the reference " + outside +
                             " cannot be read as a PNG picture."));
    for (const char* usage : {"snapshot", "snapshot a.png b.png", "snapshot a.png --fast"})
        EXPECT_TRUE(contains(host.run({usage}), "Usage: snapshot FILE.png [--full]")) << usage;

    // --full: the whole feed from its top, one tall picture; the screen stays scrolled.
    host.run({"feed", "scroll down", "snapshot " + dir + "/whole.png --full"});
    auto [width, height] = pictureSize(dir + "/whole.png");
    EXPECT_EQ(width, 750);
    EXPECT_GT(height, 3 * 1334);
    EXPECT_TRUE(contains(host.run({"show"}), "(3 to "));
}

TEST(SnapshotCommand, WritesSafelyOrRefusesWithTheRealReasonAndCompares) {
    EXPECT_IN_CHILD(snapshotsAreWrittenSafelyOrRefusedWithTheRealReason());
}

void screensAreNamedForTheirPictures() {
    PictureHost host(false);
    UINavigationController* navigation = host.session->navigation();
    EXPECT_EQ(snapshotFileName(7, navigation), "007-feed.png");
    host.run({"settings"});
    EXPECT_EQ(snapshotFileName(12, navigation), "012-account-settings.png");
    Ref<UIViewController> titled = make<UIViewController>(&UIViewController::init);
    titled->setTitle("  Tavelin Preferences!  "_ns);
    EXPECT_EQ(screenName(titled), "tavelin-preferences");
    titled->setTitle("★"_ns);
    EXPECT_EQ(screenName(titled), "uiviewcontroller");
    EXPECT_EQ(screenName(nullptr), "screen");
    titled->setTitle("Choose"_ns);
    navigation->presentViewController(titled, false, nullptr);
    EXPECT_EQ(screenName(navigation), "choose") << "what shows is named";

    // A folder that goes missing is reported at each screen; the session goes on.
    snapshotEveryScreen(*host.session, host.root.path() + "/gone");
    navigation->dismissViewControllerAnimated(false, nullptr);
    std::string out = host.run({"settings", "feed"});
    EXPECT_TRUE(contains(out, "tavelin-host: No picture taken: cannot write the picture to " +
                                  host.root.path() + "/gone/001-account-settings.png"))
        << out;
    EXPECT_TRUE(contains(out, "/gone/002-feed.png")) << out;
    EXPECT_TRUE(contains(out, "1. Stories")) << "the feed still shows";
}

TEST(SnapshotNames, ScreensAreNamedForTheirPicturesAndAMissingFolderIsReported) {
    EXPECT_IN_CHILD(screensAreNamedForTheirPictures());
}

void everyScreenShownBecomesANumberedPicture() {
    TestRoot root;
    root.inject("Tavelin.dylib", TAVELIN_DYLIB);
    HostOptions options{.root = root.path(),
                        .feed = HOST_FEED,
                        .mode = HostMode::Script,
                        .script =
                            root.write("tour.txt", "feed\nsettings\ntap right\nhelp\nback\nfeed\n"),
                        .screenSize = std::pair{390.0, 844.0},
                        .screenScale = 3.0,
                        .snapshots = root.path() + "/new/pictures"};
    std::ostringstream out, errors;
    EXPECT_EQ(runHost(options, out, errors), 0) << errors.str();
    for (const char* name : {"001-feed.png", "002-account-settings.png", "003-tavelin.png",
                             "004-account-settings.png", "005-feed.png"})
        EXPECT_TRUE(std::filesystem::exists(options.snapshots + "/" + name)) << name;
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(options.snapshots), {}), 5);
    EXPECT_EQ(pictureSize(options.snapshots + "/003-tavelin.png"), std::make_pair(1170, 2532));

    // A device and an appearance instead reach the screen.
    options.screenSize.reset();
    options.screenScale.reset();
    options.device = "iPhone 15 Pro Max";
    options.appearance = UIUserInterfaceStyleDark;
    options.snapshots = root.path() + "/device";
    EXPECT_EQ(runHost(options, out, errors), 0) << errors.str();
    EXPECT_EQ(pictureSize(options.snapshots + "/003-tavelin.png"), std::make_pair(1290, 2796));
    EXPECT_EQ(UIScreen::mainScreen()->device().cutout, ScreenCutout::DynamicIsland);
    EXPECT_EQ(UIScreen::mainScreen()->traitCollection()->userInterfaceStyle(),
              UIUserInterfaceStyleDark);

    // A folder that cannot be made stops the program before it shows anything.
    out.str("");
    options.snapshots = root.write("taken", "x");
    EXPECT_EQ(runHost(options, out, errors), 1);
    EXPECT_TRUE(
        contains(errors.str(), "host: cannot make the picture folder " + options.snapshots) &&
        contains(errors.str(), "give --snapshots a folder you can write to"))
        << errors.str();
    EXPECT_EQ(out.str(), "");
}

TEST(SnapshotsFolder, EveryScreenShownBecomesANumberedPictureOrTheProgramStops) {
    EXPECT_IN_CHILD(everyScreenShownBecomesANumberedPicture());
}

HostOptions options(const std::vector<std::string>& arguments) {
    return *parseHostOptions(arguments, "/staged");
}

std::string problem(const std::vector<std::string>& arguments) {
    Result<HostOptions> result = parseHostOptions(arguments, "/staged");
    return result ? "" : result.problem();
}

TEST(ScreenOptions, AreRead) {
    HostOptions read = options({"--size", "390x844", "--scale", "3", "--snapshots", "pics"});
    EXPECT_EQ(read.screenSize, std::make_pair(390.0, 844.0));
    EXPECT_EQ(read.screenScale, 3.0);
    EXPECT_EQ(read.snapshots, "pics");
    EXPECT_EQ(options({"--velin", "on", "--snapshots", "pics"}).mode, HostMode::Tour)
        << "pictures need a session";
    EXPECT_EQ(options({"--velin", "on"}).mode, HostMode::PrintFeed);
    EXPECT_EQ(options({"--scale", "1.5"}).screenScale, 1.5);
    EXPECT_EQ(options({"--device", "iphone-15"}).device, "iPhone 15");
    EXPECT_EQ(options({"--device", "IPHONE SE (3RD GENERATION)"}).device,
              "iPhone SE (3rd generation)");
    EXPECT_EQ(options({"--appearance", "dark"}).appearance, UIUserInterfaceStyleDark);
    EXPECT_EQ(options({"--appearance", "light"}).appearance, UIUserInterfaceStyleLight);
}

TEST(ScreenOptions, BadValuesAreExplained) {
    const std::map<std::string, std::pair<std::string, std::vector<std::string>>> refused = {
        {"--size",
         {"WIDTHxHEIGHT in points, such as 375x667 or 390x844",
          {"390", "x844", "0x844", "-390x844", "390x", "axb", "390x844x2", "nanxnan",
           "390 x 844"}}},
        {"--scale",
         {"a positive number of pixels per point, such as 2 or 3",
          {"0", "-2", "two", "inf", "2x", ""}}},
        {"--device",
         {"one of iPhone SE (3rd generation), iPhone 14, iPhone 15, iPhone 15 Pro Max",
          {"iPhone 99", "", "pixel"}}},
        {"--appearance", {"light or dark", {"Dark", "dim", ""}}}};
    for (const auto& [option, refusal] : refused) {
        EXPECT_EQ(problem({option}), option + " needs a value");
        for (const std::string& value : refusal.second)
            EXPECT_EQ(problem({option, value}),
                      option + " takes " + refusal.first + ", not \"" + value + "\"");
    }
    auto tooLarge = [](const std::string& screen, const std::string& scale) {
        return "a screen of " + screen + " points at scale " + scale +
               " is over 16384 pixels a side; choose a smaller --size or --scale";
    };
    const std::pair<std::vector<std::string>, std::string> cases[] = {
        {{"--size", "9000x100", "--scale", "2"}, tooLarge("9000x100", "2")},
        {{"--scale", "30"}, tooLarge("375x667", "30")},
        {{"--device", "iPhone 15 Pro Max", "--scale", "40"}, tooLarge("430x932", "40")},
        {{"--size", "8192x100", "--scale", "2"}, ""},
        {{"--device", "iphone-15", "--size", "390x844"},
         "--device and --size both choose the screen; give one of them"},
        {{"--snapshots"}, "--snapshots needs a value"}};
    for (const auto& [arguments, expected] : cases)
        EXPECT_EQ(problem(arguments), expected) << arguments.front();
}

} // namespace
