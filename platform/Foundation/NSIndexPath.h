// A row in a section of a table.
#pragma once

#include "Foundation/NSObjCRuntime.h"
#include "ObjectModel/NSObject.h"

struct NSIndexPath : NSObject {
    OBJC_CLASS(NSIndexPath, NSObject)

    static Ref<NSIndexPath> indexPathForRow(NSInteger row, NSInteger section);
    NSIndexPath* initWithRow(NSInteger row, NSInteger section);

    NSInteger row() const { return _row; }
    NSInteger section() const { return _section; }

    // Messages.
    bool isEqual(NSObject* other);
    unsigned long hash() const;

  private:
    NSInteger _row = 0;
    NSInteger _section = 0;
};
