// A keyed archive's object reference (a UID of a binary property list):
// an opaque unsigned number, kept as it was read so that it writes back.
#pragma once

#include <cstdint>

#include "ObjectModel/NSObject.h"

struct CFKeyedArchiverUID : NSObject {
    OBJC_CLASS(CFKeyedArchiverUID, NSObject)

    OBJC_CLASS_METHOD(Ref<CFKeyedArchiverUID>, uidWithValue, "uidWithValue:", std::uint64_t)
    OBJC_METHOD(CFKeyedArchiverUID*, initWithValue, "initWithValue:", std::uint64_t)
    OBJC_METHOD(std::uint64_t, value, "value")
    OBJC_OVERRIDE(bool, isEqual, "isEqual:", NSObject*)
    OBJC_OVERRIDE(unsigned long, hash, "hash")

  private:
    std::uint64_t _value = 0;
};
