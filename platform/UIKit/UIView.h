// A rectangle on screen with subviews. Layout runs in passes: setNeedsLayout
// marks a view, layoutIfNeeded sends layoutSubviews (overridden by
// subclasses) to the marked views, down the tree. Every frame change, the
// layout code's included, is a setFrame: message.
#pragma once

#include "Foundation/NSArray.h"
#include "Foundation/NSString.h"
#include "ObjectModel/NSObject.h"
#include "UIKit/CALayer.h"
#include "UIKit/CGGeometry.h"
#include "UIKit/UIColor.h"
#include "UIKit/UITraitCollection.h"

// Which way a view's content reads: forced on a view, it holds for its
// subviews too; unspecified follows the superview, left to right at the top.
enum UISemanticContentAttribute : long {
    UISemanticContentAttributeUnspecified = 0,
    UISemanticContentAttributeForceLeftToRight = 3,
    UISemanticContentAttributeForceRightToLeft = 4,
};

enum UIUserInterfaceLayoutDirection : long {
    UIUserInterfaceLayoutDirectionLeftToRight = 0,
    UIUserInterfaceLayoutDirectionRightToLeft = 1,
};

struct UIView : NSObject {
    OBJC_CLASS(UIView, NSObject)

    OBJC_METHOD(UIView*, initWithFrame, "initWithFrame:", CGRect)
    // A view of no size.
    OBJC_OVERRIDE(UIView*, init, "init")

    OBJC_READONLY(CGRect, frame)
    // A change of size marks the view for layout.
    OBJC_METHOD(void, setFrame, "setFrame:", CGRect)
    OBJC_METHOD(CGRect, bounds, "bounds")

    OBJC_READONLY(NSArray*, subviews)
    OBJC_READONLY(UIView*, superview)
    // Adds the view on top of the others, taking it from its old superview;
    // nil, the view itself and its own ancestors are refused.
    OBJC_METHOD(void, addSubview, "addSubview:", UIView*)
    OBJC_METHOD(void, removeFromSuperview, "removeFromSuperview")
    // This view or the first of its descendants (depth first) with the tag.
    OBJC_METHOD(UIView*, viewWithTag, "viewWithTag:", long)
    OBJC_METHOD(bool, isDescendantOfView, "isDescendantOfView:", const UIView*)

    OBJC_PROPERTY(long, tag, setTag)
    OBJC_PROPERTY(UIColor*, backgroundColor, setBackgroundColor)
    // The colour set on this view itself, absent when none was set.
    OBJC_PROPERTY(UIColor*, tintColor, setTintColor)
    OBJC_METHOD(bool, clipsToBounds, "clipsToBounds")
    OBJC_METHOD(void, setClipsToBounds, "setClipsToBounds:", bool)
    OBJC_PROPERTY_AS(bool, hidden, isHidden, setHidden)
    OBJC_METHOD(CALayer*, layer, "layer")

    // How far the screen's safe area (below the status bar and any cutout,
    // above the home indicator) stands in from each edge of the view, while
    // the view is on screen; zero otherwise.
    OBJC_METHOD(UIEdgeInsets, safeAreaInsets, "safeAreaInsets")
    // The screen's traits (its appearance).
    OBJC_METHOD(Ref<UITraitCollection>, traitCollection, "traitCollection")

    // A change marks the view for layout.
    OBJC_METHOD(void, setSemanticContentAttribute, "setSemanticContentAttribute:", long)
    OBJC_READONLY(long, semanticContentAttribute)
    // Right to left: each layout pass mirrors the x positions of the
    // subviews within the view, so that what layoutSubviews puts at the left
    // shows at the right.
    OBJC_METHOD(long, effectiveUserInterfaceLayoutDirection,
                "effectiveUserInterfaceLayoutDirection")

    OBJC_METHOD(void, setNeedsLayout, "setNeedsLayout")
    OBJC_METHOD(void, layoutIfNeeded, "layoutIfNeeded")
    OBJC_METHOD(void, layoutSubviews, "layoutSubviews")

    // What a person reads off this view on a text screen, or nil: the
    // emulator's own message, which views override.
    OBJC_METHOD(Ref<NSString>, screenText, "screenText")

    // C++ shorthand for [[UIView alloc] initWithFrame:].
    static Ref<UIView> viewWithFrame(CGRect frame) {
        return make<UIView>(&UIView::initWithFrame, frame);
    }
    ~UIView();

    // The tint that applies: this view's, else the nearest ancestor's (C++
    // helper over tintColor and superview).
    UIColor* effectiveTintColor() const;
    // The view whose frame is in screen coordinates while a screen shows it
    // (C++ helper for renderers; nil: no view is on screen).
    static void setScreenRootView(const UIView* root);
    // Whether the view is marked for layout (C++ helper).
    bool needsLayout() const { return _needsLayout; }

  private:
    void mirrorSubviews();

    CGRect _frame{};
    // The frame that mirroring last gave the view: one layout did not set
    // anew is not mirrored back.
    CGRect _mirroredFrame{};
    long _semanticContentAttribute = UISemanticContentAttributeUnspecified;
    Ref<NSMutableArray> _subviews = NSMutableArray::array();
    UIView* _superview = nullptr;
    long _tag = 0;
    Ref<UIColor> _backgroundColor;
    Ref<UIColor> _tintColor;
    bool _hidden = false;
    bool _needsLayout = true;
    Ref<CALayer> _layer;
};
