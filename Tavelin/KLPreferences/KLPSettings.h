// One persisted preference: a key, a default registered when the setting is
// made, and an optional settings file that mirrors the value. The value
// itself lives in the standard defaults store, never in the object.
#pragma once

#include <functional>

#include "Foundation/NSDictionary.h"
#include "Foundation/NSString.h"
#include "ObjectModel/NSObject.h"

struct KLPSettings : NSObject {
    OBJC_CLASS(KLPSettings, NSObject)

    static Ref<KLPSettings> settingsWithKey(NSString* key, NSObject* defaultValue);
    KLPSettings* initWithKey(NSString* key, NSObject* defaultValue);

    Ref<NSObject> value() const;
    void setValue(NSObject* value);
    void saveValue(NSObject* value);

    // Key-value-observing callback: runs valueDidChangeBlock, if any.
    void observeValueForKeyPath(NSString* keyPath, NSObject* object, NSDictionary* change,
                                void* context);

    const std::function<void()>& valueDidChangeBlock() const { return _valueDidChangeBlock; }
    void setValueDidChangeBlock(std::function<void()> block) {
        _valueDidChangeBlock = std::move(block);
    }
    NSString* key() const { return _key; }
    void setKey(NSString* key) { _key = key; }
    NSString* fileSave() const { return _fileSave; }
    void setFileSave(NSString* path) { _fileSave = path; }

  private:
    Ref<NSString> _key;
    Ref<NSString> _fileSave;
    std::function<void()> _valueDidChangeBlock;
};
