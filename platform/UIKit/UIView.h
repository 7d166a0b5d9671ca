// A rectangle on screen with subviews. Layout runs in passes: setNeedsLayout
// marks a view, layoutIfNeeded sends layoutSubviews (a message, overridden by
// subclasses) to the marked views, down the tree.
#pragma once

#include "Foundation/NSArray.h"
#include "Foundation/NSString.h"
#include "UIKit/CALayer.h"
#include "UIKit/CGGeometry.h"
#include "UIKit/UIColor.h"
#include "ObjectModel/NSObject.h"

struct UIView : NSObject {
    OBJC_CLASS(UIView, NSObject)

    static Ref<UIView> viewWithFrame(CGRect frame);

    UIView* initWithFrame(CGRect frame);
    UIView* init() { return initWithFrame(CGRectZero); }
    ~UIView();

    CGRect frame() const { return _frame; }
    // A change of size marks the view for layout.
    void setFrame(CGRect frame);
    CGRect bounds() const { return {{0, 0}, _frame.size}; }

    NSArray* subviews() const { return _subviews; }
    UIView* superview() const { return _superview; }
    void removeFromSuperview();
    // This view or the first of its descendants (depth first) with the tag.
    UIView* viewWithTag(long tag);
    bool isDescendantOfView(const UIView* view) const;

    long tag() const { return _tag; }
    void setTag(long tag) { _tag = tag; }
    UIColor* backgroundColor() const { return _backgroundColor; }
    void setBackgroundColor(UIColor* color) { _backgroundColor = color; }
    // The colour set on this view itself, absent when none was set.
    UIColor* tintColor() const { return _tintColor; }
    void setTintColor(UIColor* color) { _tintColor = color; }
    // The tint that applies: this view's, else the nearest ancestor's.
    UIColor* effectiveTintColor() const;
    bool clipsToBounds() const { return layer()->masksToBounds(); }
    void setClipsToBounds(bool clips) { layer()->setMasksToBounds(clips); }
    bool isHidden() const { return _hidden; }
    void setHidden(bool hidden) { _hidden = hidden; }
    CALayer* layer() const;

    void setNeedsLayout() { _needsLayout = true; }
    bool needsLayout() const { return _needsLayout; }
    void layoutIfNeeded();

    // Messages.
    // Adds the view on top of the others, taking it from its old superview;
    // nil, the view itself and its own ancestors are refused.
    void addSubview(UIView* view);
    void layoutSubviews() {}
    // What a person reads off this view on a text screen, or nil.
    Ref<NSString> screenText() { return nullptr; }

  private:
    CGRect _frame{};
    Ref<NSMutableArray> _subviews = NSMutableArray::array();
    UIView* _superview = nullptr;
    long _tag = 0;
    Ref<UIColor> _backgroundColor;
    Ref<UIColor> _tintColor;
    bool _hidden = false;
    bool _needsLayout = true;
    mutable Ref<CALayer> _layer;
};
