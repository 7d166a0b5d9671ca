#include "Foundation/NSUserDefaults.h"

#include "Foundation/NSNumber.h"
#include "objc/ClassBuilder.h"

NSUserDefaults* NSUserDefaults::standardUserDefaults() {
    static NSUserDefaults* const store = make<NSUserDefaults>(&NSUserDefaults::init).leak();
    return store;
}

NSUserDefaults* NSUserDefaults::init() {
    return this;
}

NSObject* NSUserDefaults::lookup(const NSString* key) const {
    if (!key) return nullptr;
    if (auto found = _persistent.find(key->utf8()); found != _persistent.end()) return found->second;
    if (auto found = _registered.find(key->utf8()); found != _registered.end()) return found->second;
    return nullptr;
}

Ref<NSObject> NSUserDefaults::objectForKey(const NSString* key) {
    std::lock_guard lock(_mutex);
    return lookup(key);
}

bool NSUserDefaults::boolForKey(const NSString* key) {
    std::lock_guard lock(_mutex);
    NSObject* value = lookup(key);
    if (const NSNumber* number = as<NSNumber>(value)) return number->boolValue();
    if (const NSString* text = as<NSString>(value)) return text->boolValue();
    return false;
}

void NSUserDefaults::setObject(NSObject* value, const NSString* key) {
    if (!key) return;
    std::lock_guard lock(_mutex);
    if (value)
        _persistent.insert_or_assign(key->utf8(), Ref<NSObject>(value));
    else
        _persistent.erase(key->utf8());
}

void NSUserDefaults::registerDefaults(const NSDictionary* defaults) {
    if (!defaults) return;
    std::lock_guard lock(_mutex);
    for (const auto& [key, value] : defaults->entries()) _registered.insert_or_assign(key, value);
}

bool NSUserDefaults::synchronize() {
    return true;
}

const ClassInfo& NSUserDefaults::objcClassInfo() {
    static const ClassInfo info = ClassBuilder<NSUserDefaults>().build();
    return info;
}
