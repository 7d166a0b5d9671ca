// The pieces a feed card is drawn from: avatars with initials, the coloured
// stand-in for a photo, the action icons. Colours come from the text they
// stand for, so the same post always looks the same.
#pragma once

#include <cstdint>
#include <string>

#include "UIKit/ViewDrawing.h"

// A stable hash of the text (FNV-1a).
uint32_t textHash(const std::string& text);
// A colour of the hue the text gives, at that saturation and brightness.
UIColor::Components colorOfText(const std::string& text, double saturation, double brightness);
// Up to two capitals: the first letter of each of the name's first two
// parts ("mira.lens" -> "ML"), or its first two letters; "?" for none.
std::string initialsOf(const std::string& name);

// A circle (or, with `rounded` false, a rounded square) of the name's colour
// with its initials, centred on `centre`.
void drawAvatar(cairo_t* cr, const std::string& name, CGPoint centre, CGFloat radius,
                bool circle = true);
// The ring around an account that has a story.
void drawStoryRing(cairo_t* cr, CGPoint centre, CGFloat radius);
// A picture's stand-in: a sky of the seed's colour, a sun and two hills.
void drawPhotoPlaceholder(cairo_t* cr, const std::string& seed, CGRect rect);
// Like, comment and share icons along a row whose vertical middle is `middle`.
void drawActionIcons(cairo_t* cr, CGFloat middle);
