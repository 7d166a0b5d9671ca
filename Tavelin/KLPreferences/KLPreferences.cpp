#include "KLPreferences/KLPreferences.h"

#include "ObjectModel/ClassBuilder.h"
#include "ObjectModel/Message.h"
#include "UIKit/UINavigationController.h"

Ref<KLPreferences> KLPreferences::tableWithSections(NSArray* sections, NSString* title,
                                                    UIColor* tintColor) {
    Ref<KLPreferences> controller =
        make<KLPreferences>(&KLPreferences::initTableWithSections, sections);
    if (!controller) return nullptr;
    controller->setTitle(title);
    controller->setTintUIColor(tintColor);
    return controller;
}

KLPreferences* KLPreferences::initTableWithSections(NSArray* sections) {
    if (!initWithStyle(UITableViewStyleGrouped)) return nullptr;
    _sections = sections;
    return this;
}

KLPSection* KLPreferences::sectionAt(long index) const {
    if (!_sections || index < 0 || index >= static_cast<long>(_sections->count())) return nullptr;
    return as<KLPSection>(_sections->objectAtIndex(index));
}

KLPCell* KLPreferences::cellForIndexPath(const NSIndexPath* path) const {
    KLPSection* section = path ? sectionAt(path->section()) : nullptr;
    if (!section || !section->cells() || path->row() < 0) return nullptr;
    return as<KLPCell>(section->cells()->objectAtIndex(path->row()));
}

void KLPreferences::updateTintColors() {
    Ref<UIColor> color = _tintUIColor;
    bool hasPlist = _plistPath && _plistPath->length() > 0;
    for (long s = 0; _sections && s < static_cast<long>(_sections->count()); ++s) {
        KLPSection* section = sectionAt(s);
        if (!section) continue;
        for (NSObject* element : *section->cells()) {
            KLPCell* cell = as<KLPCell>(element);
            if (!cell) continue;
            cell->setTintUIColor(color);
            if (hasPlist && cell->setting()) cell->setting()->setFileSave(_plistPath);
        }
        section->setTintUIColor(color);
    }
    view()->setTintColor(color);
    tableView()->setTintColor(color);
}

void KLPreferences::viewWillAppear(bool animated) {
    sendSuper(this, UITableViewController::objcClass(), "viewWillAppear:"_sel, animated);
    updateTintColors();
    clearSelection();
}

// Deselects a left-over selection; an interactive return that the user
// abandons selects it again, without scrolling.
void KLPreferences::clearSelection() {
    UITableView* table = tableView();
    Ref<NSIndexPath> selected = table->indexPathForSelectedRow();
    if (!selected) return;
    table->deselectRowAtIndexPath(selected, true);
    Ref<UINavigationController> navigation =
        send<Ref<UINavigationController>>(this, "navigationController"_sel);
    UIViewControllerTransitionCoordinator* coordinator =
        navigation ? navigation->transitionCoordinator() : nullptr;
    if (!coordinator) return;
    Ref<KLPreferences> self = this;
    coordinator->notifyWhenInteractionEndsUsingBlock(
        [self, selected](UIViewControllerTransitionCoordinator* context) {
            if (context->isCancelled())
                self->tableView()->selectRowAtIndexPath(selected, true,
                                                        UITableViewScrollPositionNone);
        });
}

void KLPreferences::viewDidDisappear(bool animated) {
    sendSuper(this, UITableViewController::objcClass(), "viewDidDisappear:"_sel, animated);
}

long KLPreferences::numberOfSectionsInTableView(UITableView*) {
    return _sections ? static_cast<long>(_sections->count()) : 0;
}

long KLPreferences::tableView_numberOfRowsInSection(UITableView*, long section) {
    KLPSection* found = sectionAt(section);
    return found && found->cells() ? static_cast<long>(found->cells()->count()) : 0;
}

Ref<NSString> KLPreferences::tableView_titleForHeaderInSection(UITableView*, long section) {
    KLPSection* found = sectionAt(section);
    return found ? found->headerTitle() : nullptr;
}

Ref<NSString> KLPreferences::tableView_titleForFooterInSection(UITableView*, long section) {
    KLPSection* found = sectionAt(section);
    return found ? found->footerTitle() : nullptr;
}

CGFloat KLPreferences::tableView_heightForRowAtIndexPath(UITableView*, NSIndexPath* path) {
    KLPCell* cell = cellForIndexPath(path);
    int height = cell ? cell->height() : 0;
    return height <= 0 ? UITableViewAutomaticDimension : static_cast<CGFloat>(height);
}

Ref<UITableViewCell> KLPreferences::tableView_cellForRowAtIndexPath(UITableView*,
                                                                    NSIndexPath* path) {
    return cellForIndexPath(path);
}

void KLPreferences::tableView_didSelectRowAtIndexPath(UITableView*, NSIndexPath* path) {
    KLPCell* cell = cellForIndexPath(path);
    if (cell && cell->respondsToSelector("didSelectFromTable:"_sel))
        send(cell, "didSelectFromTable:"_sel, static_cast<UITableViewController*>(this));
}

const ClassInfo& KLPreferences::objcClassInfo() {
    static const ClassInfo info =
        ClassBuilder<KLPreferences>()
            .method<"viewWillAppear:", &KLPreferences::viewWillAppear>()
            .method<"viewDidDisappear:", &KLPreferences::viewDidDisappear>()
            .method<"numberOfSectionsInTableView:", &KLPreferences::numberOfSectionsInTableView>()
            .method<"tableView:numberOfRowsInSection:",
                    &KLPreferences::tableView_numberOfRowsInSection>()
            .method<"tableView:titleForHeaderInSection:",
                    &KLPreferences::tableView_titleForHeaderInSection>()
            .method<"tableView:titleForFooterInSection:",
                    &KLPreferences::tableView_titleForFooterInSection>()
            .method<"tableView:heightForRowAtIndexPath:",
                    &KLPreferences::tableView_heightForRowAtIndexPath>()
            .method<"tableView:cellForRowAtIndexPath:",
                    &KLPreferences::tableView_cellForRowAtIndexPath>()
            .method<"tableView:didSelectRowAtIndexPath:",
                    &KLPreferences::tableView_didSelectRowAtIndexPath>()
            .build();
    return info;
}
