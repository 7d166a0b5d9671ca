#include "Foundation/NSDictionary.h"

#include <algorithm>

#include "Foundation/NSArray.h"
#include "Foundation/NSLog.h"
#include "Foundation/PropertyList.h"
#include "ObjectModel/ClassBuilder.h"

Ref<NSDictionary> NSDictionary::dictionaryImp(Class cls) {
    return make<NSDictionary>(cls, &NSDictionary::initWithObjects, nullptr, nullptr, 0);
}

Ref<NSDictionary> NSDictionary::dictionaryWithObjectsImp(Class cls, NSObject* const* objects,
                                                         NSString* const* keys, NSUInteger count) {
    return make<NSDictionary>(cls, &NSDictionary::initWithObjects, objects, keys, count);
}

NSDictionary* NSDictionary::initWithObjectsImp(NSObject* const* objects, NSString* const* keys,
                                               NSUInteger count) {
    Storage storage;
    for (NSUInteger i = 0; i < count; ++i)
        if (objects[i] && keys[i])
            storage.insert_or_assign(keys[i]->utf8(), Ref<NSObject>(objects[i]));
    return initWithStorage(std::move(storage));
}

NSDictionary* NSDictionary::initWithStorage(Storage storage) {
    if (!sendSuper<NSObject*>(this, Super::objcClass(), "init"_sel)) return nullptr;
    _entries = std::move(storage);
    return this;
}

Ref<NSDictionary> NSDictionary::dictionaryWithContentsOfFileImp(Class cls, NSString* path) {
    return make<NSDictionary>(cls, &NSDictionary::initWithContentsOfFile, path);
}

NSDictionary* NSDictionary::initWithContentsOfFileImp(NSString* path) {
    PropertyListFile kind = PropertyListFile::Ok;
    Result<Ref<NSDictionary>> contents =
        path ? readDictionaryFile(path->utf8(), kind) : Problem{"no path given"};
    return contents ? initWithStorage((*contents)->_entries) : nullptr;
}

bool NSDictionary::writeToFileImp(NSString* path, bool) {
    Result<void> written =
        path ? writeDictionaryFile(path->utf8(), this) : Problem{"no path given"};
    if (!written) NSLog("NSDictionary: %s"_ns, written.problem().c_str());
    return static_cast<bool>(written);
}

NSUInteger NSDictionary::countImp() {
    return _entries.size();
}

NSObject* NSDictionary::objectForKeyImp(const NSString* key) {
    return key ? objectForKey(key->utf8()) : nullptr;
}

NSObject* NSDictionary::objectForKey(std::string_view key) const {
    auto found = _entries.find(key);
    return found == _entries.end() ? nullptr : found->second.get();
}

bool NSDictionary::isEqualImp(NSObject* other) {
    const NSDictionary* dictionary = as<NSDictionary>(other);
    return dictionary && std::equal(_entries.begin(), _entries.end(), dictionary->_entries.begin(),
                                    dictionary->_entries.end(), [](const auto& a, const auto& b) {
                                        return a.first == b.first &&
                                               objectsEqual(a.second, b.second);
                                    });
}

OBJC_IMPLEMENT_LOADED_CLASS(NSDictionary)

void NSMutableDictionary::setObjectImp(NSObject* value, const NSString* key) {
    if (value && key) _entries.insert_or_assign(key->utf8(), Ref<NSObject>(value));
}

void NSMutableDictionary::removeObjectForKeyImp(const NSString* key) {
    if (key) _entries.erase(key->utf8());
}

OBJC_IMPLEMENT_LOADED_CLASS(NSMutableDictionary)
