#include "KLPSettings.h"

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

Ref<KLPSettings> KLPSettings::settingsWithKey(NSString* key, NSObject* defaultValue) {
    return make<KLPSettings>(&KLPSettings::initWithKey, key, defaultValue);
}

KLPSettings* KLPSettings::initWithKey(NSString* key, NSObject* defaultValue) {
    setKey(key);
    NSObject* const objects[] = {defaultValue};
    NSString* const keys[] = {key};
    NSUserDefaults::standardUserDefaults()->registerDefaults(
        NSDictionary::dictionaryWithObjects(objects, keys, 1));
    return this;
}

Ref<NSObject> KLPSettings::value() const {
    return NSUserDefaults::standardUserDefaults()->objectForKey(_key);
}

void KLPSettings::setValue(NSObject* value) {
    if (this->value().get() == value) return;
    NSUserDefaults* store = NSUserDefaults::standardUserDefaults();
    if (!store->setObject(value, _key)) return;
    store->synchronize();
    if (_fileSave && _fileSave->length() > 0) saveValue(value);
}

void KLPSettings::saveValue(NSObject* value) {
    std::string error = "no settings file is set";
    if (!_fileSave || !_key || (value && !isPropertyList(value, error))) {
        std::fprintf(stderr, "KLPSettings: not saving %s: %s\n",
                     _key ? _key->UTF8String() : "(no key)", error.c_str());
        return;
    }
    FileLock lock(_fileSave->utf8());
    std::optional<NSDictionary::Storage> entries = settingsFileEntries(_fileSave->utf8());
    if (!entries) return;
    if (value)
        entries->insert_or_assign(_key->utf8(), Ref<NSObject>(value));
    else
        entries->erase(_key->utf8());
    make<NSDictionary>(&NSDictionary::initWithStorage, std::move(*entries))
        ->writeToFile(_fileSave, true);
}

void KLPSettings::observeValueForKeyPath(NSString*, NSObject*, NSDictionary*, void*) {
    if (_valueDidChangeBlock) _valueDidChangeBlock();
}

const ClassInfo& KLPSettings::objcClassInfo() {
    static const ClassInfo info = ClassBuilder<KLPSettings>()
                                      .method<"observeValueForKeyPath:ofObject:change:context:",
                                              &KLPSettings::observeValueForKeyPath>()
                                      .build();
    return info;
}
