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

    UIControl* initWithFrame(CGRect frame);

    // The same target, action and events twice are kept once.
    void addTarget(id target, SEL action, unsigned long events);
    // A nil action removes every action of the target for these events.
    void removeTarget(id target, SEL action, unsigned long events);
    // Sends the actions registered for any of the events, in the order they
    // were added. A disabled control sends nothing.
    void sendActionsForControlEvents(unsigned long events);
    // Actions registered for the target and event, in order.
    std::vector<SEL> actionsForTarget(id target, unsigned long event) const;

    bool isEnabled() const { return _enabled; }
    void setEnabled(bool enabled) { _enabled = enabled; }

  private:
    struct TargetAction {
        id target;
        SEL action;
        unsigned long events;
    };
    std::vector<TargetAction> _targets;
    bool _enabled = true;
};
