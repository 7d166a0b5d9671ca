// The base of every row of a preferences table: a value-1 table cell with its
// title in the text label, the setting it edits, the notification it posts
// after a change, a value-changed block, its own row height (0 or less: the
// table's automatic height) and a tint colour.
#pragma once

#include <functional>

#include "Foundation/NSIndexPath.h"
#include "KLPreferences/KLPSettings.h"
#include "UIKit/UITableViewCell.h"
#include "UIKit/UITableViewController.h"

struct KLPCell : UITableViewCell {
    OBJC_CLASS(KLPCell, UITableViewCell)

    using ValueChangedBlock = std::function<void(NSObject*)>;

    static Ref<KLPCell> cellWithTitle(NSString* title, KLPSettings* setting);
    KLPCell* initWithTitle(NSString* title, KLPSettings* setting);

    UIColor* tintUIColor() const { return _tintUIColor; }
    void setTintUIColor(UIColor* color) { _tintUIColor = color; }
    KLPSettings* setting() const { return _setting; }
    void setSetting(KLPSettings* setting) { _setting = setting; }
    NSString* title() const { return _title; }
    void setTitle(NSString* title) { _title = title; }
    NSString* postNotification() const { return _postNotification; }
    void setPostNotification(NSString* name) { _postNotification = name; }
    const ValueChangedBlock& valueChanged() const { return _valueChanged; }
    void setValueChanged(ValueChangedBlock block) { _valueChanged = std::move(block); }
    int height() const { return _height; }
    void setHeight(int height) { _height = height; }

    // What every control cell does after the user changed its control: store
    // the new value through the setting, call valueChanged with the change
    // argument, then post postNotification (also when it is nil) with the
    // change argument as object.
    void reportChange(NSObject* newValue, NSObject* changeArgument);

    // Messages.
    // Called by the table controller on every tap of the row.
    void didSelectFromTable(UITableViewController*) {}

  protected:
    // Deselects this cell's row in the controller's table, animated.
    void deselectRowInTable(UITableViewController* table);

  private:
    Ref<UIColor> _tintUIColor;
    Ref<KLPSettings> _setting;
    Ref<NSString> _title;
    Ref<NSString> _postNotification;
    ValueChangedBlock _valueChanged;
    int _height = 0;
};
