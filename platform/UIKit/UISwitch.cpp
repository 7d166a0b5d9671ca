#include "UIKit/UISwitch.h"

#include "ObjectModel/ClassBuilder.h"

UISwitch* UISwitch::initWithFrame(CGRect frame) {
    UIControl::initWithFrame({frame.origin, kStandardSize});
    return this;
}

void UISwitch::setOnByUser(bool on) {
    if (!isEnabled() || on == _on) return;
    _on = on;
    sendActionsForControlEvents(UIControlEventValueChanged);
}

Ref<NSString> UISwitch::screenText() {
    return _on ? "[on]"_ns : "[off]"_ns;
}

const ClassInfo& UISwitch::objcClassInfo() {
    static const ClassInfo info =
        ClassBuilder<UISwitch>().method<"screenText", &UISwitch::screenText>().build();
    return info;
}
