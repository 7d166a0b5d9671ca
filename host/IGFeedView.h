// The main feed as a person sees it: the app's wordmark and icons at the
// top, one card per feed object stacked below as the host's list view stacks
// them, and the tab bar over the bottom, above the home indicator. Cards draw
// themselves (owner and place, a picture generated from the post, actions,
// likes, the owner's name before the caption; the stories tray and
// suggestions as rows of their own) and read their object by message each
// time, so that a replaced mediaCoord shows.
#pragma once

#include <utility>
#include <vector>

#include "Foundation/NSArray.h"
#include "UIKit/UIScrollView.h"
#include "UIKit/ViewDrawing.h"

struct IGFeedCardView : UIView {
    OBJC_CLASS(IGFeedCardView, UIView)

    OBJC_CLASS_METHOD(Ref<IGFeedCardView>, cardWithObject, "cardWithObject:", NSObject*)
    // The height of a card of the object at the width, for what it answers now.
    OBJC_CLASS_METHOD(CGFloat, heightForObject, "heightForObject:width:", NSObject*, CGFloat)
    OBJC_METHOD(IGFeedCardView*, initWithObject, "initWithObject:", NSObject*)
    // A card is reused for another object as the feed scrolls.
    OBJC_PROPERTY(NSObject*, object, setObject)
    OBJC_METHOD(CGFloat, heightForWidth, "heightForWidth:", CGFloat)
    OBJC_OVERRIDE(void, drawInContext, "drawInContext:", DrawContext*)

  private:
    Ref<NSObject> _object;
};

// The app's tab bar: home, search, new post, reels, profile.
struct IGTabBarView : UIView {
    OBJC_CLASS(IGTabBarView, UIView)

    OBJC_OVERRIDE(void, drawInContext, "drawInContext:", DrawContext*)

    static constexpr CGFloat kHeight = 49;
};

// The feed scrolls: only the cards of the objects in view exist, placed in
// content coordinates, and a card that scrolls off is reused for the next
// object that comes into view. Heights are measured once per setObjects:.
// As text the feed lists the objects in view, numbered from 1 in the feed.
struct IGFeedView : UIScrollView {
    OBJC_CLASS(IGFeedView, UIScrollView)

    OBJC_CLASS_METHOD(Ref<IGFeedView>, feedWithFrame, "feedWithFrame:", CGRect)
    OBJC_READONLY(NSArray*, objects)
    // Shows the objects from the top; nil shows an empty feed.
    OBJC_METHOD(void, setObjects, "setObjects:", NSArray*)
    // The object's rectangle in the content; CGRectZero outside the feed.
    OBJC_METHOD(CGRect, rectForObjectAtIndex, "rectForObjectAtIndex:", long)
    OBJC_OVERRIDE(void, layoutSubviews, "layoutSubviews")
    OBJC_OVERRIDE(void, drawInContext, "drawInContext:", DrawContext*)
    OBJC_OVERRIDE(Ref<NSString>, screenText, "screenText")

    // The band with the wordmark above the first card.
    static constexpr CGFloat kHeaderHeight = 44;

    // The cards on screen and those kept for reuse, and the tab bar that
    // stays over them (C++ helpers, for tests).
    std::size_t cardsInView() const { return _shown.size(); }
    std::size_t cardsKept() const { return _reusable.size(); }
    IGTabBarView* tabBar() const { return _tabBar; }

  private:
    struct Shown {
        long index;
        Ref<IGFeedCardView> card;
    };
    void measure(CGFloat width);
    // The objects that show at least in part: [first, end).
    std::pair<long, long> visibleRange();
    void placeTabBar();

    Ref<NSArray> _objects;
    std::vector<CGFloat> _tops; // each object's top, then the content's height
    CGFloat _measuredWidth = -1;
    std::vector<Shown> _shown;
    std::vector<Ref<IGFeedCardView>> _reusable;
    Ref<IGTabBarView> _tabBar;
};
