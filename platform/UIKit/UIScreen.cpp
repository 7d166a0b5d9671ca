#include "UIKit/UIScreen.h"

#include <cmath>

#include "ObjectModel/ClassBuilder.h"

UIScreen* UIScreen::mainScreenImp(Class) {
    static UIScreen* const screen = [] {
        UIScreen* s = make<UIScreen>(&UIScreen::init).leak();
        s->makeImmortal();
        return s;
    }();
    return screen;
}

CGRect UIScreen::boundsImp() {
    return {{0, 0}, _size};
}

bool UIScreen::setScale(CGFloat scale) {
    if (!(scale > 0) || !std::isfinite(scale)) return false;
    _scale = scale;
    return true;
}

bool UIScreen::setSize(CGSize size) {
    if (!(size.width >= 0 && size.height >= 0) || !std::isfinite(size.width) ||
        !std::isfinite(size.height))
        return false;
    _size = size;
    return true;
}

OBJC_IMPLEMENT_LOADED_CLASS(UIScreen)
