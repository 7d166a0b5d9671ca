// Dictionaries with string keys, kept sorted by key as the platform's
// property-list writer sorts them.
#pragma once

#include <map>
#include <string>

#include "Foundation/NSObjCRuntime.h"
#include "Foundation/NSString.h"
#include "ObjectModel/NSObject.h"

struct NSDictionary : NSObject {
    OBJC_CLASS(NSDictionary, NSObject)

    using Storage = std::map<std::string, Ref<NSObject>, std::less<>>;

    static Ref<NSDictionary> dictionary();
    // Pairs with a nil key or value are left out.
    static Ref<NSDictionary> dictionaryWithObjects(NSObject* const* objects, NSString* const* keys,
                                                   NSUInteger count);

    // The dictionary of a property-list file in any encoding; nil when the
    // file is missing, unreadable, no property list, or its root is no dictionary.
    static Ref<NSDictionary> dictionaryWithContentsOfFile(NSString* path);

    NSDictionary* initWithStorage(Storage storage);
    NSDictionary* initWithContentsOfFile(NSString* path);

    // Writes an XML property list, always atomically (a temporary file renamed
    // over the old one). NO, with the reason on stderr, when an entry is no
    // property-list object or the file cannot be written; the old file stays.
    bool writeToFile(NSString* path, bool atomically) const;

    NSUInteger count() const { return _entries.size(); }
    NSObject* objectForKey(const NSString* key) const;
    NSObject* objectForKey(std::string_view key) const;
    const Storage& entries() const { return _entries; }

    // Messages.
    bool isEqual(NSObject* other);

  protected:
    Storage _entries;
};

struct NSMutableDictionary : NSDictionary {
    OBJC_CLASS(NSMutableDictionary, NSDictionary)

    static Ref<NSMutableDictionary> dictionary();
    static Ref<NSMutableDictionary> dictionaryWithContentsOfFile(NSString* path);

    // A nil value or key is refused: the dictionary stays as it was.
    void setObject(NSObject* value, const NSString* key);
    void removeObjectForKey(const NSString* key);
};
