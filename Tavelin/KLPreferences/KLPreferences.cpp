#include "KLPreferences/KLPreferences.h"

#include "ObjectModel/ClassBuilder.h"
#include "ObjectModel/Message.h"
#include "UIKit/UINavigationController.h"

Ref<KLPreferences> KLPreferences::tableWithSectionsImp(Class cls, NSArray* sections,
                                                       NSString* title, UIColor* tintColor) {
    Ref<KLPreferences> controller =
        make<KLPreferences>(cls, &KLPreferences::initTableWithSections, sections);
    if (!controller) return nullptr;
    controller->setTitle(title);
    controller->setTintUIColor(tintColor);
    return controller;
}

KLPreferences* KLPreferences::initTableWithSectionsImp(NSArray* sections) {
    if (!initWithStyle(UITableViewStyleGrouped)) return nullptr;
    setSections(sections);
    return this;
}

KLPSection* KLPreferences::sectionAt(long index) const {
    NSArray* all = sections();
    if (!all || index < 0 || index >= static_cast<long>(all->count())) return nullptr;
    return as<KLPSection>(all->objectAtIndex(index));
}

KLPCell* KLPreferences::cellForIndexPathImp(NSIndexPath* path) {
    KLPSection* section = path ? sectionAt(path->section()) : nullptr;
    NSMutableArray* cells = section ? section->cells() : nullptr;
    if (!cells || path->row() < 0) return nullptr;
    return as<KLPCell>(cells->objectAtIndex(path->row()));
}

void KLPreferences::updateTintColorsImp() {
    Ref<UIColor> color = tintUIColor();
    Ref<NSString> path = plistPath();
    bool hasPlist = path && path->length() > 0;
    NSArray* all = sections();
    for (long s = 0; all && s < static_cast<long>(all->count()); ++s) {
        KLPSection* section = sectionAt(s);
        if (!section) continue;
        if (NSMutableArray* cells = section->cells())
            for (NSObject* element : *cells) {
                KLPCell* cell = as<KLPCell>(element);
                if (!cell) continue;
                cell->setTintUIColor(color);
                KLPSettings* setting = cell->setting();
                if (hasPlist && setting) setting->setFileSave(path);
            }
        section->setTintUIColor(color);
    }
    view()->setTintColor(color);
    tableView()->setTintColor(color);
}

void KLPreferences::viewWillAppearImp(bool animated) {
    sendSuper(this, Super::objcClass(), "viewWillAppear:"_sel, animated);
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

void KLPreferences::viewDidDisappearImp(bool animated) {
    sendSuper(this, Super::objcClass(), "viewDidDisappear:"_sel, animated);
}

long KLPreferences::numberOfSectionsInTableViewImp(UITableView*) {
    NSArray* all = sections();
    return all ? static_cast<long>(all->count()) : 0;
}

long KLPreferences::tableView_numberOfRowsInSectionImp(UITableView*, long section) {
    KLPSection* found = sectionAt(section);
    NSMutableArray* cells = found ? found->cells() : nullptr;
    return cells ? static_cast<long>(cells->count()) : 0;
}

Ref<NSString> KLPreferences::tableView_titleForHeaderInSectionImp(UITableView*, long section) {
    KLPSection* found = sectionAt(section);
    return found ? found->headerTitle() : nullptr;
}

Ref<NSString> KLPreferences::tableView_titleForFooterInSectionImp(UITableView*, long section) {
    KLPSection* found = sectionAt(section);
    return found ? found->footerTitle() : nullptr;
}

CGFloat KLPreferences::tableView_heightForRowAtIndexPathImp(UITableView*, NSIndexPath* path) {
    KLPCell* cell = cellForIndexPath(path);
    int height = cell ? cell->height() : 0;
    return height <= 0 ? UITableViewAutomaticDimension : static_cast<CGFloat>(height);
}

Ref<UITableViewCell> KLPreferences::tableView_cellForRowAtIndexPathImp(UITableView*,
                                                                       NSIndexPath* path) {
    return cellForIndexPath(path);
}

void KLPreferences::tableView_didSelectRowAtIndexPathImp(UITableView*, NSIndexPath* path) {
    KLPCell* cell = cellForIndexPath(path);
    if (cell && cell->respondsToSelector("didSelectFromTable:"_sel)) cell->didSelectFromTable(this);
}

OBJC_IMPLEMENT_LOADED_CLASS(KLPreferences)
