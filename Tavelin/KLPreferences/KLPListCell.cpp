#include "KLPreferences/KLPListCell.h"

#include "KLPreferences/KLPSelectListTable.h"
#include "ObjectModel/ClassBuilder.h"

Ref<KLPListCell> KLPListCell::cellWithTitle(NSString* title, KLPSettings* setting, NSArray* items,
                                            NSArray* value, bool popViewOnSelect,
                                            NSString* postNotification,
                                            ValueChangedBlock changedBlock) {
    return make<KLPListCell>(&KLPListCell::init_cellWithTitle, title, setting, items, value,
                             popViewOnSelect, postNotification, std::move(changedBlock));
}

KLPListCell* KLPListCell::init_cellWithTitle(NSString* title, KLPSettings* setting, NSArray* items,
                                             NSArray* value, bool popViewOnSelect,
                                             NSString* postNotification,
                                             ValueChangedBlock changedBlock) {
    if (!initWithTitle(title, setting)) return nullptr;
    setValueChanged(std::move(changedBlock));
    _items = items;
    _values = value;
    KLPSelectListTable::cutToCommonLength(_items, _values);
    _popView = popViewOnSelect;
    setPostNotification(postNotification);
    setAccessoryType(UITableViewCellAccessoryDisclosureIndicator);
    if (NSString* shown = setting ? itemForValue(setting->value()) : nullptr)
        detailTextLabel()->setText(shown);
    return this;
}

NSObject* KLPListCell::valueForItem(NSString* item) const {
    NSUInteger index = _items && item ? _items->indexOfObject(item) : NSNotFound;
    return index == NSNotFound || !_values ? nullptr : _values->objectAtIndex(index);
}

NSString* KLPListCell::itemForValue(NSObject* value) const {
    NSUInteger index = _values && value ? _values->indexOfObject(value) : NSNotFound;
    return index == NSNotFound || !_items ? nullptr : as<NSString>(_items->objectAtIndex(index));
}

void KLPListCell::chooseItem(NSString* item) {
    Ref<NSObject> value = valueForItem(item);
    if (!value) return;
    detailTextLabel()->setText(item);
    reportChange(value, value);
}

void KLPListCell::didSelectFromTable(UITableViewController* table) {
    if (!table) return;
    deselectRowInTable(table);
    Ref<KLPListCell> self = this;
    Ref<NSObject> current = setting() ? setting()->value() : nullptr;
    Ref<KLPSelectListTable> list = make<KLPSelectListTable>(
        &KLPSelectListTable::initWithStyle, static_cast<long>(UITableViewStyleGrouped),
        textLabel()->text(), _items.get(), _values.get(), current.get(), _popView,
        [self](NSString* item) { self->chooseItem(item); });
    list->setTintUIColor(tintUIColor());
    list->showFrom(table);
}

const ClassInfo& KLPListCell::objcClassInfo() {
    static const ClassInfo info =
        ClassBuilder<KLPListCell>()
            .method<"didSelectFromTable:", &KLPListCell::didSelectFromTable>()
            .method<"layoutSubviews", &KLPListCell::layoutSubviews>()
            .build();
    return info;
}
