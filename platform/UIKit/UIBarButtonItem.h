// A button of a navigation bar: an image or a title, and a target-action
// pair. The target is not owned.
#pragma once

#include "Foundation/NSString.h"
#include "ObjectModel/NSObject.h"
#include "UIKit/UIImage.h"

enum UIBarButtonItemStyle : long {
    UIBarButtonItemStylePlain = 0,
    UIBarButtonItemStyleDone = 2,
};

struct UIBarButtonItem : NSObject {
    OBJC_CLASS(UIBarButtonItem, NSObject)

    OBJC_METHOD(UIBarButtonItem*, initWithImage, "initWithImage:style:target:action:", UIImage*,
                long, id, SEL)
    OBJC_METHOD(UIBarButtonItem*, initWithTitle, "initWithTitle:style:target:action:", NSString*,
                long, id, SEL)
    OBJC_PROPERTY(UIImage*, image, setImage)
    OBJC_PROPERTY(NSString*, title, setTitle)
    OBJC_PROPERTY(long, style, setStyle)
    OBJC_PROPERTY(id, target, setTarget)
    OBJC_PROPERTY(SEL, action, setAction)

    // A simulated tap (C++ only): sends the action to the target with the item
    // as sender. No action, no target, or a target that does not answer the
    // action does nothing (answers false).
    bool tap();

  private:
    Ref<UIImage> _image;
    Ref<NSString> _title;
    long _style = UIBarButtonItemStylePlain;
    id _target = nullptr;
    SEL _action = nullptr;
};

// A navigation bar's content for one view controller.
struct UINavigationItem : NSObject {
    OBJC_CLASS(UINavigationItem, NSObject)

    OBJC_METHOD(UINavigationItem*, initWithTitle, "initWithTitle:", NSString*)
    OBJC_PROPERTY(NSString*, title, setTitle)
    OBJC_PROPERTY(UIBarButtonItem*, leftBarButtonItem, setLeftBarButtonItem)
    OBJC_PROPERTY(UIBarButtonItem*, rightBarButtonItem, setRightBarButtonItem)
    // What the bar shows to come back to this item's controller, or nil.
    OBJC_PROPERTY(UIBarButtonItem*, backBarButtonItem, setBackBarButtonItem)

  private:
    Ref<NSString> _title;
    Ref<UIBarButtonItem> _leftBarButtonItem;
    Ref<UIBarButtonItem> _rightBarButtonItem;
    Ref<UIBarButtonItem> _backBarButtonItem;
};
