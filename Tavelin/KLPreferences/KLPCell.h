// The base of every row of a preferences table: a value-1 table cell with its
// title in the text label, the setting it edits, the notification it posts
// after a change, a value-changed block, its own row height (0 or less: the
// table's automatic height) and a tint colour.
#pragma once

#include <functional>

#include "Foundation/NSIndexPath.h"
#include "KLPreferences/KLPSettings.h"
#include "UIKit/UIControl.h"
#include "UIKit/UITableViewCell.h"
#include "UIKit/UITableViewController.h"

struct KLPCell : UITableViewCell {
    OBJC_CLASS(KLPCell, UITableViewCell)

    using ValueChangedBlock = std::function<void(NSObject*)>;

    OBJC_CLASS_METHOD(Ref<KLPCell>, cellWithTitle, "cellWithTitle:setting:", NSString*,
                      KLPSettings*)
    OBJC_METHOD(KLPCell*, initWithTitle, "initWithTitle:setting:", NSString*, KLPSettings*)

    OBJC_PROPERTY(UIColor*, tintUIColor, setTintUIColor)
    OBJC_PROPERTY(KLPSettings*, setting, setSetting)
    // Declared, but no initialiser fills it: the title goes to the text label.
    OBJC_PROPERTY(NSString*, title, setTitle)
    OBJC_PROPERTY(NSString*, postNotification, setPostNotification)
    OBJC_PROPERTY(ValueChangedBlock, valueChanged, setValueChanged)
    OBJC_PROPERTY(int, height, setHeight)

    // Called by the table controller on every tap of the row; the base cell
    // does nothing.
    OBJC_METHOD(void, didSelectFromTable, "didSelectFromTable:", UITableViewController*)

    // C++ helpers for the subclasses (not messages).
    // What every control cell does after the user changed its control: store
    // the new value through the setting, call valueChanged with the change
    // argument, then post postNotification (also when it is nil) with the
    // change argument as object.
    void reportChange(NSObject* newValue, NSObject* changeArgument);

  protected:
    // Where a control cell shows its control.
    enum class ControlPlace { Accessory, ContentView };
    // How every control cell takes its control, once it is set up: changes
    // go to postNotification and changeBlock, the control's `events` send
    // `action` to the cell, and the row never highlights.
    void installControl(UIControl* control, ControlPlace place, SEL action, unsigned long events,
                        NSString* postNotification, ValueChangedBlock changeBlock);
    // Gives the control the cell's tint through `setter`: a control cell
    // does so at each layout pass.
    void tintControl(UIView* control, SEL setter);

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
