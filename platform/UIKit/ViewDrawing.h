// Views draw themselves through the message drawInContext:, which
// registerDrawing adds to the platform's view classes the way a category
// would (a class may override it); drawViewTree draws a view, then its
// subviews on top, each in its own frame.
#pragma once

#include <cairo.h>

#include "UIKit/UIColor.h"
#include "UIKit/UIImage.h"
#include "UIKit/UIView.h"

// What drawInContext: receives: the cairo context, in points, at a scale.
struct DrawContext {
    cairo_t* cr;
    CGFloat scale;
};

using DrawMethod = void (*)(id self, SEL, DrawContext* context);

// Adds drawInContext: to every view class that has none of its own yet;
// cheap to repeat, so classes registered later are covered at the next call.
void registerDrawing();
// Adds the method to the class (Nil: nothing) unless it has one of its own.
void addDrawMethod(Class cls, DrawMethod method);
void drawViewTree(DrawContext* context, UIView* view);

// The fixed colours; the system's others are UIColor's semantic colours.
namespace palette {
inline constexpr UIColor::Components kWhite{1, 1, 1, 1};
inline constexpr UIColor::Components kBlack{0, 0, 0, 1};
} // namespace palette

// The colour's components, or the fallback when there is no colour.
UIColor::Components componentsOr(const UIColor* color, const UIColor::Components& fallback);
// The alignment as the view shows it: in a right-to-left view left and right
// swap, and natural is right.
long alignmentIn(UIView* view, long alignment);
// Whether the view lays out right to left.
bool isRightToLeft(UIView* view);
// While it lives, drawing is mirrored about the middle of a width (0: not
// mirrored), for shapes that face the reading direction.
class MirroredDrawing {
  public:
    MirroredDrawing(cairo_t* cr, CGFloat width);
    // About the view's bounds when it reads right to left.
    MirroredDrawing(cairo_t* cr, UIView* view);
    ~MirroredDrawing();
    MirroredDrawing(const MirroredDrawing&) = delete;
    MirroredDrawing& operator=(const MirroredDrawing&) = delete;

  private:
    cairo_t* cr_;
};
// The rectangle mirrored about the middle of a width (0: as it is).
CGRect mirroredRect(CGRect rect, CGFloat width);
// The tint that applies to the view: its own or an ancestor's, else system blue.
UIColor::Components tintOf(const UIView* view);

enum Corners : unsigned {
    kNoCorners = 0,
    kTopCorners = 1,
    kBottomCorners = 2,
    kAllCorners = 3,
};
void addRoundedRect(cairo_t* cr, CGRect rect, CGFloat radius, unsigned corners = kAllCorners);
void fillRoundedRect(cairo_t* cr, CGRect rect, CGFloat radius, const UIColor::Components& color,
                     unsigned corners = kAllCorners);
// Draws the image scaled into the rectangle; with a tint, as a template:
// its shape filled with the tint.
void paintImage(cairo_t* cr, const UIImage* image, CGRect rect,
                const UIColor::Components* tint = nullptr);

// The drawing of the table and its cells, and of the controls.
void registerTableDrawing();
void registerControlDrawing();
