// A view that the user changes: target-action pairs per control event. Each
// action is sent as a message to its target, with the control as sender
// (or nothing, for an action that takes no argument). Targets are not owned;
// a nil target is skipped.
#pragma once

#include <vector>

#include "UIKit/UIView.h"

enum UIControlEvents : unsigned long {
    UIControlEventTouchUpInside = 1ul << 6,
    UIControlEventValueChanged = 1ul << 12,
    UIControlEventEditingDidBegin = 1ul << 16,
    UIControlEventEditingChanged = 1ul << 17,
    UIControlEventEditingDidEnd = 1ul << 18,
    UIControlEventAllEvents = 0xFFFFFFFFul,
};

struct UIControl : UIView {
    OBJC_CLASS(UIControl, UIView)

    // The same target, action and events twice are kept once.
    OBJC_METHOD(void, addTarget, "addTarget:action:forControlEvents:", id, SEL, unsigned long)
    // A nil action removes every action of the target for these events.
    OBJC_METHOD(void, removeTarget, "removeTarget:action:forControlEvents:", id, SEL, unsigned long)
    // Sends sendAction:to:forEvent: for each action registered for any of
    // the events, in the order they were added. A disabled control sends
    // nothing.
    OBJC_METHOD(void, sendActionsForControlEvents, "sendActionsForControlEvents:", unsigned long)
    // Hands the action to the application, with this control as sender.
    OBJC_METHOD(void, sendAction, "sendAction:to:forEvent:", SEL, id, id)
    // The names of the actions registered for the target and event, in
    // order; nil when there are none.
    OBJC_METHOD(Ref<NSArray>, actionsForTarget, "actionsForTarget:forControlEvent:", id,
                unsigned long)
    OBJC_PROPERTY_AS(bool, enabled, isEnabled, setEnabled)

  private:
    struct TargetAction {
        id target;
        SEL action;
        unsigned long events;
    };
    std::vector<TargetAction> _targets;
    bool _enabled = true;
};
