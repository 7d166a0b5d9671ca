#include "Foundation/NSIndexPath.h"

#include "ObjectModel/ClassBuilder.h"

Ref<NSIndexPath> NSIndexPath::indexPathForRowImp(Class cls, NSInteger row, NSInteger section) {
    return make<NSIndexPath>(cls, &NSIndexPath::initWithRow, row, section);
}

NSIndexPath* NSIndexPath::initWithRowImp(NSInteger row, NSInteger section) {
    if (!sendSuper<NSObject*>(this, Super::objcClass(), "init"_sel)) return nullptr;
    _row = row;
    _section = section;
    return this;
}

bool NSIndexPath::isEqualImp(NSObject* other) {
    const NSIndexPath* path = as<NSIndexPath>(other);
    return path && path->_row == _row && path->_section == _section;
}

unsigned long NSIndexPath::hashImp() {
    return static_cast<unsigned long>(_section) * 1000003UL + static_cast<unsigned long>(_row);
}

OBJC_IMPLEMENT_LOADED_CLASS(NSIndexPath)
