// Notifications: a name, an object, delivered synchronously by a center to
// the observers registered for that name (or for every name) and object.
#pragma once

#include <functional>
#include <memory>
#include <mutex>
#include <vector>

#include "Foundation/NSDictionary.h"
#include "Foundation/NSString.h"
#include "ObjectModel/NSObject.h"

struct NSNotification : NSObject {
    OBJC_CLASS(NSNotification, NSObject)

    OBJC_CLASS_METHOD(Ref<NSNotification>, notificationWithName,
                      "notificationWithName:object:", NSString*, NSObject*)
    OBJC_METHOD(NSNotification*, initWithName, "initWithName:object:userInfo:", NSString*,
                NSObject*, NSDictionary*)
    OBJC_READONLY(NSString*, name)
    OBJC_READONLY(NSObject*, object)
    OBJC_READONLY(NSDictionary*, userInfo)

  private:
    Ref<NSString> _name;
    Ref<NSObject> _object;
    Ref<NSDictionary> _userInfo;
};

// Inline, not extern: with copy relocations and -Bsymbolic, a program would
// read its own uninitialised copy of an extern constant of a library.
inline NSString* const NSUserDefaultsDidChangeNotification =
    "NSUserDefaultsDidChangeNotification"_ns;

struct NSNotificationCenter : NSObject {
    OBJC_CLASS(NSNotificationCenter, NSObject)

    using Block = std::function<void(NSNotification*)>;

    OBJC_CLASS_METHOD(NSNotificationCenter*, defaultCenter, "defaultCenter")

    // A nil name observes every name; a nil object observes every sender.
    // The observer is not retained: remove it before it goes away.
    OBJC_METHOD(void, addObserver, "addObserver:selector:name:object:", id, SEL, NSString*,
                NSObject*)
    // Answers the token that removeObserver: takes to stop the block. The
    // queue is not used: blocks run on the posting thread, as with a nil queue.
    OBJC_METHOD(Ref<NSObject>, addObserverForName,
                "addObserverForName:object:queue:usingBlock:", NSString*, NSObject*, NSObject*,
                Block)
    OBJC_METHOD(void, removeObserver, "removeObserver:", id)
    OBJC_METHOD(void, removeObserver, "removeObserver:name:object:", id, NSString*, NSObject*)

    // Observers removed during a post (also by themselves) are not called again.
    OBJC_METHOD(void, postNotification, "postNotification:", NSNotification*)
    OBJC_METHOD(void, postNotificationName, "postNotificationName:object:", NSString*, NSObject*)
    OBJC_METHOD(void, postNotificationName, "postNotificationName:object:userInfo:", NSString*,
                NSObject*, NSDictionary*)

    // C++ convenience: addObserverForName:object:queue:usingBlock: without a queue.
    Ref<NSObject> addObserverForName(NSString* name, NSObject* object, Block block) const {
        return addObserverForName(name, object, nullptr, std::move(block));
    }

  private:
    struct Observation {
        id observer = nullptr;
        SEL selector = nullptr;
        Ref<NSString> name;
        NSObject* object = nullptr;
        Block block;
        std::atomic<bool> removed{false};
    };
    using Entry = std::shared_ptr<Observation>;

    void add(id observer, SEL selector, NSString* name, NSObject* object, Block block);
    std::vector<Entry> matching(NSNotification* notification);

    std::mutex _mutex;
    std::vector<Entry> _observations;
};
