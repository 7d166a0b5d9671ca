// Key-value coding, as NSObject's category: valueForKey: and setValue:forKey:
// reach a property through its accessors (`key` or `isKey`, `setKey:`), else
// the instance variable `_key`. Numbers and booleans travel boxed in
// NSNumber. An unknown key raises NSUndefinedKeyException; nil for a number,
// or a value of the wrong kind, raises NSInvalidArgumentException.
#pragma once

#include "Foundation/NSString.h"

inline constexpr const char* NSUndefinedKeyException = "NSUndefinedKeyException";
inline constexpr const char* NSInvalidArgumentException = "NSInvalidArgumentException";

// Send valueForKey: / setValue:forKey: (NSObject's methods, added at load).
Ref<NSObject> valueForKey(NSObject* object, NSString* key);
void setValueForKey(NSObject* object, NSObject* value, NSString* key);
