#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "Foundation/NSNotificationCenter.h"
#include "Foundation/NSNumber.h"
#include "Foundation/NSUserDefaults.h"
#include "KLPreferences/KLPDeveloperCell.h"
#include "KLPreferences/KLPLinkCell.h"
#include "KLPreferences/KLPValueCell.h"
#include "KLPreferences/KLPViewSection.h"
#include "KLPreferences/KLPreferences.h"
#include "ObjectModel/Message.h"
#include "UIKit/UIApplication.h"
#include "tests/platform/UIKit/Support.h"

using uikit_support::DeselectCalls;
using uikit_support::pixelAt;
using uikit_support::ScreenTest;
using uikit_support::writePNG;

namespace {

// A table controller showing one section with the given cells, on screen.
Ref<KLPreferences> showCells(std::initializer_list<KLPCell*> cells) {
    Ref<KLPSection> section = KLPSection::sectionWithTitle(nullptr, nullptr);
    for (KLPCell* cell : cells)
        section->addCell(cell);
    Ref<KLPreferences> table = KLPreferences::tableWithSections(
        NSArray::arrayWithObjects({section.get()}), "T"_ns, nullptr);
    table->tableView()->layoutIfNeeded();
    return table;
}

} // namespace

using Cells = ScreenTest;

TEST_F(Cells, BaseCellShowsItsTitleOnlyInTheTextLabel) {
    Ref<KLPSettings> setting =
        KLPSettings::settingsWithKey("CellKey"_ns, NSNumber::numberWithBool(false));
    Ref<KLPCell> cell = KLPCell::cellWithTitle("Title"_ns, setting);
    EXPECT_EQ(cell->height(), 0);
    EXPECT_EQ(cell->textLabel()->text()->utf8(), "Title");
    EXPECT_FALSE(cell->title());
    EXPECT_TRUE(cell->clipsToBounds());
}

TEST_F(Cells, ChangeReportStoresThenCallsTheBlockThenPostsEvenWithoutAName) {
    Ref<KLPSettings> setting =
        KLPSettings::settingsWithKey("ReportKey"_ns, NSNumber::numberWithBool(false));
    Ref<KLPCell> cell = KLPCell::cellWithTitle("T"_ns, setting);
    Ref<NSObject> control = UIView::viewWithFrame(CGRectZero);
    std::vector<std::string> order;
    Ref<NSObject> token = NSNotificationCenter::defaultCenter()->addObserverForName(
        nullptr, control, [&](NSNotification* note) {
            order.push_back(std::string("post ") + (note->name() ? note->name()->utf8() : "(nil)"));
        });
    cell->reportChange(NSNumber::numberWithBool(true), control); // no block, no name
    cell->setValueChanged([&](NSObject* argument) {
        EXPECT_EQ(argument, control.get());
        EXPECT_TRUE(
            NSUserDefaults::standardUserDefaults()->boolForKey("ReportKey"_ns)); // stored first
        order.push_back("block");
    });
    cell->setPostNotification("Changed"_ns);
    Ref<NSObject> same = setting->value();
    cell->reportChange(same, control); // the very object stored: still block and post
    NSNotificationCenter::defaultCenter()->removeObserver(token);
    EXPECT_EQ(order, (std::vector<std::string>{"post (nil)", "block", "post Changed"}));
}

TEST_F(Cells, ValueCellShowsTitleAndDetailAndIgnoresTaps) {
    Ref<KLPValueCell> cell = KLPValueCell::cellWithTitle("Version"_ns, "1.0"_ns);
    EXPECT_EQ(cell->detailTextLabel()->text()->utf8(), "1.0");
    EXPECT_EQ(cell->accessoryType(), UITableViewCellAccessoryNone);
    EXPECT_EQ(cell->selectionStyle(), UITableViewCellSelectionStyleNone);
    Ref<KLPreferences> table = showCells({cell});
    EXPECT_TRUE(table->tableView()->tapRowAtIndexPath(NSIndexPath::indexPathForRow(0, 0)));
    EXPECT_FALSE(cell->isHighlighted());
    EXPECT_TRUE(table->tableView()->indexPathForSelectedRow()); // nobody deselects it
    EXPECT_FALSE(KLPValueCell::cellWithTitle("Absent"_ns, nullptr)->detailTextLabel()->text());
}

TEST_F(Cells, LinkCellsDeselectAnimatedAndCallTheirBlockOnce) {
    std::vector<NSObject*> calls;
    Ref<KLPLinkCell> silent = KLPLinkCell::cellWithTitle("Silent"_ns, nullptr);
    Ref<KLPLinkCell> link =
        KLPLinkCell::cellWithTitle("Link"_ns, [&](NSObject* cell) { calls.push_back(cell); });
    Ref<KLPreferences> table = showCells({silent, link});
    UITableView* view = table->tableView();
    DeselectCalls deselects;
    view->tapRowAtIndexPath(NSIndexPath::indexPathForRow(0, 0));
    EXPECT_FALSE(view->indexPathForSelectedRow());
    EXPECT_TRUE(lastAnimated(deselects));
    view->tapRowAtIndexPath(NSIndexPath::indexPathForRow(1, 0));
    EXPECT_FALSE(view->indexPathForSelectedRow());
    EXPECT_EQ(calls, std::vector<NSObject*>{link.get()});
}

TEST_F(Cells, CreditsCellRedrawsItsAvatarAtTheScreenScaleAndCutsItToACircle) {
    writePNG("/Library/avatar.png", 200, 100, 0, 1, 0);
    Ref<UIImage> image = UIImage::imageNamed("/Library/avatar.png"_ns);
    Ref<KLPDeveloperCell> cell =
        KLPDeveloperCell::cellWithTitle("Dev"_ns, "@dev"_ns, image, "https://example.com/dev"_ns);
    UIImage* avatar = cell->imageView()->image();
    ASSERT_TRUE(avatar);
    EXPECT_EQ(avatar->size(), CGSizeMake(35, 35));
    EXPECT_EQ(avatar->pixelWidth(), 70);
    EXPECT_EQ(pixelAt(avatar->surface(), 69, 0), 0xFF00FF00u);
    EXPECT_EQ(cell->image(), image.get());
    cell->setFrame(CGRectMake(0, 0, 320, 44));
    cell->layoutIfNeeded();
    EXPECT_DOUBLE_EQ(cell->imageView()->frame().size.width, 35);
    EXPECT_DOUBLE_EQ(cell->imageView()->layer()->cornerRadius(), 17.5);
    EXPECT_TRUE(cell->imageView()->clipsToBounds());
    Ref<KLPDeveloperCell> blank =
        KLPDeveloperCell::cellWithTitle("None"_ns, nullptr, nullptr, nullptr);
    EXPECT_EQ(pixelAt(blank->imageView()->image()->surface(), 35, 35), 0u); // transparent
}

TEST_F(Cells, CreditsCellTapsDeselectAndOpenTheURL) {
    std::vector<std::string> opened;
    UIApplication::sharedApplication()->setURLHandler([&](NSURL* url) {
        opened.push_back(url->absoluteString()->utf8());
        return true;
    });
    Ref<KLPDeveloperCell> good =
        KLPDeveloperCell::cellWithTitle("A"_ns, nullptr, nullptr, "https://example.com/a"_ns);
    Ref<KLPDeveloperCell> bad =
        KLPDeveloperCell::cellWithTitle("B"_ns, nullptr, nullptr, "not a url"_ns);
    Ref<KLPDeveloperCell> none = KLPDeveloperCell::cellWithTitle("C"_ns, nullptr, nullptr, nullptr);
    Ref<KLPreferences> table = showCells({good, bad, none});
    for (long row = 0; row < 3; ++row)
        table->tableView()->tapRowAtIndexPath(NSIndexPath::indexPathForRow(row, 0));
    EXPECT_FALSE(table->tableView()->indexPathForSelectedRow());
    UIApplication::sharedApplication()->setURLHandler({});
    EXPECT_EQ(opened, std::vector<std::string>{"https://example.com/a"});
}

TEST_F(Cells, SectionsKeepTheirCellsInOrder) {
    Ref<KLPSection> section = KLPSection::sectionWithTitle(nullptr, nullptr);
    ASSERT_TRUE(section->cells());
    EXPECT_EQ(section->cells()->count(), 0u);
    EXPECT_FALSE(section->headerTitle() || section->footerTitle());
    Ref<KLPCell> a = KLPCell::cellWithTitle("a"_ns, nullptr),
                 b = KLPCell::cellWithTitle("b"_ns, nullptr),
                 c = KLPCell::cellWithTitle("c"_ns, nullptr);
    section->addCell(a);
    section->addCells(NSArray::array());
    section->addCell(nullptr);
    EXPECT_EQ(section->cells()->count(), 1u);
    section->addCells(NSArray::arrayWithObjects({b.get(), c.get()}));
    ASSERT_EQ(section->cells()->count(), 3u);
    EXPECT_EQ(section->cells()->objectAtIndex(2), c.get());
}

TEST_F(Cells, ViewSectionBuildsOneSeparatorlessCell) {
    int inits = 0;
    std::vector<std::string> passes;
    Ref<KLPViewSection> section = KLPViewSection::sectionWithHeight(
        70,
        [&](UITableViewCell* cell) {
            ++inits;
            EXPECT_EQ(static_cast<KLPCell*>(cell)->height(), 70);
        },
        [&](UITableViewCell* cell) {
            passes.push_back(cell->contentView()->frame().size.width > 0 ? "after base"
                                                                         : "before base");
        });
    EXPECT_EQ(inits, 1);
    ASSERT_EQ(section->cells()->count(), 1u);
    EXPECT_FALSE(section->headerTitle() || section->footerTitle() || section->cellBlock());
    auto* cell = as<KLPViewCell>(section->cells()->objectAtIndex(0));
    ASSERT_TRUE(cell);
    EXPECT_TRUE(cell->hideSeperators());
    EXPECT_EQ(cell->selectionStyle(), UITableViewCellSelectionStyleNone);
    EXPECT_EQ(cell->accessoryType(), UITableViewCellAccessoryNone);
    EXPECT_FALSE(cell->textLabel()->text() || cell->setting());
    cell->setFrame(CGRectMake(0, 0, 320, 70));
    cell->layoutIfNeeded();
    cell->setFrame(CGRectMake(0, 0, 375, 70));
    cell->layoutIfNeeded();
    EXPECT_EQ(passes, (std::vector<std::string>{"after base", "after base"}));
    EXPECT_EQ(inits, 1);
    EXPECT_FALSE(cell->separatorView()->superview()); // refused at every pass
    Ref<KLPViewSection> absent = KLPViewSection::sectionWithHeight(10, nullptr, nullptr);
    auto* bare = static_cast<UITableViewCell*>(absent->cells()->objectAtIndex(0));
    bare->layoutIfNeeded(); // absent blocks are skipped
}

TEST_F(Cells, SeparatorFilterRefusesExactlyOneDevicePixel) {
    Ref<KLPViewCell> cell = KLPViewCell::cellWithHeight(
        44, [](UITableViewCell*) {}, nullptr);
    auto added = [&](CGFloat height) {
        Ref<UIView> view = UIView::viewWithFrame(CGRectMake(0, 0, 10, height));
        send(cell, "addSubview:"_sel, view.get());
        return view->superview() == cell.get();
    };
    EXPECT_TRUE(added(0.5)); // off: everything goes in
    cell->setHideSeperators(true);
    EXPECT_FALSE(added(0.5));
    EXPECT_TRUE(added(1.0));
    EXPECT_TRUE(added(0.0));
    send(cell, "addSubview:"_sel, static_cast<UIView*>(nullptr));
    UIScreen::mainScreen()->setScale(1.0);
    EXPECT_FALSE(added(1.0));
    EXPECT_TRUE(added(0.5));
}

TEST_F(Cells, ViewCellWithoutLayoutBlockLaysOutLikeItsBase) {
    int inits = 0;
    Ref<KLPViewCell> cell = KLPViewCell::cellWithHeight(
        30,
        [&](UITableViewCell* c) {
            ++inits;
            send(c, "addSubview:"_sel,
                 UIView::viewWithFrame(CGRectMake(0, 0, 5, 0.5)).get()); // never filtered here
        },
        nullptr);
    EXPECT_EQ(inits, 1);
    EXPECT_EQ(cell->subviews()->count(), 2u);
    cell->layoutIfNeeded();
    EXPECT_EQ(cell->separatorView()->superview(), cell.get());
}
