// The layer behind a view: its corner radius and whether it clips.
#pragma once

#include "UIKit/CGGeometry.h"
#include "ObjectModel/NSObject.h"

struct CALayer : NSObject {
    OBJC_CLASS(CALayer, NSObject)

    CGFloat cornerRadius() const { return _cornerRadius; }
    void setCornerRadius(CGFloat radius) { _cornerRadius = radius; }
    bool masksToBounds() const { return _masksToBounds; }
    void setMasksToBounds(bool masks) { _masksToBounds = masks; }

  private:
    CGFloat _cornerRadius = 0;
    bool _masksToBounds = false;
};
