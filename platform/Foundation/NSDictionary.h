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

    OBJC_CLASS_METHOD(Ref<NSDictionary>, dictionary, "dictionary")
    // Pairs with a nil key or value are left out.
    OBJC_CLASS_METHOD(Ref<NSDictionary>, dictionaryWithObjects,
                      "dictionaryWithObjects:forKeys:count:", NSObject* const*, NSString* const*,
                      NSUInteger)
    OBJC_METHOD(NSDictionary*, initWithObjects, "initWithObjects:forKeys:count:", NSObject* const*,
                NSString* const*, NSUInteger)

    // The dictionary of a property-list file in any encoding; nil when the
    // file is missing, unreadable, no property list, or its root is no dictionary.
    OBJC_CLASS_METHOD(Ref<NSDictionary>, dictionaryWithContentsOfFile,
                      "dictionaryWithContentsOfFile:", NSString*)
    OBJC_METHOD(NSDictionary*, initWithContentsOfFile, "initWithContentsOfFile:", NSString*)

    // Writes an XML property list, always atomically (a temporary file renamed
    // over the old one). NO, with the reason on stderr, when an entry is no
    // property-list object or the file cannot be written; the old file stays.
    OBJC_METHOD(bool, writeToFile, "writeToFile:atomically:", NSString*, bool)

    OBJC_METHOD(NSUInteger, count, "count")
    OBJC_METHOD(NSObject*, objectForKey, "objectForKey:", const NSString*)
    OBJC_OVERRIDE(bool, isEqual, "isEqual:", NSObject*)

    // C++ helpers, not messages: the entries in key order, a lookup by text,
    // and an initialiser that takes the entries (the property-list reader's).
    using Storage = std::map<std::string, Ref<NSObject>, std::less<>>;
    const Storage& entries() const { return _entries; }
    NSObject* objectForKey(std::string_view key) const;
    NSDictionary* initWithStorage(Storage storage);

  protected:
    Storage _entries;
};

struct NSMutableDictionary : NSDictionary {
    OBJC_CLASS(NSMutableDictionary, NSDictionary)

    // A nil value or key is refused: the dictionary stays as it was.
    OBJC_METHOD(void, setObject, "setObject:forKey:", NSObject*, const NSString*)
    OBJC_METHOD(void, removeObjectForKey, "removeObjectForKey:", const NSString*)

    // The inherited factories: sent to this class, they answer mutable dictionaries.
    static Ref<NSMutableDictionary> dictionary() {
        return send<Ref<NSMutableDictionary>>(objcClass(), "dictionary"_sel);
    }
    static Ref<NSMutableDictionary> dictionaryWithContentsOfFile(NSString* path) {
        return send<Ref<NSMutableDictionary>>(objcClass(), "dictionaryWithContentsOfFile:"_sel,
                                              path);
    }
};
