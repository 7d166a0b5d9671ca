#include "UIKit/UIScrollView.h"

#include <algorithm>

#include "ObjectModel/ClassBuilder.h"
#include "ObjectModel/Message.h"

void UIScrollView::setContentOffsetImp(CGPoint offset) {
    if (offset == _contentOffset) return;
    _contentOffset = offset;
    setNeedsLayout();
}

void UIScrollView::setContentOffsetImp(CGPoint offset, bool) {
    setContentOffset(offset);
}

CGRect UIScrollView::boundsImp() {
    return {contentOffset(), frame().size};
}

CGPoint UIScrollView::clampedContentOffset(CGPoint offset) const {
    CGSize content = contentSize(), shown = frame().size;
    return {std::clamp<CGFloat>(offset.x, 0, std::max<CGFloat>(0, content.width - shown.width)),
            std::clamp<CGFloat>(offset.y, 0, std::max<CGFloat>(0, content.height - shown.height))};
}

OBJC_IMPLEMENT_LOADED_CLASS(UIScrollView)
