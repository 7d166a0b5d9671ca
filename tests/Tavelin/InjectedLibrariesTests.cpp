#include <gtest/gtest.h>

#include <cstdio>
#include <dlfcn.h>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "Foundation/DeviceRoot.h"
#include "Foundation/NSDictionary.h"
#include "Foundation/NSUserDefaults.h"
#include "UIKit/UITableView.h"
#include "host/FeedFile.h"
#include "host/HostSession.h"
#include "host/IGFeed.h"
#include "tests/host/InjectedHost.h"

namespace {

std::vector<IGPost*> posts(NSArray* feed) {
    std::vector<IGPost*> found;
    for (NSObject* object : *feed)
        if (auto* post = as<IGPost>(object)) found.push_back(post);
    return found;
}

template <class T> T probe(const char* name) {
    void* symbol = dlsym(RTLD_DEFAULT, name);
    EXPECT_NE(symbol, nullptr) << name;
    return symbol ? *static_cast<T*>(symbol) : T{};
}

UITableView* shownTable(HostSession& session) {
    return as<UITableView>(send<Ref<UIView>>(session.top(), "view"_sel).get());
}

void everyLayerIsHookable() {
    InjectedHost host(true, {{"ZZProbe", PROBE_LIBRARY}});
    Ref<NSArray> feed = loadFeed(HOST_FEED);
    std::vector<IGPost*> loaded = posts(feed);
    ASSERT_FALSE(loaded.empty());
    EXPECT_EQ(probe<int>("probe_setMediaCoordCalls"), static_cast<int>(loaded.size()));
    for (IGPost* post : loaded)
        EXPECT_FALSE(post->mediaCoord()) << "boolForKey: answers YES: no attribution";
    EXPECT_FALSE(NSUserDefaults::standardUserDefaults()->objectForKey("TVLSWitch1"_ns));

    std::ostringstream out;
    HostSession session(feed, out);
    session.run("settings");
    for (int tap = 1; tap <= 2; ++tap) {
        session.run("tap right");
        EXPECT_EQ(probe<int>("probe_switchCellsMade"), tap);
        if (tap == 1) session.run("back");
    }
    UITableView* table = shownTable(session);
    ASSERT_TRUE(table);
    table->layoutIfNeeded();
    auto* frames = static_cast<std::vector<CGRect>*>(dlsym(RTLD_DEFAULT, "probe_frames"));
    ASSERT_TRUE(frames);
    for (long section = 0; section < table->numberOfSections(); ++section)
        for (long row = 0; row < table->numberOfRowsInSection(section); ++row) {
            Ref<NSIndexPath> path = NSIndexPath::indexPathForRow(row, section);
            EXPECT_EQ(table->heightForRow(path), 120) << section << "." << row;
            UITableViewCell* cell = table->cellForRowAtIndexPath(path);
            ASSERT_TRUE(cell);
            EXPECT_NE(std::find(frames->begin(), frames->end(), cell->frame()), frames->end());
        }
}

TEST(InjectedLibraries, AReplacementInEachLayerSeesEveryCall) {
    EXPECT_IN_CHILD(everyLayerIsHookable());
}

void twoCopiesBothInstall() {
    InjectedHost host(true, {{"Tavelin2", TAVELIN_DYLIB}});
    Ref<NSArray> feed = loadFeed(HOST_FEED);
    std::ostringstream out;
    HostSession session(feed, out);
    session.run("show");
    EXPECT_EQ(out.str().find("Sponsored"), std::string::npos) << out.str();
    session.run("settings");
    session.run("tap right");
    session.run("flip \"Velin Mode\"");
    for (IGPost* post : posts(feed))
        EXPECT_FALSE(post->mediaCoord());
    EXPECT_STREQ(object_getClassName(session.top()), "KLPreferences");
}

TEST(InjectedLibraries, TwoCopiesOfTheLibraryBothInstall) {
    EXPECT_IN_CHILD(twoCopiesBothInstall());
}

TEST(InjectedLibraries, TheLibraryExportsOnlyItsEntryPoints) {
    std::string command = "nm -D --defined-only '" + std::string(TAVELIN_DYLIB) + "'";
    FILE* pipe = popen(command.c_str(), "r");
    ASSERT_TRUE(pipe);
    std::set<std::string> exported;
    char address[64], kind[8], name[512];
    while (std::fscanf(pipe, "%63s %7s %511s", address, kind, name) == 3)
        exported.insert(name);
    EXPECT_EQ(pclose(pipe), 0);
    std::set<std::string> expected{"local_init", "register_hook"};
    for (const char* hook :
         {"IGAccountSettingsViewController_viewDidLoad", "IGPost_mediaCoord",
          "IGPost_setMediaCoord", "IGMainFeedListAdapterDataSource_objectsForListAdapter"}) {
        expected.insert(std::string("orig_") + hook);
        expected.insert(std::string("method_") + hook);
    }
    for (const char* cls :
         {"IGAccountSettingsViewController", "IGPost", "IGMainFeedListAdapterDataSource"})
        expected.insert(std::string("superclass_") + cls);
    expected.insert("method_IGAccountSettingsViewController_isTapped");
    EXPECT_EQ(exported, expected);
}

} // namespace
