#include "Foundation/NSDictionary.h"

#include <algorithm>
#include <cstdio>

#include "Foundation/NSArray.h"
#include "Foundation/PropertyList.h"
#include "ObjectModel/ClassBuilder.h"

Ref<NSDictionary> NSDictionary::dictionary() {
    return make<NSDictionary>(&NSDictionary::initWithStorage, Storage{});
}

Ref<NSDictionary> NSDictionary::dictionaryWithObjects(NSObject* const* objects,
                                                      NSString* const* keys, NSUInteger count) {
    Storage storage;
    for (NSUInteger i = 0; i < count; ++i)
        if (objects[i] && keys[i])
            storage.insert_or_assign(keys[i]->utf8(), Ref<NSObject>(objects[i]));
    return make<NSDictionary>(&NSDictionary::initWithStorage, std::move(storage));
}

NSDictionary* NSDictionary::initWithStorage(Storage storage) {
    _entries = std::move(storage);
    return this;
}

Ref<NSDictionary> NSDictionary::dictionaryWithContentsOfFile(NSString* path) {
    return make<NSDictionary>(&NSDictionary::initWithContentsOfFile, path);
}

NSDictionary* NSDictionary::initWithContentsOfFile(NSString* path) {
    Ref<NSDictionary> contents;
    std::string error;
    if (!path || readDictionaryFile(path->utf8(), contents, error) != PropertyListFile::Ok)
        return nullptr;
    _entries = contents->_entries;
    return this;
}

bool NSDictionary::writeToFile(NSString* path, bool) const {
    std::string error = "no path given";
    if (path && writeDictionaryFile(path->utf8(), this, error)) return true;
    std::fprintf(stderr, "NSDictionary: %s\n", error.c_str());
    return false;
}

NSObject* NSDictionary::objectForKey(const NSString* key) const {
    return key ? objectForKey(key->utf8()) : nullptr;
}

NSObject* NSDictionary::objectForKey(std::string_view key) const {
    auto found = _entries.find(key);
    return found == _entries.end() ? nullptr : found->second.get();
}

bool NSDictionary::isEqual(NSObject* other) {
    const NSDictionary* dictionary = as<NSDictionary>(other);
    return dictionary && std::equal(_entries.begin(), _entries.end(), dictionary->_entries.begin(),
                                    dictionary->_entries.end(), [](const auto& a, const auto& b) {
                                        return a.first == b.first &&
                                               objectsEqual(a.second, b.second);
                                    });
}

const ClassInfo& NSDictionary::objcClassInfo() {
    static const ClassInfo info =
        ClassBuilder<NSDictionary>().method<"isEqual:", &NSDictionary::isEqual>().build();
    return info;
}

Ref<NSMutableDictionary> NSMutableDictionary::dictionary() {
    return make<NSMutableDictionary>(&NSMutableDictionary::initWithStorage, Storage{});
}

Ref<NSMutableDictionary> NSMutableDictionary::dictionaryWithContentsOfFile(NSString* path) {
    return make<NSMutableDictionary>(&NSMutableDictionary::initWithContentsOfFile, path);
}

void NSMutableDictionary::setObject(NSObject* value, const NSString* key) {
    if (value && key) _entries.insert_or_assign(key->utf8(), Ref<NSObject>(value));
}

void NSMutableDictionary::removeObjectForKey(const NSString* key) {
    if (key) _entries.erase(key->utf8());
}

const ClassInfo& NSMutableDictionary::objcClassInfo() {
    static const ClassInfo info = ClassBuilder<NSMutableDictionary>().build();
    return info;
}
