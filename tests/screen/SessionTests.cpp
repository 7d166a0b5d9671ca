#include <gtest/gtest.h>

#include <sstream>

#include "../host/TestRoot.h"
#include "Foundation/DeviceRoot.h"
#include "host/HostClasses.h"
#include "host/HostProgram.h"
#include "host/HostSession.h"
#include "host/IGAccountSettingsViewController.h"

namespace {

// A session of the host alone (no library), commands given as a script.
std::string runScript(const std::string& script) {
    registerHostClasses();
    std::ostringstream out;
    HostSession session(NSArray::array(), out);
    std::istringstream in(script);
    session.runAll(in, false, true);
    return out.str();
}

bool contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

TEST(Session, SplitsWordsAndQuotedTitles) {
    EXPECT_EQ(HostSession::split("  type \"Velin Mode\"  a b "),
              (SessionArguments{"type", "Velin Mode", "a", "b"}));
    EXPECT_EQ(HostSession::split("tap \"\""), (SessionArguments{"tap", ""}));
    EXPECT_TRUE(HostSession::split(" \t").empty());
}

TEST(Session, UnknownCommandsAndTapsOnNothingAreExplainedAndTheSessionGoesOn) {
    std::string out =
        runScript("jump\ntap 7 7\ntap \"Nope\"\nflip \"Edit Profile\"\n"
                  "settings\ntap 7 7\ntap 0 x\npick \"Log Out\" 1\nback\nback\nshow\n");
    EXPECT_TRUE(contains(out, "Unknown command \"jump\"; \"help\" lists the commands.")) << out;
    EXPECT_TRUE(contains(out, "This screen has no rows to tap.")) << out;
    EXPECT_TRUE(contains(out, "No row \"Edit Profile\" with a switch on this screen.")) << out;
    EXPECT_TRUE(contains(out, "Nothing to tap there on this screen")) << out;
    EXPECT_TRUE(contains(out, "tap takes SECTION ROW as numbers")) << out;
    EXPECT_TRUE(contains(out, "No row \"Log Out\" with a segmented control")) << out;
    EXPECT_TRUE(contains(out, "Already at the feed.")) << out;
    EXPECT_TRUE(contains(out, "> show\n\n | Instagram | [Settings]")) << out;
}

TEST(Session, TheHostAloneKeepsItsOwnButtonWhichGoesBack) {
    std::string out = runScript("settings\ntap right\nquit\nshow\n");
    EXPECT_TRUE(contains(out, "< Instagram | Settings | [Done]")) << out;
    EXPECT_TRUE(contains(out, "> tap right\n\n | Instagram | [Settings]")) << out;
    EXPECT_FALSE(contains(out, "> show")) << "nothing runs after quit";
}

TEST(Session, HelpListsEveryCommandAndNewCommandsJoinInOneCall) {
    addSessionCommand("wave",
                      {"wave", "waves back", [](HostSession& session, const SessionArguments&) {
                           session.out() << "o/\n";
                           return std::string();
                       }});
    std::string out = runScript("help\nwave\n");
    for (const char* name : {"feed", "settings", "refresh", "tap right", "flip", "type", "return",
                             "pick", "back", "show", "help", "quit", "wave"})
        EXPECT_TRUE(contains(out, std::string("\n  ") + name)) << name << "\n" << out;
    EXPECT_TRUE(contains(out, "o/\n")) << out;
}

TEST(Session, NoArgumentsRunTheTourAndFeedOptionsPrintTheFeed) {
    auto mode = [](std::vector<std::string> arguments) {
        auto parsed = parseHostOptions(arguments, "/staged");
        return std::get<HostOptions>(parsed).mode;
    };
    EXPECT_EQ(mode({}), HostMode::Tour);
    EXPECT_EQ(mode({"--no-inject"}), HostMode::Tour);
    EXPECT_EQ(mode({"--velin", "on"}), HostMode::PrintFeed);
    EXPECT_EQ(mode({"--interactive"}), HostMode::Interactive);
    auto script = std::get<HostOptions>(parseHostOptions({"--script", "s.txt"}, "/r"));
    EXPECT_EQ(script.mode, HostMode::Script);
    EXPECT_EQ(script.script, "s.txt");
}

void tourWithTheLibrary() {
    TestRoot root;
    root.inject("Tavelin.dylib", TAVELIN_DYLIB);
    std::filesystem::path bundle =
        root.path() + "/Library/Application Support/Tavelin/Tavelin.bundle";
    std::filesystem::create_directories(bundle.parent_path());
    std::filesystem::create_directory_symlink(STAGED_BUNDLE, bundle);
    std::ostringstream out, errors;
    HostOptions options{.root = root.path(), .feed = HOST_FEED, .mode = HostMode::Tour};
    EXPECT_EQ(runHost(options, out, errors), 0) << errors.str();
    std::string text = out.str();
    for (const char* screen :
         {"> feed\n\n | Instagram | [Settings]\n1. Stories", "< Instagram | Settings | [",
          "setting.png]", "< Settings | Tavelin | [", "Velin Mode  [off]", "Velin Mode  [on]",
          "open URL: https://instagram.com/torvenak", "2. Post\n    \"Golden hour over Alfama\""})
        EXPECT_TRUE(contains(text, screen)) << screen << "\n" << text;
    EXPECT_FALSE(contains(text, "Sponsored")) << text;
    EXPECT_TRUE(
        text.ends_with("2. Post by @mira.lens at Lisbon, Portugal\n    \"Golden hour over "
                       "Alfama\"\n3. Post by @tomas_k\n    \"First snow on the balcony\"\n4. "
                       "Suggested for you: @arctic.trails @chef.lucia @pixelfox\n5. Post by "
                       "@nadia.draws at Studio 4B\n    \"Ink study, day 12\"\n6. Post by "
                       "@oslo_eats at Oslo, Norway\n7. Post by @arctic.trails at Tromsø, "
                       "Norway\n    \"Northern lights tonight ✨\"\n\n\n"))
        << "the tour ends on the feed with Velin Mode off again\n"
        << text;
}

TEST(Session, TheTourShowsEachScreen) {
    EXPECT_IN_CHILD(tourWithTheLibrary());
}

} // namespace
