#include "KLPreferences/KLPListCell.h"

#include "KLPreferences/KLPSelectListTable.h"
#include "ObjectModel/ClassBuilder.h"

Ref<KLPListCell> KLPListCell::cellWithTitleImp(Class cls, NSString* title, KLPSettings* setting,
                                               NSArray* items, NSArray* value, bool popViewOnSelect,
                                               NSString* postNotification,
                                               ValueChangedBlock changedBlock) {
    return make<KLPListCell>(cls, &KLPListCell::init_cellWithTitle, title, setting, items, value,
                             popViewOnSelect, postNotification, std::move(changedBlock));
}

KLPListCell* KLPListCell::init_cellWithTitleImp(NSString* title, KLPSettings* setting,
                                                NSArray* items, NSArray* value,
                                                bool popViewOnSelect, NSString* postNotification,
                                                ValueChangedBlock changedBlock) {
    if (!initWithTitle(title, setting)) return nullptr;
    setValueChanged(std::move(changedBlock));
    Ref<NSArray> shown = items, stored = value;
    KLPSelectListTable::cutToCommonLength(shown, stored);
    setItems(shown);
    setValues(stored);
    setPopView(popViewOnSelect);
    setPostNotification(postNotification);
    setAccessoryType(UITableViewCellAccessoryDisclosureIndicator);
    Ref<NSObject> current = setting ? setting->value() : nullptr;
    if (NSString* text = itemForValue(current)) detailTextLabel()->setText(text);
    return this;
}

NSObject* KLPListCell::valueForItem(NSString* item) const {
    NSArray* shown = items();
    NSArray* stored = values();
    NSUInteger index = shown && item ? shown->indexOfObject(item) : NSNotFound;
    return index == NSNotFound || !stored ? nullptr : stored->objectAtIndex(index);
}

NSString* KLPListCell::itemForValue(NSObject* value) const {
    NSArray* shown = items();
    NSArray* stored = values();
    NSUInteger index = stored && value ? stored->indexOfObject(value) : NSNotFound;
    return index == NSNotFound || !shown ? nullptr : as<NSString>(shown->objectAtIndex(index));
}

void KLPListCell::chooseItem(NSString* item) {
    Ref<NSObject> value = valueForItem(item);
    if (!value) return;
    detailTextLabel()->setText(item);
    reportChange(value, value);
}

void KLPListCell::didSelectFromTableImp(UITableViewController* table) {
    if (!table) return;
    deselectRowInTable(table);
    Ref<KLPListCell> self = this;
    KLPSettings* stored = setting();
    Ref<NSObject> current = stored ? stored->value() : nullptr;
    Ref<KLPSelectListTable> list = make<KLPSelectListTable>(
        &KLPSelectListTable::initWithStyle, static_cast<long>(UITableViewStyleGrouped),
        textLabel()->text(), items(), values(), current.get(), popView(),
        KLPSelectListTable::ChangeBlock([self](NSString* item) { self->chooseItem(item); }));
    list->setTintUIColor(tintUIColor());
    list->showFrom(table);
}

void KLPListCell::layoutSubviewsImp() {
    sendSuper(this, Super::objcClass(), "layoutSubviews"_sel);
}

OBJC_IMPLEMENT_LOADED_CLASS(KLPListCell)
