#include "KLPreferences/KLPSettings.h"

#include <cstdio>
#include <map>
#include <mutex>
#include <optional>

#include "Foundation/AtomicFile.h"
#include "Foundation/NSUserDefaults.h"
#include "Foundation/PropertyList.h"
#include "ObjectModel/ClassBuilder.h"

namespace {

using Changes = std::map<std::string, Ref<NSObject>, std::less<>>;

// Values whose settings file could not be written, by file (nil removes a
// key): written with the next save to that file.
std::mutex pendingMutex;
std::map<std::string, Changes> pendingSaves;

// The settings file's entries; a regular file that is no dictionary is
// kept aside first. Nothing when the file cannot be read or kept aside: it
// is not replaced then.
std::optional<NSDictionary::Storage> settingsFileEntries(const std::string& path,
                                                         std::string& error) {
    Ref<NSDictionary> contents;
    switch (readDictionaryFile(path, contents, error)) {
    case PropertyListFile::Ok:
        return contents->entries();
    case PropertyListFile::Missing:
        return NSDictionary::Storage{};
    case PropertyListFile::Unavailable:
        return std::nullopt;
    case PropertyListFile::Damaged:
        break;
    }
    std::string aside = keepAside(path);
    if (aside.empty()) {
        error += ", and it could not be kept aside: not replacing it";
        return std::nullopt;
    }
    std::fprintf(stderr, "KLPSettings: %s; kept as %s, starting a new file\n", error.c_str(),
                 aside.c_str());
    return NSDictionary::Storage{};
}

bool writeSettingsFile(const std::string& path, const Changes& changes, std::string& error) {
    FileLock lock(path);
    if (!lock.held()) {
        error = lock.error();
        return false;
    }
    std::optional<NSDictionary::Storage> entries = settingsFileEntries(path, error);
    if (!entries) return false;
    for (const auto& [key, value] : changes)
        if (value)
            entries->insert_or_assign(key, value);
        else
            entries->erase(key);
    removeDeadTemporaries(path);
    Ref<NSDictionary> contents = make<NSDictionary>(&NSDictionary::initWithStorage, *entries);
    return writeDictionaryFile(path, contents, error);
}

} // namespace

Ref<KLPSettings> KLPSettings::settingsWithKeyImp(Class cls, NSString* key, NSObject* defaultValue) {
    return make<KLPSettings>(cls, &KLPSettings::initWithKey, key, defaultValue);
}

KLPSettings* KLPSettings::initWithKeyImp(NSString* key, NSObject* defaultValue) {
    if (!sendSuper<NSObject*>(this, Super::objcClass(), "init"_sel)) return nullptr;
    setKey(key);
    NSObject* const objects[] = {defaultValue};
    NSString* const keys[] = {key};
    store()->registerDefaults(NSDictionary::dictionaryWithObjects(objects, keys, 1));
    return this;
}

Ref<KLPSettings> KLPSettings::settingsWithKey_defaultsImp(Class cls, NSString* key,
                                                          NSObject* defaultValue,
                                                          NSUserDefaults* defaults) {
    return make<KLPSettings>(cls, &KLPSettings::initWithKey_defaults, key, defaultValue, defaults);
}

KLPSettings* KLPSettings::initWithKey_defaultsImp(NSString* key, NSObject* defaultValue,
                                                  NSUserDefaults* defaults) {
    _defaults = defaults; // before the initialiser, which registers the default there
    return initWithKey(key, defaultValue);
}

NSUserDefaults* KLPSettings::store() const {
    NSUserDefaults* own = defaults();
    return own ? own : NSUserDefaults::standardUserDefaults();
}

Ref<NSObject> KLPSettings::valueImp() {
    return store()->objectForKey(key());
}

void KLPSettings::setValueImp(NSObject* newValue) {
    if (value().get() == newValue) return;
    NSUserDefaults* store = this->store();
    if (!store->setObject(newValue, key())) return;
    store->synchronize(); // a failure is reported by the store and retried at its next synchronize
    NSString* path = fileSave();
    if (path && path->length() > 0) saveValue(newValue);
}

void KLPSettings::saveValueImp(NSObject* newValue) {
    std::string error = "no settings file is set", path = _fileSave ? _fileSave->utf8() : "";
    Ref<NSObject> copy;
    if (_fileSave && _key && (!newValue || (copy = propertyListCopy(newValue, error)))) {
        std::lock_guard lock(pendingMutex);
        Changes& pending = pendingSaves[path];
        pending.insert_or_assign(_key->utf8(), copy);
        if (writeSettingsFile(path, pending, error)) {
            pendingSaves.erase(path);
            return;
        }
    }
    std::fprintf(stderr, "KLPSettings: not saving %s: %s\n", _key ? _key->UTF8String() : "(no key)",
                 error.c_str());
    postSaveFailure(this, path, error);
}

void KLPSettings::observeValueForKeyPathImp(NSString*, NSObject*, NSDictionary*, void*) {
    if (ChangeBlock block = _valueDidChangeBlock) block();
}

OBJC_IMPLEMENT_LOADED_CLASS(KLPSettings)
