#include "host/HostClasses.h"
#include "host/HostProgram.h"
#include "host/HostSession.h"
#include "host/SessionCommands.h"
#include "tests/host/ProgramRun.h"

namespace {

// A session of the host alone (no library), commands given as a script.
std::string runScript(const std::string& script,
                      const SessionCommandTable& commands = builtInCommands()) {
    registerHostClasses();
    std::ostringstream out;
    HostSession session(NSArray::array(), commands, out);
    std::istringstream in(script);
    session.runScript(in, {.name = "s", .keepGoing = true});
    return out.str();
}

TEST(Session, SplitsWordsQuotedTitlesAndEscapes) {
    const std::pair<const char*, SessionArguments> cases[] = {
        {"  type \"Velin Mode\"  a b ", {"type", "Velin Mode", "a", "b"}},
        {"tap \"\"", {"tap", ""}},
        {"type x \"say \\\"hi\\\"\"", {"type", "x", "say \"hi\""}},
        {"type x a\\ b \\\\ \\n", {"type", "x", "a b", "\\", "\n"}},
        {" \t", {}},
    };
    for (const auto& [line, words] : cases) {
        std::string problem;
        EXPECT_EQ(HostSession::split(line, &problem), words) << line;
        EXPECT_EQ(problem, "") << line;
    }
    for (const char* bad : {"tap \"open", "tap x\\"}) {
        std::string problem;
        HostSession::split(bad, &problem);
        EXPECT_NE(problem, "") << bad;
    }
}

// The host alone keeps its own button, which goes back; help lists every
// command of the table the session is given; nothing runs after quit.
TEST(Session, MistakesAreExplainedAndTheSessionGoesOnUntilQuit) {
    SessionCommandTable commands = builtInCommands();
    commands.push_back(
        {"wave", "wave", "waves back", [](HostSession& session, const SessionArguments&) {
             session.out() << "o/\n";
             return std::string();
         }});
    std::string out = runScript("jump\ntap 7 7\ntap \"Nope\"\nflip \"Edit Profile\"\n"
                                "settings\ntap 7 7\ntap 0 x\npick \"Log Out\" 1\nflip \"edit\"\n"
                                "back\nback\nshow\nhelp\nwave\nsettings\ntap right\nquit\nshow\n",
                                commands);
    for (const char* said :
         {"s:1: Unknown command \"jump\"; \"help\" lists the commands.",
          "s:2: This screen has no rows to tap.", "s:3: This screen has no rows to tap.",
          "s:4: This screen has no rows.", "s:6: No row 7 in section 7 on this screen.",
          "s:7: tap takes SECTION ROW as numbers from 1, or a row.",
          "s:8: The row \"Log Out\" has no segmented control.",
          "s:9: The row \"edit\" has no switch.", "s:11: Already at the feed.",
          "> show\n\n | Instagram | [Settings]", "\n  tap right", "\n  expect-not", "\n  reset",
          "\n  wave", "> wave\no/\n", "< Instagram | Settings | [Done]", "  1. Edit Profile  >\n",
          "> tap right\n\n | Instagram | [Settings]"})
        EXPECT_TRUE(contains(out, said)) << said << "\n" << out;
    EXPECT_LT(out.rfind("> show"), out.find("> quit")) << out;
}

// The tour on a root with the library (or without it), Velin Mode set
// before it starts.
std::string tour(bool inject, bool velinBefore) {
    TestRoot root;
    root.inject("Tavelin.dylib", TAVELIN_DYLIB);
    root.stageBundle();
    std::ostringstream out, errors;
    HostOptions options{.root = root.path(),
                        .feed = HOST_FEED,
                        .velin = velinBefore,
                        .inject = inject,
                        .mode = HostMode::Tour};
    EXPECT_EQ(runHost(options, out, errors), 0) << errors.str();
    EXPECT_EQ(errors.str().find("tavelin-host:"), std::string::npos) << errors.str();
    return out.str();
}

void tourWithTheLibrary(bool velinBefore) {
    std::string text = tour(true, velinBefore);
    for (const char* screen :
         {"> feed\n\n | Instagram | [Settings]\n1. Stories", "< Instagram | Settings | [",
          "setting.png]", "< Settings | Tavelin | [", "> flip \"Velin Mode\" on\n",
          "2. Velin Mode  [on]", "2. Velin Mode  [off]", "open URL: https://instagram.com/torvenak",
          "2. Post\n    \"Golden hour over Alfama\"",
          "> scroll down\n\n | Instagram | [Settings]\n3."})
        EXPECT_TRUE(contains(text, screen)) << screen << "\n" << text;
    EXPECT_FALSE(contains(text, "Sponsored")) << text;
    std::string end = text.substr(text.rfind("> "));
    EXPECT_TRUE(contains(end, "2. Post by @mira.lens at Lisbon, Portugal\n"))
        << "the tour ends on the feed with Velin Mode off\n"
        << end;
}

void tourOfTheHostAlone() {
    std::string text = tour(false, false);
    for (const char* part : {"# The host alone, without the library", "[Sponsored]",
                             "< Instagram | Settings | [Done]"})
        EXPECT_TRUE(contains(text, part)) << part << "\n" << text;
    EXPECT_FALSE(contains(text, "Velin Mode  [")) << text;
}

TEST(Session, TheTourShowsEachScreenFromAnyStartAndTheHostAloneSaysSo) {
    EXPECT_IN_CHILD(tourWithTheLibrary(false));
    EXPECT_IN_CHILD(tourWithTheLibrary(true));
    EXPECT_IN_CHILD(tourOfTheHostAlone());
}

} // namespace
