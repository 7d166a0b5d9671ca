#include <fstream>
#include <sys/stat.h>
#include <sys/sysmacros.h>

#include "PictureHost.h"
#include "UIKit/UIScreen.h"
#include "host/HostProgram.h"

namespace {

std::string readFile(const std::string& path) {
    std::ifstream file(path);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

// The size in pixels of the PNG at the path, or 0x0.
std::pair<int, int> pictureSize(const std::string& path) {
    cairo_surface_t* image = cairo_image_surface_create_from_png(path.c_str());
    std::pair<int, int> size{0, 0};
    if (cairo_surface_status(image) == CAIRO_STATUS_SUCCESS)
        size = {cairo_image_surface_get_width(image), cairo_image_surface_get_height(image)};
    cairo_surface_destroy(image);
    return size;
}

bool contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
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
        {dir + "/link.png",
         dir + "/link.png is a symbolic link, not a picture file; it is left alone"},
        {dir + "/pipe.png",
         dir + "/pipe.png is a named pipe, not a picture file; it is left alone"},
        {dir + "/folder.png",
         dir + "/folder.png is a folder, not a picture file; it is left alone"},
        {dir + "/missing/x.png",
         "the folder " + dir + "/missing does not exist; create it or choose another path"},
        {file + "/x.png", "part of the folder path is not a folder; check the path"},
        {dir + "/g.jpg", "the name must end in .png (pictures are written as PNG); give FILE.png"},
        {"/proc/x.png", "the folder /proc takes no new files"},
    };
    if (geteuid() == 0 && mknod((dir + "/device.png").c_str(), S_IFCHR | 0600, makedev(1, 3)) == 0)
        refusals.push_back(
            {dir + "/device.png", dir + "/device.png is a device, not a picture file"});
    for (const auto& [path, reason] : refusals) {
        std::string said = host.run({"snapshot \"" + path + "\""});
        EXPECT_TRUE(contains(said, "tavelin-host: No picture taken: cannot write the picture to " +
                                       path + ": " + reason))
            << said;
    }
    EXPECT_EQ(readFile(outside), "keep") << "no link is followed";
    EXPECT_TRUE(std::filesystem::is_fifo(dir + "/pipe.png"));

    EXPECT_EQ(host.run({"snapshot " + dir + "/feed.png"}),
              "Picture of the screen written to " + dir + "/feed.png\n");
    EXPECT_EQ(pictureSize(dir + "/feed.png"), std::make_pair(750, 1334));
    EXPECT_TRUE(std::filesystem::is_symlink(dir + "/feed.png.tmp"));
    EXPECT_EQ(readFile(outside), "keep");
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
}

TEST(SnapshotCommand, WritesSafelyOrRefusesWithTheRealReasonAndCompares) {
    EXPECT_IN_CHILD(snapshotsAreWrittenSafelyOrRefusedWithTheRealReason());
}

void theWholeFeedIsOneTallPicture() {
    PictureHost host(true);
    std::string dir = host.root.path();
    host.run({"scroll down", "snapshot " + dir + "/whole.png --full"});
    auto [width, height] = pictureSize(dir + "/whole.png");
    EXPECT_EQ(width, 750);
    EXPECT_GT(height, 3 * 1334) << "every post, from the top";
    EXPECT_TRUE(contains(host.run({"show"}), "(3 to ")) << "the screen stays scrolled";
}

TEST(SnapshotCommand, FullDrawsTheWholeFeedAsOneTallPicture) {
    EXPECT_IN_CHILD(theWholeFeedIsOneTallPicture());
}

void aFolderThatGoesMissingIsReportedAtEachScreen() {
    PictureHost host(false);
    host.session->setSnapshotFolder(host.root.path() + "/gone");
    std::string out = host.run({"settings", "feed"});
    EXPECT_TRUE(contains(out, "tavelin-host: No picture taken: cannot write the picture to " +
                                  host.root.path() + "/gone/001-account-settings.png"))
        << out;
    EXPECT_TRUE(contains(out, "/gone/002-feed.png")) << out;
    EXPECT_TRUE(contains(out, "1. Stories")) << "the feed still shows";
}

TEST(SnapshotCommand, AFolderThatGoesMissingIsReportedAtEachScreen) {
    EXPECT_IN_CHILD(aFolderThatGoesMissingIsReportedAtEachScreen());
}

std::vector<std::string> filesIn(const std::string& folder) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

void everyScreenShownBecomesANumberedPicture() {
    TestRoot root;
    root.inject("Tavelin.dylib", TAVELIN_DYLIB);
    std::string script = root.write("tour.txt", "feed\nsettings\ntap right\nhelp\nback\nfeed\n");
    HostOptions options{.root = root.path(),
                        .feed = HOST_FEED,
                        .mode = HostMode::Script,
                        .script = script,
                        .screenSize = std::pair{390.0, 844.0},
                        .screenScale = 3.0,
                        .snapshots = root.path() + "/new/pictures"};
    std::ostringstream out, errors;
    EXPECT_EQ(runHost(options, out, errors), 0) << errors.str();
    std::string folder = options.snapshots;
    std::vector<std::string> expected = {"001-feed.png", "002-account-settings.png",
                                         "003-tavelin.png", "004-account-settings.png",
                                         "005-feed.png"};
    EXPECT_EQ(filesIn(folder), expected);
    EXPECT_EQ(pictureSize(folder + "/003-tavelin.png"), std::make_pair(1170, 2532));
}

TEST(SnapshotsFolder, EveryScreenShownBecomesANumberedPictureAtTheChosenScreen) {
    EXPECT_IN_CHILD(everyScreenShownBecomesANumberedPicture());
}

void aFolderThatCannotBeMadeStopsTheProgram() {
    TestRoot root;
    std::string file = root.write("taken", "x");
    HostOptions options{
        .root = root.path(), .feed = HOST_FEED, .mode = HostMode::Tour, .snapshots = file};
    std::ostringstream out, errors;
    EXPECT_EQ(runHost(options, out, errors), 1);
    EXPECT_TRUE(contains(errors.str(), "host: cannot make the picture folder " + file))
        << errors.str();
    EXPECT_TRUE(contains(errors.str(), "give --snapshots a folder you can write to"));
    EXPECT_EQ(out.str(), "");
}

TEST(SnapshotsFolder, AFolderThatCannotBeMadeStopsTheProgram) {
    EXPECT_IN_CHILD(aFolderThatCannotBeMadeStopsTheProgram());
}

std::variant<HostOptions, HostOptionsError> parse(const std::vector<std::string>& arguments) {
    return parseHostOptions(arguments, "/staged");
}

std::string problem(const std::vector<std::string>& arguments) {
    auto result = parse(arguments);
    auto* error = std::get_if<HostOptionsError>(&result);
    return error ? error->message : "";
}

TEST(ScreenOptions, SizeScaleAndSnapshotsAreRead) {
    auto result = parse({"--size", "390x844", "--scale", "3", "--snapshots", "pics"});
    ASSERT_TRUE(std::holds_alternative<HostOptions>(result));
    const auto& options = std::get<HostOptions>(result);
    EXPECT_EQ(options.screenSize, std::make_pair(390.0, 844.0));
    EXPECT_EQ(options.screenScale, 3.0);
    EXPECT_EQ(options.snapshots, "pics");
    EXPECT_EQ(options.mode, HostMode::Tour);
    auto velin = parse({"--velin", "on", "--snapshots", "pics"});
    EXPECT_EQ(std::get<HostOptions>(velin).mode, HostMode::Tour) << "pictures need a session";
    EXPECT_EQ(std::get<HostOptions>(parse({"--velin", "on"})).mode, HostMode::PrintFeed);
    EXPECT_EQ(std::get<HostOptions>(parse({"--scale", "1.5"})).screenScale, 1.5);
}

TEST(ScreenOptions, BadSizesAndScalesAreExplained) {
    for (const char* size :
         {"390", "x844", "0x844", "-390x844", "390x", "axb", "390x844x2", "nanxnan", "390 x 844"})
        EXPECT_EQ(problem({"--size", size}),
                  std::string("--size takes WIDTHxHEIGHT in points, such as 375x667 or 390x844, "
                              "not \"") +
                      size + "\"");
    for (const char* scale : {"0", "-2", "two", "inf", "2x", ""})
        EXPECT_EQ(problem({"--scale", scale}),
                  std::string("--scale takes a positive number of pixels per point, such as 2 or "
                              "3, not \"") +
                      scale + "\"");
    EXPECT_EQ(problem({"--size"}), "--size needs a value");
    EXPECT_EQ(problem({"--scale"}), "--scale needs a value");
    EXPECT_EQ(problem({"--snapshots"}), "--snapshots needs a value");
    EXPECT_EQ(problem({"--size", "9000x100", "--scale", "2"}),
              "a screen of 9000x100 points at scale 2 is over 16384 pixels a side; choose a "
              "smaller --size or --scale");
    EXPECT_EQ(problem({"--scale", "30"}),
              "a screen of 375x667 points at scale 30 is over 16384 pixels a side; choose a "
              "smaller --size or --scale");
    EXPECT_EQ(problem({"--size", "8192x100", "--scale", "2"}), "");
}

TEST(ScreenOptions, DevicesAndAppearancesAreReadAndBadOnesExplained) {
    const std::pair<const char*, const char*> devices[] = {
        {"iphone-15", "iPhone 15"},
        {"iPhone 15 Pro Max", "iPhone 15 Pro Max"},
        {"IPHONE SE (3RD GENERATION)", "iPhone SE (3rd generation)"}};
    for (auto [given, device] : devices)
        EXPECT_EQ(std::get<HostOptions>(parse({"--device", given})).device, device) << given;
    EXPECT_EQ(std::get<HostOptions>(parse({"--appearance", "dark"})).appearance,
              UIUserInterfaceStyleDark);
    EXPECT_EQ(std::get<HostOptions>(parse({"--appearance", "light"})).appearance,
              UIUserInterfaceStyleLight);
    EXPECT_EQ(std::get<HostOptions>(parse({"--device", "iPhone 14", "--scale", "2"})).screenScale,
              2.0);
    for (const char* device : {"iPhone 99", "", "pixel"})
        EXPECT_EQ(problem({"--device", device}),
                  std::string("--device takes one of iPhone SE (3rd generation), iPhone 14, "
                              "iPhone 15, iPhone 15 Pro Max, not \"") +
                      device + "\"");
    for (const char* appearance : {"Dark", "dim", ""})
        EXPECT_EQ(problem({"--appearance", appearance}),
                  std::string("--appearance takes light or dark, not \"") + appearance + "\"");
    EXPECT_EQ(problem({"--device", "iphone-15", "--size", "390x844"}),
              "--device and --size both choose the screen; give one of them");
    EXPECT_EQ(problem({"--device", "iPhone 15 Pro Max", "--scale", "40"}),
              "a screen of 430x932 points at scale 40 is over 16384 pixels a side; choose a "
              "smaller --size or --scale");
    EXPECT_EQ(problem({"--device"}), "--device needs a value");
    EXPECT_EQ(problem({"--appearance"}), "--appearance needs a value");
}

void aDeviceAndAnAppearanceReachTheScreen() {
    TestRoot root;
    HostOptions options{.root = root.path(),
                        .feed = HOST_FEED,
                        .mode = HostMode::Script,
                        .script = root.write("none.txt", "feed\n"),
                        .device = "iPhone 15 Pro Max",
                        .appearance = UIUserInterfaceStyleDark};
    std::ostringstream out, errors;
    ASSERT_EQ(runHost(options, out, errors), 0) << errors.str();
    UIScreen* screen = UIScreen::mainScreen();
    EXPECT_EQ(screen->bounds().size, CGSizeMake(430, 932));
    EXPECT_EQ(screen->scale(), 3);
    EXPECT_EQ(screen->device().cutout, ScreenCutout::DynamicIsland);
    EXPECT_EQ(screen->traitCollection()->userInterfaceStyle(), UIUserInterfaceStyleDark);
}

TEST(ScreenOptions, ADeviceAndAnAppearanceReachTheScreen) {
    EXPECT_IN_CHILD(aDeviceAndAnAppearanceReachTheScreen());
}

} // namespace
