// An on/off switch of the standard size (51 x 31 points, whatever frame it
// is made with). A flip by the user sends UIControlEventValueChanged;
// setting the state in code sends nothing.
#pragma once

#include "UIKit/UIControl.h"

struct UISwitch : UIControl {
    OBJC_CLASS(UISwitch, UIControl)

    OBJC_OVERRIDE(UIView*, initWithFrame, "initWithFrame:", CGRect)
    OBJC_PROPERTY_AS(bool, on, isOn, setOn)
    // Sends setOn:.
    OBJC_METHOD(void, setOn, "setOn:animated:", bool, bool)
    // nil: the standard colour.
    OBJC_PROPERTY(UIColor*, onTintColor, setOnTintColor)
    OBJC_OVERRIDE(Ref<NSString>, screenText, "screenText")

    static constexpr CGSize kStandardSize{51, 31};

    // The user flips the switch, or slides it to a state: value changed is
    // sent when the state changes (and the control is enabled).
    void flip() { setOnByUser(!isOn()); }
    void setOnByUser(bool on);

  private:
    bool _on = false;
    Ref<UIColor> _onTintColor;
};
