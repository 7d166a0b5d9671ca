// A boolean setting edited with a switch in the accessory position. The
// switch shows the stored value once, when the cell is made; every flip
// stores a boolean number and reports the change with the switch as the
// argument. The switch takes the cell's tint as on-tint at each layout pass.
#pragma once

#include "KLPreferences/KLPCell.h"
#include "UIKit/UISwitch.h"

struct KLPSwitchCell : KLPCell {
    OBJC_CLASS(KLPSwitchCell, KLPCell)

    OBJC_CLASS_METHOD(Ref<KLPSwitchCell>, cellWithTitle,
                      "cellWithTitle:setting:postNotification:changeBlock:", NSString*,
                      KLPSettings*, NSString*, ValueChangedBlock)
    OBJC_METHOD(KLPSwitchCell*, init_cellWithTitle,
                "cellWithTitle:setting:postNotification:changeBlock:", NSString*, KLPSettings*,
                NSString*, ValueChangedBlock)

    OBJC_PROPERTY(UISwitch*, switchView, setSwitchView)

    OBJC_METHOD(void, switchChanged, "switchChanged:", UISwitch*)
    OBJC_OVERRIDE(void, layoutSubviews, "layoutSubviews")

  private:
    Ref<UISwitch> _switchView;
};
