// A colour: red, green, blue and alpha, each from 0 to 1.
#pragma once

#include "UIKit/CGGeometry.h"
#include "ObjectModel/NSObject.h"

struct UIColor : NSObject {
    OBJC_CLASS(UIColor, NSObject)

    struct Components {
        CGFloat red = 0, green = 0, blue = 0, alpha = 0;
        bool operator==(const Components&) const = default;
    };

    static Ref<UIColor> colorWithRed(CGFloat red, CGFloat green, CGFloat blue, CGFloat alpha);
    static Ref<UIColor> colorWithWhite(CGFloat white, CGFloat alpha);
    static Ref<UIColor> clearColor() { return colorWithWhite(0, 0); }
    static Ref<UIColor> blackColor() { return colorWithWhite(0, 1); }
    static Ref<UIColor> grayColor() { return colorWithWhite(0.5, 1); }
    static Ref<UIColor> whiteColor() { return colorWithWhite(1, 1); }

    UIColor* initWithComponents(Components components);

    const Components& components() const { return _components; }
    bool getRed(CGFloat* red, CGFloat* green, CGFloat* blue, CGFloat* alpha) const;

    // Messages.
    bool isEqual(NSObject* other);

  private:
    Components _components;
};
