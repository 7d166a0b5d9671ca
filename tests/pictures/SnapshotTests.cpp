#include <fstream>
#include <sys/stat.h>

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

void theSnapshotCommandWritesOrSaysWhyNot() {
    PictureHost host(false);
    std::string folder = host.root.path() + "/pictures";
    std::string missing = host.run({"snapshot " + folder + "/feed.png", "settings"});
    EXPECT_TRUE(contains(missing, "No picture taken: cannot write the picture to " + folder +
                                      "/feed.png: the folder " + folder +
                                      " does not exist; create it or choose another path."))
        << missing;
    EXPECT_TRUE(contains(missing, "< Instagram | Settings | [Done]")) << "the session goes on";

    std::string file = host.root.write("file.txt", "text");
    std::string notAFolder = host.run({"snapshot " + file + "/x.png"});
    EXPECT_TRUE(contains(notAFolder, "part of the folder path is not a folder")) << notAFolder;
    EXPECT_EQ(readFile(file), "text");

    EXPECT_EQ(host.run({"snapshot"}),
              "snapshot needs one FILE.png (in quotes when it has spaces).\n");

    std::filesystem::create_directory(folder);
    std::string written = host.run({"snapshot \"" + folder + "/the settings.png\""});
    EXPECT_EQ(written, "Picture of the screen written to " + folder + "/the settings.png\n");
    EXPECT_EQ(pictureSize(folder + "/the settings.png"), std::make_pair(750, 1334));
    EXPECT_FALSE(std::filesystem::exists(folder + "/the settings.png.tmp"));

    if (geteuid() != 0) {
        chmod(folder.c_str(), 0500);
        std::string denied = host.run({"snapshot " + folder + "/denied.png"});
        EXPECT_TRUE(contains(denied, "permission denied; choose a folder you can write to"))
            << denied;
        chmod(folder.c_str(), 0700);
    }
}

TEST(SnapshotCommand, WritesThePictureOrSaysWhyNotAndTheSessionGoesOn) {
    EXPECT_IN_CHILD(theSnapshotCommandWritesOrSaysWhyNot());
}

void aFolderThatGoesMissingIsReportedAtEachScreen() {
    PictureHost host(false);
    host.session->setSnapshotFolder(host.root.path() + "/gone");
    std::string out = host.run({"settings", "feed"});
    EXPECT_TRUE(contains(out, "No picture taken: cannot write the picture to " + host.root.path() +
                                  "/gone/001-account-settings.png"))
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

} // namespace
