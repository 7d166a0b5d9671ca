#include "UIKit/UISwitch.h"

#include "ObjectModel/ClassBuilder.h"

UIView* UISwitch::initWithFrameImp(CGRect frame) {
    return sendSuper<UIView*>(this, UIControl::objcClass(), "initWithFrame:"_sel,
                              CGRect{frame.origin, kStandardSize});
}

void UISwitch::setOnImp(bool on, bool) {
    setOn(on);
}

void UISwitch::setOnByUser(bool on) {
    if (!isEnabled() || on == isOn()) return;
    Ref<UISwitch> keep = this;
    setOn(on, true);
    sendActionsForControlEvents(UIControlEventValueChanged);
}

Ref<NSString> UISwitch::screenTextImp() {
    return isOn() ? "[on]"_ns : "[off]"_ns;
}

OBJC_IMPLEMENT_LOADED_CLASS(UISwitch)
