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
    return {{0, 0}, _device.size};
}

Ref<UITraitCollection> UIScreen::traitCollectionImp() {
    return UITraitCollection::traitCollectionWithUserInterfaceStyle(_style);
}

bool UIScreen::setScale(CGFloat scale) {
    if (!(scale > 0) || !std::isfinite(scale)) return false;
    _scale = scale;
    _device.scale = scale;
    return true;
}

bool UIScreen::setSize(CGSize size) {
    if (!(size.width >= 0 && size.height >= 0) || !std::isfinite(size.width) ||
        !std::isfinite(size.height))
        return false;
    _device = deviceOfSize(size, _scale);
    _device.scale = _scale;
    return true;
}

void UIScreen::setDevice(const DeviceModel& device) {
    _device = device;
    _scale = device.scale;
}

bool UIScreen::setUserInterfaceStyle(long style) {
    if (style != UIUserInterfaceStyleLight && style != UIUserInterfaceStyleDark) return false;
    _style = style;
    return true;
}

OBJC_IMPLEMENT_LOADED_CLASS(UIScreen)
