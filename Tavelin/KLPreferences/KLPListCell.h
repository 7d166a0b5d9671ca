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

    OBJC_CLASS_METHOD(
        Ref<KLPListCell>, cellWithTitle,
        "cellWithTitle:setting:items:value:popViewOnSelect:postNotification:changedBlock:",
        NSString*, KLPSettings*, NSArray*, NSArray*, bool, NSString*, ValueChangedBlock)
    OBJC_METHOD(KLPListCell*, init_cellWithTitle,
                "cellWithTitle:setting:items:value:popViewOnSelect:postNotification:changedBlock:",
                NSString*, KLPSettings*, NSArray*, NSArray*, bool, NSString*, ValueChangedBlock)

    OBJC_PROPERTY(NSArray*, items, setItems)
    OBJC_PROPERTY(NSArray*, values, setValues)
    OBJC_PROPERTY(bool, popView, setPopView)

    OBJC_OVERRIDE(void, didSelectFromTable, "didSelectFromTable:", UITableViewController*)
    OBJC_OVERRIDE(void, layoutSubviews, "layoutSubviews")

    // What choosing a display text in the list does: detail text, then the
    // change report with the matching value (a C++ helper, not a message).
    void chooseItem(NSString* item);

  private:
    // The value shown as `item`, or nil.
    NSObject* valueForItem(NSString* item) const;
    // The display text of `value`, or nil.
    NSString* itemForValue(NSObject* value) const;

    Ref<NSArray> _items;
    Ref<NSArray> _values;
    bool _popView = false;
};
