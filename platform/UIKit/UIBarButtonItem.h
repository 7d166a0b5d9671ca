// A button of a navigation bar: an image or a title, and a target-action
// pair. The target is not owned.
#pragma once

#include "Foundation/NSString.h"
#include "UIKit/UIImage.h"
#include "ObjectModel/NSObject.h"

enum UIBarButtonItemStyle : long {
    UIBarButtonItemStylePlain = 0,
    UIBarButtonItemStyleDone = 2,
};

struct UIBarButtonItem : NSObject {
    OBJC_CLASS(UIBarButtonItem, NSObject)

    UIBarButtonItem* initWithImage(UIImage* image, long style, id target, SEL action);
    UIBarButtonItem* initWithTitle(NSString* title, long style, id target, SEL action);

    UIImage* image() const { return _image; }
    NSString* title() const { return _title; }
    long style() const { return _style; }
    id target() const { return _target; }
    SEL action() const { return _action; }

    // A simulated tap: sends the action to the target with the item as
    // sender. No action, no target, or a target that does not answer the
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

    NSString* title() const { return _title; }
    void setTitle(NSString* title) { _title = title; }

    // Messages (the library sends them to items the host made).
    Ref<UIBarButtonItem> leftBarButtonItem() { return _leftBarButtonItem; }
    void setLeftBarButtonItem(UIBarButtonItem* item) { _leftBarButtonItem = item; }
    Ref<UIBarButtonItem> rightBarButtonItem() { return _rightBarButtonItem; }
    void setRightBarButtonItem(UIBarButtonItem* item) { _rightBarButtonItem = item; }

  private:
    Ref<NSString> _title;
    Ref<UIBarButtonItem> _leftBarButtonItem;
    Ref<UIBarButtonItem> _rightBarButtonItem;
};
