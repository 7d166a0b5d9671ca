// A table of sections of rows, headless: every row is visible. The data
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
#include "UIKit/UITableViewCell.h"
#include "UIKit/UIView.h"

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

struct UITableView : UIView {
    OBJC_CLASS(UITableView, UIView)

    static constexpr CGFloat kAutomaticRowHeight = 44;
    // More rows than this in one section are not shown.
    static constexpr long kMaxRowsPerSection = 100000;

    static Ref<UITableView> tableViewWithStyle(CGRect frame, long style);
    UITableView* initWithFrame(CGRect frame, long style);

    long style() const { return _style; }
    id dataSource() const { return _dataSource; }
    void setDataSource(id dataSource);
    id delegate() const { return _delegate; }
    void setDelegate(id delegate);
    // The height of rows whose delegate gives none.
    CGFloat rowHeight() const { return _rowHeight; }
    void setRowHeight(CGFloat height) { _rowHeight = height; }

    // Forgets the rows (cells with a reuse identifier go back to the queue);
    // they are asked for again on next use.
    void reloadData();
    long numberOfSections();
    long numberOfRowsInSection(long section);
    // Titles from the data source, nil when it gives none.
    Ref<NSString> headerTitleForSection(long section);
    Ref<NSString> footerTitleForSection(long section);
    CGFloat heightForRow(NSIndexPath* path);
    // Row frames, section texts and content height as of the last layout.
    const TableLayout& tableLayout() const { return _layout; }

    // nil for a path outside the table.
    UITableViewCell* cellForRowAtIndexPath(NSIndexPath* path);
    Ref<NSIndexPath> indexPathForCell(const UITableViewCell* cell);
    Ref<NSArray> visibleCells();
    Ref<UITableViewCell> dequeueReusableCellWithIdentifier(const NSString* identifier);

    NSIndexPath* indexPathForSelectedRow() const { return _selected; }
    // Paths outside the table are ignored (answers false).
    bool selectRowAtIndexPath(NSIndexPath* path, bool animated, long scrollPosition);
    void deselectRowAtIndexPath(NSIndexPath* path, bool animated);
    // What the last selection and deselection call asked for, for tests.
    bool lastSelectAnimated() const { return _lastSelectAnimated; }
    long lastScrollPosition() const { return _lastScrollPosition; }
    bool lastDeselectAnimated() const { return _lastDeselectAnimated; }

    // A simulated tap: selects the row and tells the delegate
    // tableView:didSelectRowAtIndexPath:. A path outside the table does
    // nothing (answers false).
    bool tapRowAtIndexPath(NSIndexPath* path);

    // Messages.
    void layoutSubviews();

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
    bool _lastSelectAnimated = false;
    long _lastScrollPosition = UITableViewScrollPositionNone;
    bool _lastDeselectAnimated = false;
};
