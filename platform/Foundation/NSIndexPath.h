// A row in a section of a table.
#pragma once

#include "Foundation/NSObjCRuntime.h"
#include "ObjectModel/NSObject.h"

struct NSIndexPath : NSObject {
    OBJC_CLASS(NSIndexPath, NSObject)

    OBJC_CLASS_METHOD(Ref<NSIndexPath>, indexPathForRow, "indexPathForRow:inSection:", NSInteger,
                      NSInteger)
    // The initialiser behind indexPathForRow:inSection: (the device's takes
    // an index list; paths here always hold a section and a row).
    OBJC_METHOD(NSIndexPath*, initWithRow, "initWithRow:section:", NSInteger, NSInteger)
    OBJC_READONLY(NSInteger, row)
    OBJC_READONLY(NSInteger, section)
    OBJC_OVERRIDE(bool, isEqual, "isEqual:", NSObject*)
    OBJC_OVERRIDE(unsigned long, hash, "hash")

  private:
    NSInteger _row = 0;
    NSInteger _section = 0;
};
