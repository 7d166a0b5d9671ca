// The traits that views draw by: here the appearance, light or dark. The
// current collection is the one set for the thread, else the main screen's.
#pragma once

#include "ObjectModel/NSObject.h"

enum UIUserInterfaceStyle : long {
    UIUserInterfaceStyleUnspecified = 0,
    UIUserInterfaceStyleLight = 1,
    UIUserInterfaceStyleDark = 2,
};

struct UITraitCollection : NSObject {
    OBJC_CLASS(UITraitCollection, NSObject)

    OBJC_CLASS_METHOD(Ref<UITraitCollection>, traitCollectionWithUserInterfaceStyle,
                      "traitCollectionWithUserInterfaceStyle:", long)
    OBJC_CLASS_METHOD(Ref<UITraitCollection>, currentTraitCollection, "currentTraitCollection")
    // nil goes back to the main screen's traits.
    OBJC_CLASS_METHOD(void, setCurrentTraitCollection,
                      "setCurrentTraitCollection:", UITraitCollection*)
    OBJC_METHOD(UITraitCollection*, initWithUserInterfaceStyle, "initWithUserInterfaceStyle:", long)
    OBJC_READONLY(long, userInterfaceStyle)
    OBJC_OVERRIDE(bool, isEqual, "isEqual:", NSObject*)

  private:
    long _userInterfaceStyle = UIUserInterfaceStyleUnspecified;
};
