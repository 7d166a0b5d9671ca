// One persisted preference: a key, a default registered when the setting is
// made, and an optional settings file that mirrors the value. The value
// itself lives in the standard defaults store, never in the object.
#pragma once

#include <functional>

#include "Foundation/NSDictionary.h"
#include "Foundation/NSString.h"
#include "Foundation/NSUserDefaults.h"
#include "ObjectModel/NSObject.h"

struct KLPSettings : NSObject {
    OBJC_CLASS(KLPSettings, NSObject)

    using ChangeBlock = std::function<void()>;

    OBJC_CLASS_METHOD(Ref<KLPSettings>, settingsWithKey, "settingsWithKey:defaultValue:", NSString*,
                      NSObject*)
    OBJC_METHOD(KLPSettings*, initWithKey, "initWithKey:defaultValue:", NSString*, NSObject*)
    // A setting of another domain: its value lives in `defaults` (nil: the
    // standard store), where its default is registered too.
    OBJC_CLASS_METHOD(Ref<KLPSettings>, settingsWithKey_defaults,
                      "settingsWithKey:defaultValue:defaults:", NSString*, NSObject*,
                      NSUserDefaults*)
    OBJC_METHOD(KLPSettings*, initWithKey_defaults, "initWithKey:defaultValue:defaults:", NSString*,
                NSObject*, NSUserDefaults*)
    OBJC_READONLY(NSUserDefaults*, defaults)

    OBJC_PROPERTY(ChangeBlock, valueDidChangeBlock, setValueDidChangeBlock)
    OBJC_PROPERTY(NSString*, key, setKey)
    OBJC_METHOD(Ref<NSObject>, value, "value")
    OBJC_METHOD(void, setValue, "setValue:", NSObject*)
    OBJC_PROPERTY(NSString*, fileSave, setFileSave)

    OBJC_METHOD(void, saveValue, "saveValue:", NSObject*)
    // Key-value-observing callback: runs valueDidChangeBlock, if any.
    OBJC_METHOD(void, observeValueForKeyPath,
                "observeValueForKeyPath:ofObject:change:context:", NSString*, NSObject*,
                NSDictionary*, void*)

  private:
    NSUserDefaults* store() const;

    Ref<NSUserDefaults> _defaults;
    Ref<NSString> _key;
    Ref<NSString> _fileSave;
    ChangeBlock _valueDidChangeBlock;
};
