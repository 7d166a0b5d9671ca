// A row that lets the user choose one value of a setting from a fixed list:
// it shows the title, the display text of the stored value and a disclosure
// indicator; a tap opens a KLPSelectListTable of the display texts.
//
// items[i] is shown for values[i]. Arrays of different lengths are cut to the
// shorter length when the cell is made. A chosen text that is no longer among
// items (the arrays were replaced while the list was open) changes and
// stores nothing.
#pragma once

#include "Foundation/NSArray.h"
#include "KLPreferences/KLPCell.h"

struct KLPListCell : KLPCell {
    OBJC_CLASS(KLPListCell, KLPCell)

    static Ref<KLPListCell> cellWithTitle(NSString* title, KLPSettings* setting, NSArray* items,
                                          NSArray* value, bool popViewOnSelect,
                                          NSString* postNotification,
                                          ValueChangedBlock changedBlock);
    KLPListCell* init_cellWithTitle(NSString* title, KLPSettings* setting, NSArray* items,
                                    NSArray* value, bool popViewOnSelect,
                                    NSString* postNotification, ValueChangedBlock changedBlock);

    NSArray* items() const { return _items; }
    void setItems(NSArray* items) { _items = items; }
    NSArray* values() const { return _values; }
    void setValues(NSArray* values) { _values = values; }
    bool popView() const { return _popView; }
    void setPopView(bool popView) { _popView = popView; }

    // What choosing a display text in the list does: detail text, then the
    // change report with the matching value.
    void chooseItem(NSString* item);

    // Messages.
    void didSelectFromTable(UITableViewController* table);
    void layoutSubviews() { sendSuper(this, KLPCell::objcClass(), "layoutSubviews"_sel); }

  private:
    // The value shown as `item`, or nil.
    NSObject* valueForItem(NSString* item) const;
    // The display text of `value`, or nil.
    NSString* itemForValue(NSObject* value) const;

    Ref<NSArray> _items;
    Ref<NSArray> _values;
    bool _popView = false;
};
