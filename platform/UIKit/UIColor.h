// A colour: red, green, blue and alpha, each from 0 to 1. A dynamic colour
// (colorWithDynamicProvider:, the system's semantic colours) answers a colour
// per trait collection, and its components are those of the current traits.
#pragma once

#include <functional>

#include "ObjectModel/NSObject.h"
#include "UIKit/CGGeometry.h"
#include "UIKit/UITraitCollection.h"

struct UIColor : NSObject {
    OBJC_CLASS(UIColor, NSObject)

    using Provider = std::function<Ref<UIColor>(UITraitCollection*)>;

    OBJC_CLASS_METHOD(Ref<UIColor>, colorWithRed, "colorWithRed:green:blue:alpha:", CGFloat,
                      CGFloat, CGFloat, CGFloat)
    OBJC_CLASS_METHOD(Ref<UIColor>, colorWithWhite, "colorWithWhite:alpha:", CGFloat, CGFloat)
    OBJC_CLASS_METHOD(Ref<UIColor>, colorWithDynamicProvider, "colorWithDynamicProvider:", Provider)
    OBJC_CLASS_METHOD(Ref<UIColor>, clearColor, "clearColor")
    OBJC_CLASS_METHOD(Ref<UIColor>, blackColor, "blackColor")
    OBJC_CLASS_METHOD(Ref<UIColor>, grayColor, "grayColor")
    OBJC_CLASS_METHOD(Ref<UIColor>, whiteColor, "whiteColor")
    // The semantic colours, light and dark.
    OBJC_CLASS_METHOD(Ref<UIColor>, systemBackgroundColor, "systemBackgroundColor")
    OBJC_CLASS_METHOD(Ref<UIColor>, systemGroupedBackgroundColor, "systemGroupedBackgroundColor")
    OBJC_CLASS_METHOD(Ref<UIColor>, secondarySystemGroupedBackgroundColor,
                      "secondarySystemGroupedBackgroundColor")
    OBJC_CLASS_METHOD(Ref<UIColor>, labelColor, "labelColor")
    OBJC_CLASS_METHOD(Ref<UIColor>, secondaryLabelColor, "secondaryLabelColor")
    OBJC_CLASS_METHOD(Ref<UIColor>, tertiaryLabelColor, "tertiaryLabelColor")
    OBJC_CLASS_METHOD(Ref<UIColor>, placeholderTextColor, "placeholderTextColor")
    OBJC_CLASS_METHOD(Ref<UIColor>, separatorColor, "separatorColor")
    OBJC_CLASS_METHOD(Ref<UIColor>, systemFillColor, "systemFillColor")
    OBJC_CLASS_METHOD(Ref<UIColor>, secondarySystemFillColor, "secondarySystemFillColor")
    OBJC_CLASS_METHOD(Ref<UIColor>, tertiarySystemFillColor, "tertiarySystemFillColor")
    OBJC_CLASS_METHOD(Ref<UIColor>, systemGray4Color, "systemGray4Color")
    OBJC_CLASS_METHOD(Ref<UIColor>, systemBlueColor, "systemBlueColor")
    OBJC_CLASS_METHOD(Ref<UIColor>, systemGreenColor, "systemGreenColor")
    // Out-of-range and NaN components are brought into 0...1.
    OBJC_METHOD(UIColor*, initWithRed, "initWithRed:green:blue:alpha:", CGFloat, CGFloat, CGFloat,
                CGFloat)
    OBJC_METHOD(UIColor*, initWithWhite, "initWithWhite:alpha:", CGFloat, CGFloat)
    OBJC_METHOD(UIColor*, initWithDynamicProvider, "initWithDynamicProvider:", Provider)
    // A fixed colour answers itself; a provider that answers nil gives clear.
    OBJC_METHOD(Ref<UIColor>, resolvedColorWithTraitCollection,
                "resolvedColorWithTraitCollection:", UITraitCollection*)
    // The components under the current trait collection.
    OBJC_METHOD(bool, getRed, "getRed:green:blue:alpha:", CGFloat*, CGFloat*, CGFloat*, CGFloat*)
    OBJC_OVERRIDE(bool, isEqual, "isEqual:", NSObject*)

    struct Components {
        CGFloat red = 0, green = 0, blue = 0, alpha = 0;
        bool operator==(const Components&) const = default;
    };
    // The components as getRed:green:blue:alpha: answers them (C++ helper for renderers).
    Components components() const {
        Components c;
        getRed(&c.red, &c.green, &c.blue, &c.alpha);
        return c;
    }

  private:
    Components _components;
    Provider _provider;
};
