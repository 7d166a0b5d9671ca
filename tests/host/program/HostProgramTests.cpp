#include <gtest/gtest.h>

#include <sstream>
#include <sys/wait.h>

#include "../TestRoot.h"
#include "host/HostProgram.h"

namespace {

struct ProgramRun {
    int status;
    std::string out;
    std::string err;
};

std::string contents(const std::string& path) {
    std::ifstream file(path);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

// Runs tavelin-host with `arguments`, its output kept in files under `root`.
ProgramRun runHostProgram(const TestRoot& root, std::vector<std::string> arguments) {
    std::string out = root.path() + "/out.txt", err = root.path() + "/err.txt";
    arguments.insert(arguments.begin(), TAVELIN_HOST_PROGRAM);
    pid_t child = fork();
    if (child == 0) {
        freopen(out.c_str(), "w", stdout);
        freopen(err.c_str(), "w", stderr);
        std::vector<char*> argv;
        for (std::string& argument : arguments)
            argv.push_back(argument.data());
        argv.push_back(nullptr);
        execv(argv[0], argv.data());
        _exit(127);
    }
    int status = 0;
    waitpid(child, &status, 0);
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, contents(out), contents(err)};
}

HostOptions parsed(const std::vector<std::string>& arguments) {
    auto result = parseHostOptions(arguments, "/staged");
    EXPECT_TRUE(std::holds_alternative<HostOptions>(result))
        << std::get<HostOptionsError>(result).message;
    return std::holds_alternative<HostOptions>(result) ? std::get<HostOptions>(result)
                                                       : HostOptions{};
}

std::string problem(const std::vector<std::string>& arguments) {
    auto result = parseHostOptions(arguments, "/staged");
    return std::holds_alternative<HostOptionsError>(result)
               ? std::get<HostOptionsError>(result).message
               : "";
}

TEST(HostOptions, EveryOptionAndTheStagedRootByDefault) {
    HostOptions defaults = parsed({});
    EXPECT_EQ(defaults.root, "/staged");
    EXPECT_TRUE(defaults.inject);
    HostOptions all = parsed({"--root", "/r", "--feed", "f.json", "--velin", "on", "--no-inject"});
    EXPECT_EQ(all.root, "/r");
    EXPECT_EQ(all.feed, "f.json");
    EXPECT_EQ(all.velin, true);
    EXPECT_FALSE(all.inject);
    EXPECT_EQ(parsed({"--velin", "off"}).velin, false);
}

TEST(HostOptions, BadOptionsAreExplained) {
    const std::pair<std::vector<std::string>, const char*> cases[] = {
        {{"--fast"}, "unknown option --fast"},
        {{"--root"}, "--root needs a value"},
        {{"--feed"}, "--feed needs a value"},
        {{"--velin", "maybe"}, "--velin takes on or off, not \"maybe\""},
        {{"--velin"}, "--velin needs a value"},
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

TEST_F(HostProgram, BadOptionsExitWithUsageUnlessHelpIsAsked) {
    ProgramRun run = runHostProgram(root, {"--velin", "sometimes"});
    EXPECT_EQ(run.status, 2);
    EXPECT_NE(run.err.find("tavelin-host: --velin takes on or off"), std::string::npos) << run.err;
    EXPECT_NE(run.err.find("usage: tavelin-host"), std::string::npos) << run.err;
    ProgramRun help = runHostProgram(root, {"--velin", "sometimes", "--help"});
    EXPECT_EQ(help.status, 0) << help.err;
    EXPECT_EQ(help.out.rfind("usage: tavelin-host", 0), 0u) << help.out;
}

TEST_F(HostProgram, MissingFeedOrRootIsAnErrorExit) {
    ProgramRun feed =
        runHostProgram(root, {"--root", root.path(), "--feed", root.path() + "/none.json"});
    EXPECT_EQ(feed.status, 1);
    EXPECT_NE(feed.err.find("feed file " + root.path() + "/none.json: cannot be opened"),
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
