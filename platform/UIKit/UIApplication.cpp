#include "UIKit/UIApplication.h"

#include "ObjectModel/ClassBuilder.h"
#include "ObjectModel/Message.h"

UIApplication* UIApplication::sharedApplication() {
    static UIApplication* const application = [] {
        UIApplication* app = alloc<UIApplication>();
        app->makeImmortal();
        return app;
    }();
    return application;
}

bool UIApplication::sendAction(SEL action, id target, id sender) {
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

bool UIApplication::openURL(NSURL* url) {
    if (!url) return false;
    if (_urlHandler) return _urlHandler(url);
    _openedURLs->addObject(url);
    return true;
}

const ClassInfo& UIApplication::objcClassInfo() {
    static const ClassInfo info =
        ClassBuilder<UIApplication>().method<"openURL:", &UIApplication::openURL>().build();
    return info;
}
