// Text through pango on cairo, deterministic: 72 dpi (a point is a point),
// grey antialiasing, no hinting. Families are named explicitly, each followed
// by a fallback that reaches Arabic script; colour emoji come from Noto Color
// Emoji through fontconfig's fallback.
#pragma once

#include <cairo.h>
#include <string>

#include "UIKit/CGGeometry.h"
#include "UIKit/UIColor.h"
#include "UIKit/UIFont.h"
#include "UIKit/UILabel.h"

// The family that system text uses.
inline constexpr const char* kSystemFamily = "Liberation Sans";

struct TextStyle {
    std::string family = kSystemFamily;
    CGFloat size = 17;
    bool bold = false;
    UIColor::Components color{0, 0, 0, 1};
    // NSTextAlignmentNatural follows each paragraph's direction.
    long alignment = NSTextAlignmentNatural;
    // At most this many lines (0: no limit); the last one ends in an ellipsis.
    long lines = 1;
};

// The style of a font: its installed family, the system family for the system font.
TextStyle textStyleOfFont(const UIFont* font);

// The family if pango has it; otherwise the fallback, after saying so on
// stderr once per family.
std::string installedFamily(const std::string& family);

// Height and width of the text set in the style within the width.
CGSize textSize(const std::string& text, const TextStyle& style, CGFloat width);

// Draws the text within the rectangle, centred vertically.
void drawText(cairo_t* cr, const std::string& text, const TextStyle& style, CGRect rect);

// Colours as cairo sources.
void setSourceColor(cairo_t* cr, const UIColor::Components& color);
