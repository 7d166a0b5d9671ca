// The standard controls drawn in their state.
#include <algorithm>

#include "UIKit/TextDrawing.h"
#include "UIKit/UISegmentedControl.h"
#include "UIKit/UISlider.h"
#include "UIKit/UISwitch.h"
#include "UIKit/UITextField.h"
#include "UIKit/ViewDrawing.h"

namespace {

constexpr CGFloat kKnobInset = 2;
constexpr CGFloat kSegmentRadius = 9;
constexpr CGFloat kSegmentInset = 2;
constexpr CGFloat kFieldTextSize = 17;
constexpr CGFloat kClearButtonSize = 16;
constexpr CGFloat kThumbSize = 28;
constexpr CGFloat kTrackHeight = 2;

CGRect insetRect(CGRect rect, CGFloat dx, CGFloat dy) {
    return CGRectMake(rect.origin.x + dx, rect.origin.y + dy, rect.size.width - 2 * dx,
                      rect.size.height - 2 * dy);
}

// A round knob with a soft shadow around and below it.
void drawKnob(cairo_t* cr, CGRect rect) {
    CGFloat radius = rect.size.height / 2;
    CGRect shadow = insetRect(rect, -0.5, -0.5);
    shadow.origin.y += 1;
    fillRoundedRect(cr, shadow, radius + 0.5, {0, 0, 0, 0.15});
    fillRoundedRect(cr, rect, radius, palette::kWhite);
}

void drawSwitch(id self, SEL, DrawContext* context) {
    auto* control = static_cast<UISwitch*>(self);
    MirroredDrawing mirrored(context->cr, control);
    CGRect bounds = control->bounds();
    CGFloat height = bounds.size.height;
    UIColor* onTint = control->onTintColor();
    UIColor::Components track = !control->isOn() ? UIColor::secondarySystemFillColor()->components()
                                : onTint         ? onTint->components()
                                                 : UIColor::systemGreenColor()->components();
    fillRoundedRect(context->cr, bounds, height / 2, track);
    CGFloat knob = std::max<CGFloat>(0, height - 2 * kKnobInset);
    CGFloat x = control->isOn() ? bounds.size.width - kKnobInset - knob : kKnobInset;
    drawKnob(context->cr, CGRectMake(x, kKnobInset, knob, knob));
}

std::string segmentText(UISegmentedControl* control, long index) {
    if (NSString* title = control->titleForSegmentAtIndex(index)) return title->utf8();
    return "";
}

constexpr UIColor::Components kRaisedDark{99 / 255.0, 99 / 255.0, 102 / 255.0, 1};

bool isDark() {
    return UITraitCollection::currentTraitCollection()->userInterfaceStyle() ==
           UIUserInterfaceStyleDark;
}

// The selected segment stands on the track, with a faint shadow below it.
void drawRaisedSegment(cairo_t* cr, UISegmentedControl* control, CGRect rect) {
    CGRect raised = insetRect(rect, kSegmentInset, kSegmentInset);
    CGRect shadow = raised;
    shadow.origin.y += 1;
    fillRoundedRect(cr, shadow, kSegmentRadius - kSegmentInset, {0, 0, 0, 0.1});
    UIColor* fill = control->selectedSegmentTintColor();
    fillRoundedRect(cr, raised, kSegmentRadius - kSegmentInset,
                    fill       ? fill->components()
                    : isDark() ? kRaisedDark
                               : palette::kWhite);
}

void drawSegmentContent(cairo_t* cr, UISegmentedControl* control, long index, CGRect rect) {
    bool selected = index == control->selectedSegmentIndex();
    UIColor::Components ink = UIColor::labelColor()->components();
    if (UIImage* image = control->imageForSegmentAtIndex(index)) {
        CGSize size = image->size();
        CGFloat fit = std::min({1.0, (rect.size.width - 8) / std::max(size.width, 1.0),
                                (rect.size.height - 8) / std::max(size.height, 1.0)});
        CGSize shown{size.width * fit, size.height * fit};
        paintImage(cr, image,
                   CGRectMake(rect.origin.x + (rect.size.width - shown.width) / 2,
                              rect.origin.y + (rect.size.height - shown.height) / 2, shown.width,
                              shown.height),
                   &ink);
        return;
    }
    TextStyle style;
    style.size = 13;
    style.bold = selected;
    style.color = ink;
    style.alignment = NSTextAlignmentCenter;
    drawText(cr, segmentText(control, index), style, insetRect(rect, 4, 0));
}

// Thin dividers between segments, except beside the selected one.
void drawDividers(cairo_t* cr, UISegmentedControl* control, CGFloat width, CGFloat height,
                  CGFloat mirror) {
    long selected = control->selectedSegmentIndex();
    UIColor::Components divider = UIColor::separatorColor()->components();
    for (long i = 1; i < control->numberOfSegments(); ++i)
        if (i != selected && i != selected + 1)
            fillRoundedRect(
                cr, mirroredRect(CGRectMake(width * i - 0.5, height / 2 - 7, 1, 14), mirror), 0.5,
                divider);
}

void drawSegmentedControl(id self, SEL, DrawContext* context) {
    auto* control = static_cast<UISegmentedControl*>(self);
    long count = control->numberOfSegments();
    if (count == 0) return;
    cairo_t* cr = context->cr;
    CGRect bounds = control->bounds();
    fillRoundedRect(cr, bounds, kSegmentRadius, UIColor::tertiarySystemFillColor()->components());
    CGFloat width = bounds.size.width / static_cast<CGFloat>(count);
    // Right to left, the first segment is the rightmost; its text still reads as written.
    CGFloat mirror = isRightToLeft(control) ? bounds.size.width : 0;
    auto segment = [&](long i) {
        return mirroredRect(CGRectMake(width * i, 0, width, bounds.size.height), mirror);
    };
    long selected = control->selectedSegmentIndex();
    drawDividers(cr, control, width, bounds.size.height, mirror);
    if (selected >= 0 && selected < count) drawRaisedSegment(cr, control, segment(selected));
    for (long i = 0; i < count; ++i)
        drawSegmentContent(cr, control, i, segment(i));
}

void drawClearButton(cairo_t* cr, CGRect bounds) {
    CGFloat x = bounds.size.width - kClearButtonSize;
    CGFloat y = (bounds.size.height - kClearButtonSize) / 2;
    fillRoundedRect(cr, CGRectMake(x, y, kClearButtonSize, kClearButtonSize), kClearButtonSize / 2,
                    UIColor::tertiaryLabelColor()->components());
    CGFloat c = kClearButtonSize / 2, arm = 3.5;
    cairo_move_to(cr, x + c - arm, y + c - arm);
    cairo_line_to(cr, x + c + arm, y + c + arm);
    cairo_move_to(cr, x + c + arm, y + c - arm);
    cairo_line_to(cr, x + c - arm, y + c + arm);
    setSourceColor(cr, palette::kWhite);
    cairo_set_line_width(cr, 1.6);
    cairo_stroke(cr);
}

void drawTextField(id self, SEL, DrawContext* context) {
    auto* field = static_cast<UITextField*>(self);
    if (UIColor* color = field->backgroundColor())
        fillRoundedRect(context->cr, field->bounds(), field->layer()->cornerRadius(),
                        color->components());
    CGRect textRect = field->bounds();
    if (field->showsClearButton()) {
        drawClearButton(context->cr, textRect);
        textRect.size.width -= kClearButtonSize + 6;
    }
    bool empty = field->text()->length() == 0;
    NSString* shown = empty ? field->placeholder() : field->text();
    if (!shown) return;
    TextStyle style;
    style.size = kFieldTextSize;
    style.color =
        empty ? UIColor::placeholderTextColor()->components() : UIColor::labelColor()->components();
    style.alignment = alignmentIn(field, field->textAlignment());
    drawText(context->cr, shown->utf8(), style, textRect);
}

// Where the value lies between the bounds, from 0 to 1.
CGFloat sliderFraction(const UISlider* slider) {
    CGFloat range = slider->maximumValue() - slider->minimumValue();
    if (!(range > 0)) return 0;
    return std::clamp<CGFloat>((slider->value() - slider->minimumValue()) / range, 0, 1);
}

void drawSlider(id self, SEL, DrawContext* context) {
    auto* slider = static_cast<UISlider*>(self);
    MirroredDrawing mirrored(context->cr, slider);
    CGRect bounds = slider->bounds();
    CGFloat middle = bounds.size.height / 2;
    CGFloat travel = std::max<CGFloat>(0, bounds.size.width - kThumbSize);
    CGFloat thumbX = travel * sliderFraction(slider);
    CGFloat split = thumbX + kThumbSize / 2;
    CGFloat trackY = middle - kTrackHeight / 2;
    fillRoundedRect(context->cr, CGRectMake(0, trackY, bounds.size.width, kTrackHeight),
                    kTrackHeight / 2, UIColor::systemFillColor()->components());
    fillRoundedRect(context->cr, CGRectMake(0, trackY, split, kTrackHeight), kTrackHeight / 2,
                    tintOf(slider));
    drawKnob(context->cr, CGRectMake(thumbX, middle - kThumbSize / 2, kThumbSize, kThumbSize));
}

} // namespace

void registerControlDrawing() {
    addDrawMethod(UISlider::objcClass(), drawSlider);
    addDrawMethod(UISwitch::objcClass(), drawSwitch);
    addDrawMethod(UISegmentedControl::objcClass(), drawSegmentedControl);
    addDrawMethod(UITextField::objcClass(), drawTextField);
}
