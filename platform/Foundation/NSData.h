// Immutable bytes, as property lists hold them.
#pragma once

#include <string>
#include <string_view>

#include "Foundation/NSObjCRuntime.h"
#include "ObjectModel/NSObject.h"

struct NSData : NSObject {
    OBJC_CLASS(NSData, NSObject)

    OBJC_CLASS_METHOD(Ref<NSData>, dataWithBytes, "dataWithBytes:length:", const void*, NSUInteger)
    OBJC_METHOD(NSData*, initWithBytes, "initWithBytes:length:", const void*, NSUInteger)
    OBJC_METHOD(const void*, bytes, "bytes")
    OBJC_METHOD(NSUInteger, length, "length")
    OBJC_OVERRIDE(bool, isEqual, "isEqual:", NSObject*)
    OBJC_OVERRIDE(unsigned long, hash, "hash")

    static Ref<NSData> data(std::string_view bytes) {
        return dataWithBytes(bytes.data(), bytes.size());
    }
    // The bytes for C++ readers (not a message).
    std::string_view view() const { return _bytes; }

  private:
    std::string _bytes;
};
