#include "UIKit/UITableView.h"

#include <algorithm>
#include <cmath>

#include "ObjectModel/ClassBuilder.h"
#include "ObjectModel/Message.h"

namespace {

bool answers(id object, SEL selector) {
    return object && static_cast<NSObject*>(object)->respondsToSelector(selector);
}

} // namespace

Ref<UITableView> UITableView::tableViewWithStyle(CGRect frame, long style) {
    return make<UITableView>(&UITableView::initWithFrame, frame, style);
}

UITableView* UITableView::initWithFrame(CGRect frame, long style) {
    UIView::initWithFrame(frame);
    _style = style;
    return this;
}

void UITableView::setDataSource(id dataSource) {
    _dataSource = dataSource;
    reloadData();
}

void UITableView::setDelegate(id delegate) {
    _delegate = delegate;
    setNeedsLayout();
}

void UITableView::reloadData() {
    for (Section& section : _sections)
        for (Ref<UITableViewCell>& cell : section.cells) {
            cell->removeFromSuperview();
            cell->setSelected(false);
            if (cell->reuseIdentifier()) _reuseQueue.push_back(std::move(cell));
        }
    _sections.clear();
    _selected = nullptr;
    _loaded = false;
    setNeedsLayout();
}

void UITableView::loadIfNeeded() {
    if (_loaded) return;
    _loaded = true;
    long sections = 1;
    if (answers(_dataSource, "numberOfSectionsInTableView:"_sel))
        sections = send<long>(_dataSource, "numberOfSectionsInTableView:"_sel, this);
    if (!answers(_dataSource, "tableView:numberOfRowsInSection:"_sel)) sections = 0;
    _sections.resize(std::max(0L, sections));
    for (long s = 0; s < static_cast<long>(_sections.size()); ++s) {
        long rows = send<long>(_dataSource, "tableView:numberOfRowsInSection:"_sel, this, s);
        rows = std::clamp(rows, 0L, kMaxRowsPerSection);
        for (long r = 0; r < rows; ++r)
            _sections[s].cells.push_back(askCell(s, r));
    }
}

// A data source that gives no cell gets an empty row in its place.
Ref<UITableViewCell> UITableView::askCell(long section, long row) {
    Ref<NSIndexPath> path = NSIndexPath::indexPathForRow(row, section);
    Ref<UITableViewCell> cell;
    if (answers(_dataSource, "tableView:cellForRowAtIndexPath:"_sel))
        cell = send<Ref<UITableViewCell>>(_dataSource, "tableView:cellForRowAtIndexPath:"_sel, this,
                                          path.get());
    if (!as<UITableViewCell>(cell.get()))
        cell = UITableViewCell::cellWithStyle(UITableViewCellStyleDefault, nullptr);
    return cell;
}

long UITableView::numberOfSections() {
    loadIfNeeded();
    return static_cast<long>(_sections.size());
}

long UITableView::numberOfRowsInSection(long section) {
    loadIfNeeded();
    if (section < 0 || section >= numberOfSections()) return 0;
    return static_cast<long>(_sections[section].cells.size());
}

Ref<NSString> UITableView::askTitle(SEL selector, long section) {
    if (section < 0 || section >= numberOfSections() || !answers(_dataSource, selector))
        return nullptr;
    Ref<NSString> title = send<Ref<NSString>>(_dataSource, selector, this, section);
    return as<NSString>(title.get()) ? title : nullptr;
}

Ref<NSString> UITableView::headerTitleForSection(long section) {
    return askTitle("tableView:titleForHeaderInSection:"_sel, section);
}

Ref<NSString> UITableView::footerTitleForSection(long section) {
    return askTitle("tableView:titleForFooterInSection:"_sel, section);
}

CGFloat UITableView::heightForRow(NSIndexPath* path) {
    CGFloat height = _rowHeight;
    if (answers(_delegate, "tableView:heightForRowAtIndexPath:"_sel))
        height = send<CGFloat>(_delegate, "tableView:heightForRowAtIndexPath:"_sel, this, path);
    return height >= 0 && std::isfinite(height) ? height : kAutomaticRowHeight;
}

bool UITableView::contains(NSIndexPath* path) {
    return path && path->row() >= 0 && path->row() < numberOfRowsInSection(path->section());
}

UITableViewCell* UITableView::cellForRowAtIndexPath(NSIndexPath* path) {
    return contains(path) ? _sections[path->section()].cells[path->row()].get() : nullptr;
}

Ref<NSIndexPath> UITableView::indexPathForCell(const UITableViewCell* cell) {
    loadIfNeeded();
    for (std::size_t s = 0; cell && s < _sections.size(); ++s) {
        const auto& cells = _sections[s].cells;
        auto found = std::find_if(cells.begin(), cells.end(),
                                  [&](const auto& c) { return c.get() == cell; });
        if (found != cells.end()) return NSIndexPath::indexPathForRow(found - cells.begin(), s);
    }
    return nullptr;
}

Ref<NSArray> UITableView::visibleCells() {
    loadIfNeeded();
    Ref<NSMutableArray> cells = NSMutableArray::array();
    for (const Section& section : _sections)
        for (const Ref<UITableViewCell>& cell : section.cells)
            cells->addObject(cell);
    return cells;
}

Ref<UITableViewCell> UITableView::dequeueReusableCellWithIdentifier(const NSString* identifier) {
    auto found = std::find_if(_reuseQueue.begin(), _reuseQueue.end(), [&](const auto& cell) {
        return cell->reuseIdentifier()->isEqualToString(identifier);
    });
    if (found == _reuseQueue.end()) return nullptr;
    Ref<UITableViewCell> cell = std::move(*found);
    _reuseQueue.erase(found);
    send(cell, "prepareForReuse"_sel);
    return cell;
}

void UITableView::setCellSelected(NSIndexPath* path, bool selected) {
    if (UITableViewCell* cell = cellForRowAtIndexPath(path)) cell->setSelected(selected);
}

bool UITableView::selectRowAtIndexPath(NSIndexPath* path, bool animated, long scrollPosition) {
    if (!contains(path)) return false;
    setCellSelected(_selected, false);
    _selected = NSIndexPath::indexPathForRow(path->row(), path->section());
    setCellSelected(_selected, true);
    _lastSelectAnimated = animated;
    _lastScrollPosition = scrollPosition;
    return true;
}

void UITableView::deselectRowAtIndexPath(NSIndexPath* path, bool animated) {
    _lastDeselectAnimated = animated;
    if (!path || !objectsEqual(path, _selected)) return;
    setCellSelected(_selected, false);
    _selected = nullptr;
}

bool UITableView::tapRowAtIndexPath(NSIndexPath* path) {
    if (!selectRowAtIndexPath(path, false, UITableViewScrollPositionNone)) return false;
    Ref<UITableView> keep = this;
    Ref<NSIndexPath> tapped = _selected;
    if (answers(_delegate, "tableView:didSelectRowAtIndexPath:"_sel))
        send(_delegate, "tableView:didSelectRowAtIndexPath:"_sel, this, tapped.get());
    return true;
}

void UITableView::layoutSubviews() {
    _layout = computeTableLayout(this);
    for (std::size_t s = 0; s < _layout.sections.size(); ++s)
        for (std::size_t r = 0; r < _layout.sections[s].rows.size(); ++r) {
            // A data source that reloads while asked for heights may have fewer rows now.
            UITableViewCell* cell = cellForRowAtIndexPath(NSIndexPath::indexPathForRow(r, s));
            if (!cell) continue;
            cell->setFrame(_layout.sections[s].rows[r]);
            if (cell->superview() != this) send(this, "addSubview:"_sel, cell);
        }
}

const ClassInfo& UITableView::objcClassInfo() {
    static const ClassInfo info = ClassBuilder<UITableView>()
                                      .method<"layoutSubviews", &UITableView::layoutSubviews>()
                                      .build();
    return info;
}
