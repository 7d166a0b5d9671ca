#include "UIKit/UIApplication.h"

#include "objc/ClassBuilder.h"

UIApplication* UIApplication::sharedApplication() {
    static UIApplication* const application = [] {
        UIApplication* app = alloc<UIApplication>();
        app->makeImmortal();
        return app;
    }();
    return application;
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
