// The device's screen: a size in points and a scale (pixels per point) that
// the host and tests choose.
#pragma once

#include "UIKit/CGGeometry.h"
#include "ObjectModel/NSObject.h"

struct UIScreen : NSObject {
    OBJC_CLASS(UIScreen, NSObject)

    static UIScreen* mainScreen();

    CGFloat scale() const { return _scale; }
    // Scales that are not positive numbers are refused (answers false).
    bool setScale(CGFloat scale);
    CGRect bounds() const { return {{0, 0}, _size}; }
    // Sizes with a negative or non-numeric side are refused (answers false).
    bool setSize(CGSize size);

  private:
    CGFloat _scale = 2.0;
    CGSize _size{375, 667};
};
