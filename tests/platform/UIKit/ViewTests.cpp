#include "Support.h"

using namespace uikit_support;

namespace {

// A data source with only the required methods, reusing its cells.
struct Rows : NSObject {
    OBJC_CLASS(Rows, NSObject)
    long number(UITableView*, long) { return rows; }
    Ref<UITableViewCell> cellAt(UITableView* table, NSIndexPath* path) {
        Ref<UITableViewCell> cell = table->dequeueReusableCellWithIdentifier("row"_ns);
        if (!cell) cell = UITableViewCell::cellWithStyle(UITableViewCellStyleValue1, "row"_ns);
        cell->textLabel()->setText(NSString::stringWithFormat("Row 0.%ld", path->row()));
        return cell;
    }
    long rows = 2;
};

// For rows that drop to one when the table asks for the last one's height.
CGFloat shrinkAtTheLastRow(id self, SEL, UITableView* table, NSIndexPath* path) {
    if (path->row() == 1) {
        static_cast<Rows*>(self)->rows = 1;
        table->reloadData();
    }
    return 50;
}

const ClassInfo& Rows::objcClassInfo() {
    static const ClassInfo info = ClassBuilder<Rows>()
                                      .method<"tableView:numberOfRowsInSection:", &Rows::number>()
                                      .method<"tableView:cellForRowAtIndexPath:", &Rows::cellAt>()
                                      .build();
    return info;
}

using Views = ScreenTest;

// A 320 x 480 plain table whose data source and delegate is a new `source`.
Ref<UITableView> tableOf(Ref<Rows>& source, Class cls = Rows::objcClass()) {
    source = Ref<Rows>::adopt(alloc<Rows>(cls));
    Ref<UITableView> table = UITableView::tableViewWithStyle(CGRectMake(0, 0, 320, 480), 0);
    table->setDataSource(source);
    table->setDelegate(source);
    return table;
}

// "First" over rows 0.0 and 0.1; row 1.0, 70 high, over a two-line footer.
Ref<SampleTable> twoSections(long style = UITableViewStyleGrouped) {
    Ref<SampleTable> table = sampleTable("Two", style);
    long value1 = UITableViewCellStyleValue1;
    table->sections = {{"First"_ns, nullptr, {cell(value1, "Row 0.0"), cell(value1, "Row 0.1")}},
                       {nullptr, "Line one\nLine two"_ns, {cell(value1, "Row 1.0")}, {70}}};
    return table;
}

Ref<NSIndexPath> row(long row, long section) {
    return NSIndexPath::indexPathForRow(row, section);
}

TEST_F(Views, SubviewsMoveBetweenSuperviewsRefuseCyclesAndInheritTheTint) {
    Ref<UIView> a = UIView::viewWithFrame(CGRectZero);
    Ref<UIView> b = UIView::viewWithFrame(CGRectZero);
    Ref<UIView> child = UIView::viewWithFrame(CGRectZero);
    child->setTag(9);
    send(a, "addSubview:"_sel, child.get());
    send(b, "addSubview:"_sel, child.get());
    EXPECT_EQ(a->subviews()->count(), 0u);
    EXPECT_EQ(b->viewWithTag(9), child.get());
    send(child, "addSubview:"_sel, b.get()); // an ancestor
    send(child, "addSubview:"_sel, child.get());
    send(child, "addSubview:"_sel, static_cast<UIView*>(nullptr));
    EXPECT_EQ(child->subviews()->count(), 0u);
    b->setTintColor(UIColor::grayColor());
    EXPECT_EQ(child->tintColor(), nullptr);
    EXPECT_EQ(child->effectiveTintColor(), b->tintColor());
    child->removeFromSuperview();
    EXPECT_EQ(child->superview(), nullptr);
    EXPECT_EQ(b->subviews()->count(), 0u);
}

TEST_F(Views, CellsLayOutByMessagePlacingImageLabelsAccessoryAndSeparator) {
    Ref<UITableViewCell> cell = UITableViewCell::cellWithStyle(UITableViewCellStyleValue1, nullptr);
    UIGraphicsBeginImageContextWithOptions(CGSizeMake(35, 35), false, 0);
    cell->imageView()->setImage(UIGraphicsGetImageFromCurrentImageContext());
    UIGraphicsEndImageContext();
    Ref<UIView> accessory = UIView::viewWithFrame(CGRectMake(0, 0, 51, 31));
    cell->setAccessoryView(accessory);
    CallRecorder<> layouts(UITableViewCell::objcClass(), "layoutSubviews"_sel);
    CallRecorder<UIView*> added(UIView::objcClass(), "addSubview:"_sel);
    auto toCell = [&](const auto& calls) {
        return std::count_if(calls.begin(), calls.end(),
                             [&](const auto& call) { return std::get<0>(call) == (id)cell.get(); });
    };
    cell->setFrame(CGRectMake(0, 0, 320, 44));
    cell->layoutIfNeeded();
    EXPECT_EQ(std::count(added.calls.begin(), added.calls.end(),
                         std::tuple<id, UIView*>(cell.get(), cell->separatorView())),
              1);
    EXPECT_DOUBLE_EQ(cell->separatorView()->frame().size.height, 0.5);
    EXPECT_EQ(cell->imageView()->frame(), CGRectMake(15, 4.5, 35, 35));
    EXPECT_EQ(accessory->superview(), cell.get());
    EXPECT_EQ(accessory->frame(), CGRectMake(254, 6.5, 51, 31));
    EXPECT_DOUBLE_EQ(cell->contentView()->frame().size.width, 254);
    EXPECT_DOUBLE_EQ(cell->textLabel()->frame().origin.x, 65);
    long adds = toCell(added.calls);
    cell->layoutIfNeeded(); // nothing marked: no pass
    EXPECT_EQ(toCell(layouts.calls), 1);
    cell->setFrame(CGRectMake(0, 0, 375, 44));
    cell->layoutIfNeeded();
    EXPECT_EQ(toCell(layouts.calls), 2);
    EXPECT_EQ(toCell(added.calls), adds) << "the separator is in place already";
    EXPECT_FALSE(
        UITableViewCell::cellWithStyle(UITableViewCellStyleDefault, nullptr)->detailTextLabel());
}

TEST_F(Views, TablesAskOptionalMethodsOnlyWhenAnsweredAndReloadThroughTheQueue) {
    Ref<Rows> rows;
    Ref<UITableView> table = tableOf(rows);
    EXPECT_EQ(table->numberOfSections(), 1);
    EXPECT_FALSE(table->headerTitleForSection(0));
    EXPECT_DOUBLE_EQ(table->heightForRow(row(1, 0)), 44);
    EXPECT_TRUE(table->tapRowAtIndexPath(row(1, 0))); // no didSelect: only selects
    EXPECT_TRUE(objectsEqual(table->indexPathForSelectedRow(), row(1, 0)));
    table->layoutIfNeeded();
    // A plain table's first section starts one section gap down.
    EXPECT_EQ(table->cellForRowAtIndexPath(row(1, 0))->frame(), CGRectMake(0, 35 + 44, 320, 44));
    // Reloading takes the cells off the table and gives them back through the queue.
    Ref<NSArray> before = table->visibleCells();
    rows->rows = 1;
    table->reloadData();
    table->layoutIfNeeded();
    EXPECT_EQ(table->subviews()->count(), 1u);
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

TEST_F(Views, TablesAnswerTitlesTapsAndTheirTextOnlyForRowsAndSectionsTheyHave) {
    Ref<SampleTable> rows = twoSections();
    UITableView* table = rows->tableView();
    EXPECT_EQ(table->headerTitleForSection(0)->utf8(), "First");
    EXPECT_FALSE(table->headerTitleForSection(1));
    EXPECT_FALSE(table->headerTitleForSection(7));
    Ref<NSIndexPath> last = row(0, 1);
    UITableViewCell* cell = table->cellForRowAtIndexPath(last);
    EXPECT_TRUE(objectsEqual(table->indexPathForCell(cell), last));
    EXPECT_TRUE(table->tapRowAtIndexPath(last));
    ASSERT_EQ(rows->tapped.size(), 1u);
    EXPECT_TRUE(objectsEqual(rows->tapped[0], last));
    EXPECT_TRUE(cell->isSelected());
    table->cellForRowAtIndexPath(row(1, 0))->setAccessoryType(UITableViewCellAccessoryCheckmark);
    EXPECT_EQ(screenTextOfTable(table)->utf8(), "\n== First ==\n  Row 0.0\n  Row 0.1  ✓\n"
                                                "\n* Row 1.0\n    Line one\n    Line two\n");
    for (auto [r, s] : {std::pair{2L, 0L}, {1L, 1L}, {-1L, 0L}, {0L, 2L}})
        EXPECT_FALSE(table->tapRowAtIndexPath(row(r, s))) << r << "." << s;
    EXPECT_FALSE(table->tapRowAtIndexPath(nullptr));
    EXPECT_EQ(rows->tapped.size(), 1u);
    table->deselectRowAtIndexPath(last, true);
    EXPECT_FALSE(table->indexPathForSelectedRow());
    EXPECT_FALSE(cell->isSelected());
}

// Header, rows, gap, rows, footer, for each width the table is given.
TEST_F(Views, GroupedTablesInsetTheirCellsAndPlainTablesSpanTheirWidth) {
    for (long style : {UITableViewStylePlain, UITableViewStyleGrouped}) {
        Ref<SampleTable> rows = twoSections(style);
        UITableView* table = rows->tableView();
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
                EXPECT_EQ(table->cellForRowAtIndexPath(row(r, 0))->frame(),
                          CGRectMake(inset, y, width - 2 * inset, 44));
            y += 35;
            EXPECT_EQ(table->cellForRowAtIndexPath(row(0, 1))->frame(),
                      CGRectMake(inset, y, width - 2 * inset, 70));
            // The two-line footer sits under its group, twice a line high.
            CGRect footer = layout.sections[1].footerRect;
            EXPECT_EQ(footer.origin, CGPointMake(inset + 15, y + 70 + 7));
            EXPECT_NEAR(footer.size.height, 2 * first.headerRect.size.height, 2);
            EXPECT_EQ(layout.contentHeight, CGRectGetMaxY(footer) + 35);
        }
    }
}

TEST_F(Views, DataSourcesThatReloadDuringLayoutOrGiveNoCellsLeaveTablesWhole) {
    Ref<Rows> rows;
    Ref<UITableView> table = tableOf(
        rows,
        subclassOf(Rows::objcClass(), "ShrinkingRows", "tableView:heightForRowAtIndexPath:"_sel,
                   toIMP(&shrinkAtTheLastRow), encoding<CGFloat, UITableView*, NSIndexPath*>()));
    table->layoutIfNeeded();
    ASSERT_EQ(table->numberOfRowsInSection(0), 1);
    UITableViewCell* cell = table->cellForRowAtIndexPath(row(0, 0));
    EXPECT_EQ(cell->superview(), table.get());
    EXPECT_EQ(cell->frame(), CGRectMake(0, 35, 320, 50));
    EXPECT_EQ(table->subviews()->count(), 1u) << "only the remaining row";
    // Missing cells become empty rows.
    Ref<SampleTable> missing = sampleTable("Missing");
    missing->sections = {{nullptr, nullptr, {nullptr, nullptr}}};
    UITableView* empty = missing->tableView();
    ASSERT_EQ(empty->visibleCells()->count(), 2u);
    EXPECT_FALSE(empty->cellForRowAtIndexPath(row(0, 0))->textLabel()->text());
    empty->setDataSource(nullptr);
    EXPECT_EQ(empty->numberOfSections(), 0);
}

TEST_F(Views, AReplacedSetFrameSeesEveryFrameThatLayoutGives) {
    Ref<SampleTable> rows = twoSections();
    UITableView* table = rows->tableView();
    UITableViewCell* first = table->cellForRowAtIndexPath(row(0, 0));
    first->setAccessoryView(UIView::viewWithFrame(CGRectMake(0, 0, 51, 31)));
    // The subclasses have been sent setFrame: already: the replacement reaches them.
    CallRecorder<CGRect> frames(UIView::objcClass(), "setFrame:"_sel);
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

} // namespace
