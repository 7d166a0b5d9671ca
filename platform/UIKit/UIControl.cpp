#include "UIKit/UIControl.h"

#include <algorithm>

#include "ObjectModel/ClassBuilder.h"
#include "UIKit/UIApplication.h"

void UIControl::addTargetImp(id target, SEL action, unsigned long events) {
    for (TargetAction& entry : _targets)
        if (entry.target == target && sel_isEqual(entry.action, action)) {
            entry.events |= events;
            return;
        }
    _targets.push_back({target, action, events});
}

void UIControl::removeTargetImp(id target, SEL action, unsigned long events) {
    for (TargetAction& entry : _targets)
        if (entry.target == target && (!action || sel_isEqual(entry.action, action)))
            entry.events &= ~events;
    std::erase_if(_targets, [](const TargetAction& entry) { return entry.events == 0; });
}

void UIControl::sendActionsForControlEventsImp(unsigned long events) {
    if (!isEnabled()) return;
    Ref<UIControl> keep = this;
    // A copy: an action may add or remove targets.
    const std::vector<TargetAction> targets = _targets;
    for (const TargetAction& entry : targets)
        if (entry.events & events) sendAction(entry.action, entry.target, nullptr);
}

void UIControl::sendActionImp(SEL action, id target, id event) {
    UIApplication::sharedApplication()->sendAction(action, target, this, event);
}

Ref<NSArray> UIControl::actionsForTargetImp(id target, unsigned long event) {
    Ref<NSMutableArray> actions = NSMutableArray::array();
    for (const TargetAction& entry : _targets)
        if (entry.target == target && (entry.events & event))
            actions->addObject(NSString::string(sel_getName(entry.action)));
    return actions->count() ? actions : nullptr;
}

OBJC_IMPLEMENT_LOADED_CLASS(UIControl)
