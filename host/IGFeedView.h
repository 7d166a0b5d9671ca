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

    static Ref<IGFeedCardView> cardWithObject(NSObject* object);

    NSObject* object() const { return _object; }
    // The card's height at the width, for what its object answers now.
    CGFloat heightForWidth(CGFloat width) const;

    // Messages.
    void drawInContext(DrawContext* context);

  private:
    Ref<NSObject> _object;
};

struct IGFeedView : UIView {
    OBJC_CLASS(IGFeedView, UIView)

    static Ref<IGFeedView> feedWithFrame(CGRect frame);

    NSArray* objects() const { return _objects; }
    // One card per object, in order; nil shows an empty feed.
    void setObjects(NSArray* objects);

    // Messages.
    void layoutSubviews();
    void drawInContext(DrawContext* context);
    Ref<NSString> screenText();

  private:
    Ref<NSArray> _objects;
};
