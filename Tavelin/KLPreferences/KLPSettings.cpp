#include "KLPreferences/KLPSettings.h"

#include <cstdio>
#include <optional>

#include "Foundation/AtomicFile.h"
#include "Foundation/NSUserDefaults.h"
#include "Foundation/PropertyList.h"
#include "ObjectModel/ClassBuilder.h"

namespace {

// The settings file's entries; a file that exists but is no dictionary is
// moved aside first. Nothing when it could not be moved (it is not replaced).
std::optional<NSDictionary::Storage> settingsFileEntries(const std::string& path) {
    Ref<NSDictionary> contents;
    std::string error;
    switch (readDictionaryFile(path, contents, error)) {
    case PropertyListFile::Ok:
        return contents->entries();
    case PropertyListFile::Missing:
        return NSDictionary::Storage{};
    case PropertyListFile::Damaged:
        break;
    }
    std::string aside = keepAside(path);
    if (aside.empty()) {
        std::fprintf(stderr, "KLPSettings: %s, and it could not be moved aside: not replacing it\n",
                     error.c_str());
        return std::nullopt;
    }
    std::fprintf(stderr, "KLPSettings: %s; kept as %s, starting a new file\n", error.c_str(),
                 aside.c_str());
    return NSDictionary::Storage{};
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
    NSUserDefaults::standardUserDefaults()->registerDefaults(
        NSDictionary::dictionaryWithObjects(objects, keys, 1));
    return this;
}

Ref<NSObject> KLPSettings::valueImp() {
    return NSUserDefaults::standardUserDefaults()->objectForKey(key());
}

void KLPSettings::setValueImp(NSObject* newValue) {
    if (value().get() == newValue) return;
    NSUserDefaults* store = NSUserDefaults::standardUserDefaults();
    if (!store->setObject(newValue, key())) return;
    store->synchronize();
    NSString* path = fileSave();
    if (path && path->length() > 0) saveValue(newValue);
}

void KLPSettings::saveValueImp(NSObject* newValue) {
    std::string error = "no settings file is set";
    if (!_fileSave || !_key || (newValue && !isPropertyList(newValue, error))) {
        std::fprintf(stderr, "KLPSettings: not saving %s: %s\n",
                     _key ? _key->UTF8String() : "(no key)", error.c_str());
        return;
    }
    FileLock lock(_fileSave->utf8());
    std::optional<NSDictionary::Storage> entries = settingsFileEntries(_fileSave->utf8());
    if (!entries) return;
    if (newValue)
        entries->insert_or_assign(_key->utf8(), Ref<NSObject>(newValue));
    else
        entries->erase(_key->utf8());
    make<NSDictionary>(&NSDictionary::initWithStorage, std::move(*entries))
        ->writeToFile(_fileSave, true);
}

void KLPSettings::observeValueForKeyPathImp(NSString*, NSObject*, NSDictionary*, void*) {
    if (ChangeBlock block = _valueDidChangeBlock) block();
}

OBJC_IMPLEMENT_LOADED_CLASS(KLPSettings)
