// A view that shows part of a larger content: its bounds' origin is the
// content offset, so its subviews (placed in content coordinates) move up
// as it scrolls. The offset is taken as given; a person's scroll stays
// within the content (clampedContentOffset).
#pragma once

#include "UIKit/UIView.h"

struct UIScrollView : UIView {
    OBJC_CLASS(UIScrollView, UIView)

    OBJC_READONLY(CGPoint, contentOffset)
    // Marks the view for layout when the offset changes.
    OBJC_METHOD(void, setContentOffset, "setContentOffset:", CGPoint)
    OBJC_METHOD(void, setContentOffset, "setContentOffset:animated:", CGPoint, bool)
    OBJC_PROPERTY(CGSize, contentSize, setContentSize)
    OBJC_OVERRIDE(CGRect, bounds, "bounds")

    // The offset brought within the content: from the top to the last
    // screenful (C++ helper for scrolling as a person does).
    CGPoint clampedContentOffset(CGPoint offset) const;

  private:
    CGPoint _contentOffset{};
    CGSize _contentSize{};
};
