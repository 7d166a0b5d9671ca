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

UITableView* UITableView::initWithFrameImp(CGRect frame, long style) {
    if (!sendSuper<UIView*>(this, UIScrollView::objcClass(), "initWithFrame:"_sel, frame))
        return nullptr;
    _style = style;
    return this;
}

UIView* UITableView::initWithFrameImp(CGRect frame) {
    return initWithFrame(frame, UITableViewStylePlain);
}

void UITableView::setDataSourceImp(id dataSource) {
    _dataSource = dataSource;
    reloadData();
}

void UITableView::setDelegateImp(id delegate) {
    _delegate = delegate;
    setNeedsLayout();
}

void UITableView::reloadDataImp() {
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
    id source = dataSource();
    long sections = 1;
    if (answers(source, "numberOfSectionsInTableView:"_sel))
        sections = send<long>(source, "numberOfSectionsInTableView:"_sel, this);
    if (!answers(source, "tableView:numberOfRowsInSection:"_sel)) sections = 0;
    _sections.resize(std::max(0L, sections));
    for (long s = 0; s < static_cast<long>(_sections.size()); ++s) {
        long rows = send<long>(source, "tableView:numberOfRowsInSection:"_sel, this, s);
        rows = std::clamp(rows, 0L, kMaxRowsPerSection);
        for (long r = 0; r < rows; ++r)
            _sections[s].cells.push_back(askCell(s, r));
    }
}

// A data source that gives no cell gets an empty row in its place.
Ref<UITableViewCell> UITableView::askCell(long section, long row) {
    Ref<NSIndexPath> path = NSIndexPath::indexPathForRow(row, section);
    Ref<UITableViewCell> cell;
    id source = dataSource();
    if (answers(source, "tableView:cellForRowAtIndexPath:"_sel))
        cell = send<Ref<UITableViewCell>>(source, "tableView:cellForRowAtIndexPath:"_sel, this,
                                          path.get());
    if (!as<UITableViewCell>(cell.get()))
        cell = UITableViewCell::cellWithStyle(UITableViewCellStyleDefault, nullptr);
    return cell;
}

long UITableView::numberOfSectionsImp() {
    loadIfNeeded();
    return static_cast<long>(_sections.size());
}

long UITableView::numberOfRowsInSectionImp(long section) {
    loadIfNeeded();
    if (section < 0 || section >= static_cast<long>(_sections.size())) return 0;
    return static_cast<long>(_sections[section].cells.size());
}

Ref<NSString> UITableView::askTitle(SEL selector, long section) {
    id source = dataSource();
    if (section < 0 || section >= numberOfSections() || !answers(source, selector)) return nullptr;
    Ref<NSString> title = send<Ref<NSString>>(source, selector, this, section);
    return as<NSString>(title.get()) ? title : nullptr;
}

Ref<NSString> UITableView::headerTitleForSection(long section) {
    return askTitle("tableView:titleForHeaderInSection:"_sel, section);
}

Ref<NSString> UITableView::footerTitleForSection(long section) {
    return askTitle("tableView:titleForFooterInSection:"_sel, section);
}

CGFloat UITableView::heightForRow(NSIndexPath* path) {
    CGFloat height = rowHeight();
    id delegate = this->delegate();
    if (answers(delegate, "tableView:heightForRowAtIndexPath:"_sel))
        height = send<CGFloat>(delegate, "tableView:heightForRowAtIndexPath:"_sel, this, path);
    return height >= 0 && std::isfinite(height) ? height : kAutomaticRowHeight;
}

bool UITableView::contains(NSIndexPath* path) {
    return path && path->row() >= 0 && path->row() < numberOfRowsInSection(path->section());
}

UITableViewCell* UITableView::cellForRowAtIndexPathImp(NSIndexPath* path) {
    return contains(path) ? _sections[path->section()].cells[path->row()].get() : nullptr;
}

Ref<NSIndexPath> UITableView::indexPathForCellImp(const UITableViewCell* cell) {
    loadIfNeeded();
    for (std::size_t s = 0; cell && s < _sections.size(); ++s) {
        const auto& cells = _sections[s].cells;
        auto found = std::find_if(cells.begin(), cells.end(),
                                  [&](const auto& c) { return c.get() == cell; });
        if (found != cells.end()) return NSIndexPath::indexPathForRow(found - cells.begin(), s);
    }
    return nullptr;
}

Ref<NSArray> UITableView::visibleCellsImp() {
    loadIfNeeded();
    Ref<NSMutableArray> cells = NSMutableArray::array();
    for (const Section& section : _sections)
        for (const Ref<UITableViewCell>& cell : section.cells)
            cells->addObject(cell);
    return cells;
}

Ref<UITableViewCell> UITableView::dequeueReusableCellWithIdentifierImp(const NSString* identifier) {
    auto found = std::find_if(_reuseQueue.begin(), _reuseQueue.end(), [&](const auto& cell) {
        return cell->reuseIdentifier()->isEqualToString(identifier);
    });
    if (found == _reuseQueue.end()) return nullptr;
    Ref<UITableViewCell> cell = std::move(*found);
    _reuseQueue.erase(found);
    cell->prepareForReuse();
    return cell;
}

void UITableView::setCellSelected(NSIndexPath* path, bool selected) {
    if (UITableViewCell* cell = cellForRowAtIndexPath(path)) cell->setSelected(selected);
}

void UITableView::selectRowAtIndexPathImp(NSIndexPath* path, bool, long) {
    if (!contains(path)) return;
    setCellSelected(_selected, false);
    _selected = NSIndexPath::indexPathForRow(path->row(), path->section());
    setCellSelected(_selected, true);
}

void UITableView::deselectRowAtIndexPathImp(NSIndexPath* path, bool) {
    if (!path || !objectsEqual(path, _selected)) return;
    setCellSelected(_selected, false);
    _selected = nullptr;
}

bool UITableView::tapRowAtIndexPath(NSIndexPath* path) {
    if (!contains(path)) return false;
    Ref<UITableView> keep = this;
    selectRowAtIndexPath(path, false, UITableViewScrollPositionNone);
    Ref<NSIndexPath> tapped = indexPathForSelectedRow();
    id delegate = this->delegate();
    if (answers(delegate, "tableView:didSelectRowAtIndexPath:"_sel))
        send(delegate, "tableView:didSelectRowAtIndexPath:"_sel, this, tapped.get());
    return true;
}

CGRect UITableView::rectForRowAtIndexPathImp(NSIndexPath* path) {
    if (!contains(path)) return CGRectZero;
    layoutIfNeeded();
    const auto& rows = _layout.sections[path->section()].rows;
    return path->row() < static_cast<long>(rows.size()) ? rows[path->row()] : CGRectZero;
}

void UITableView::layoutSubviewsImp() {
    _layout = computeTableLayout(this);
    setContentSize({frame().size.width, _layout.contentHeight});
    for (std::size_t s = 0; s < _layout.sections.size(); ++s)
        for (std::size_t r = 0; r < _layout.sections[s].rows.size(); ++r) {
            // A data source that reloads while asked for heights may have fewer rows now.
            UITableViewCell* cell = cellForRowAtIndexPath(NSIndexPath::indexPathForRow(r, s));
            if (!cell) continue;
            cell->setFrame(_layout.sections[s].rows[r]);
            if (cell->superview() != this) addSubview(cell);
        }
}

OBJC_IMPLEMENT_LOADED_CLASS(UITableView)
