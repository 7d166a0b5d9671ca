// The running application: opens URLs through a handler that the host sets.
// Without a handler a URL counts as opened.
#pragma once

#include <functional>

#include "Foundation/NSURL.h"
#include "ObjectModel/NSObject.h"

// Posted through the default center when the system runs short of memory.
extern NSString* const UIApplicationDidReceiveMemoryWarningNotification;

struct UIApplication : NSObject {
    OBJC_CLASS(UIApplication, NSObject)

    using URLHandler = std::function<bool(NSURL*)>;

    // The one application, whatever class receives the message.
    OBJC_CLASS_METHOD(UIApplication*, sharedApplication, "sharedApplication")
    // Sends an action to a target as a message, with the sender as its
    // argument, or without one when the target's method takes none. No
    // action, no target, or a target that does not answer the action sends
    // nothing (answers false). The event is not used.
    OBJC_METHOD(bool, sendAction, "sendAction:to:from:forEvent:", SEL, id, id, id)
    // nil opens nothing (answers false).
    OBJC_METHOD(bool, openURL, "openURL:", NSURL*)

    // sendAction:to:from:forEvent: without an event.
    bool sendAction(SEL action, id target, id sender) const {
        return sendAction(action, target, sender, nullptr);
    }

    // The host's handler (a C++ helper); an empty one removes it.
    void setURLHandler(URLHandler handler) { _urlHandler = std::move(handler); }

  private:
    URLHandler _urlHandler;
};
