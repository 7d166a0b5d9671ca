#include <sys/stat.h>

#include "host/FeedFile.h"
#include "host/FeedPrinter.h"
#include "host/HostClasses.h"
#include "host/HostProgram.h"
#include "host/IGFeed.h"
#include "tests/host/TestRoot.h"

namespace {

// The problem with `text`, or "" when it parses.
std::string problemWith(const std::string& text) {
    registerHostClasses();
    Result<Ref<NSArray>> feed = parseFeed(text, "feed.json");
    return feed ? "" : feed.problem();
}

TEST(FeedFile, AnythingButASmallRegularFileIsRefusedAtOnceNamingTheFile) {
    TestRoot root;
    std::string fifo = root.path() + "/pipe.json", large = root.path() + "/large.json";
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    std::filesystem::resize_file(root.write("large.json", ""), kMaxFeedBytes + 1);
    const std::pair<std::string, const char*> cases[] = {
        {root.path() + "/nothing-here.json", "does not exist"},
        {root.path(), "is a folder, not a file"},
        {fifo, "is a named pipe (FIFO), not a file"},
        {"/dev/zero", "is a device, not a file"},
        {large, "is longer than 64 MiB"},
    };
    for (const auto& [path, expected] : cases) {
        Result<Ref<NSArray>> feed = loadFeed(path);
        ASSERT_FALSE(feed) << path << " was read";
        EXPECT_EQ(feed.problem().rfind("feed file " + path + ": " + expected, 0), 0u)
            << feed.problem();
        EXPECT_NE(feed.problem().find("--feed"), std::string::npos) << feed.problem();
    }
}

TEST(FeedFile, MalformedFeedsAreErrorsThatSayWhatIsWrong) {
    const std::pair<const char*, const char*> cases[] = {
        {"{\"items\": [", "is not valid JSON"},
        {"[1, 2]", "needs an object with an \"items\" list"},
        {"{\"items\": {}}", "needs an object with an \"items\" list"},
        {"{\"items\": [7]}", "item 1 is not an object"},
        {"{\"items\": [{\"owner\": \"a\"}]}", "item 1 has no \"kind\""},
        {"{\"items\": [{\"kind\": \"post\", \"owner\": \"a\"}, {\"kind\": \"reel\"}]}",
         "item 2 has the unknown kind \"reel\""},
        {"{\"items\": [{\"kind\": \"post\"}]}", "item 1 has no \"owner\""},
        {"{\"items\": [{\"kind\": \"post\", \"owner\": 5}]}", "item 1 \"owner\" is not a string"},
        {"{\"items\": [{\"kind\": \"post\", \"owner\": \"a\", \"sponsored\": \"yes\"}]}",
         "item 1 \"sponsored\" is not true or false"},
        {"{\"items\": [{\"kind\": \"stories\"}]}", "item 1 has no \"accounts\" list"},
        {"{\"items\": [{\"kind\": \"stories\", \"accounts\": [1]}]}",
         "item 1 \"accounts\" holds something"},
        {"{\"items\": [{\"kind\": \"app_install\"}]}", "item 1 has no \"app\""},
        {"{\"items\": [{\"kind\": \"stories\", \"accounts\": []}, {\"kind\": \"post\", "
         "\"x\": [1, -1e999]}]}",
         "item 2 holds a number out of range"},
        {"{\"n\": 1e400, \"items\": []}", "holds a number out of range"},
    };
    for (const auto& [text, expected] : cases) {
        std::string problem = problemWith(text);
        EXPECT_EQ(problem.rfind("feed file feed.json: ", 0), 0u) << text << " -> " << problem;
        EXPECT_NE(problem.find(expected), std::string::npos) << text << " -> " << problem;
    }
}

// Owner, place, caption and the sponsored mark each appear only when given.
TEST(FeedFile, PrintsTheFeedAsAPersonReadsIt) {
    registerHostClasses();
    Ref<NSArray> feed = *parseFeed(R"({"items": [
        {"kind": "stories", "accounts": ["ana", "bo"]},
        {"kind": "post", "owner": "ana", "place": "Porto", "caption": "Sea"},
        {"kind": "post", "owner": "shop", "sponsored": true},
        {"kind": "app_install", "app": "Quillo", "caption": "Get it"}]})",
                                   "inline");
    EXPECT_EQ(describeFeed(feed), "1. Stories: @ana @bo\n"
                                  "2. Post by @ana at Porto\n    \"Sea\"\n"
                                  "3. [Sponsored] Post by @shop\n"
                                  "4. [Sponsored] App install: Quillo\n    \"Get it\"\n");
    Ref<IGPost> post = Ref<IGPost>::adopt(alloc<IGPost>());
    post->setCaption("quiet"_ns);
    EXPECT_EQ(describeFeedObject(post), "Post\n    \"quiet\"");
    EXPECT_EQ(describeFeed(nullptr), "The feed is empty.\n");
    EXPECT_EQ(describeFeed(NSArray::array()), "The feed is empty.\n");
    EXPECT_EQ(describeFeedObject("odd"_ns), "(odd)");
}

} // namespace
