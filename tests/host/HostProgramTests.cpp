#include <poll.h>
#include <pty.h>
#include <termios.h>

#include "Foundation/NSDictionary.h"
#include "ProgramRun.h"
#include "host/HostProgram.h"

namespace {

HostOptions parsed(const std::vector<std::string>& arguments) {
    Result<HostOptions> result = parseHostOptions(arguments, "/staged");
    EXPECT_TRUE(result) << (result ? "" : result.problem());
    return result ? *result : HostOptions{};
}

TEST(HostOptions, EveryOptionAttachedOrSeparateAndTheStagedRootByDefault) {
    EXPECT_EQ(parsed({}).root, "/staged");
    HostOptions all = parsed({"--root", "/r", "--feed=f.json", "--velin", "on", "--no-inject",
                              "--fresh", "--keep-going", "--size=390x844", "--inter"});
    EXPECT_EQ(all.velin, true);
    EXPECT_EQ(all.mode, HostMode::Interactive) << "a unique prefix names its option";
    EXPECT_EQ(parsed({"--velin=off"}).velin, false);
    EXPECT_TRUE(parsed({"--fast", "--velin", "maybe", "-h"}).help) << "--help wins";
}

// No mode given: a feed option prints the feed, a list starts a prompt.
TEST(HostOptions, TheModeFollowsTheOptionsGiven) {
    const std::pair<std::vector<std::string>, HostMode> cases[] = {
        {{}, HostMode::Tour},
        {{"--no-inject"}, HostMode::Tour},
        {{"--velin", "on"}, HostMode::PrintFeed},
        {{"--interactive"}, HostMode::Interactive},
        {{"--preferences", "p.plist"}, HostMode::Interactive},
        {{"--preferences=p.plist", "--script", "-"}, HostMode::Script}};
    for (const auto& [arguments, mode] : cases)
        EXPECT_EQ(parsed(arguments).mode, mode) << arguments.size();
}

TEST(HostOptions, BadOptionsAreExplainedAndTyposGetTheClosestName) {
    const std::pair<std::vector<std::string>, const char*> cases[] = {
        {{"--velln", "on"}, "unknown option --velln; did you mean --velin?"},
        {{"--frsh"}, "unknown option --frsh; did you mean --fresh?"},
        {{"--zebra"}, "unknown option --zebra"},
        {{"--sc"}, "--sc is ambiguous: it could be --script or --scale"},
        {{"--s", "x"},
         "--s is ambiguous: it could be --script, --snapshots, --size or "
         "--scale"},
        {{"--no-inject=yes"}, "--no-inject takes no value"},
        {{"-x"}, "unknown option -x; options start with --"},
        {{"tour"}, "unexpected argument \"tour\"; options start with --"},
        {{"--root"}, "--root needs a value"},
        {{"--velin", "maybe"}, "--velin takes on or off, not \"maybe\""},
        {{"--velin"}, "--velin needs a value"},
        {{"--root="}, "--root needs a folder"},
        {{"--root", ""}, "--root needs a folder"}};
    for (const auto& [arguments, expected] : cases) {
        Result<HostOptions> result = parseHostOptions(arguments, "/staged");
        EXPECT_EQ(result ? "" : result.problem(), expected);
    }
}

class HostProgram : public ::testing::Test {
  protected:
    void SetUp() override { root.inject("Tavelin.dylib", TAVELIN_DYLIB); }
    ProgramRun show(std::vector<std::string> extra) {
        extra.insert(extra.begin(), {"--root", root.path(), "--feed", HOST_FEED});
        return runHostProgram(root, extra);
    }
    ProgramRun script(const std::string& text, std::vector<std::string> extra = {}) {
        extra.insert(extra.end(), {"--script", root.write("s.txt", text)});
        return show(extra);
    }
    TestRoot root;
};

TEST_F(HostProgram, BadOptionsExitWithOneLineHelpAndVersionPrint) {
    ProgramRun run = runHostProgram(root, {"--velin", "sometimes"});
    EXPECT_EQ(run.status, 2);
    EXPECT_TRUE(run.err.starts_with("tavelin-host: --velin takes on or off, not \"sometimes\" "
                                    "(--help lists the options)\n"))
        << run.err;
    ProgramRun help = runHostProgram(root, {"--velin", "sometimes", "--help"});
    EXPECT_EQ(help.status, 0) << help.err;
    EXPECT_TRUE(help.out.starts_with("usage: tavelin-host")) << help.out;
    for (const char* named : {"com.burbn.instagram.plist", "64 MiB", "16 MiB", "--fresh"})
        EXPECT_TRUE(contains(help.out, named)) << named;
    EXPECT_TRUE(runHostProgram(root, {"--version"}).out.starts_with("tavelin-host "));
}

// A missing root, a bad feed, a script that is no file or too long, and
// endless standard input end the program at once, saying why.
TEST_F(HostProgram, BadInputsAreRefusedAtOnceWithTheirReason) {
    std::filesystem::resize_file(root.write("long.txt", ""), kMaxScriptBytes + 1);
    const std::string script = "tavelin-host: the script ",
                      file = "; give a file of session commands, or - for standard input\n";
    const struct {
        std::vector<std::string> arguments;
        int status;
        std::string error;
        const char* input = "";
    } cases[] = {
        {{"--root", root.path() + "/gone"},
         1,
         "tavelin-host: the device root " + root.path() +
             "/gone is not a folder; give one with --root"},
        {{"--feed", root.write("bad.json", "{\"items\": [{\"kind\": \"post\"}]}")},
         1,
         "tavelin-host: feed file " + root.path() + "/bad.json: item 1 has no \"owner\""},
        {{"--script", root.path() + "/long.txt"},
         1,
         script + root.path() + "/long.txt is longer than 16 MiB, the most that is read" + file},
        {{"--script", "-"}, 1, script + "standard input is longer than 16 MiB", "/dev/zero"},
        {{"--interactive"},
         0,
         "tavelin-host: a line is longer than 1 MiB; the session ends\n",
         "/dev/zero"},
    };
    for (const auto& c : cases) {
        std::vector<std::string> arguments{"--root", root.path(), "--no-inject"};
        arguments.insert(arguments.end(), c.arguments.begin(), c.arguments.end());
        ProgramRun run = runHostProgram(root, arguments, {}, c.input);
        EXPECT_EQ(run.status, c.status) << c.error;
        EXPECT_TRUE(run.err.starts_with(c.error)) << run.err;
    }
}

// A folder where the defaults file belongs: the store keeps the change in
// memory, and the script fails on the line that could not save it.
TEST_F(HostProgram, AFailedSaveFailsTheScriptWithItsReason) {
    std::filesystem::create_directories(
        root.path() + "/var/mobile/Library/Preferences/com.burbn.instagram.plist");
    ProgramRun run = script("settings\ntap right\nflip \"Velin Mode\" on\n", {"--quiet"});
    EXPECT_EQ(run.status, 1);
    EXPECT_TRUE(contains(run.err, "/s.txt:3: The setting could not be saved: ")) << run.err;
    EXPECT_TRUE(contains(run.err, "is not a regular file")) << run.err;
}

// Each script runs on the host with the library, its commands one per line;
// control characters typed or from the feed are shown escaped.
TEST_F(HostProgram, ScriptsFailAfterTheFailingLineWithNameAndLineOnStandardError) {
    const struct {
        const char* script;
        const char* error; // after the script's name; "" when the script passes
        const char* shown = "";
        const char* notShown = nullptr;
        bool keepGoing = false;
    } cases[] = {
        {"feed\nflip \"Nope\"\nsettings\n", ":2: This screen has no rows.", "> feed", "> settings"},
        {"settings\nflip \"Nope\"\nfeed\n",
         ":2: No row \"Nope\" on this screen; \"show\" lists the rows.", "> feed", nullptr, true},
        {"tap \"open\n", ":1: A quote is not closed"},
        {"settings\ntap bar up\n", ":2: tap bar takes left or right"},
        {"settings\ntap 9\n", ":2: No row 9 on this screen; its rows are numbered 1 to 4."},
        {"settings\ntap \"\"\n", ":2: No row \"\" on this screen"},
        {"expect-not \"Stories\"\n", ":1: The screen shows \"Stories\""},
        {"expect \"Sponsored\"\n", ":1: The screen does not show \"Sponsored\""},
        {"expect \"\x1b]0;t\x07\"\n", ":1: The screen does not show \"\\x1b]0;t\\x07\"",
         "> expect \"\\x1b]0;t\\x07\""},
        {"settings\ntap right\nflip velin on\nflip 2 on\nexpect \"2. Velin Mode  [on]\"\n"
         "flip \"VELIN MODE\" off\nexpect \"Velin Mode  [off]\"\ntap 1 1\nexpect \"* 1. Tavelin\"\n"
         "feed\nexpect \"1. Stories\"\nexpect-not \"Sponsored\"\nscroll down\n"
         "expect \"4. Suggested\"\nexpect-not \"1. Stories\"\nscroll to 1\nexpect \"1. Stories\"\n",
         "", "(1 to 3 of 7;"},
        {"settings\ntap \"log\"\n", "", "* 4. Log Out"},
    };
    for (const auto& c : cases) {
        std::vector<std::string> options{"--fresh", "--quiet"};
        if (c.keepGoing) options.push_back("--keep-going");
        ProgramRun run = script(c.script, options);
        EXPECT_EQ(run.status, *c.error ? 1 : 0) << c.script << run.err;
        if (*c.error) {
            EXPECT_TRUE(run.err.starts_with("tavelin-host: " + root.path() + "/s.txt" + c.error))
                << c.script << run.err;
        }
        EXPECT_TRUE(contains(run.out, c.shown)) << c.script << run.out;
        EXPECT_FALSE(c.notShown && contains(run.out, c.notShown)) << c.script << run.out;
        EXPECT_FALSE(contains(run.out + run.err, "\x1b")) << c.script;
    }
    std::string feed = root.write(
        "feed.json", "{\"items\": [{\"kind\": \"post\", \"owner\": \"a\\u001b[2J\\u0007\", "
                     "\"caption\": \"b\\u009bc\\r\"}]}");
    EXPECT_EQ(runHostProgram(root, {"--root", root.path(), "--feed", feed, "--velin", "off"}).out,
              "1. Post by @a\\x1b[2J\\x07\n    \"b\\u009bc\\x0d\"\n");
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
    ProgramRun reset = script("settings\ntap right\nflip \"Velin Mode\" on\nreset\nsettings\n"
                              "tap right\nexpect \"Velin Mode  [off]\"\n");
    EXPECT_EQ(reset.status, 0) << reset.err;
    EXPECT_TRUE(contains(reset.out, "Settings cleared: " + defaults)) << reset.out;
    Ref<NSDictionary> saved =
        NSDictionary::dictionaryWithContentsOfFile(NSString::string(defaults));
    ASSERT_TRUE(saved);
    EXPECT_EQ(saved->count(), 0u);
}

// Runs the interactive host on a pseudo-terminal and types each line once
// its prompt shows (on a line of its own: a redrawn line does not count) and
// the editor has the terminal in raw mode. Answers everything the terminal
// was sent, and the exit status.
std::pair<std::string, int> typeAtPrompts(const TestRoot& root, const std::string& home,
                                          const std::vector<std::string>& lines) {
    int master = -1;
    pid_t child = forkpty(&master, nullptr, nullptr, nullptr);
    if (child == 0) {
        setenv("HOME", home.c_str(), 1);
        unsetenv("XDG_DATA_HOME");
        setenv("TERM", "xterm", 1);
        execl(TAVELIN_HOST_PROGRAM, TAVELIN_HOST_PROGRAM, "--interactive", "--no-inject", "--root",
              root.path().c_str(), "--feed", HOST_FEED, nullptr);
        _exit(127);
    }
    std::string shown;
    auto readSome = [&] { // ten seconds at most
        char buffer[4096];
        pollfd ready{master, POLLIN, 0};
        ssize_t got = poll(&ready, 1, 10000) > 0 ? read(master, buffer, sizeof buffer) : -1;
        if (got > 0) shown.append(buffer, static_cast<std::size_t>(got));
        return got > 0;
    };
    std::size_t from = 0, prompt = 0;
    for (const std::string& keys : lines) {
        while ((prompt = shown.find("\ntavelin> ", from)) == std::string::npos && readSome()) {
        }
        termios mode{};
        for (int wait = 0; wait < 10000 && (tcgetattr(master, &mode) || mode.c_lflag & ICANON);
             ++wait)
            usleep(1000);
        if (prompt == std::string::npos || mode.c_lflag & ICANON) {
            ADD_FAILURE() << "no prompt for " << keys << "\n" << shown;
            break;
        }
        from = prompt + 1;
        EXPECT_EQ(write(master, keys.data(), keys.size()), static_cast<ssize_t>(keys.size()));
    }
    while (readSome()) {
    }
    close(master);
    int status = 0;
    waitpid(child, &status, 0);
    return {shown, WIFEXITED(status) ? WEXITSTATUS(status) : -1};
}

TEST_F(HostProgram, ThePromptEditsLinesCompletesAndKeepsHistoryAcrossSessions) {
    TestRoot home;
    auto [shown, status] =
        typeAtPrompts(root, home.path(), {"sett\t\r", "tap \"edit p\t\r", "fed\x1b[De\r", "\x04"});
    EXPECT_EQ(status, 0);
    for (const char* part : {"< Instagram | Settings | [Done]", "* 1. Edit Profile"})
        EXPECT_TRUE(contains(shown, part)) << part << "\n" << shown;
    EXPECT_FALSE(contains(shown, "Unknown command")) << "\"fed\" became \"feed\"\n" << shown;
    EXPECT_TRUE(shown.ends_with("\r\n")) << "Ctrl-D leaves the line\n" << shown;
    auto [again, end] = typeAtPrompts(root, home.path(), {"\x1b[A\x1b[A\x1b[A\r", "quit\r"});
    EXPECT_EQ(end, 0);
    EXPECT_TRUE(contains(again, "< Instagram | Settings | [Done]"))
        << "the third line back is \"settings\"\n"
        << again;
}

} // namespace
