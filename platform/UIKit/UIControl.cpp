#include "UIKit/UIControl.h"

#include <algorithm>

#include "UIKit/UIApplication.h"
#include "ObjectModel/ClassBuilder.h"

UIControl* UIControl::initWithFrame(CGRect frame) {
    UIView::initWithFrame(frame);
    return this;
}

void UIControl::addTarget(id target, SEL action, unsigned long events) {
    for (TargetAction& entry : _targets)
        if (entry.target == target && sel_isEqual(entry.action, action)) {
            entry.events |= events;
            return;
        }
    _targets.push_back({target, action, events});
}

void UIControl::removeTarget(id target, SEL action, unsigned long events) {
    for (TargetAction& entry : _targets)
        if (entry.target == target && (!action || sel_isEqual(entry.action, action)))
            entry.events &= ~events;
    std::erase_if(_targets, [](const TargetAction& entry) { return entry.events == 0; });
}

void UIControl::sendActionsForControlEvents(unsigned long events) {
    if (!_enabled) return;
    Ref<UIControl> keep = this;
    // A copy: an action may add or remove targets.
    const std::vector<TargetAction> targets = _targets;
    for (const TargetAction& entry : targets)
        if (entry.events & events)
            UIApplication::sharedApplication()->sendAction(entry.action, entry.target, this);
}

std::vector<SEL> UIControl::actionsForTarget(id target, unsigned long event) const {
    std::vector<SEL> actions;
    for (const TargetAction& entry : _targets)
        if (entry.target == target && (entry.events & event)) actions.push_back(entry.action);
    return actions;
}

const ClassInfo& UIControl::objcClassInfo() {
    static const ClassInfo info = ClassBuilder<UIControl>().build();
    return info;
}
