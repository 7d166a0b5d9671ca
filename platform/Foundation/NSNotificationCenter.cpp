#include "Foundation/NSNotificationCenter.h"

#include <algorithm>

#include "ObjectModel/ClassBuilder.h"
#include "ObjectModel/Message.h"

Ref<NSNotification> NSNotification::notificationWithNameImp(Class cls, NSString* name,
                                                            NSObject* object) {
    return make<NSNotification>(cls, &NSNotification::initWithName, name, object, nullptr);
}

NSNotification* NSNotification::initWithNameImp(NSString* name, NSObject* object,
                                                NSDictionary* userInfo) {
    if (!sendSuper<NSObject*>(this, Super::objcClass(), "init"_sel)) return nullptr;
    _name = name;
    _object = object;
    _userInfo = userInfo;
    return this;
}

OBJC_IMPLEMENT_LOADED_CLASS(NSNotification)

namespace {

// What addObserverForName:object:queue:usingBlock: answers: the observer of its block.
struct NSBlockObserver : NSObject {
    OBJC_CLASS(NSBlockObserver, NSObject)
};

bool sameName(const NSString* a, const NSString* b) {
    return a == b || (a && a->isEqualToString(b));
}

} // namespace

OBJC_IMPLEMENT_LOADED_CLASS(NSBlockObserver)

// One center for the process, whichever class is asked.
NSNotificationCenter* NSNotificationCenter::defaultCenterImp(Class) {
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

void NSNotificationCenter::addObserverImp(id observer, SEL selector, NSString* name,
                                          NSObject* object) {
    if (observer && selector) add(observer, selector, name, object, {});
}

Ref<NSObject> NSNotificationCenter::addObserverForNameImp(NSString* name, NSObject* object,
                                                          NSObject*, Block block) {
    if (!block) return nullptr;
    Ref<NSObject> token = make<NSBlockObserver>(&NSBlockObserver::init);
    add(token, nullptr, name, object, std::move(block));
    return token;
}

void NSNotificationCenter::removeObserverImp(id observer) {
    removeObserver(observer, nullptr, nullptr);
}

void NSNotificationCenter::removeObserverImp(id observer, NSString* name, NSObject* object) {
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
    NSString* name = notification->name();
    NSObject* object = notification->object();
    std::lock_guard lock(_mutex);
    std::vector<Entry> found;
    for (const Entry& entry : _observations)
        if ((!entry->name || sameName(entry->name, name)) &&
            (!entry->object || entry->object == object))
            found.push_back(entry);
    return found;
}

void NSNotificationCenter::postNotificationImp(NSNotification* notification) {
    if (!notification) return;
    for (const Entry& entry : matching(notification)) {
        if (entry->removed) continue;
        if (entry->block)
            entry->block(notification);
        else
            send<void>(entry->observer, entry->selector, static_cast<id>(notification));
    }
}

void NSNotificationCenter::postNotificationNameImp(NSString* name, NSObject* object) {
    postNotification(NSNotification::notificationWithName(name, object));
}

void NSNotificationCenter::postNotificationNameImp(NSString* name, NSObject* object,
                                                   NSDictionary* userInfo) {
    postNotification(make<NSNotification>(&NSNotification::initWithName, name, object, userInfo));
}

OBJC_IMPLEMENT_LOADED_CLASS(NSNotificationCenter)
