// A font: a family that an installed font file serves, at a point size.
// fontWithName:size: resolves the name through fontconfig, ignoring case and
// accepting a metric-compatible family (Liberation Sans for Arial); a name
// that no installed font serves gives nil.
#pragma once

#include "Foundation/NSString.h"
#include "ObjectModel/NSObject.h"
#include "UIKit/CGGeometry.h"

struct UIFont : NSObject {
    OBJC_CLASS(UIFont, NSObject)

    OBJC_CLASS_METHOD(Ref<UIFont>, fontWithName, "fontWithName:size:", const NSString*, CGFloat)
    OBJC_CLASS_METHOD(Ref<UIFont>, systemFontOfSize, "systemFontOfSize:", CGFloat)
    // The initialiser that the factories send.
    OBJC_METHOD(UIFont*, initWithName, "initWithName:size:", const NSString*, CGFloat)

    // The name asked for, and the installed family that serves it.
    OBJC_READONLY(NSString*, fontName)
    OBJC_READONLY(NSString*, familyName)
    OBJC_READONLY(CGFloat, pointSize)

    // The font file, for renderers (C++ helper).
    NSString* filePath() const { return _filePath; }

  private:
    Ref<NSString> _fontName;
    Ref<NSString> _familyName;
    Ref<NSString> _filePath;
    CGFloat _pointSize = 0;
};
