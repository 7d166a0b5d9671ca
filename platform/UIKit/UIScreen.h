// The device's screen: a size in points and a scale (pixels per point) that
// the host and tests choose.
#pragma once

#include "ObjectModel/NSObject.h"
#include "UIKit/CGGeometry.h"

struct UIScreen : NSObject {
    OBJC_CLASS(UIScreen, NSObject)

    // The one screen, whatever class receives the message.
    OBJC_CLASS_METHOD(UIScreen*, mainScreen, "mainScreen")
    OBJC_READONLY(CGFloat, scale)
    OBJC_METHOD(CGRect, bounds, "bounds")

    // The host and tests choose the screen (C++ helpers).
    // Scales that are not positive numbers are refused (answers false).
    bool setScale(CGFloat scale);
    // Sizes with a negative or non-numeric side are refused (answers false).
    bool setSize(CGSize size);

  private:
    CGFloat _scale = 2.0;
    CGSize _size{375, 667};
};
