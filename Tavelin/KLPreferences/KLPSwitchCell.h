// A boolean setting edited with a switch in the accessory position. The
// switch shows the stored value once, when the cell is made; every flip
// stores a boolean number and reports the change with the switch as the
// argument. The switch takes the cell's tint as on-tint at each layout pass.
#pragma once

#include "KLPreferences/KLPCell.h"
#include "UIKit/UISwitch.h"

struct KLPSwitchCell : KLPCell {
    OBJC_CLASS(KLPSwitchCell, KLPCell)

    static Ref<KLPSwitchCell> cellWithTitle(NSString* title, KLPSettings* setting,
                                            NSString* postNotification,
                                            ValueChangedBlock changeBlock);
    KLPSwitchCell* init_cellWithTitle(NSString* title, KLPSettings* setting,
                                      NSString* postNotification, ValueChangedBlock changeBlock);

    UISwitch* switchView() const { return _switchView; }
    void setSwitchView(UISwitch* view) { _switchView = view; }

    // Messages.
    void switchChanged(UISwitch* sender);
    void layoutSubviews();

  private:
    Ref<UISwitch> _switchView;
};
