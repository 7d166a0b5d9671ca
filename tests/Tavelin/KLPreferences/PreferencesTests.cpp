#include <gtest/gtest.h>

#include <vector>

#include "Foundation/NSNumber.h"
#include "KLPreferences/KLPViewSection.h"
#include "KLPreferences/KLPreferences.h"
#include "ObjectModel/ClassBuilder.h"
#include "ObjectModel/Message.h"
#include "UIKit/ScreenText.h"
#include "UIKit/UINavigationController.h"
#include "tests/platform/UIKit/Support.h"

using uikit_support::DeselectCalls;
using uikit_support::ScreenTest;

namespace {

// A cell that counts the taps it is handed, and by whom.
struct TapCell : KLPCell {
    OBJC_CLASS(TapCell, KLPCell)
    void didSelectFromTable(UITableViewController* table) { tables.push_back(table); }
    std::vector<UITableViewController*> tables;
};

Ref<TapCell> tapCell(const char* title) {
    return make<TapCell>(&KLPCell::initWithTitle, NSString::string(title), nullptr);
}

} // namespace

const ClassInfo& TapCell::objcClassInfo() {
    static const ClassInfo info = ClassBuilder<TapCell>()
                                      .method<"didSelectFromTable:", &TapCell::didSelectFromTable>()
                                      .build();
    return info;
}

class Preferences : public ScreenTest {
  protected:
    void SetUp() override {
        ScreenTest::SetUp();
        accent = UIColor::colorWithRed(209 / 255.0f, 59 / 255.0f, 87 / 255.0f, 1);
        setting = KLPSettings::settingsWithKey("PrefKey"_ns, NSNumber::numberWithBool(false));
        first = KLPSection::sectionWithTitle("Head"_ns, "Foot"_ns);
        empty = KLPSection::sectionWithTitle(nullptr, "Only footer"_ns);
        plain = KLPCell::cellWithTitle("Plain"_ns, setting);
        tall = tapCell("Tall");
        tall->setHeight(70);
        first->addCells(NSArray::arrayWithObjects({plain.get(), tall.get()}));
        controller = KLPreferences::tableWithSections(
            NSArray::arrayWithObjects({first.get(), empty.get()}), "Tavelin"_ns, accent);
    }
    UITableView* table() { return controller->tableView(); }
    Ref<NSIndexPath> path(long row, long section) {
        return NSIndexPath::indexPathForRow(row, section);
    }

    Ref<UIColor> accent;
    Ref<KLPSettings> setting;
    Ref<KLPSection> first, empty;
    Ref<KLPCell> plain;
    Ref<TapCell> tall;
    Ref<KLPreferences> controller;
};

TEST_F(Preferences, ShowsSectionsTitlesAndTheClientsOwnCells) {
    EXPECT_EQ(table()->style(), UITableViewStyleGrouped);
    ASSERT_EQ(table()->numberOfSections(), 2);
    EXPECT_EQ(table()->numberOfRowsInSection(1), 0);
    EXPECT_EQ(table()->footerTitleForSection(1)->utf8(), "Only footer");
    EXPECT_FALSE(table()->headerTitleForSection(1));
    auto cellAt = [&](long row) {
        return send<Ref<UITableViewCell>>(controller, "tableView:cellForRowAtIndexPath:"_sel,
                                          table(), path(row, 0).get());
    };
    EXPECT_EQ(cellAt(0), plain);
    EXPECT_EQ(cellAt(0), cellAt(0));
    EXPECT_EQ(table()->cellForRowAtIndexPath(path(1, 0)), tall.get());
    EXPECT_FALSE(controller->cellForIndexPath(path(5, 0)));
    EXPECT_FALSE(controller->cellForIndexPath(path(0, 9)));
    Ref<KLPreferences> none = KLPreferences::tableWithSections(NSArray::array(), nullptr, nullptr);
    EXPECT_EQ(none->tableView()->numberOfSections(), 0);
}

TEST_F(Preferences, RowHeightsComeFromTheCellsWithAutomaticForZeroOrLess) {
    auto height = [&](long row) {
        return send<CGFloat>(controller, "tableView:heightForRowAtIndexPath:"_sel, table(),
                             path(row, 0).get());
    };
    EXPECT_DOUBLE_EQ(height(0), UITableViewAutomaticDimension);
    EXPECT_DOUBLE_EQ(height(1), 70);
    plain->setHeight(-5);
    EXPECT_DOUBLE_EQ(height(0), UITableViewAutomaticDimension);
    table()->layoutIfNeeded();
    EXPECT_DOUBLE_EQ(plain->frame().size.height, 44);
    EXPECT_DOUBLE_EQ(tall->frame().size.height, 70);
}

TEST_F(Preferences, TapsGoToTheCellWithTheControllerAndLeaveTheRowSelected) {
    EXPECT_TRUE(table()->tapRowAtIndexPath(path(1, 0)));
    EXPECT_EQ(tall->tables, std::vector<UITableViewController*>{controller.get()});
    EXPECT_TRUE(objectsEqual(table()->indexPathForSelectedRow(), path(1, 0)));
    EXPECT_TRUE(table()->tapRowAtIndexPath(path(0, 0))); // base cell: nothing happens
    EXPECT_EQ(tall->tables.size(), 1u);
}

TEST_F(Preferences, ColoursReachCellsSectionsAndViewsOnlyWhenTheScreenAppears) {
    EXPECT_FALSE(plain->tintUIColor());
    send(controller, "viewWillAppear:"_sel, false);
    for (UIColor* tint :
         {plain->tintUIColor(), tall->tintUIColor(), first->tintUIColor(), empty->tintUIColor(),
          controller->view()->tintColor(), table()->tintColor()})
        EXPECT_EQ(tint, accent.get());
    controller->setTintUIColor(nullptr);
    empty->setCells(nullptr); // skipped, as a message to nil would be
    controller->updateTintColors();
    EXPECT_FALSE(plain->tintUIColor());
    EXPECT_FALSE(empty->tintUIColor());
    EXPECT_FALSE(table()->tintColor());
}

TEST_F(Preferences, PlistPathReachesOnlyCellsWithSettingsAndIsNeverCleared) {
    setting->setFileSave("/kept.plist"_ns);
    controller->updateTintColors();
    EXPECT_EQ(setting->fileSave()->utf8(), "/kept.plist");
    controller->setPlistPath(""_ns);
    controller->updateTintColors();
    EXPECT_EQ(setting->fileSave()->utf8(), "/kept.plist");
    controller->setPlistPath("/prefs.plist"_ns);
    controller->updateTintColors();
    EXPECT_EQ(setting->fileSave()->utf8(), "/prefs.plist");
    EXPECT_FALSE(tall->setting());
}

TEST_F(Preferences, ReturningClearsTheSelectionAndAnAbandonedReturnRestoresIt) {
    Ref<UIViewController> root = make<UIViewController>(&UIViewController::init);
    Ref<UINavigationController> nav =
        UINavigationController::navigationControllerWithRootViewController(root);
    nav->pushViewController(controller, true);
    DeselectCalls deselects;
    uikit_support::CallRecorder<NSIndexPath*, bool, long> selects(
        UITableView::objcClass(), "selectRowAtIndexPath:animated:scrollPosition:"_sel);
    table()->tapRowAtIndexPath(path(1, 0));
    Ref<UIViewController> above = make<UIViewController>(&UIViewController::init);
    nav->pushViewController(above, true);
    nav->popViewControllerAnimated(true); // plain return
    EXPECT_FALSE(table()->indexPathForSelectedRow());
    EXPECT_TRUE(lastAnimated(deselects));

    table()->tapRowAtIndexPath(path(1, 0));
    nav->pushViewController(above, false);
    ASSERT_TRUE(nav->beginInteractivePop());
    EXPECT_FALSE(table()->indexPathForSelectedRow());
    ASSERT_TRUE(nav->cancelInteractivePop());
    EXPECT_TRUE(objectsEqual(table()->indexPathForSelectedRow(), path(1, 0)));
    EXPECT_TRUE(lastAnimated(selects));
    EXPECT_EQ(std::get<3>(selects.calls.back()), UITableViewScrollPositionNone);
    ASSERT_TRUE(nav->beginInteractivePop());
    ASSERT_TRUE(nav->finishInteractivePop());
    EXPECT_FALSE(table()->indexPathForSelectedRow());
    EXPECT_EQ(nav->topViewController(), controller.get());
}

TEST_F(Preferences, APoppedScreenFreesItsSectionsAndCells) {
    long before = liveObjects<KLPCell>();
    Ref<UINavigationController> nav =
        UINavigationController::navigationControllerWithRootViewController(
            make<UIViewController>(&UIViewController::init));
    {
        Ref<KLPSection> section = KLPSection::sectionWithTitle("S"_ns, nullptr);
        section->addCell(KLPCell::cellWithTitle("x"_ns, nullptr));
        Ref<KLPreferences> screen = KLPreferences::tableWithSections(
            NSArray::arrayWithObjects({section.get()}), nullptr, nullptr);
        send(nav, "pushViewController:animated:"_sel, static_cast<UIViewController*>(screen), true);
        screen->tableView()->tapRowAtIndexPath(NSIndexPath::indexPathForRow(0, 0));
    }
    nav->pushViewController(make<UIViewController>(&UIViewController::init), false);
    nav->beginInteractivePop(); // the screen registers a block that holds it
    nav->cancelInteractivePop();
    nav->popViewControllerAnimated(true);
    nav->popViewControllerAnimated(true);
    EXPECT_EQ(liveObjects<KLPreferences>(), 1); // the fixture's own
    EXPECT_EQ(liveObjects<KLPCell>(), before);
}

TEST_F(Preferences, ScreensDescribeThemselvesAsText) {
    Ref<KLPViewSection> banner = KLPViewSection::sectionWithHeight(
        70,
        [](UITableViewCell* cell) {
            Ref<UILabel> label = UILabel::labelWithFrame(CGRectZero);
            label->setText("Banner"_ns);
            cell->contentView()->addSubview(label);
        },
        nullptr);
    Ref<KLPreferences> screen = KLPreferences::tableWithSections(
        NSArray::arrayWithObjects({banner.get(), first.get()}), "Tavelin"_ns, accent);
    Ref<UINavigationController> nav =
        UINavigationController::navigationControllerWithRootViewController(
            make<UIViewController>(&UIViewController::init));
    nav->topViewController()->setTitle("Settings"_ns);
    nav->pushViewController(screen, false);
    EXPECT_EQ(screenText(nav)->utf8(),
              "< Settings | Tavelin | \n\n  Banner\n\n== Head ==\n  Plain\n  Tall\n    Foot\n");
}
