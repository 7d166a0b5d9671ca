#include "UIKit/UIBarButtonItem.h"

#include "UIKit/UIApplication.h"
#include "ObjectModel/ClassBuilder.h"

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
    return UIApplication::sharedApplication()->sendAction(_action, _target, this);
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
