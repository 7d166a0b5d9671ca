// The library in the host through the real loader (each scenario in a child
// process): its settings button and screen, and other libraries beside it.

#include <cstdio>
#include <dlfcn.h>
#include <set>

#include "Foundation/NSDictionary.h"
#include "Foundation/NSNumber.h"
#include "ObjectModel/Message.h"
#include "UIKit/UIFont.h"
#include "UIKit/UISwitch.h"
#include "UIKit/UITableView.h"
#include "host/FeedFile.h"
#include "host/HostProgram.h"
#include "host/HostSession.h"
#include "host/IGAccountSettingsViewController.h"
#include "host/IGFeed.h"
#include "tests/host/InjectedHost.h"

namespace {

UIBarButtonItem* rightButton(UIViewController* controller) {
    return send<Ref<UINavigationItem>>(controller, "navigationItem"_sel)->rightBarButtonItem();
}

bool showsImage(UIBarButtonItem* item, const char* name) {
    NSString* shown = item && item->image() ? item->image()->name() : nullptr;
    return shown && shown->utf8().ends_with(name);
}

std::string text(NSString* string) {
    return string ? string->utf8() : "(nil)";
}

UITableView* shownTable(HostSession& session) {
    return as<UITableView>(send<Ref<UIView>>(session.top(), "view"_sel).get());
}

UITableViewCell* row(UITableView* table, long section, long index) {
    return table->cellForRowAtIndexPath(NSIndexPath::indexPathForRow(index, section));
}

std::vector<IGPost*> posts(NSArray* feed) {
    std::vector<IGPost*> found;
    for (NSObject* object : *feed)
        if (auto* post = as<IGPost>(object)) found.push_back(post);
    return found;
}

TEST(SettingsScreen, ThroughTheRealLoader) {
    EXPECT_IN_CHILD(([] {
        InjectedHost host;
        Ref<NSArray> feed = *loadFeed(HOST_FEED);
        std::ostringstream out;
        HostSession session(feed, hostCommands({}), out, HOST_FEED);
        session.run("settings");
        UIViewController* account = session.top();
        EXPECT_EQ(text(account->title()), "Settings") << "the host's own viewDidLoad ran";
        EXPECT_TRUE(showsImage(rightButton(account), "setting.png"));

        session.run("tap right");
        Ref<UIViewController> screen = session.top();
        ASSERT_STREQ(object_getClassName(screen.get()), "KLPreferences");
        EXPECT_EQ(text(screen->title()), "Tavelin");
        EXPECT_TRUE(showsImage(rightButton(screen), "heart.png"));
        EXPECT_FALSE(rightButton(screen)->tap()) << "the heart does nothing";
        UITableView* table = shownTable(session);
        ASSERT_TRUE(table && table->numberOfSections() == 4);
        EXPECT_EQ(table->footerTitleForSection(1)->length(), 131u);
        EXPECT_FALSE(table->footerTitleForSection(2));
        EXPECT_EQ(text(table->footerTitleForSection(3)), "🌹");
        EXPECT_EQ(table->heightForRow(NSIndexPath::indexPathForRow(0, 0)), 70);
        UITableViewCell* header = row(table, 0, 0);
        table->layoutIfNeeded();
        auto* title = as<UILabel>(header->contentView()->viewWithTag(9));
        ASSERT_TRUE(title);
        EXPECT_EQ(text(title->text()), "Tavelin");
        EXPECT_EQ(title->font()->pointSize(), 55);
        EXPECT_EQ(title->frame(), CGRectMake(0, -5, header->frame().size.width, 60));
        auto* toggle = as<UISwitch>(row(table, 1, 0)->accessoryView());
        ASSERT_TRUE(toggle);
        EXPECT_FALSE(toggle->isOn()) << "nothing stored: off";
        const UIColor::Components accent{209.0f / 255.0f, 59.0f / 255.0f, 87.0f / 255.0f, 1.0};
        EXPECT_EQ(title->textColor()->components(), accent);
        EXPECT_EQ(toggle->onTintColor()->components(), accent);

        // The flip is saved as a boolean and hides every coordinate at once.
        IGPost* post = posts(feed).front();
        EXPECT_TRUE(post->mediaCoord());
        session.run("flip \"Velin Mode\"");
        Ref<NSDictionary> saved = NSDictionary::dictionaryWithContentsOfFile(NSString::string(
            devicePath("/var/mobile/Library/Preferences/" + mainBundleIdentifier() + ".plist")));
        auto* stored = saved ? as<NSNumber>(saved->objectForKey("TVLSWitch1"_ns)) : nullptr;
        ASSERT_TRUE(stored);
        EXPECT_TRUE(stored->kind() == NSNumber::Kind::Bool && stored->boolValue());
        EXPECT_FALSE(post->mediaCoord()) << "no reload needed";
        session.run("tap \"Navro\"");
        EXPECT_NE(out.str().find("open URL: https://instagram.com/navrokelmasuti"),
                  std::string::npos);

        // Each tap builds a new screen; on no navigation stack it is built and discarded.
        session.run("back");
        session.run("tap right");
        EXPECT_NE(session.top(), screen.get());
        screen = nullptr;
        Ref<IGAccountSettingsViewController> alone = IGAccountSettingsViewController::controller();
        alone->view();
        EXPECT_TRUE(rightButton(alone)->tap());
        EXPECT_EQ(liveObjects("KLPreferences"), 1);
        session.run("back");
        for (const char* name : {"KLPreferences", "KLPSwitchCell", "KLPDeveloperCell", "KLPSection",
                                 "KLPViewSection", "KLPViewCell", "KLPSettings", "UISwitch"})
            EXPECT_EQ(liveObjects(name), 0) << name;
    }()));
}

template <class T> T probe(const char* name) {
    void* symbol = dlsym(RTLD_DEFAULT, name);
    EXPECT_NE(symbol, nullptr) << name;
    return symbol ? *static_cast<T*>(symbol) : T{};
}

TEST(InjectedLibraries, AReplacementInEachLayerSeesEveryCall) {
    EXPECT_IN_CHILD(([] {
        InjectedHost host(true, {{"ZZProbe", PROBE_LIBRARY}});
        Ref<NSArray> feed = *loadFeed(HOST_FEED);
        ASSERT_FALSE(posts(feed).empty());
        EXPECT_EQ(probe<int>("probe_setMediaCoordCalls"), static_cast<int>(posts(feed).size()));
        for (IGPost* post : posts(feed))
            EXPECT_FALSE(post->mediaCoord()) << "boolForKey: answers YES: no attribution";
        EXPECT_FALSE(NSUserDefaults::standardUserDefaults()->objectForKey("TVLSWitch1"_ns));

        std::ostringstream out;
        HostSession session(feed, hostCommands({}), out);
        session.run("settings");
        session.run("tap right");
        UITableView* table = shownTable(session);
        ASSERT_TRUE(table);
        table->layoutIfNeeded();
        auto frames = probe<std::vector<CGRect>>("probe_frames");
        for (long section = 0; section < table->numberOfSections(); ++section)
            for (long index = 0; index < table->numberOfRowsInSection(section); ++index) {
                EXPECT_EQ(table->heightForRow(NSIndexPath::indexPathForRow(index, section)), 120);
                UITableViewCell* cell = row(table, section, index);
                ASSERT_TRUE(cell);
                EXPECT_NE(std::find(frames.begin(), frames.end(), cell->frame()), frames.end());
            }
    }()));
}

TEST(InjectedLibraries, TwoCopiesOfTheLibraryBothInstall) {
    EXPECT_IN_CHILD(([] {
        InjectedHost host(true, {{"Tavelin2", TAVELIN_DYLIB}});
        Ref<NSArray> feed = *loadFeed(HOST_FEED);
        std::ostringstream out;
        HostSession session(feed, hostCommands({}), out);
        for (const char* command : {"show", "settings", "tap right", "flip \"Velin Mode\""})
            session.run(command);
        EXPECT_EQ(out.str().find("Sponsored"), std::string::npos) << out.str();
        EXPECT_STREQ(object_getClassName(session.top()), "KLPreferences");
        for (IGPost* post : posts(feed))
            EXPECT_FALSE(post->mediaCoord());
    }()));
}

TEST(InjectedLibraries, TheLibraryExportsOnlyItsEntryPoints) {
    FILE* pipe = popen(("nm -D --defined-only '" + std::string(TAVELIN_DYLIB) + "'").c_str(), "r");
    ASSERT_TRUE(pipe);
    std::set<std::string> exported;
    char address[64], kind[8], name[512];
    while (std::fscanf(pipe, "%63s %7s %511s", address, kind, name) == 3)
        exported.insert(name);
    EXPECT_EQ(pclose(pipe), 0);
    std::set<std::string> expected{"local_init", "register_hook",
                                   "method_IGAccountSettingsViewController_isTapped"};
    for (std::string hook :
         {"IGAccountSettingsViewController_viewDidLoad", "IGPost_mediaCoord",
          "IGPost_setMediaCoord", "IGMainFeedListAdapterDataSource_objectsForListAdapter"})
        expected.insert({"orig_" + hook, "method_" + hook});
    for (std::string cls :
         {"IGAccountSettingsViewController", "IGPost", "IGMainFeedListAdapterDataSource"})
        expected.insert("superclass_" + cls);
    EXPECT_EQ(exported, expected);
}

} // namespace
