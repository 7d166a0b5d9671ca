// A colour: red, green, blue and alpha, each from 0 to 1.
#pragma once

#include "ObjectModel/NSObject.h"
#include "UIKit/CGGeometry.h"

struct UIColor : NSObject {
    OBJC_CLASS(UIColor, NSObject)

    OBJC_CLASS_METHOD(Ref<UIColor>, colorWithRed, "colorWithRed:green:blue:alpha:", CGFloat,
                      CGFloat, CGFloat, CGFloat)
    OBJC_CLASS_METHOD(Ref<UIColor>, colorWithWhite, "colorWithWhite:alpha:", CGFloat, CGFloat)
    OBJC_CLASS_METHOD(Ref<UIColor>, clearColor, "clearColor")
    OBJC_CLASS_METHOD(Ref<UIColor>, blackColor, "blackColor")
    OBJC_CLASS_METHOD(Ref<UIColor>, grayColor, "grayColor")
    OBJC_CLASS_METHOD(Ref<UIColor>, whiteColor, "whiteColor")
    // Out-of-range and NaN components are brought into 0...1.
    OBJC_METHOD(UIColor*, initWithRed, "initWithRed:green:blue:alpha:", CGFloat, CGFloat, CGFloat,
                CGFloat)
    OBJC_METHOD(UIColor*, initWithWhite, "initWithWhite:alpha:", CGFloat, CGFloat)
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
};
