#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ObjectModel/ClassBuilder.h"
#include "ObjectModel/Message.h"
#include "Support.h"
#include "UIKit/ScreenText.h"
#include "UIKit/UITableView.h"

using uikit_support::ScreenTest;

namespace {

// Counts its layout passes and the views it is given.
struct CountingCell : UITableViewCell {
    OBJC_CLASS(CountingCell, UITableViewCell)
    void layoutSubviews() {
        ++layouts;
        sendSuper(this, UITableViewCell::objcClass(), "layoutSubviews"_sel);
    }
    void addSubview(UIView* view) {
        added.push_back(view);
        sendSuper(this, UITableViewCell::objcClass(), "addSubview:"_sel, view);
    }
    int layouts = 0;
    std::vector<UIView*> added;
};

// A data source with only the required methods, or with all of them.
struct Rows : NSObject {
    OBJC_CLASS(Rows, NSObject)
    long tableView_numberOfRowsInSection(UITableView*, long section) {
        return section == 0 ? rows : 1;
    }
    Ref<UITableViewCell> tableView_cellForRowAtIndexPath(UITableView* table, NSIndexPath* path) {
        Ref<UITableViewCell> cell = table->dequeueReusableCellWithIdentifier("row"_ns);
        if (!cell) cell = UITableViewCell::cellWithStyle(UITableViewCellStyleValue1, "row"_ns);
        cell->textLabel()->setText(
            NSString::stringWithFormat("Row %ld.%ld", path->section(), path->row()));
        return cell;
    }
    long rows = 2;
};

struct FullRows : Rows {
    OBJC_CLASS(FullRows, Rows)
    long numberOfSectionsInTableView(UITableView*) { return 2; }
    Ref<NSString> tableView_titleForHeaderInSection(UITableView*, long section) {
        return section == 0 ? "First"_ns : nullptr;
    }
    Ref<NSString> tableView_titleForFooterInSection(UITableView*, long section) {
        return section == 1 ? "Line one\nLine two"_ns : nullptr;
    }
    CGFloat tableView_heightForRowAtIndexPath(UITableView*, NSIndexPath* path) {
        return path->section() == 1 ? 70 : UITableViewAutomaticDimension;
    }
    void tableView_didSelectRowAtIndexPath(UITableView*, NSIndexPath* path) {
        tapped.emplace_back(path);
    }
    std::vector<Ref<NSIndexPath>> tapped;
};

// Rows that drop to one when the table asks for the last one's height.
struct ShrinkingRows : Rows {
    OBJC_CLASS(ShrinkingRows, Rows)
    CGFloat tableView_heightForRowAtIndexPath(UITableView* table, NSIndexPath* path) {
        if (path->row() == 1) {
            rows = 1;
            table->reloadData();
        }
        return 50;
    }
};

// Rows whose data source gives no cell at all.
struct NoCells : NSObject {
    OBJC_CLASS(NoCells, NSObject)
    long tableView_numberOfRowsInSection(UITableView*, long) { return 2; }
};

} // namespace

const ClassInfo& CountingCell::objcClassInfo() {
    static const ClassInfo info = ClassBuilder<CountingCell>()
                                      .method<"layoutSubviews", &CountingCell::layoutSubviews>()
                                      .method<"addSubview:", &CountingCell::addSubview>()
                                      .build();
    return info;
}

const ClassInfo& Rows::objcClassInfo() {
    static const ClassInfo info =
        ClassBuilder<Rows>()
            .method<"tableView:numberOfRowsInSection:", &Rows::tableView_numberOfRowsInSection>()
            .method<"tableView:cellForRowAtIndexPath:", &Rows::tableView_cellForRowAtIndexPath>()
            .build();
    return info;
}

const ClassInfo& FullRows::objcClassInfo() {
    static const ClassInfo info =
        ClassBuilder<FullRows>()
            .method<"numberOfSectionsInTableView:", &FullRows::numberOfSectionsInTableView>()
            .method<"tableView:titleForHeaderInSection:",
                    &FullRows::tableView_titleForHeaderInSection>()
            .method<"tableView:titleForFooterInSection:",
                    &FullRows::tableView_titleForFooterInSection>()
            .method<"tableView:heightForRowAtIndexPath:",
                    &FullRows::tableView_heightForRowAtIndexPath>()
            .method<"tableView:didSelectRowAtIndexPath:",
                    &FullRows::tableView_didSelectRowAtIndexPath>()
            .build();
    return info;
}

const ClassInfo& ShrinkingRows::objcClassInfo() {
    static const ClassInfo info = ClassBuilder<ShrinkingRows>()
                                      .method<"tableView:heightForRowAtIndexPath:",
                                              &ShrinkingRows::tableView_heightForRowAtIndexPath>()
                                      .build();
    return info;
}

const ClassInfo& NoCells::objcClassInfo() {
    static const ClassInfo info =
        ClassBuilder<NoCells>()
            .method<"tableView:numberOfRowsInSection:", &NoCells::tableView_numberOfRowsInSection>()
            .build();
    return info;
}

using Views = ScreenTest;

template <class Source>
Ref<UITableView> tableOf(Ref<Source>& source, long style = UITableViewStylePlain) {
    source = Ref<Source>::adopt(alloc<Source>());
    Ref<UITableView> table = UITableView::tableViewWithStyle(CGRectMake(0, 0, 320, 480), style);
    table->setDataSource(source);
    return table;
}

TEST_F(Views, SubviewsMoveBetweenSuperviewsAndRefuseCycles) {
    Ref<UIView> a = UIView::viewWithFrame(CGRectZero);
    Ref<UIView> b = UIView::viewWithFrame(CGRectZero);
    Ref<UIView> child = UIView::viewWithFrame(CGRectZero);
    child->setTag(9);
    send(a, "addSubview:"_sel, child.get());
    send(b, "addSubview:"_sel, child.get());
    EXPECT_EQ(a->subviews()->count(), 0u);
    EXPECT_EQ(child->superview(), b.get());
    EXPECT_EQ(b->viewWithTag(9), child.get());
    EXPECT_EQ(a->viewWithTag(9), nullptr);
    send(child, "addSubview:"_sel, b.get()); // an ancestor
    send(child, "addSubview:"_sel, child.get());
    send(child, "addSubview:"_sel, static_cast<UIView*>(nullptr));
    EXPECT_EQ(child->subviews()->count(), 0u);
    child->removeFromSuperview();
    EXPECT_EQ(child->superview(), nullptr);
    EXPECT_EQ(b->subviews()->count(), 0u);
}

TEST_F(Views, TintColourIsOwnOrInherited) {
    Ref<UIView> parent = UIView::viewWithFrame(CGRectZero);
    Ref<UIView> child = UIView::viewWithFrame(CGRectZero);
    parent->addSubview(child);
    parent->setTintColor(UIColor::grayColor());
    EXPECT_EQ(child->tintColor(), nullptr);
    EXPECT_EQ(child->effectiveTintColor(), parent->tintColor());
}

TEST_F(Views, CellsLayOutByMessageAndAddTheirSeparatorThroughAddSubview) {
    Ref<CountingCell> cell =
        make<CountingCell>(&CountingCell::initWithStyle, long{UITableViewCellStyleValue1}, nullptr);
    ASSERT_TRUE(cell->detailTextLabel());
    cell->added.clear();
    cell->setFrame(CGRectMake(0, 0, 320, 44));
    cell->layoutIfNeeded();
    EXPECT_EQ(cell->layouts, 1);
    ASSERT_EQ(cell->added.size(), 1u);
    EXPECT_EQ(cell->added[0], cell->separatorView());
    EXPECT_DOUBLE_EQ(cell->separatorView()->frame().size.height, 0.5);
    cell->layoutIfNeeded(); // nothing marked: no pass
    EXPECT_EQ(cell->layouts, 1);
    cell->setFrame(CGRectMake(0, 0, 375, 44));
    cell->layoutIfNeeded();
    EXPECT_EQ(cell->layouts, 2);
    EXPECT_EQ(cell->added.size(), 1u); // the separator is in place already
    EXPECT_FALSE(
        UITableViewCell::cellWithStyle(UITableViewCellStyleDefault, nullptr)->detailTextLabel());
}

TEST_F(Views, CellsPlaceImageLabelsAndAccessory) {
    Ref<UITableViewCell> cell = UITableViewCell::cellWithStyle(UITableViewCellStyleValue1, nullptr);
    UIGraphicsBeginImageContextWithOptions(CGSizeMake(35, 35), false, 0);
    cell->imageView()->setImage(UIGraphicsGetImageFromCurrentImageContext());
    UIGraphicsEndImageContext();
    Ref<UIView> accessory = UIView::viewWithFrame(CGRectMake(0, 0, 51, 31));
    cell->setAccessoryView(accessory);
    cell->setFrame(CGRectMake(0, 0, 320, 44));
    cell->layoutIfNeeded();
    EXPECT_EQ(cell->imageView()->frame(), CGRectMake(15, 4.5, 35, 35));
    EXPECT_EQ(accessory->superview(), cell.get());
    EXPECT_EQ(accessory->frame(), CGRectMake(254, 6.5, 51, 31));
    EXPECT_DOUBLE_EQ(cell->contentView()->frame().size.width, 254);
    EXPECT_DOUBLE_EQ(cell->textLabel()->frame().origin.x, 65);
}

TEST_F(Views, TablesAskOptionalDataSourceMethodsOnlyWhenAnswered) {
    Ref<Rows> rows;
    Ref<UITableView> table = tableOf(rows);
    table->setDelegate(rows);
    EXPECT_EQ(table->numberOfSections(), 1);
    EXPECT_EQ(table->numberOfRowsInSection(0), 2);
    EXPECT_FALSE(table->headerTitleForSection(0));
    Ref<NSIndexPath> second = NSIndexPath::indexPathForRow(1, 0);
    EXPECT_DOUBLE_EQ(table->heightForRow(second), 44);
    EXPECT_TRUE(table->tapRowAtIndexPath(second)); // no didSelect: only selects
    EXPECT_TRUE(objectsEqual(table->indexPathForSelectedRow(), second));
    table->layoutIfNeeded();
    // A plain table's first section starts one section gap down.
    EXPECT_EQ(table->cellForRowAtIndexPath(second)->frame(), CGRectMake(0, 35 + 44, 320, 44));
}

TEST_F(Views, TablesAnswerSectionsTitlesHeightsAndTaps) {
    Ref<FullRows> rows;
    Ref<UITableView> table = tableOf(rows, UITableViewStyleGrouped);
    table->setDelegate(rows);
    ASSERT_EQ(table->numberOfSections(), 2);
    EXPECT_EQ(table->headerTitleForSection(0)->utf8(), "First");
    EXPECT_FALSE(table->headerTitleForSection(1));
    EXPECT_FALSE(table->headerTitleForSection(7));
    Ref<NSIndexPath> last = NSIndexPath::indexPathForRow(0, 1);
    EXPECT_DOUBLE_EQ(table->heightForRow(last), 70);
    UITableViewCell* cell = table->cellForRowAtIndexPath(last);
    EXPECT_TRUE(objectsEqual(table->indexPathForCell(cell), last));
    EXPECT_TRUE(table->tapRowAtIndexPath(last));
    ASSERT_EQ(rows->tapped.size(), 1u);
    EXPECT_TRUE(objectsEqual(rows->tapped[0], last));
    EXPECT_TRUE(cell->isSelected());
    EXPECT_FALSE(table->tapRowAtIndexPath(NSIndexPath::indexPathForRow(5, 1)));
    EXPECT_FALSE(table->tapRowAtIndexPath(NSIndexPath::indexPathForRow(-1, 0)));
    EXPECT_FALSE(table->tapRowAtIndexPath(nullptr));
    EXPECT_EQ(rows->tapped.size(), 1u);
    table->deselectRowAtIndexPath(last, true);
    EXPECT_FALSE(table->indexPathForSelectedRow());
    EXPECT_FALSE(cell->isSelected());
}

// Header, rows, gap, rows, footer, for each width the table is given.
TEST_F(Views, GroupedTablesInsetTheirCellsAndPlainTablesSpanTheirWidth) {
    for (long style : {UITableViewStylePlain, UITableViewStyleGrouped}) {
        Ref<FullRows> rows;
        Ref<UITableView> table = tableOf(rows, style);
        table->setDelegate(rows);
        for (CGFloat width : {320.0, 414.0}) {
            SCOPED_TRACE(testing::Message() << "style " << style << ", width " << width);
            table->setFrame(CGRectMake(0, 0, width, 480));
            table->layoutIfNeeded();
            CGFloat inset = style == UITableViewStyleGrouped ? (width < 414 ? 16 : 20) : 0;
            const TableLayout& layout = table->tableLayout();
            ASSERT_EQ(layout.sections.size(), 2u);
            const TableSectionLayout& first = layout.sections[0];
            EXPECT_EQ(first.header, "FIRST");
            EXPECT_EQ(first.headerRect.origin, CGPointMake(inset + 15, 22));
            EXPECT_GT(first.headerRect.size.height, 10);
            CGFloat y = CGRectGetMaxY(first.headerRect) + 7;
            for (long r = 0; r < 2; ++r, y += 44)
                EXPECT_EQ(table->cellForRowAtIndexPath(NSIndexPath::indexPathForRow(r, 0))->frame(),
                          CGRectMake(inset, y, width - 2 * inset, 44));
            y += 35;
            EXPECT_EQ(table->cellForRowAtIndexPath(NSIndexPath::indexPathForRow(0, 1))->frame(),
                      CGRectMake(inset, y, width - 2 * inset, 70));
            // The two-line footer sits under its group, twice a line high.
            CGRect footer = layout.sections[1].footerRect;
            EXPECT_EQ(footer.origin, CGPointMake(inset + 15, y + 70 + 7));
            EXPECT_NEAR(footer.size.height, 2 * first.headerRect.size.height, 2);
            EXPECT_EQ(layout.contentHeight, CGRectGetMaxY(footer) + 35);
        }
    }
}

TEST_F(Views, ReloadPutsCellsBackInTheQueueForTheDataSource) {
    Ref<Rows> rows;
    Ref<UITableView> table = tableOf(rows);
    Ref<NSArray> before = table->visibleCells();
    rows->rows = 3;
    table->reloadData();
    Ref<NSArray> after = table->visibleCells();
    ASSERT_EQ(after->count(), 3u);
    EXPECT_TRUE(after->containsObject(before->objectAtIndex(0)));
    EXPECT_TRUE(after->containsObject(before->objectAtIndex(1)));
    EXPECT_EQ(static_cast<UITableViewCell*>(after->objectAtIndex(2))->textLabel()->text()->utf8(),
              "Row 0.2");
    EXPECT_FALSE(table->dequeueReusableCellWithIdentifier("row"_ns));
}

TEST_F(Views, ADataSourceThatReloadsDuringLayoutLeavesOnlyItsNewRowsPlaced) {
    Ref<ShrinkingRows> rows;
    Ref<UITableView> table = tableOf(rows);
    table->setDelegate(rows);
    table->layoutIfNeeded();
    ASSERT_EQ(table->numberOfRowsInSection(0), 1);
    UITableViewCell* cell = table->cellForRowAtIndexPath(NSIndexPath::indexPathForRow(0, 0));
    EXPECT_EQ(cell->superview(), table.get());
    EXPECT_EQ(cell->frame(), CGRectMake(0, 35, 320, 50));
    EXPECT_EQ(table->subviews()->count(), 1u) << "only the remaining row";
}

TEST_F(Views, MissingCellsBecomeEmptyRows) {
    Ref<NoCells> source;
    Ref<UITableView> table = tableOf(source);
    ASSERT_EQ(table->visibleCells()->count(), 2u);
    EXPECT_FALSE(
        table->cellForRowAtIndexPath(NSIndexPath::indexPathForRow(0, 0))->textLabel()->text());
    table->setDataSource(nullptr);
    EXPECT_EQ(table->numberOfSections(), 0);
}

TEST_F(Views, TablesDescribeThemselvesAsText) {
    Ref<FullRows> rows;
    Ref<UITableView> table = tableOf(rows, UITableViewStyleGrouped);
    table->cellForRowAtIndexPath(NSIndexPath::indexPathForRow(1, 0))
        ->setAccessoryType(UITableViewCellAccessoryCheckmark);
    table->selectRowAtIndexPath(NSIndexPath::indexPathForRow(0, 1), false,
                                UITableViewScrollPositionNone);
    EXPECT_EQ(screenTextOfTable(table)->utf8(), "\n== First ==\n  Row 0.0\n  Row 0.1  ✓\n"
                                                "\n* Row 1.0\n    Line one\n    Line two\n");
}

TEST_F(Views, AReplacedSetFrameSeesEveryFrameThatLayoutGives) {
    Ref<FullRows> rows;
    Ref<UITableView> table = tableOf(rows, UITableViewStyleGrouped);
    table->setDelegate(rows);
    UITableViewCell* first = table->cellForRowAtIndexPath(NSIndexPath::indexPathForRow(0, 0));
    first->setAccessoryView(UIView::viewWithFrame(CGRectMake(0, 0, 51, 31)));
    // The subclasses have been sent setFrame: already: the replacement reaches them.
    uikit_support::CallRecorder<CGRect> frames(UIView::objcClass(), "setFrame:"_sel);
    table->layoutIfNeeded();
    auto seen = [&](UIView* view) {
        return std::count(frames.calls.begin(), frames.calls.end(),
                          std::tuple<id, CGRect>(view, view->frame()));
    };
    EXPECT_TRUE(seen(first->accessoryView()));
    Ref<NSArray> cells = table->visibleCells();
    for (NSObject* row : *cells) {
        auto* cell = static_cast<UITableViewCell*>(row);
        for (UIView* view : std::initializer_list<UIView*>{
                 cell, cell->contentView(), cell->textLabel(), cell->detailTextLabel(),
                 cell->imageView(), cell->separatorView()})
            EXPECT_TRUE(seen(view)) << object_getClassName(view);
    }
}
