// Notifications: a name, an object, delivered synchronously by a center to
// the observers registered for that name (or for every name) and object.
#pragma once

#include <functional>
#include <memory>
#include <mutex>
#include <vector>

#include "Foundation/NSString.h"
#include "ObjectModel/NSObject.h"

struct NSNotification : NSObject {
    OBJC_CLASS(NSNotification, NSObject)

    static Ref<NSNotification> notificationWithName(NSString* name, NSObject* object);
    NSNotification* initWithName(NSString* name, NSObject* object);

    NSString* name() const { return _name; }
    NSObject* object() const { return _object; }

  private:
    Ref<NSString> _name;
    Ref<NSObject> _object;
};

extern NSString* const NSUserDefaultsDidChangeNotification;

struct NSNotificationCenter : NSObject {
    OBJC_CLASS(NSNotificationCenter, NSObject)

    using Block = std::function<void(NSNotification*)>;

    static NSNotificationCenter* defaultCenter();
    NSNotificationCenter* init() { return this; }

    // A nil name observes every name; a nil object observes every sender.
    // The observer is not retained: remove it before it goes away.
    void addObserver(id observer, SEL selector, NSString* name, NSObject* object);
    // Answers the token that removeObserver: takes to stop the block.
    Ref<NSObject> addObserverForName(NSString* name, NSObject* object, Block block);
    void removeObserver(id observer);
    void removeObserver(id observer, NSString* name, NSObject* object);

    // Observers removed during a post (also by themselves) are not called again.
    void postNotification(NSNotification* notification);
    void postNotificationName(NSString* name, NSObject* object);

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
