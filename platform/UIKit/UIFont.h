// A font: a family that an installed font file serves, at a point size.
// fontWithName:size: resolves the name through fontconfig, ignoring case and
// accepting a metric-compatible family (Liberation Sans for Arial); a name
// that no installed font serves gives nil.
#pragma once

#include "Foundation/NSString.h"
#include "UIKit/CGGeometry.h"
#include "ObjectModel/NSObject.h"

struct UIFont : NSObject {
    OBJC_CLASS(UIFont, NSObject)

    static Ref<UIFont> fontWithName(const NSString* name, CGFloat size);
    static Ref<UIFont> systemFontOfSize(CGFloat size);

    UIFont* initWithName(const NSString* name, CGFloat size);

    // The name asked for, and the installed family that serves it.
    NSString* fontName() const { return _fontName; }
    NSString* familyName() const { return _familyName; }
    // The font file, for renderers.
    NSString* filePath() const { return _filePath; }
    CGFloat pointSize() const { return _pointSize; }

  private:
    Ref<NSString> _fontName;
    Ref<NSString> _familyName;
    Ref<NSString> _filePath;
    CGFloat _pointSize = 0;
};
