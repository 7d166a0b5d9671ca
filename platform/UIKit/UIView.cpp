#include "UIKit/UIView.h"

#include "ObjectModel/ClassBuilder.h"
#include "ObjectModel/Message.h"

Ref<UIView> UIView::viewWithFrame(CGRect frame) {
    return make<UIView>(&UIView::initWithFrame, frame);
}

UIView* UIView::initWithFrame(CGRect frame) {
    _frame = frame;
    return this;
}

UIView::~UIView() {
    for (NSObject* child : *_subviews)
        static_cast<UIView*>(child)->_superview = nullptr;
}

void UIView::setFrame(CGRect frame) {
    if (frame.size != _frame.size) setNeedsLayout();
    _frame = frame;
}

CALayer* UIView::layer() const {
    if (!_layer) _layer = Ref<CALayer>::adopt(alloc<CALayer>());
    return _layer;
}

UIColor* UIView::effectiveTintColor() const {
    for (const UIView* view = this; view; view = view->_superview)
        if (view->_tintColor) return view->_tintColor;
    return nullptr;
}

bool UIView::isDescendantOfView(const UIView* view) const {
    for (const UIView* at = this; at; at = at->_superview)
        if (at == view) return true;
    return false;
}

void UIView::addSubview(UIView* view) {
    if (!view || isDescendantOfView(view)) return;
    Ref<UIView> keep = view;
    view->removeFromSuperview();
    _subviews->addObject(view);
    view->_superview = this;
    setNeedsLayout();
}

void UIView::removeFromSuperview() {
    UIView* parent = _superview;
    if (!parent) return;
    _superview = nullptr;
    NSMutableArray* siblings = parent->_subviews;
    for (NSUInteger i = 0; i < siblings->count(); ++i)
        if (siblings->objectAtIndex(i) == this) {
            siblings->removeObjectAtIndex(i);
            break;
        }
}

UIView* UIView::viewWithTag(long tag) {
    if (_tag == tag) return this;
    for (NSObject* child : *_subviews)
        if (UIView* found = static_cast<UIView*>(child)->viewWithTag(tag)) return found;
    return nullptr;
}

void UIView::layoutIfNeeded() {
    Ref<UIView> keep = this;
    if (_needsLayout) {
        send(this, "layoutSubviews"_sel);
        // Views that the pass itself added or resized are in place already.
        _needsLayout = false;
    }
    // Layout may change the subviews: walk a snapshot.
    Ref<NSMutableArray> children = _subviews->mutableCopy();
    for (NSObject* child : *children)
        static_cast<UIView*>(child)->layoutIfNeeded();
}

const ClassInfo& UIView::objcClassInfo() {
    static const ClassInfo info = ClassBuilder<UIView>()
                                      .method<"addSubview:", &UIView::addSubview>()
                                      .method<"layoutSubviews", &UIView::layoutSubviews>()
                                      .method<"screenText", &UIView::screenText>()
                                      .build();
    return info;
}

const ClassInfo& CALayer::objcClassInfo() {
    static const ClassInfo info = ClassBuilder<CALayer>().build();
    return info;
}
