#include "UIKit/ViewDrawing.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "ObjectModel/Encoding.h"
#include "ObjectModel/Message.h"
#include "UIKit/TextDrawing.h"
#include "UIKit/UIImageView.h"
#include "UIKit/UILabel.h"
#include "UIKit/UIScrollView.h"

namespace {

void fillBackground(cairo_t* cr, UIView* view) {
    if (UIColor* color = view->backgroundColor())
        fillRoundedRect(cr, view->bounds(), view->layer()->cornerRadius(), color->components());
}

bool intersects(CGRect a, CGRect b) {
    return a.origin.x < CGRectGetMaxX(b) && b.origin.x < CGRectGetMaxX(a) &&
           a.origin.y < CGRectGetMaxY(b) && b.origin.y < CGRectGetMaxY(a);
}

void drawView(id self, SEL, DrawContext* context) {
    fillBackground(context->cr, static_cast<UIView*>(self));
}

void drawLabel(id self, SEL, DrawContext* context) {
    auto* label = static_cast<UILabel*>(self);
    fillBackground(context->cr, label);
    if (!label->text()) return;
    TextStyle style = textStyleOfFont(label->font());
    style.color = label->textColor()->components();
    style.alignment = alignmentIn(label, label->textAlignment());
    style.lines = label->numberOfLines();
    drawText(context->cr, label->text()->utf8(), style, label->bounds());
}

void drawImageView(id self, SEL, DrawContext* context) {
    auto* imageView = static_cast<UIImageView*>(self);
    fillBackground(context->cr, imageView);
    if (UIImage* image = imageView->image()) paintImage(context->cr, image, imageView->bounds());
}

} // namespace

UIColor::Components componentsOr(const UIColor* color, const UIColor::Components& fallback) {
    return color ? color->components() : fallback;
}

bool isRightToLeft(UIView* view) {
    return view->effectiveUserInterfaceLayoutDirection() ==
           UIUserInterfaceLayoutDirectionRightToLeft;
}

long alignmentIn(UIView* view, long alignment) {
    if (!isRightToLeft(view)) return alignment;
    switch (alignment) {
    case NSTextAlignmentLeft:
    case NSTextAlignmentNatural:
        return NSTextAlignmentRight;
    case NSTextAlignmentRight:
        return NSTextAlignmentLeft;
    default:
        return alignment;
    }
}

MirroredDrawing::MirroredDrawing(cairo_t* cr, CGFloat width) : cr_(width > 0 ? cr : nullptr) {
    if (!cr_) return;
    cairo_save(cr_);
    cairo_translate(cr_, width, 0);
    cairo_scale(cr_, -1, 1);
}

MirroredDrawing::MirroredDrawing(cairo_t* cr, UIView* view)
    : MirroredDrawing(cr, isRightToLeft(view) ? view->bounds().size.width : 0) {}

MirroredDrawing::~MirroredDrawing() {
    if (cr_) cairo_restore(cr_);
}

CGRect mirroredRect(CGRect rect, CGFloat width) {
    if (width > 0) rect.origin.x = width - rect.origin.x - rect.size.width;
    return rect;
}

UIColor::Components tintOf(const UIView* view) {
    if (UIColor* tint = view->effectiveTintColor()) return tint->components();
    return UIColor::systemBlueColor()->components();
}

void addRoundedRect(cairo_t* cr, CGRect rect, CGFloat radius, unsigned corners) {
    CGFloat x = rect.origin.x, y = rect.origin.y, w = rect.size.width, h = rect.size.height;
    CGFloat r = std::clamp<CGFloat>(radius, 0, std::min(w, h) / 2);
    CGFloat top = corners & kTopCorners ? r : 0;
    CGFloat bottom = corners & kBottomCorners ? r : 0;
    constexpr double quarter = std::numbers::pi / 2;
    cairo_new_sub_path(cr);
    cairo_arc(cr, x + w - top, y + top, top, -quarter, 0);
    cairo_arc(cr, x + w - bottom, y + h - bottom, bottom, 0, quarter);
    cairo_arc(cr, x + bottom, y + h - bottom, bottom, quarter, 2 * quarter);
    cairo_arc(cr, x + top, y + top, top, 2 * quarter, 3 * quarter);
    cairo_close_path(cr);
}

void fillRoundedRect(cairo_t* cr, CGRect rect, CGFloat radius, const UIColor::Components& color,
                     unsigned corners) {
    setSourceColor(cr, color);
    addRoundedRect(cr, rect, radius, corners);
    cairo_fill(cr);
}

void paintImage(cairo_t* cr, const UIImage* image, CGRect rect, const UIColor::Components* tint) {
    if (!image || image->pixelWidth() == 0 || image->pixelHeight() == 0) return;
    if (!(rect.size.width > 0 && rect.size.height > 0)) return;
    cairo_save(cr);
    cairo_rectangle(cr, rect.origin.x, rect.origin.y, rect.size.width, rect.size.height);
    cairo_clip(cr);
    cairo_translate(cr, rect.origin.x, rect.origin.y);
    cairo_scale(cr, rect.size.width / image->pixelWidth(), rect.size.height / image->pixelHeight());
    cairo_pattern_t* pattern = cairo_pattern_create_for_surface(image->surface());
    cairo_pattern_set_filter(pattern, CAIRO_FILTER_GOOD);
    cairo_pattern_set_extend(pattern, CAIRO_EXTEND_PAD);
    if (tint) {
        setSourceColor(cr, *tint);
        cairo_mask(cr, pattern);
    } else {
        cairo_set_source(cr, pattern);
        cairo_paint(cr);
    }
    cairo_pattern_destroy(pattern);
    cairo_restore(cr);
}

void addDrawMethod(Class cls, DrawMethod method) {
    if (cls)
        class_addMethod(cls, "drawInContext:"_sel, toIMP(method), encoding<void, DrawContext*>());
}

void registerDrawing() {
    addDrawMethod(UIView::objcClass(), drawView);
    addDrawMethod(UILabel::objcClass(), drawLabel);
    addDrawMethod(UIImageView::objcClass(), drawImageView);
    registerTableDrawing();
    registerControlDrawing();
}

void drawViewTree(DrawContext* context, UIView* view) {
    if (!view || view->isHidden()) return;
    cairo_t* cr = context->cr;
    cairo_save(cr);
    // Subviews sit in the bounds' coordinates, which a scroll view moves.
    CGRect bounds = view->bounds();
    cairo_translate(cr, view->frame().origin.x - bounds.origin.x,
                    view->frame().origin.y - bounds.origin.y);
    if (view->clipsToBounds()) {
        addRoundedRect(cr, bounds, view->layer()->cornerRadius());
        cairo_clip(cr);
    }
    send(view, "drawInContext:"_sel, context);
    for (NSObject* child : *view->subviews()) {
        auto* subview = static_cast<UIView*>(child);
        // A scroll view draws only what shows of its content.
        if (!as<UIScrollView>(view) || intersects(subview->frame(), bounds))
            drawViewTree(context, subview);
    }
    cairo_restore(cr);
}
