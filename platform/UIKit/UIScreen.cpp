#include "UIKit/UIScreen.h"

#include <cmath>

#include "ObjectModel/ClassBuilder.h"

UIScreen* UIScreen::mainScreen() {
    static UIScreen* const screen = [] {
        UIScreen* s = alloc<UIScreen>();
        s->makeImmortal();
        return s;
    }();
    return screen;
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

const ClassInfo& UIScreen::objcClassInfo() {
    static const ClassInfo info = ClassBuilder<UIScreen>().build();
    return info;
}
