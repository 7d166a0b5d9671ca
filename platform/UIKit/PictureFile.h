// Pictures as PNG files, written safely and compared with a tolerance.
//
// A picture is written to a temporary file created exclusively in the
// target's folder (never following a link), then renamed over the target.
// A target that exists and is not a regular file (a link, a folder, a
// device, a pipe) is refused and left alone; so is a name that does not end
// in ".png".
#pragma once

#include <cairo.h>
#include <string>

#include "Foundation/Result.h"

// A channel may differ by this much without counting.
inline constexpr int kPictureChannelTolerance = 24;
// This share of pixels may differ beyond that.
inline constexpr double kPictureShareTolerance = 0.001;

// Answers the reason for the user when the picture is not written.
Result<void> writePictureFile(cairo_surface_t* surface, const std::string& path);

// Whether two ARGB32 pixels are within the channel tolerance.
bool pixelsClose(uint32_t a, uint32_t b);
// Red where the pictures (of one size) differ, the actual picture faded
// elsewhere; counts the differing pixels. The caller destroys the surface.
cairo_surface_t* differencePicture(cairo_surface_t* actual, cairo_surface_t* expected,
                                   long* differing);

struct PictureComparison {
    bool same = false;
    std::string problem;                   // why not, when not
    cairo_surface_t* difference = nullptr; // owned by the caller; nil unless sizes match
};
// Compares with the PNG at `referencePath` within the tolerances.
PictureComparison comparePictureWithFile(cairo_surface_t* actual, const std::string& referencePath);
