#include "UIKit/UIBarButtonItem.h"

#include "objc/ClassBuilder.h"
#include "objc/Message.h"

UIBarButtonItem* UIBarButtonItem::initWithImage(UIImage* image, long style, id target, SEL action) {
    _image = image;
    _style = style;
    _target = target;
    _action = action;
    return this;
}

UIBarButtonItem* UIBarButtonItem::initWithTitle(NSString* title, long style, id target,
                                                SEL action) {
    initWithImage(nullptr, style, target, action);
    _title = title;
    return this;
}

bool UIBarButtonItem::tap() {
    if (!_action || !_target || !static_cast<NSObject*>(_target)->respondsToSelector(_action))
        return false;
    Ref<UIBarButtonItem> keep = this;
    // An action may take the sender or nothing.
    Method method = class_getInstanceMethod(_target->class_pointer, _action);
    if (method && method_getNumberOfArguments(method) == 2)
        send(_target, _action);
    else
        send(_target, _action, static_cast<id>(this));
    return true;
}

const ClassInfo& UIBarButtonItem::objcClassInfo() {
    static const ClassInfo info = ClassBuilder<UIBarButtonItem>().build();
    return info;
}

const ClassInfo& UINavigationItem::objcClassInfo() {
    static const ClassInfo info =
        ClassBuilder<UINavigationItem>()
            .method<"leftBarButtonItem", &UINavigationItem::leftBarButtonItem>()
            .method<"setLeftBarButtonItem:", &UINavigationItem::setLeftBarButtonItem>()
            .method<"rightBarButtonItem", &UINavigationItem::rightBarButtonItem>()
            .method<"setRightBarButtonItem:", &UINavigationItem::setRightBarButtonItem>()
            .build();
    return info;
}
