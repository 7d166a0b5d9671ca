#include "UIKit/UIBarButtonItem.h"

#include "ObjectModel/ClassBuilder.h"
#include "ObjectModel/Message.h"
#include "UIKit/UIApplication.h"

UIBarButtonItem* UIBarButtonItem::initWithImageImp(UIImage* image, long style, id target,
                                                   SEL action) {
    if (!sendSuper<NSObject*>(this, NSObject::objcClass(), "init"_sel)) return nullptr;
    _image = image;
    _style = style;
    _target = target;
    _action = action;
    return this;
}

UIBarButtonItem* UIBarButtonItem::initWithTitleImp(NSString* title, long style, id target,
                                                   SEL action) {
    if (!sendSuper<NSObject*>(this, NSObject::objcClass(), "init"_sel)) return nullptr;
    _title = title;
    _style = style;
    _target = target;
    _action = action;
    return this;
}

bool UIBarButtonItem::tap() {
    return UIApplication::sharedApplication()->sendAction(action(), target(), this);
}

OBJC_IMPLEMENT_LOADED_CLASS(UIBarButtonItem)

UINavigationItem* UINavigationItem::initWithTitleImp(NSString* title) {
    if (!sendSuper<NSObject*>(this, NSObject::objcClass(), "init"_sel)) return nullptr;
    _title = title;
    return this;
}

OBJC_IMPLEMENT_LOADED_CLASS(UINavigationItem)
