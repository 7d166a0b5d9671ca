// Immutable bytes, as property lists hold them.
#pragma once

#include <string>
#include <string_view>

#include "Foundation/NSObjCRuntime.h"
#include "objc/NSObject.h"

struct NSData : NSObject {
    OBJC_CLASS(NSData, NSObject)

    static Ref<NSData> dataWithBytes(const void* bytes, NSUInteger length);
    static Ref<NSData> data(std::string_view bytes) {
        return dataWithBytes(bytes.data(), bytes.size());
    }

    NSData* initWithBytes(std::string_view bytes);

    const void* bytes() const { return _bytes.data(); }
    NSUInteger length() const { return _bytes.size(); }
    std::string_view view() const { return _bytes; }

    // Messages.
    bool isEqual(NSObject* other);
    unsigned long hash() const;

  private:
    std::string _bytes;
};
