// The pieces a feed card is drawn from: avatars with initials, a generated
// picture for each post, its like count. Colours, scenes and counts come from
// the text they stand for, so the same post always looks the same.
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
// The scenes a generated picture can show.
enum class PhotoScene { Sunset, Mountains, City, Lights, Dunes };
inline constexpr int kPhotoScenes = 5;
// The scene the seed picks.
PhotoScene sceneOf(const std::string& seed);
// A picture drawn from the seed: its scene, colours and shapes.
void drawGeneratedPhoto(cairo_t* cr, const std::string& seed, CGRect rect);
// "1,234 likes": a count drawn from the seed.
std::string likesText(const std::string& seed);
