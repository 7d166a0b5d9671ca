#include "Foundation/NSNotificationCenter.h"

#include <algorithm>

#include "ObjectModel/ClassBuilder.h"
#include "ObjectModel/Message.h"

NSString* const NSUserDefaultsDidChangeNotification = "NSUserDefaultsDidChangeNotification"_ns;

Ref<NSNotification> NSNotification::notificationWithName(NSString* name, NSObject* object) {
    return make<NSNotification>(&NSNotification::initWithName, name, object);
}

NSNotification* NSNotification::initWithName(NSString* name, NSObject* object) {
    _name = name;
    _object = object;
    return this;
}

const ClassInfo& NSNotification::objcClassInfo() {
    static const ClassInfo info = ClassBuilder<NSNotification>().build();
    return info;
}

namespace {

// What addObserverForName:object:usingBlock: answers: the observer of its block.
struct NSBlockObserver : NSObject {
    OBJC_CLASS(NSBlockObserver, NSObject)
    NSBlockObserver* init() { return this; }
};

bool sameName(const NSString* a, const NSString* b) {
    return a == b || (a && a->isEqualToString(b));
}

} // namespace

const ClassInfo& NSBlockObserver::objcClassInfo() {
    static const ClassInfo info = ClassBuilder<NSBlockObserver>().build();
    return info;
}

NSNotificationCenter* NSNotificationCenter::defaultCenter() {
    static NSNotificationCenter* const center =
        make<NSNotificationCenter>(&NSNotificationCenter::init).leak();
    return center;
}

void NSNotificationCenter::add(id observer, SEL selector, NSString* name, NSObject* object,
                               Block block) {
    auto entry = std::make_shared<Observation>();
    entry->observer = observer;
    entry->selector = selector;
    entry->name = name;
    entry->object = object;
    entry->block = std::move(block);
    std::lock_guard lock(_mutex);
    _observations.push_back(std::move(entry));
}

void NSNotificationCenter::addObserver(id observer, SEL selector, NSString* name,
                                       NSObject* object) {
    if (observer && selector) add(observer, selector, name, object, {});
}

Ref<NSObject> NSNotificationCenter::addObserverForName(NSString* name, NSObject* object,
                                                       Block block) {
    if (!block) return nullptr;
    Ref<NSObject> token = make<NSBlockObserver>(&NSBlockObserver::init);
    add(token, nullptr, name, object, std::move(block));
    return token;
}

void NSNotificationCenter::removeObserver(id observer) {
    removeObserver(observer, nullptr, nullptr);
}

void NSNotificationCenter::removeObserver(id observer, NSString* name, NSObject* object) {
    std::lock_guard lock(_mutex);
    std::erase_if(_observations, [&](const Entry& entry) {
        bool match = entry->observer == observer && (!name || sameName(entry->name, name)) &&
                     (!object || entry->object == object);
        if (match) entry->removed = true;
        return match;
    });
}

std::vector<NSNotificationCenter::Entry>
NSNotificationCenter::matching(NSNotification* notification) {
    std::lock_guard lock(_mutex);
    std::vector<Entry> found;
    for (const Entry& entry : _observations)
        if ((!entry->name || sameName(entry->name, notification->name())) &&
            (!entry->object || entry->object == notification->object()))
            found.push_back(entry);
    return found;
}

void NSNotificationCenter::postNotification(NSNotification* notification) {
    if (!notification) return;
    for (const Entry& entry : matching(notification)) {
        if (entry->removed) continue;
        if (entry->block)
            entry->block(notification);
        else
            send<void>(entry->observer, entry->selector, static_cast<id>(notification));
    }
}

void NSNotificationCenter::postNotificationName(NSString* name, NSObject* object) {
    Ref<NSNotification> notification = NSNotification::notificationWithName(name, object);
    postNotification(notification);
}

const ClassInfo& NSNotificationCenter::objcClassInfo() {
    static const ClassInfo info = ClassBuilder<NSNotificationCenter>().build();
    return info;
}
