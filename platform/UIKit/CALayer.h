// The layer behind a view: its corner radius and whether it clips.
#pragma once

#include "ObjectModel/NSObject.h"
#include "UIKit/CGGeometry.h"

struct CALayer : NSObject {
    OBJC_CLASS(CALayer, NSObject)

    OBJC_PROPERTY(CGFloat, cornerRadius, setCornerRadius)
    OBJC_PROPERTY(bool, masksToBounds, setMasksToBounds)

  private:
    CGFloat _cornerRadius = 0;
    bool _masksToBounds = false;
};
