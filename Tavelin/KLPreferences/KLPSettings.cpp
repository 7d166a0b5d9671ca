#include "KLPreferences/KLPSettings.h"

#include <map>
#include <mutex>

#include "Foundation/AtomicFile.h"
#include "Foundation/NSLog.h"
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
// kept aside first. Refused when the file cannot be read or kept aside: it
// is not replaced then.
Result<NSDictionary::Storage> settingsFileEntries(const std::string& path) {
    PropertyListFile kind = PropertyListFile::Ok;
    Result<Ref<NSDictionary>> contents = readDictionaryFile(path, kind);
    switch (kind) {
    case PropertyListFile::Ok:
        return (*contents)->entries();
    case PropertyListFile::Missing:
        return NSDictionary::Storage{};
    case PropertyListFile::Unavailable:
        return Problem{contents.problem()};
    case PropertyListFile::Damaged:
        break;
    }
    Result<std::string> aside = keepAside(path);
    if (!aside)
        return Problem{contents.problem() + ", and it could not be kept aside: not replacing it"};
    NSLog("KLPSettings: %s; kept as %s, starting a new file"_ns, contents.problem().c_str(),
          aside->c_str());
    return NSDictionary::Storage{};
}

Result<void> writeSettingsFile(const std::string& path, const Changes& changes) {
    FileLock lock(path);
    if (!lock.held()) return Problem{lock.error()};
    Result<NSDictionary::Storage> entries = settingsFileEntries(path);
    if (!entries) return Problem{entries.problem()};
    for (const auto& [key, value] : changes)
        if (value)
            entries->insert_or_assign(key, value);
        else
            entries->erase(key);
    removeDeadTemporaries(path);
    Ref<NSDictionary> contents = make<NSDictionary>(&NSDictionary::initWithStorage, *entries);
    return writeDictionaryFile(path, contents);
}

// Writes the key's new value (nil removes it) to the file with the values
// still pending there; they stay pending when the file cannot be written.
Result<void> saveToFile(const std::string& path, const std::string& key, NSObject* newValue) {
    Ref<NSObject> copy;
    if (newValue) {
        Result<Ref<NSObject>> copied = propertyListCopy(newValue);
        if (!copied) return Problem{copied.problem()};
        copy = *copied;
    }
    std::lock_guard lock(pendingMutex);
    Changes& pending = pendingSaves[path];
    pending.insert_or_assign(key, copy);
    Result<void> written = writeSettingsFile(path, pending);
    if (written) pendingSaves.erase(path);
    return written;
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
    std::string path = _fileSave ? _fileSave->utf8() : "";
    Result<void> saved = _fileSave && _key ? saveToFile(path, _key->utf8(), newValue)
                                           : Problem{"no settings file is set"};
    if (saved) return;
    NSLog("KLPSettings: not saving %s: %s"_ns, _key ? _key->UTF8String() : "(no key)",
          saved.problem().c_str());
    postSaveFailure(this, path, saved.problem());
}

void KLPSettings::observeValueForKeyPathImp(NSString*, NSObject*, NSDictionary*, void*) {
    if (ChangeBlock block = _valueDidChangeBlock) block();
}

OBJC_IMPLEMENT_LOADED_CLASS(KLPSettings)
