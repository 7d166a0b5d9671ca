#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "Foundation/DeviceRoot.h"
#include "Foundation/NSDictionary.h"
#include "Foundation/NSNumber.h"
#include "ObjectModel/Message.h"
#include "UIKit/UIFont.h"
#include "UIKit/UISwitch.h"
#include "UIKit/UITableView.h"
#include "host/FeedFile.h"
#include "host/HostClasses.h"
#include "host/HostSession.h"
#include "host/IGAccountSettingsViewController.h"
#include "host/IGFeed.h"
#include "host/IGMainFeedViewController.h"
#include "tests/host/InjectedHost.h"

namespace {

std::string imageName(UIBarButtonItem* item) {
    return item && item->image() && item->image()->name() ? item->image()->name()->utf8() : "";
}

UIBarButtonItem* rightButton(UIViewController* controller) {
    return send<Ref<UINavigationItem>>(controller, "navigationItem"_sel)->rightBarButtonItem();
}

std::string text(NSString* string) {
    return string ? string->utf8() : "(nil)";
}

UITableViewCell* row(UITableView* table, long section, long index) {
    return table->cellForRowAtIndexPath(NSIndexPath::indexPathForRow(index, section));
}

void expectAccent(UIColor* color) {
    ASSERT_TRUE(color);
    UIColor::Components expected{209.0f / 255.0f, 59.0f / 255.0f, 87.0f / 255.0f, 1.0};
    EXPECT_EQ(color->components(), expected);
    EXPECT_EQ(color->components().red, 0.8196078538894653);
}

void expectSectionTexts(UITableView* table) {
    ASSERT_EQ(table->numberOfSections(), 4);
    EXPECT_EQ(table->style(), UITableViewStyleGrouped);
    Ref<NSString> footer = table->footerTitleForSection(1);
    ASSERT_TRUE(footer);
    EXPECT_EQ(footer->length(), 131u);
    EXPECT_TRUE(footer->utf8().starts_with(
        "Explore Instagram timeline without knowing photos and videos owners \n "));
    EXPECT_FALSE(table->footerTitleForSection(2));
    EXPECT_EQ(text(table->footerTitleForSection(3)), "🌹");
    // The switch row; the other rows' texts are checked by the reference pictures.
    EXPECT_EQ(text(row(table, 1, 0)->textLabel()->text()), "Velin Mode");
}

void expectHeader(UITableView* table) {
    EXPECT_EQ(table->numberOfRowsInSection(0), 1);
    EXPECT_EQ(table->heightForRow(NSIndexPath::indexPathForRow(0, 0)), 70);
    UITableViewCell* header = row(table, 0, 0);
    table->layoutIfNeeded();
    auto* label = as<UILabel>(header->contentView()->viewWithTag(9));
    ASSERT_TRUE(label);
    EXPECT_EQ(text(label->text()), "Tavelin");
    EXPECT_EQ(label->textAlignment(), NSTextAlignmentCenter);
    EXPECT_EQ(label->font()->pointSize(), 55);
    expectAccent(label->textColor());
    EXPECT_EQ(header->backgroundColor()->components().alpha, 0);
    EXPECT_EQ(label->frame(), CGRectMake(0, -5, header->frame().size.width, 60));
}

IGPost* firstPost(NSArray* feed) {
    for (NSObject* object : *feed)
        if (auto* post = as<IGPost>(object)) return post;
    return nullptr;
}

void settingsScreenThroughTheLoader() {
    InjectedHost host;
    Ref<NSArray> feed = loadFeed(HOST_FEED);
    std::ostringstream out;
    auto session = std::make_unique<HostSession>(feed, out, HOST_FEED);
    session->run("settings");
    UIViewController* account = session->top();
    ASSERT_TRUE(as<IGAccountSettingsViewController>(account));
    EXPECT_TRUE(imageName(rightButton(account)).ends_with("setting.png"));
    EXPECT_TRUE(sel_isEqual(rightButton(account)->action(), "isTapped:"_sel));

    session->run("tap right");
    UIViewController* screen = session->top();
    ASSERT_STREQ(object_getClassName(screen), "KLPreferences");
    EXPECT_EQ(text(screen->title()), "Tavelin");
    EXPECT_TRUE(imageName(rightButton(screen)).ends_with("heart.png"));
    EXPECT_FALSE(rightButton(screen)->action());
    EXPECT_FALSE(rightButton(screen)->tap()) << "the heart does nothing";
    auto* table = as<UITableView>(send<Ref<UIView>>(screen, "view"_sel).get());
    ASSERT_TRUE(table);
    expectSectionTexts(table);
    expectHeader(table);
    auto* toggle = as<UISwitch>(row(table, 1, 0)->accessoryView());
    ASSERT_TRUE(toggle);
    EXPECT_FALSE(toggle->isOn()) << "nothing stored: off";
    expectAccent(toggle->onTintColor());

    IGPost* post = firstPost(feed);
    ASSERT_TRUE(post);
    EXPECT_TRUE(send<Ref<NSObject>>(post, "mediaCoord"_sel));
    session->run("flip \"Velin Mode\"");
    Ref<NSDictionary> saved = NSDictionary::dictionaryWithContentsOfFile(NSString::string(
        devicePath("/var/mobile/Library/Preferences/" + mainBundleIdentifier() + ".plist")));
    ASSERT_TRUE(saved);
    auto* stored = as<NSNumber>(saved->objectForKey("TVLSWitch1"_ns));
    ASSERT_TRUE(stored);
    EXPECT_EQ(stored->kind(), NSNumber::Kind::Bool);
    EXPECT_TRUE(stored->boolValue());
    EXPECT_FALSE(send<Ref<NSObject>>(post, "mediaCoord"_sel)) << "no reload needed";

    session->run("tap \"Navro\"");
    EXPECT_NE(out.str().find("open URL: https://instagram.com/navrokelmasuti"), std::string::npos);
    session->run("back");
    session->run("feed");

    // Posts made while Velin Mode is on keep no attribution after it goes off, until a refresh.
    session->run("refresh");
    session->run("settings");
    session->run("tap right");
    session->run("flip \"Velin Mode\"");
    session->run("feed");
    auto* feedScreen = as<IGMainFeedViewController>(session->top());
    ASSERT_TRUE(feedScreen);
    IGPost* reloaded = firstPost(feedScreen->shownObjects());
    ASSERT_TRUE(reloaded && reloaded != post);
    EXPECT_FALSE(reloaded->mediaCoord());
    session->run("refresh");
    EXPECT_TRUE(firstPost(feedScreen->shownObjects())->mediaCoord());
    for (const char* name : {"KLPreferences", "KLPSwitchCell", "KLPDeveloperCell", "KLPSection",
                             "KLPViewSection", "KLPViewCell", "KLPSettings", "UISwitch"})
        EXPECT_EQ(liveObjects(name), 0) << name;
}

TEST(SettingsScreen, ThroughTheRealLoader) {
    EXPECT_IN_CHILD(settingsScreenThroughTheLoader());
}

void eachTapBuildsANewScreenAndNoNavigationDoesNothing() {
    InjectedHost host;
    std::ostringstream out;
    HostSession session(NSArray::array(), out);
    session.run("settings");
    session.run("tap right");
    Ref<UIViewController> first = session.top();
    session.run("back");
    session.run("tap right");
    EXPECT_NE(session.top(), first.get());
    EXPECT_EQ(liveObjects("KLPreferences"), 2);
    first = nullptr;
    EXPECT_EQ(liveObjects("KLPreferences"), 1);

    // An account settings screen on no navigation stack: the push goes to nil.
    Ref<IGAccountSettingsViewController> alone = IGAccountSettingsViewController::controller();
    alone->view();
    EXPECT_TRUE(imageName(rightButton(alone)).ends_with("setting.png"));
    EXPECT_TRUE(rightButton(alone)->tap());
    EXPECT_EQ(liveObjects("KLPreferences"), 1) << "built, then discarded";
}

TEST(SettingsScreen, EachTapBuildsANewScreen) {
    EXPECT_IN_CHILD(eachTapBuildsANewScreenAndNoNavigationDoesNothing());
}

} // namespace
