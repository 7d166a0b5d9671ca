#include "UIKit/UIColor.h"

#include <algorithm>

#include "ObjectModel/ClassBuilder.h"

namespace {

using Components = UIColor::Components;

// A colour given in 0...255 channels.
constexpr Components rgb(int red, int green, int blue, CGFloat alpha = 1) {
    return {red / 255.0, green / 255.0, blue / 255.0, alpha};
}

// A semantic colour: what it is in the light appearance and in the dark one.
struct Semantic {
    Components light;
    Components dark;
};

Ref<UIColor> fixed(Class cls, const Components& c) {
    return make<UIColor>(cls, &UIColor::initWithRed, c.red, c.green, c.blue, c.alpha);
}

Ref<UIColor> semantic(Class cls, const Semantic& colors) {
    return UIColor::colorWithDynamicProvider([cls, colors](UITraitCollection* traits) {
        bool dark = traits && traits->userInterfaceStyle() == UIUserInterfaceStyleDark;
        return fixed(cls, dark ? colors.dark : colors.light);
    });
}

constexpr Semantic kSystemBackground{rgb(255, 255, 255), rgb(0, 0, 0)};
constexpr Semantic kGroupedBackground{rgb(242, 242, 247), rgb(0, 0, 0)};
constexpr Semantic kSecondaryGroupedBackground{rgb(255, 255, 255), rgb(28, 28, 30)};
constexpr Semantic kLabel{rgb(0, 0, 0), rgb(255, 255, 255)};
constexpr Semantic kSecondaryLabel{rgb(60, 60, 67, 0.6), rgb(235, 235, 245, 0.6)};
constexpr Semantic kTertiaryLabel{rgb(60, 60, 67, 0.3), rgb(235, 235, 245, 0.3)};
constexpr Semantic kSeparator{rgb(60, 60, 67, 0.29), rgb(84, 84, 88, 0.6)};
constexpr Semantic kFill{rgb(120, 120, 128, 0.2), rgb(120, 120, 128, 0.36)};
constexpr Semantic kSecondaryFill{rgb(120, 120, 128, 0.16), rgb(120, 120, 128, 0.32)};
constexpr Semantic kTertiaryFill{rgb(118, 118, 128, 0.12), rgb(118, 118, 128, 0.24)};
constexpr Semantic kGray4{rgb(209, 209, 214), rgb(58, 58, 60)};
constexpr Semantic kBlue{rgb(0, 122, 255), rgb(10, 132, 255)};
constexpr Semantic kGreen{rgb(52, 199, 89), rgb(48, 209, 88)};

} // namespace

Ref<UIColor> UIColor::colorWithRedImp(Class cls, CGFloat red, CGFloat green, CGFloat blue,
                                      CGFloat alpha) {
    return make<UIColor>(cls, &UIColor::initWithRed, red, green, blue, alpha);
}

Ref<UIColor> UIColor::colorWithWhiteImp(Class cls, CGFloat white, CGFloat alpha) {
    return make<UIColor>(cls, &UIColor::initWithWhite, white, alpha);
}

Ref<UIColor> UIColor::colorWithDynamicProviderImp(Class cls, Provider provider) {
    return make<UIColor>(cls, &UIColor::initWithDynamicProvider, std::move(provider));
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

Ref<UIColor> UIColor::systemBackgroundColorImp(Class cls) {
    return semantic(cls, kSystemBackground);
}

Ref<UIColor> UIColor::systemGroupedBackgroundColorImp(Class cls) {
    return semantic(cls, kGroupedBackground);
}

Ref<UIColor> UIColor::secondarySystemGroupedBackgroundColorImp(Class cls) {
    return semantic(cls, kSecondaryGroupedBackground);
}

Ref<UIColor> UIColor::labelColorImp(Class cls) {
    return semantic(cls, kLabel);
}

Ref<UIColor> UIColor::secondaryLabelColorImp(Class cls) {
    return semantic(cls, kSecondaryLabel);
}

Ref<UIColor> UIColor::tertiaryLabelColorImp(Class cls) {
    return semantic(cls, kTertiaryLabel);
}

Ref<UIColor> UIColor::placeholderTextColorImp(Class cls) {
    return semantic(cls, kTertiaryLabel);
}

Ref<UIColor> UIColor::separatorColorImp(Class cls) {
    return semantic(cls, kSeparator);
}

Ref<UIColor> UIColor::systemFillColorImp(Class cls) {
    return semantic(cls, kFill);
}

Ref<UIColor> UIColor::secondarySystemFillColorImp(Class cls) {
    return semantic(cls, kSecondaryFill);
}

Ref<UIColor> UIColor::tertiarySystemFillColorImp(Class cls) {
    return semantic(cls, kTertiaryFill);
}

Ref<UIColor> UIColor::systemGray4ColorImp(Class cls) {
    return semantic(cls, kGray4);
}

Ref<UIColor> UIColor::systemBlueColorImp(Class cls) {
    return semantic(cls, kBlue);
}

Ref<UIColor> UIColor::systemGreenColorImp(Class cls) {
    return semantic(cls, kGreen);
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

UIColor* UIColor::initWithDynamicProviderImp(Provider provider) {
    if (!sendSuper<NSObject*>(this, NSObject::objcClass(), "init"_sel)) return nullptr;
    _provider = std::move(provider);
    return this;
}

Ref<UIColor> UIColor::resolvedColorWithTraitCollectionImp(UITraitCollection* traits) {
    if (!_provider) return Ref<UIColor>(this);
    Ref<UIColor> resolved = _provider(traits);
    return resolved ? resolved : UIColor::clearColor();
}

bool UIColor::getRedImp(CGFloat* red, CGFloat* green, CGFloat* blue, CGFloat* alpha) {
    Components c = _components;
    if (_provider) {
        Ref<UIColor> resolved =
            resolvedColorWithTraitCollection(UITraitCollection::currentTraitCollection());
        if (resolved.get() != this) c = resolved->components();
    }
    if (red) *red = c.red;
    if (green) *green = c.green;
    if (blue) *blue = c.blue;
    if (alpha) *alpha = c.alpha;
    return true;
}

bool UIColor::isEqualImp(NSObject* other) {
    const UIColor* color = as<UIColor>(other);
    return color && color->components() == components();
}

OBJC_IMPLEMENT_LOADED_CLASS(UIColor)
