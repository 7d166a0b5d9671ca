#include "UIKit/UIColor.h"

#include <algorithm>

#include "ObjectModel/ClassBuilder.h"

Ref<UIColor> UIColor::colorWithRedImp(Class cls, CGFloat red, CGFloat green, CGFloat blue,
                                      CGFloat alpha) {
    return make<UIColor>(cls, &UIColor::initWithRed, red, green, blue, alpha);
}

Ref<UIColor> UIColor::colorWithWhiteImp(Class cls, CGFloat white, CGFloat alpha) {
    return make<UIColor>(cls, &UIColor::initWithWhite, white, alpha);
}

Ref<UIColor> UIColor::clearColorImp(Class cls) {
    return make<UIColor>(cls, &UIColor::initWithWhite, 0.0, 0.0);
}

Ref<UIColor> UIColor::blackColorImp(Class cls) {
    return make<UIColor>(cls, &UIColor::initWithWhite, 0.0, 1.0);
}

Ref<UIColor> UIColor::grayColorImp(Class cls) {
    return make<UIColor>(cls, &UIColor::initWithWhite, 0.5, 1.0);
}

Ref<UIColor> UIColor::whiteColorImp(Class cls) {
    return make<UIColor>(cls, &UIColor::initWithWhite, 1.0, 1.0);
}

UIColor* UIColor::initWithRedImp(CGFloat red, CGFloat green, CGFloat blue, CGFloat alpha) {
    if (!sendSuper<NSObject*>(this, NSObject::objcClass(), "init"_sel)) return nullptr;
    auto clamp = [](CGFloat v) { return v >= 0 ? std::min(v, 1.0) : 0.0; };
    _components = {clamp(red), clamp(green), clamp(blue), clamp(alpha)};
    return this;
}

UIColor* UIColor::initWithWhiteImp(CGFloat white, CGFloat alpha) {
    return initWithRed(white, white, white, alpha);
}

bool UIColor::getRedImp(CGFloat* red, CGFloat* green, CGFloat* blue, CGFloat* alpha) {
    if (red) *red = _components.red;
    if (green) *green = _components.green;
    if (blue) *blue = _components.blue;
    if (alpha) *alpha = _components.alpha;
    return true;
}

bool UIColor::isEqualImp(NSObject* other) {
    const UIColor* color = as<UIColor>(other);
    return color && color->components() == components();
}

OBJC_IMPLEMENT_LOADED_CLASS(UIColor)
