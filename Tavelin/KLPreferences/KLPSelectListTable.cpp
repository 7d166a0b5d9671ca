#include "KLPreferences/KLPSelectListTable.h"

#include <algorithm>

#include "ObjectModel/ClassBuilder.h"
#include "ObjectModel/Message.h"
#include "UIKit/UIBarButtonItem.h"
#include "UIKit/UINavigationController.h"

namespace {

NSUInteger countOf(const NSArray* array) {
    return array ? array->count() : 0;
}

// Leaves the first `length` elements; nil becomes an empty array.
void cutTo(Ref<NSArray>& array, NSUInteger length) {
    if (array && array->count() <= length) return;
    Ref<NSMutableArray> cut = NSMutableArray::arrayWithCapacity(length);
    for (NSUInteger i = 0; i < length; ++i)
        cut->addObject(array->objectAtIndex(i));
    array = cut;
}

Ref<UINavigationController> navigationOf(UIViewController* controller) {
    return send<Ref<UINavigationController>>(controller, "navigationController"_sel);
}

} // namespace

void KLPSelectListTable::cutToCommonLength(Ref<NSArray>& items, Ref<NSArray>& values) {
    NSUInteger length = std::min(countOf(items), countOf(values));
    cutTo(items, length);
    cutTo(values, length);
}

KLPSelectListTable* KLPSelectListTable::initWithStyleImp(long style, NSString* title,
                                                         NSArray* items, NSArray* values,
                                                         NSObject* current, bool popViewOnSelect,
                                                         ChangeBlock changeBlock) {
    listItems = items;
    listValues = values;
    cutToCommonLength(listItems, listValues);
    currentValue = current;
    popView = popViewOnSelect;
    pageTitle = title;
    setItemChanged([changeBlock = std::move(changeBlock)](NSObject* item) {
        if (changeBlock) changeBlock(as<NSString>(item));
    });
    if (!UITableViewController::initWithStyle(style)) return nullptr;
    return this;
}

void KLPSelectListTable::viewDidLoadImp() {
    sendSuper(this, Super::objcClass(), "viewDidLoad"_sel);
    setTitle(pageTitle);
    UIColor* tint = tintUIColor();
    view()->setTintColor(tint);
    tableView()->setTintColor(tint);
    if (Ref<UINavigationController> navigation = navigationOf(this))
        navigation->navigationBar()->setTintColor(tint);
}

long KLPSelectListTable::numberOfSectionsInTableViewImp(UITableView*) {
    return 1;
}

long KLPSelectListTable::tableView_numberOfRowsInSectionImp(UITableView*, long) {
    return static_cast<long>(listItems->count());
}

long KLPSelectListTable::accessoryForRow(long row) const {
    NSObject* value = listValues->objectAtIndex(row);
    return value && objectsEqual(value, currentValue) ? UITableViewCellAccessoryCheckmark
                                                      : UITableViewCellAccessoryNone;
}

Ref<UITableViewCell> KLPSelectListTable::tableView_cellForRowAtIndexPathImp(UITableView* tableView,
                                                                            NSIndexPath* path) {
    NSString* identifier = "LinkCellIdentifier"_ns;
    Ref<UITableViewCell> cell = tableView->dequeueReusableCellWithIdentifier(identifier);
    if (!cell) cell = UITableViewCell::cellWithStyle(UITableViewCellStyleDefault, identifier);
    long row = path ? path->row() : -1;
    cell->textLabel()->setText(as<NSString>(listItems->objectAtIndex(row)));
    cell->setAccessoryType(accessoryForRow(row));
    return cell;
}

void KLPSelectListTable::tableView_didSelectRowAtIndexPathImp(UITableView* tableView,
                                                              NSIndexPath* path) {
    Ref<KLPSelectListTable> keep = this;
    NSObject* item = path ? listItems->objectAtIndex(path->row()) : nullptr;
    if (!item) return;
    if (ItemChangedBlock block = itemChanged()) block(item);
    tableView->deselectRowAtIndexPath(path, true);
    currentValue = listValues->objectAtIndex(listItems->indexOfObject(item));
    Ref<NSArray> visible = tableView->visibleCells();
    for (NSObject* element : *visible) {
        auto* cell = static_cast<UITableViewCell*>(element);
        Ref<NSIndexPath> at = tableView->indexPathForCell(cell);
        cell->setAccessoryType(at ? accessoryForRow(at->row()) : UITableViewCellAccessoryNone);
    }
    if (popView) close();
}

// Nothing of its own to free; the base answers for the rest.
void KLPSelectListTable::didReceiveMemoryWarningImp() {
    if (class_respondsToSelector(Super::objcClass(), "didReceiveMemoryWarning"_sel))
        sendSuper(this, Super::objcClass(), "didReceiveMemoryWarning"_sel);
}

void KLPSelectListTable::showFrom(UIViewController* presenter) {
    if (Ref<UINavigationController> navigation = navigationOf(presenter))
        send(navigation, "pushViewController:animated:"_sel, static_cast<UIViewController*>(this),
             true);
    else
        presentWrappedFrom(presenter);
    // Set once shown: loading the view sooner would miss the navigation bar's tint.
    if (presenter->view()->effectiveUserInterfaceLayoutDirection() ==
        UIUserInterfaceLayoutDirectionRightToLeft)
        view()->setSemanticContentAttribute(UISemanticContentAttributeForceRightToLeft);
}

void KLPSelectListTable::presentWrappedFrom(UIViewController* presenter) {
    Ref<UIBarButtonItem> doneItem = make<UIBarButtonItem>(
        &UIBarButtonItem::initWithTitle, "Done"_ns, static_cast<long>(UIBarButtonItemStyleDone),
        static_cast<id>(this), "done:"_sel);
    send<Ref<UINavigationItem>>(this, "navigationItem"_sel)->setLeftBarButtonItem(doneItem);
    Ref<UINavigationController> wrapper =
        UINavigationController::navigationControllerWithRootViewController(this);
    presenter->presentViewController(wrapper, true, nullptr);
}

void KLPSelectListTable::close() {
    Ref<UINavigationController> navigation = navigationOf(this);
    if (navigation && navigation->viewControllers()->count() > 1) {
        send<Ref<UIViewController>>(navigation, "popViewControllerAnimated:"_sel, true);
        return;
    }
    UIViewController* shown = navigation ? static_cast<UIViewController*>(navigation) : this;
    shown->dismissViewControllerAnimated(true, nullptr);
}

void KLPSelectListTable::doneImp(NSObject*) {
    close();
}

OBJC_IMPLEMENT_LOADED_CLASS(KLPSelectListTable)
