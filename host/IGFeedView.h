// The main feed as a person sees it: one card per feed object, stacked from
// the top as the host's list view stacks them. Cards draw themselves (owner,
// place, photo, caption; the stories tray and suggestions as rows of their
// own) and read their object by message each time, so that a replaced
// mediaCoord shows. As text the feed is the numbered list of describeFeed.
#pragma once

#include "Foundation/NSArray.h"
#include "UIKit/UIView.h"
#include "UIKit/ViewDrawing.h"

struct IGFeedCardView : UIView {
    OBJC_CLASS(IGFeedCardView, UIView)

    OBJC_CLASS_METHOD(Ref<IGFeedCardView>, cardWithObject, "cardWithObject:", NSObject*)
    OBJC_METHOD(IGFeedCardView*, initWithObject, "initWithObject:", NSObject*)
    OBJC_READONLY(NSObject*, object)
    // The card's height at the width, for what its object answers now.
    OBJC_METHOD(CGFloat, heightForWidth, "heightForWidth:", CGFloat)
    OBJC_OVERRIDE(void, drawInContext, "drawInContext:", DrawContext*)

  private:
    Ref<NSObject> _object;
};

struct IGFeedView : UIView {
    OBJC_CLASS(IGFeedView, UIView)

    OBJC_CLASS_METHOD(Ref<IGFeedView>, feedWithFrame, "feedWithFrame:", CGRect)
    OBJC_READONLY(NSArray*, objects)
    // One card per object, in order; nil shows an empty feed.
    OBJC_METHOD(void, setObjects, "setObjects:", NSArray*)
    OBJC_OVERRIDE(void, layoutSubviews, "layoutSubviews")
    OBJC_OVERRIDE(void, drawInContext, "drawInContext:", DrawContext*)
    OBJC_OVERRIDE(Ref<NSString>, screenText, "screenText")

  private:
    Ref<NSArray> _objects;
};
