// A table of sections of rows, headless: every row has its cell, and the
// table scrolls over them (a UIScrollView). The data
// source and the delegate (non-owning, any object) are asked by message; the
// optional methods only when they answer respondsToSelector:. Rows load on
// the first layout or query after reloadData. Layout puts every cell where
// the table shows it: inset groups in the grouped style, full width in the
// plain one.
#pragma once

#include <string>
#include <vector>

#include "Foundation/NSIndexPath.h"
#include "UIKit/TableLayout.h"
#include "UIKit/UIScrollView.h"
#include "UIKit/UITableViewCell.h"

enum UITableViewStyle : long {
    UITableViewStylePlain = 0,
    UITableViewStyleGrouped = 1,
};

enum UITableViewScrollPosition : long {
    UITableViewScrollPositionNone = 0,
    UITableViewScrollPositionTop = 1,
    UITableViewScrollPositionMiddle = 2,
    UITableViewScrollPositionBottom = 3,
};

// A row height that asks the table to choose: kAutomaticRowHeight.
inline constexpr CGFloat UITableViewAutomaticDimension = -1;

struct UITableView : UIScrollView {
    OBJC_CLASS(UITableView, UIScrollView)

    OBJC_METHOD(UITableView*, initWithFrame, "initWithFrame:style:", CGRect, long)
    // A plain table.
    OBJC_OVERRIDE(UIView*, initWithFrame, "initWithFrame:", CGRect)
    using UIView::initWithFrame;

    OBJC_READONLY(long, style)
    OBJC_READONLY(id, dataSource)
    // Reloads the data.
    OBJC_METHOD(void, setDataSource, "setDataSource:", id)
    OBJC_READONLY(id, delegate)
    OBJC_METHOD(void, setDelegate, "setDelegate:", id)
    // The height of rows whose delegate gives none.
    OBJC_PROPERTY(CGFloat, rowHeight, setRowHeight)

    // Forgets the rows (cells with a reuse identifier go back to the queue);
    // they are asked for again on next use.
    OBJC_METHOD(void, reloadData, "reloadData")
    OBJC_METHOD(long, numberOfSections, "numberOfSections")
    OBJC_METHOD(long, numberOfRowsInSection, "numberOfRowsInSection:", long)
    // nil for a path outside the table.
    OBJC_METHOD(UITableViewCell*, cellForRowAtIndexPath, "cellForRowAtIndexPath:", NSIndexPath*)
    OBJC_METHOD(Ref<NSIndexPath>, indexPathForCell, "indexPathForCell:", const UITableViewCell*)
    OBJC_METHOD(Ref<NSArray>, visibleCells, "visibleCells")
    // The row's rectangle in the table's content; CGRectZero outside the table.
    OBJC_METHOD(CGRect, rectForRowAtIndexPath, "rectForRowAtIndexPath:", NSIndexPath*)
    OBJC_METHOD(Ref<UITableViewCell>, dequeueReusableCellWithIdentifier,
                "dequeueReusableCellWithIdentifier:", const NSString*)
    OBJC_READONLY_AS(NSIndexPath*, selected, indexPathForSelectedRow)
    // Paths outside the table are ignored.
    OBJC_METHOD(void, selectRowAtIndexPath,
                "selectRowAtIndexPath:animated:scrollPosition:", NSIndexPath*, bool, long)
    OBJC_METHOD(void, deselectRowAtIndexPath, "deselectRowAtIndexPath:animated:", NSIndexPath*,
                bool)
    // Places every cell where the table shows it; the content size follows.
    OBJC_OVERRIDE(void, layoutSubviews, "layoutSubviews")

    static constexpr CGFloat kAutomaticRowHeight = 44;
    // More rows than this in one section are not shown.
    static constexpr long kMaxRowsPerSection = 100000;

    // C++ shorthand for [[UITableView alloc] initWithFrame:style:].
    static Ref<UITableView> tableViewWithStyle(CGRect frame, long style) {
        return make<UITableView>(static_cast<UITableView* (UITableView::*)(CGRect, long) const>(
                                     &UITableView::initWithFrame),
                                 frame, style);
    }

    // C++ helpers for layout and drawing: the data source's titles (nil when
    // it gives none), the delegate's row height, and the row frames, section
    // texts and content height as of the last layout.
    Ref<NSString> headerTitleForSection(long section);
    Ref<NSString> footerTitleForSection(long section);
    CGFloat heightForRow(NSIndexPath* path);
    const TableLayout& tableLayout() const { return _layout; }

    // A simulated tap: selects the row and tells the delegate
    // tableView:didSelectRowAtIndexPath:. A path outside the table does
    // nothing (answers false).
    bool tapRowAtIndexPath(NSIndexPath* path);

  private:
    struct Section {
        std::vector<Ref<UITableViewCell>> cells;
    };

    void loadIfNeeded();
    Ref<UITableViewCell> askCell(long section, long row);
    bool contains(NSIndexPath* path);
    void setCellSelected(NSIndexPath* path, bool selected);
    Ref<NSString> askTitle(SEL selector, long section);

    long _style = UITableViewStylePlain;
    id _dataSource = nullptr;
    id _delegate = nullptr;
    CGFloat _rowHeight = UITableViewAutomaticDimension;
    bool _loaded = false;
    std::vector<Section> _sections;
    TableLayout _layout;
    std::vector<Ref<UITableViewCell>> _reuseQueue;
    Ref<NSIndexPath> _selected;
};
