#include <cstdio>
#include <set>

#include "Foundation/NSDictionary.h"
#include "Foundation/NSNumber.h"
#include "ProgramRun.h"
#include "host/HostClasses.h"
#include "host/Relaunch.h"

namespace {

const std::string kTavelin = std::string(kInjectedLibrariesFolder) + "/Tavelin.dylib";

// The failed lines of the session's script, from the script's file name on.
std::vector<std::string> failures(const ProgramRun& run) {
    std::vector<std::string> lines;
    for (const std::string& line : linesStartingWith(run.err, "tavelin-host: /"))
        lines.push_back(line.substr(line.find("/script.txt:") + 12));
    return lines;
}

class Tools : public ::testing::Test {
  protected:
    void SetUp() override { root.inject("Tavelin.dylib", TAVELIN_DYLIB); }
    TestRoot root;
};

TEST_F(Tools, MethodsAndHooksShowWhereEachImplementationLives) {
    ProgramRun run = runSessionScript(
        root, "methods IGPost\nhooks\nclasses IGPo\nclasses Zz*\nmethods Nope\nmethods\n",
        {"--keep-going"});
    EXPECT_EQ(run.status, 1) << run.err;
    EXPECT_TRUE(contains(run.err, "MS:Notice: Loading: " + kTavelin)) << run.err;
    int replaced = 0, host = 0;
    for (const std::string& line : linesStartingWith(run.out, "  ")) {
        if (line.starts_with("  -[") || !(line[2] == '-' || line[2] == '+')) continue;
        bool hooked = line.starts_with("  -mediaCoord ") || line.starts_with("  -setMediaCoord: ");
        (hooked ? replaced : host) += 1;
        EXPECT_TRUE(line.ends_with(hooked ? kTavelin + "  [injected]" : "  tavelin-host")) << line;
    }
    EXPECT_EQ(replaced, 2) << run.out;
    EXPECT_GT(host, 0) << run.out;
    std::vector<std::string> hooks;
    for (const char* hooked : {"IGAccountSettingsViewController isTapped:",
                               "IGAccountSettingsViewController viewDidLoad",
                               "IGMainFeedListAdapterDataSource objectsForListAdapter:",
                               "IGPost mediaCoord", "IGPost setMediaCoord:"})
        hooks.push_back(std::string("  -[") + hooked + "]  " + kTavelin);
    EXPECT_EQ(linesStartingWith(run.out, "  -["), hooks);
    EXPECT_TRUE(contains(run.out, "> classes IGPo\n  IGPost\n1 class\n")) << run.out;
    EXPECT_EQ(failures(run), (std::vector<std::string>{
                                 "4: No class matches \"Zz*\".",
                                 "5: There is no class Nope in this process; \"classes\" lists "
                                 "them.",
                                 "6: Usage: methods CLASS"}));
}

TEST_F(Tools, RelaunchStartsANewHostProcessThatKeepsVelinMode) {
    ProgramRun run = runSessionScript(
        root, "settings\ntap right\nflip \"Velin Mode\"\nrelaunch\nfeed\nmethods Nope\nfeed\n",
        {"--quiet"});
    EXPECT_EQ(run.status, 1) << run.err;
    EXPECT_EQ(failures(run), (std::vector<std::string>{
                                 "6: There is no class Nope in this process; \"classes\" lists "
                                 "them."}));
    EXPECT_EQ(linesStartingWith(run.err, "MS:"), std::vector<std::string>{}) << run.err;
    std::size_t ends = run.out.find("Relaunching: host process "),
                starts = run.out.find("The host started again: process ");
    ASSERT_TRUE(ends != std::string::npos && starts != std::string::npos) << run.out;
    int before = 0, after = 0;
    std::sscanf(run.out.c_str() + ends, "Relaunching: host process %d", &before);
    std::sscanf(run.out.c_str() + starts, "The host started again: process %d", &after);
    EXPECT_NE(before, after);
    std::string second = run.out.substr(starts);
    EXPECT_TRUE(contains(second, "> feed\n\n | Instagram | [Settings]\n1. Stories")) << second;
    EXPECT_TRUE(contains(second, "2. Post\n    \"Golden hour over Alfama\"")) << second;
    EXPECT_FALSE(contains(second, "Post by")) << second;
    EXPECT_EQ(second.find("> feed"), second.rfind("> feed")) << "the script stops at a failure";
}

// What the session says, its output then its errors.
std::string relaunchInSession(const HostOptions& options, const std::string& script) {
    registerHostClasses();
    std::ostringstream out, errors;
    HostSession session(NSArray::array(), hostCommands(options), out, errors, "");
    std::istringstream in(script);
    session.runScript(in, {.name = "s", .keepGoing = true});
    return out.str() + errors.str();
}

TEST(Relaunch, WhenTheHostCannotStartAgainTheSessionGoesOn) {
    std::string gone = relaunchInSession({.root = "/nonexistent/root", .commands = 0},
                                         "relaunch\nrelaunch now\nshow\n");
    for (const char* said : {"s:1: Cannot relaunch: the device root /nonexistent/root is not a "
                             "folder. This host process goes on.\n",
                             "s:2: Usage: relaunch (too many words)", "> show\n\n | Instagram"})
        EXPECT_TRUE(contains(gone, said)) << said << "\n" << gone;
    std::string inside = relaunchInSession({.root = "/"}, "relaunch\nshow\n");
    EXPECT_TRUE(contains(inside, "runs inside another program, which cannot start the host again"))
        << inside;
}

// Bad input first: it changes nothing. Then every type, through the store
// that the host reads.
TEST_F(Tools, DefaultsRefusesBadInputAndWritesEveryTypeThatTheHostReads) {
    std::string damaged = root.write("var/mobile/Library/Preferences/com.damaged.plist", "{{");
    root.write("var/mobile/Library/Preferences/com.tavelin.prefs.plist",
               "<plist version=\"1.0\"><dict><key>a</key><integer>1</integer></dict></plist>");
    ProgramRun run =
        runSessionScript(root,
                         "defaults write com.burbn.instagram n -int 1.5\n"
                         "defaults write com.burbn.instagram b -bool maybe\n"
                         "defaults write com.burbn.instagram f -float nan\n"
                         "defaults write com.burbn.instagram x -array a\n"
                         "defaults write com.nobody.app k v\n"
                         "defaults write ../etc k v\n"
                         "defaults write com.burbn.instagram \"a\x01key\" v\n"
                         "defaults write com.burbn.instagram k\n"
                         "defaults wipe\n"
                         "defaults write com.damaged k v\n"
                         "defaults read com.burbn.instagram\n"
                         "defaults write com.burbn.instagram flag -bool YES\n"
                         "defaults write com.burbn.instagram count -int -42\n"
                         "defaults write com.burbn.instagram ratio -float 0.25\n"
                         "defaults write com.burbn.instagram name -string \"two words\"\n"
                         "defaults write com.burbn.instagram plain word\n"
                         "defaults write com.burbn.instagram TVLSWitch1 -boolean true\n"
                         "defaults read com.burbn.instagram\n"
                         "feed\n"
                         "defaults delete com.burbn.instagram plain\n"
                         "defaults read com.burbn.instagram plain\n"
                         "defaults read com.burbn.instagram ratio\n"
                         "defaults write com.tavelin.prefs extra -int 2\n"
                         "defaults read com.tavelin.prefs\n"
                         "defaults delete com.tavelin.prefs\n"
                         "defaults read com.tavelin.prefs\n",
                         {"--keep-going"});
    EXPECT_EQ(run.status, 1) << run.err;
    EXPECT_EQ(failures(run),
              (std::vector<std::string>{
                  "1: \"1.5\" is no int value; -int takes a whole number.",
                  "2: \"maybe\" is no bool value; -bool takes YES, NO, true or false.",
                  "3: \"nan\" is no float value; -float takes a number such as 0.5.",
                  "4: Unknown type -array; defaults write takes -bool, -int, -float or -string.",
                  "5: Domain com.nobody.app does not exist; \"defaults read\" shows every domain.",
                  "6: \"../etc\" is no domain name (such as com.burbn.instagram).",
                  "7: The key has control characters; nothing changed.",
                  "8: defaults write takes DOMAIN KEY [-bool, -int, -float or -string] VALUE.",
                  "9: defaults takes read, write or delete, not \"wipe\".",
                  "10: The file of domain com.damaged cannot be read; nothing changed.",
                  "21: The domain/default pair of (com.burbn.instagram, plain) does not exist.",
                  "26: Domain com.tavelin.prefs does not exist; \"defaults read\" shows every "
                  "domain."}));
    EXPECT_EQ(readText(damaged), "{{");
    for (const char* said :
         {"> defaults read com.burbn.instagram\n{\n}\n",
          "> defaults read com.burbn.instagram\n{\n    TVLSWitch1 = 1;\n    count = -42;\n"
          "    flag = 1;\n    name = \"two words\";\n    plain = word;\n    ratio = 0.25;\n}\n",
          "2. Post\n", "> defaults read com.burbn.instagram ratio\n0.25\n",
          "> defaults read com.tavelin.prefs\n{\n    a = 1;\n    extra = 2;\n}\n"})
        EXPECT_TRUE(contains(run.out, said)) << said << "\n" << run.out;
    Ref<NSDictionary> saved = NSDictionary::dictionaryWithContentsOfFile(NSString::string(
        root.path() + "/var/mobile/Library/Preferences/com.burbn.instagram.plist"));
    ASSERT_TRUE(saved);
    const std::pair<const char*, NSNumber::Kind> kinds[] = {{"flag", NSNumber::Kind::Bool},
                                                            {"TVLSWitch1", NSNumber::Kind::Bool},
                                                            {"count", NSNumber::Kind::Integer},
                                                            {"ratio", NSNumber::Kind::Double}};
    for (const auto& [key, kind] : kinds) {
        auto* number = as<NSNumber>(saved->objectForKey(std::string_view(key)));
        EXPECT_TRUE(number && number->kind() == kind) << key;
    }
    EXPECT_EQ(as<NSString>(saved->objectForKey(std::string_view("name")))->utf8(), "two words");
    EXPECT_FALSE(saved->objectForKey(std::string_view("plain")));
}

std::string shell(const std::string& command) {
    std::string output;
    FILE* pipe = popen(command.c_str(), "r");
    for (char buffer[512]; pipe && std::fgets(buffer, sizeof buffer, pipe);)
        output += buffer;
    EXPECT_TRUE(pipe && pclose(pipe) == 0) << command;
    return output;
}

TEST(Package, HoldsWhatTheLibraryInstallsAndTheHostRunsOnAnExtractedRoot) {
    std::string deb = std::string("'") + TAVELIN_DEB + "'";
    std::string info = shell("dpkg-deb -I " + deb);
    const std::string architecture =
        std::string(TAVELIN_JB_PREFIX).empty() ? "iphoneos-arm" : "iphoneos-arm64";
    for (const std::string& field : std::vector<std::string>{
             " Package: com.tavelin.tavelin\n", " Version: " TAVELIN_PACKAGE_VERSION "\n",
             " Section: Tweaks\n", " Depends: mobilesubstrate\n",
             " Maintainer: ", " Description: ", " Architecture: " + architecture + "\n"})
        EXPECT_TRUE(contains(info, field)) << field << "\n" << info;
    std::set<std::string> files;
    for (const std::string& line : linesStartingWith(shell("dpkg-deb -c " + deb), "-"))
        files.insert(line.substr(line.find(" ./") + 2));
    const std::string libraries = kInjectedLibrariesFolder, bundle = TAVELIN_JB_PREFIX
                                                            "/Library/Application Support/Tavelin/"
                                                            "Tavelin.bundle/";
    std::set<std::string> expected{libraries + "/Tavelin.dylib", libraries + "/Tavelin.plist"};
    for (const char* image :
         {"Navro.png", "PrefsDonate.png", "heart.png", "setting.png", "torvenAK.png"})
        expected.insert(bundle + image);
    EXPECT_EQ(files, expected);
    TestRoot scratch;
    std::string device = scratch.path() + "/device";
    std::filesystem::create_directory(device);
    shell("dpkg-deb -x " + deb + " '" + device + "'");
    ProgramRun run = runHostProgram(
        scratch, {"--root", device, "--script", scratch.write("s.txt", "feed\nsettings\n")});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(linesStartingWith(run.err, "MS:"),
              (std::vector<std::string>{
                  "MS:Notice: Injecting: com.burbn.instagram [Instagram] (1946.1)",
                  "MS:Notice: Loading: " + kTavelin + " (bundle com.burbn.instagram)"}));
    EXPECT_TRUE(contains(run.out, "2. Post by @mira.lens at Lisbon, Portugal")) << run.out;
    EXPECT_FALSE(contains(run.out, "Sponsored")) << run.out;
    EXPECT_TRUE(contains(run.out, "setting.png]")) << "the bundle's image on the button\n"
                                                   << run.out;
}

} // namespace
