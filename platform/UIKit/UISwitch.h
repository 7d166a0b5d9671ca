// An on/off switch of the standard size (51 x 31 points, whatever frame it
// is made with). A flip by the user sends UIControlEventValueChanged;
// setting the state in code sends nothing.
#pragma once

#include "UIKit/UIControl.h"

struct UISwitch : UIControl {
    OBJC_CLASS(UISwitch, UIControl)

    static constexpr CGSize kStandardSize{51, 31};

    UISwitch* initWithFrame(CGRect frame);

    bool isOn() const { return _on; }
    void setOn(bool on) { _on = on; }
    void setOn(bool on, bool /*animated*/) { _on = on; }
    // nil: the standard colour.
    UIColor* onTintColor() const { return _onTintColor; }
    void setOnTintColor(UIColor* color) { _onTintColor = color; }

    // The user flips the switch, or slides it to a state: value changed is
    // sent when the state changes (and the control is enabled).
    void flip() { setOnByUser(!_on); }
    void setOnByUser(bool on);

    // Messages.
    Ref<NSString> screenText();

  private:
    bool _on = false;
    Ref<UIColor> _onTintColor;
};
