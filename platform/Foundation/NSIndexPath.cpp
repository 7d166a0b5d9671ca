#include "Foundation/NSIndexPath.h"

#include "ObjectModel/ClassBuilder.h"

Ref<NSIndexPath> NSIndexPath::indexPathForRow(NSInteger row, NSInteger section) {
    return make<NSIndexPath>(&NSIndexPath::initWithRow, row, section);
}

NSIndexPath* NSIndexPath::initWithRow(NSInteger row, NSInteger section) {
    _row = row;
    _section = section;
    return this;
}

bool NSIndexPath::isEqual(NSObject* other) {
    const NSIndexPath* path = as<NSIndexPath>(other);
    return path && path->_row == _row && path->_section == _section;
}

unsigned long NSIndexPath::hash() const {
    return static_cast<unsigned long>(_section) * 1000003UL + static_cast<unsigned long>(_row);
}

const ClassInfo& NSIndexPath::objcClassInfo() {
    static const ClassInfo info = ClassBuilder<NSIndexPath>()
                                      .method<"isEqual:", &NSIndexPath::isEqual>()
                                      .method<"hash", &NSIndexPath::hash>()
                                      .build();
    return info;
}
