#include "UIKit/UIView.h"

#include <algorithm>

#include "ObjectModel/ClassBuilder.h"
#include "UIKit/UIScreen.h"

namespace {

const UIView* screenRoot = nullptr;

} // namespace

void UIView::setScreenRootView(const UIView* root) {
    screenRoot = root;
}

UIEdgeInsets UIView::safeAreaInsetsImp() {
    CGPoint origin = frame().origin;
    const UIView* root = this;
    for (; root->superview(); root = root->superview()) {
        origin.x += root->superview()->frame().origin.x;
        origin.y += root->superview()->frame().origin.y;
    }
    if (!screenRoot || root != screenRoot) return UIEdgeInsetsZero;
    const DeviceModel& device = UIScreen::mainScreen()->device();
    CGSize size = frame().size;
    UIEdgeInsets safe = device.safeAreaInsets;
    auto overlap = [](CGFloat amount, CGFloat limit) { return std::clamp(amount, 0.0, limit); };
    return {overlap(safe.top - origin.y, size.height), overlap(safe.left - origin.x, size.width),
            overlap(origin.y + size.height - (device.size.height - safe.bottom), size.height),
            overlap(origin.x + size.width - (device.size.width - safe.right), size.width)};
}

Ref<UITraitCollection> UIView::traitCollectionImp() {
    return UIScreen::mainScreen()->traitCollection();
}

UIView* UIView::initWithFrameImp(CGRect frame) {
    if (!sendSuper<NSObject*>(this, NSObject::objcClass(), "init"_sel)) return nullptr;
    _frame = frame;
    return this;
}

UIView* UIView::initImp() {
    return initWithFrame(CGRectZero);
}

UIView::~UIView() {
    for (NSObject* child : *_subviews)
        static_cast<UIView*>(child)->_superview = nullptr;
}

void UIView::setFrameImp(CGRect frame) {
    if (frame.size != _frame.size) setNeedsLayout();
    _frame = frame;
}

CGRect UIView::boundsImp() {
    return {{0, 0}, frame().size};
}

CALayer* UIView::layerImp() {
    if (!_layer) _layer = make<CALayer>(&CALayer::init);
    return _layer;
}

bool UIView::clipsToBoundsImp() {
    return layer()->masksToBounds();
}

void UIView::setClipsToBoundsImp(bool clips) {
    layer()->setMasksToBounds(clips);
}

UIColor* UIView::effectiveTintColor() const {
    for (const UIView* view = this; view; view = view->superview())
        if (UIColor* color = view->tintColor()) return color;
    return nullptr;
}

bool UIView::isDescendantOfViewImp(const UIView* view) {
    for (const UIView* at = this; at; at = at->superview())
        if (at == view) return true;
    return false;
}

void UIView::addSubviewImp(UIView* view) {
    if (!view || isDescendantOfView(view)) return;
    Ref<UIView> keep = view;
    view->removeFromSuperview();
    _subviews->addObject(view);
    view->_superview = this;
    setNeedsLayout();
}

void UIView::removeFromSuperviewImp() {
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

UIView* UIView::viewWithTagImp(long tag) {
    if (this->tag() == tag) return this;
    for (NSObject* child : *_subviews)
        if (UIView* found = static_cast<UIView*>(child)->viewWithTag(tag)) return found;
    return nullptr;
}

void UIView::setSemanticContentAttributeImp(long attribute) {
    _semanticContentAttribute = attribute;
    setNeedsLayout();
}

long UIView::effectiveUserInterfaceLayoutDirectionImp() {
    for (UIView* view = this; view; view = view->superview()) {
        long attribute = view->semanticContentAttribute();
        if (attribute == UISemanticContentAttributeForceRightToLeft)
            return UIUserInterfaceLayoutDirectionRightToLeft;
        if (attribute == UISemanticContentAttributeForceLeftToRight) break;
    }
    return UIUserInterfaceLayoutDirectionLeftToRight;
}

void UIView::mirrorSubviews() {
    CGFloat width = bounds().size.width;
    for (NSObject* child : *_subviews) {
        auto* view = static_cast<UIView*>(child);
        CGRect frame = view->frame();
        if (frame == view->_mirroredFrame) continue;
        frame.origin.x = width - frame.origin.x - frame.size.width;
        view->setFrame(frame);
        view->_mirroredFrame = frame;
    }
}

void UIView::setNeedsLayoutImp() {
    _needsLayout = true;
}

void UIView::layoutIfNeededImp() {
    Ref<UIView> keep = this;
    if (_needsLayout) {
        layoutSubviews();
        // Views that the pass itself added or resized are in place already.
        _needsLayout = false;
    }
    // Subviews that another view's layout placed are mirrored here too; a
    // view without subviews does not ask its superviews which way it reads.
    if (_subviews->count() &&
        effectiveUserInterfaceLayoutDirection() == UIUserInterfaceLayoutDirectionRightToLeft)
        mirrorSubviews();
    // Layout may change the subviews: walk a snapshot.
    Ref<NSMutableArray> children = _subviews->mutableCopy();
    for (NSObject* child : *children)
        static_cast<UIView*>(child)->layoutIfNeeded();
}

void UIView::layoutSubviewsImp() {}

Ref<NSString> UIView::screenTextImp() {
    return nullptr;
}

OBJC_IMPLEMENT_LOADED_CLASS(UIView)

OBJC_IMPLEMENT_LOADED_CLASS(CALayer)
