#include "UIKit/UIApplication.h"

#include "ObjectModel/ClassBuilder.h"
#include "ObjectModel/Message.h"

NSString* const UIApplicationDidReceiveMemoryWarningNotification =
    "UIApplicationDidReceiveMemoryWarningNotification"_ns;

UIApplication* UIApplication::sharedApplicationImp(Class) {
    static UIApplication* const application = [] {
        UIApplication* app = make<UIApplication>(&UIApplication::init).leak();
        app->makeImmortal();
        return app;
    }();
    return application;
}

bool UIApplication::sendActionImp(SEL action, id target, id sender, id) {
    if (!action || !target || !static_cast<NSObject*>(target)->respondsToSelector(action))
        return false;
    Ref<NSObject> keepSender = static_cast<NSObject*>(sender);
    Method method = class_getInstanceMethod(target->class_pointer, action);
    if (method && method_getNumberOfArguments(method) == 2)
        send(target, action);
    else
        send(target, action, sender);
    return true;
}

bool UIApplication::openURLImp(NSURL* url) {
    if (!url) return false;
    return !_urlHandler || _urlHandler(url);
}

OBJC_IMPLEMENT_LOADED_CLASS(UIApplication)
