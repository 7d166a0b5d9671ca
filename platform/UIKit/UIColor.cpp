#include "UIKit/UIColor.h"

#include <algorithm>

#include "ObjectModel/ClassBuilder.h"

Ref<UIColor> UIColor::colorWithRed(CGFloat red, CGFloat green, CGFloat blue, CGFloat alpha) {
    return make<UIColor>(&UIColor::initWithComponents, Components{red, green, blue, alpha});
}

Ref<UIColor> UIColor::colorWithWhite(CGFloat white, CGFloat alpha) {
    return colorWithRed(white, white, white, alpha);
}

UIColor* UIColor::initWithComponents(Components c) {
    // Out-of-range and NaN components are brought into 0...1.
    auto clamp = [](CGFloat v) { return v >= 0 ? std::min(v, 1.0) : 0.0; };
    _components = {clamp(c.red), clamp(c.green), clamp(c.blue), clamp(c.alpha)};
    return this;
}

bool UIColor::getRed(CGFloat* red, CGFloat* green, CGFloat* blue, CGFloat* alpha) const {
    if (red) *red = _components.red;
    if (green) *green = _components.green;
    if (blue) *blue = _components.blue;
    if (alpha) *alpha = _components.alpha;
    return true;
}

bool UIColor::isEqual(NSObject* other) {
    const UIColor* color = as<UIColor>(other);
    return color && color->_components == _components;
}

const ClassInfo& UIColor::objcClassInfo() {
    static const ClassInfo info =
        ClassBuilder<UIColor>().method<"isEqual:", &UIColor::isEqual>().build();
    return info;
}
