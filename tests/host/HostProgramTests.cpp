#include <gtest/gtest.h>

#include <filesystem>
#include <poll.h>
#include <pty.h>
#include <sstream>
#include <sys/wait.h>
#include <termios.h>

#include "Foundation/NSDictionary.h"
#include "ProgramRun.h"
#include "host/HostProgram.h"

namespace {

// Standard error under the sanitizers ends with their report.
bool startsWith(const std::string& text, const std::string& start) {
    return text.starts_with(start);
}

HostOptions parsed(const std::vector<std::string>& arguments) {
    Result<HostOptions> result = parseHostOptions(arguments, "/staged");
    EXPECT_TRUE(result) << (result ? "" : result.problem());
    return result ? *result : HostOptions{};
}

std::string problem(const std::vector<std::string>& arguments) {
    Result<HostOptions> result = parseHostOptions(arguments, "/staged");
    return result ? "" : result.problem();
}

TEST(HostOptions, EveryOptionAttachedOrSeparateAndTheStagedRootByDefault) {
    HostOptions defaults = parsed({});
    EXPECT_EQ(defaults.root, "/staged");
    EXPECT_TRUE(defaults.inject);
    EXPECT_FALSE(defaults.fresh || defaults.keepGoing || defaults.help || defaults.version);
    HostOptions all = parsed({"--root", "/r", "--feed=f.json", "--velin", "on", "--no-inject",
                              "--fresh", "--keep-going", "--size=390x844", "--inter"});
    EXPECT_EQ(all.root, "/r");
    EXPECT_EQ(all.feed, "f.json");
    EXPECT_EQ(all.velin, true);
    EXPECT_FALSE(all.inject);
    EXPECT_TRUE(all.fresh && all.keepGoing);
    EXPECT_EQ(all.screenSize, std::make_pair(390.0, 844.0));
    EXPECT_EQ(all.mode, HostMode::Interactive) << "a unique prefix names its option";
    EXPECT_EQ(parsed({"--velin=off"}).velin, false);
    EXPECT_TRUE(parsed({"--fast", "--velin", "maybe", "-h"}).help) << "--help wins";
    EXPECT_TRUE(parsed({"--version"}).version);
    HostOptions preferences = parsed({"--preferences", "p.plist"});
    EXPECT_EQ(preferences.preferences, "p.plist");
    EXPECT_EQ(preferences.mode, HostMode::Interactive) << "a list starts a prompt by default";
    EXPECT_EQ(parsed({"--preferences=p.plist", "--script", "-"}).mode, HostMode::Script);
}

TEST(HostOptions, BadOptionsAreExplainedAndTyposGetTheClosestName) {
    const std::pair<std::vector<std::string>, const char*> cases[] = {
        {{"--velln", "on"}, "unknown option --velln; did you mean --velin?"},
        {{"--frsh"}, "unknown option --frsh; did you mean --fresh?"},
        {{"--zebra"}, "unknown option --zebra"},
        {{"--s", "x"}, "--s is ambiguous: it could be --script, --snapshots, --size or --scale"},
        {{"--no-inject=yes"}, "--no-inject takes no value"},
        {{"-x"}, "unknown option -x; options start with --"},
        {{"tour"}, "unexpected argument \"tour\"; options start with --"},
        {{"--root"}, "--root needs a value"},
        {{"--feed"}, "--feed needs a value"},
        {{"--velin", "maybe"}, "--velin takes on or off, not \"maybe\""},
        {{"--velin"}, "--velin needs a value"},
        {{"--root="}, "--root needs a folder"},
        {{"--root", ""}, "--root needs a folder"}};
    for (const auto& [arguments, expected] : cases)
        EXPECT_EQ(problem(arguments), expected);
}

class HostProgram : public ::testing::Test {
  protected:
    void SetUp() override { root.inject("Tavelin.dylib", TAVELIN_DYLIB); }
    ProgramRun show(std::vector<std::string> extra) {
        std::vector<std::string> arguments{"--root", root.path(), "--feed", HOST_FEED};
        arguments.insert(arguments.end(), extra.begin(), extra.end());
        return runHostProgram(root, arguments);
    }
    TestRoot root;
};

TEST_F(HostProgram, WithoutTheLibraryShowsSponsoredItemsMarked) {
    ProgramRun run = show({"--no-inject"});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.err.find("loader:"), std::string::npos) << run.err;
    EXPECT_EQ(run.err.find("host:"), std::string::npos) << run.err;
    EXPECT_NE(run.out.find("[Sponsored] Post by @northwind.coffee at Seattle, Washington"),
              std::string::npos);
    EXPECT_NE(run.out.find("[Sponsored] App install: Quillo Notes"), std::string::npos);
    EXPECT_NE(run.out.find("Post by @mira.lens at Lisbon, Portugal"), std::string::npos);
}

TEST_F(HostProgram, TheLibraryRemovesSponsoredItemsAndKeepsTheRestInOrder) {
    ProgramRun run = show({});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out.find("Sponsored"), std::string::npos) << run.out;
    EXPECT_EQ(run.out.rfind("1. Stories: @mira.lens", 0), 0u) << run.out;
    EXPECT_NE(run.out.find("2. Post by @mira.lens at Lisbon, Portugal\n"), std::string::npos)
        << run.out;
    EXPECT_NE(run.out.find("3. Post by @tomas_k\n"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("4. Suggested for you:"), std::string::npos) << run.out;
}

TEST_F(HostProgram, VelinModeHidesWhoPostedAndWhere) {
    ProgramRun on = show({"--velin", "on"});
    EXPECT_EQ(on.status, 0) << on.err;
    EXPECT_EQ(on.out.find("Post by"), std::string::npos) << on.out;
    EXPECT_NE(on.out.find("2. Post\n    \"Golden hour over Alfama\""), std::string::npos) << on.out;
    ProgramRun off = show({"--velin", "off"});
    EXPECT_NE(off.out.find("2. Post by @mira.lens"), std::string::npos) << off.out;
}

TEST_F(HostProgram, BadOptionsExitWithOneLineHelpAndVersionPrint) {
    ProgramRun run = runHostProgram(root, {"--velin", "sometimes"});
    EXPECT_EQ(run.status, 2);
    EXPECT_PRED2(startsWith, run.err,
                 "tavelin-host: --velin takes on or off, not \"sometimes\" (--help lists "
                 "the options)\n");
    ProgramRun help = runHostProgram(root, {"--velin", "sometimes", "--help"});
    EXPECT_EQ(help.status, 0) << help.err;
    EXPECT_EQ(help.out.rfind("usage: tavelin-host", 0), 0u) << help.out;
    for (const char* named : {"com.burbn.instagram.plist", "64 MiB", "16 MiB", "--fresh"})
        EXPECT_NE(help.out.find(named), std::string::npos) << named;
    ProgramRun version = runHostProgram(root, {"--version"});
    EXPECT_EQ(version.out.rfind("tavelin-host ", 0), 0u) << version.out;
}

TEST_F(HostProgram, MissingFeedOrRootIsAnErrorExit) {
    ProgramRun feed =
        runHostProgram(root, {"--root", root.path(), "--feed", root.path() + "/none.json"});
    EXPECT_EQ(feed.status, 1);
    EXPECT_NE(
        feed.err.find("tavelin-host: feed file " + root.path() + "/none.json: does not exist"),
        std::string::npos)
        << feed.err;
    ProgramRun missingRoot = runHostProgram(root, {"--root", root.path() + "/gone"});
    EXPECT_EQ(missingRoot.status, 1);
    EXPECT_NE(missingRoot.err.find("is not a folder; give one with --root"), std::string::npos)
        << missingRoot.err;
    std::string broken = root.write("broken.json", "{\"items\": [{\"kind\": \"post\"}]}");
    ProgramRun malformed = runHostProgram(root, {"--root", root.path(), "--feed", broken});
    EXPECT_EQ(malformed.status, 1);
    EXPECT_NE(malformed.err.find("item 1 has no \"owner\""), std::string::npos) << malformed.err;
}

} // namespace

namespace {

struct ScriptCase {
    const char* script;
    std::vector<std::string> extra;
    int status;
    const char* error;    // the start of standard error ("" for none)
    const char* shown;    // in standard output
    const char* notShown; // not in standard output
};

// A folder where the defaults file belongs: the store keeps the change in
// memory, and the script fails on the line that could not save it.
TEST_F(HostProgram, AFailedSaveFailsTheScriptWithItsReason) {
    std::filesystem::create_directories(
        root.path() + "/var/mobile/Library/Preferences/com.burbn.instagram.plist");
    std::string script = root.write("s.txt", "settings\ntap right\nflip \"Velin Mode\" on\n");
    ProgramRun run = show({"--quiet", "--script", script});
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find(script + ":3: The setting could not be saved: "), std::string::npos)
        << run.err;
    EXPECT_NE(run.err.find("is not a regular file"), std::string::npos) << run.err;
}

// Each script runs on the host with the library, its commands one per line.
TEST_F(HostProgram, ScriptsFailAfterTheFailingLineWithNameAndLineOnStandardError) {
    const ScriptCase cases[] = {
        {"feed\nflip \"Nope\"\nsettings\n",
         {},
         1,
         ":2: This screen has no rows.",
         "> feed",
         "> settings"},
        {"settings\nflip \"Nope\"\nfeed\n",
         {"--keep-going"},
         1,
         ":2: No row \"Nope\" on this screen; \"show\" lists the rows.",
         "> feed",
         nullptr},
        {"help me\n", {}, 1, ":1: Usage: help (too many words)", nullptr, "tap"},
        {"feed now\n", {}, 1, ":1: Usage: feed (too many words)", nullptr, nullptr},
        {"jump\n", {}, 1, ":1: Unknown command \"jump\"", nullptr, nullptr},
        {"tap \"open\n", {}, 1, ":1: A quote is not closed", nullptr, nullptr},
        {"settings\ntap bar up\n", {}, 1, ":2: tap bar takes left or right", nullptr, nullptr},
        {"settings\ntap 9\n",
         {},
         1,
         ":2: No row 9 on this screen; its rows are numbered 1 to 4.",
         nullptr,
         nullptr},
        {"expect-not \"Stories\"\n", {}, 1, ":1: The screen shows \"Stories\"", nullptr, nullptr},
        {"expect \"Sponsored\"\n",
         {},
         1,
         ":1: The screen does not show \"Sponsored\"",
         nullptr,
         nullptr},
        {"settings\ntap right\nflip velin on\nflip 2 on\nexpect \"2. Velin Mode  [on]\"\n"
         "flip \"VELIN MODE\" off\nexpect \"Velin Mode  [off]\"\ntap 1 1\nexpect \"* 1. Tavelin\"\n"
         "feed\nexpect \"1. Stories\"\nexpect-not \"Sponsored\"\nscroll down\nexpect \"4. "
         "Suggested\"\n"
         "expect-not \"1. Stories\"\nscroll to 1\nexpect \"1. Stories\"\n",
         {},
         0,
         "",
         "(1 to 3 of 7;",
         nullptr},
        {"settings\ntap \"log\"\n", {}, 0, "", "* 4. Log Out", nullptr},
        {"settings\ntap \"\"\n", {}, 1, ":2: No row \"\" on this screen", nullptr, nullptr},
    };
    for (const ScriptCase& c : cases) {
        std::string script = root.write("s.txt", c.script);
        std::vector<std::string> arguments{"--fresh", "--quiet", "--script", script};
        arguments.insert(arguments.end(), c.extra.begin(), c.extra.end());
        ProgramRun run = show(arguments);
        EXPECT_EQ(run.status, c.status) << c.script << run.err;
        if (*c.error) {
            EXPECT_EQ(run.err.rfind("tavelin-host: " + script + c.error, 0), 0u)
                << c.script << run.err;
        } else {
            EXPECT_EQ(run.err.find("tavelin-host:"), std::string::npos) << c.script << run.err;
        }
        EXPECT_TRUE(!c.shown || run.out.find(c.shown) != std::string::npos) << c.script << run.out;
        EXPECT_TRUE(!c.notShown || run.out.find(c.notShown) == std::string::npos)
            << c.script << run.out;
    }
}

TEST_F(HostProgram, ScriptsThatAreNoFilesOrTooLongAreRefusedAtOnce) {
    std::filesystem::resize_file(root.write("long.txt", ""), kMaxScriptBytes + 1);
    const std::pair<std::string, const char*> cases[] = {
        {root.path(), "is a folder, not a file"},
        {"/dev/zero", "is a device, not a file"},
        {root.path() + "/long.txt", "is longer than 16 MiB, the most that is read"},
        {root.path() + "/none.txt", "does not exist"},
    };
    for (const auto& [path, expected] : cases) {
        ProgramRun run = show({"--script", path});
        EXPECT_EQ(run.status, 1) << path;
        EXPECT_PRED2(startsWith, run.err,
                     "tavelin-host: the script " + path + " " + expected +
                         "; give a file of session commands, or - for standard input\n");
    }
}

TEST_F(HostProgram, EndlessInputOnStandardInputIsCutAtItsBound) {
    std::vector<std::string> base{"--root", root.path(), "--feed", HOST_FEED, "--no-inject"};
    auto run = [&](const char* mode) {
        std::vector<std::string> arguments = base;
        arguments.insert(arguments.end(), {mode, "-"});
        if (std::string(mode) == "--interactive") arguments.pop_back();
        return runHostProgram(root, arguments, {}, "/dev/zero");
    };
    ProgramRun script = run("--script");
    EXPECT_EQ(script.status, 1);
    EXPECT_NE(script.err.find("the script standard input is longer than 16 MiB"), std::string::npos)
        << script.err;
    ProgramRun prompt = run("--interactive");
    EXPECT_EQ(prompt.status, 0);
    EXPECT_PRED2(startsWith, prompt.err,
                 "tavelin-host: a line is longer than 1 MiB; the session ends\n");
}

TEST_F(HostProgram, ControlCharactersFromTheFeedAndTheSessionAreShownEscaped) {
    std::string feed = root.write(
        "feed.json", "{\"items\": [{\"kind\": \"post\", \"owner\": \"a\\u001b[2J\\u0007\", "
                     "\"caption\": \"b\\u009bc\\r\"}]}");
    ProgramRun printed =
        runHostProgram(root, {"--root", root.path(), "--feed", feed, "--velin", "off"});
    EXPECT_EQ(printed.out, "1. Post by @a\\x1b[2J\\x07\n    \"b\\u009bc\\x0d\"\n");
    ProgramRun session = show({"--script", root.write("s.txt", "expect \"\x1b]0;t\x07\"\n")});
    EXPECT_NE(session.out.find("> expect \"\\x1b]0;t\\x07\""), std::string::npos) << session.out;
    EXPECT_EQ(session.out.find('\x1b'), std::string::npos);
    EXPECT_EQ(session.err.find('\x1b'), std::string::npos);
}

TEST_F(HostProgram, FreshRunsLeaveTheRootAsItWasAndResetClearsTheSettings) {
    TestRoot temporary;
    std::string defaults =
        root.path() + "/var/mobile/Library/Preferences/com.burbn.instagram.plist";
    ProgramRun fresh = runHostProgram(
        root, {"--root", root.path(), "--feed", HOST_FEED, "--fresh", "--velin", "on"},
        temporary.path());
    EXPECT_EQ(fresh.status, 0) << fresh.err;
    EXPECT_FALSE(std::filesystem::exists(defaults)) << "the copy took the setting";
    for (const auto& entry : std::filesystem::directory_iterator(temporary.path()))
        EXPECT_FALSE(entry.path().filename().string().starts_with("tavelin-fresh-"))
            << "the copy is removed at exit";
    ProgramRun reset =
        show({"--script", root.write("s.txt", "settings\ntap right\nflip \"Velin "
                                              "Mode\" on\nreset\nsettings\ntap "
                                              "right\nexpect \"Velin Mode  [off]\"\n")});
    EXPECT_EQ(reset.status, 0) << reset.err;
    EXPECT_NE(reset.out.find("Settings cleared: " + defaults), std::string::npos) << reset.out;
    Ref<NSDictionary> saved =
        NSDictionary::dictionaryWithContentsOfFile(NSString::string(defaults));
    ASSERT_TRUE(saved);
    EXPECT_EQ(saved->count(), 0u);
}

} // namespace

namespace {

// The interactive host on a pseudo-terminal: each line is typed once the
// prompt shows; the transcript is everything the terminal was sent.
class Terminal {
  public:
    Terminal(const TestRoot& root, const std::string& home) {
        _child = forkpty(&_master, nullptr, nullptr, nullptr);
        if (_child == 0) {
            setenv("HOME", home.c_str(), 1);
            unsetenv("XDG_DATA_HOME");
            setenv("TERM", "xterm", 1);
            execl(TAVELIN_HOST_PROGRAM, TAVELIN_HOST_PROGRAM, "--interactive", "--no-inject",
                  "--root", root.path().c_str(), "--feed", HOST_FEED, nullptr);
            _exit(127);
        }
    }
    // Waits for the next prompt, then types the keys.
    bool type(const std::string& keys) {
        if (!readUntilPrompts(++_prompts) || !editing()) return false;
        return write(_master, keys.data(), keys.size()) == static_cast<ssize_t>(keys.size());
    }
    // Reads to the end; answers the exit status.
    int finish() {
        char buffer[4096];
        for (ssize_t got = 1; got > 0 && pollable();) {
            got = read(_master, buffer, sizeof buffer);
            _transcript.append(buffer, static_cast<std::size_t>(std::max<ssize_t>(got, 0)));
        }
        close(_master);
        int status = 0;
        waitpid(_child, &status, 0);
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    const std::string& transcript() const { return _transcript; }

  private:
    // Waits (ten seconds at most) until the editor has the terminal in raw
    // mode, so that no key reaches the line discipline first.
    bool editing() {
        for (int wait = 0; wait < 10000; ++wait) {
            termios mode{};
            if (tcgetattr(_master, &mode) == 0 && !(mode.c_lflag & ICANON)) return true;
            usleep(1000);
        }
        return false;
    }
    bool pollable() {
        pollfd ready{_master, POLLIN, 0};
        return poll(&ready, 1, 10000) > 0;
    }
    bool readUntilPrompts(std::size_t count) {
        char buffer[4096];
        while (prompts() < count) {
            ssize_t got = pollable() ? read(_master, buffer, sizeof buffer) : -1;
            if (got <= 0) return false;
            _transcript.append(buffer, static_cast<std::size_t>(got));
        }
        return true;
    }
    // Prompts on a line of their own: a line being redrawn does not count.
    std::size_t prompts() const {
        std::size_t count = 0;
        for (std::size_t at = _transcript.find("\ntavelin> "); at != std::string::npos;
             at = _transcript.find("\ntavelin> ", at + 1))
            ++count;
        return count;
    }
    int _master = -1;
    pid_t _child = -1;
    std::size_t _prompts = 0;
    std::string _transcript;
};

TEST_F(HostProgram, ThePromptEditsLinesCompletesAndKeepsHistoryAcrossSessions) {
    TestRoot home;
    Terminal first(root, home.path());
    ASSERT_TRUE(first.type("sett\t\r")) << first.transcript();
    ASSERT_TRUE(first.type("tap \"edit p\t\r")) << first.transcript();
    ASSERT_TRUE(first.type("fed\x1b[De\r")) << first.transcript();
    ASSERT_TRUE(first.type("\x04")) << first.transcript();
    EXPECT_EQ(first.finish(), 0);
    const std::string& shown = first.transcript();
    for (const char* part : {"< Instagram | Settings | [Done]", "* 1. Edit Profile"})
        EXPECT_NE(shown.find(part), std::string::npos) << part << "\n" << shown;
    EXPECT_EQ(shown.find("Unknown command"), std::string::npos) << "\"fed\" became \"feed\"\n"
                                                                << shown;
    EXPECT_TRUE(shown.ends_with("\r\n")) << "Ctrl-D leaves the line\n" << shown;
    EXPECT_TRUE(std::filesystem::exists(home.path() + "/.local/share/tavelin/history"));

    Terminal second(root, home.path());
    ASSERT_TRUE(second.type("\x1b[A\x1b[A\x1b[A\r")) << second.transcript();
    ASSERT_TRUE(second.type("quit\r")) << second.transcript();
    EXPECT_EQ(second.finish(), 0);
    EXPECT_NE(second.transcript().find("< Instagram | Settings | [Done]"), std::string::npos)
        << "the third line back is \"settings\"\n"
        << second.transcript();
}

} // namespace
