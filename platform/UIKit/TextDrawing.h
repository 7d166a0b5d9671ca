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

// The family that system text uses (Debian's fonts-inter), and the one that
// stands in when it is missing.
inline constexpr const char* kSystemFamily = "Inter";
inline constexpr const char* kFallbackSystemFamily = "Liberation Sans";

struct TextStyle {
    std::string family = kSystemFamily;
    CGFloat size = 17;
    // Semibold, as the system sets titles.
    bool bold = false;
    UIColor::Components color{0, 0, 0, 1};
    // NSTextAlignmentNatural follows each paragraph's direction.
    long alignment = NSTextAlignmentNatural;
    // At most this many lines (0: no limit); the last one ends in an ellipsis.
    long lines = 1;
    // The text's first bytes set semibold (a name before a caption).
    std::size_t boldPrefix = 0;
};

// The style of a font: its installed family, the system family for the system font.
TextStyle textStyleOfFont(const UIFont* font);

// The family if pango has it; otherwise the system family (or, missing too,
// its fallback), after saying so on stderr once per family.
std::string installedFamily(const std::string& family);

// Height and width of the text set in the style within the width (0: one
// line as long as the text).
CGSize textSize(const std::string& text, const TextStyle& style, CGFloat width);

// Draws the text within the rectangle, centred vertically.
void drawText(cairo_t* cr, const std::string& text, const TextStyle& style, CGRect rect);

// Colours as cairo sources.
void setSourceColor(cairo_t* cr, const UIColor::Components& color);
