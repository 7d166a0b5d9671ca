// Screens as pictures: what a view controller shows (what it presents, the
// top of its navigation stack, or itself) under the status bar and the
// navigation bar, drawn with cairo and pango at the main screen's size and
// scale. The shown view is laid out for the screen first; a table's rows are
// placed as the grouped style places them.
#pragma once

#include <cairo.h>
#include <memory>
#include <string>

#include "Foundation/Result.h"
#include "UIKit/UIViewController.h"

struct SurfaceDeleter {
    void operator()(cairo_surface_t* surface) const { cairo_surface_destroy(surface); }
};
using SurfacePtr = std::unique_ptr<cairo_surface_t, SurfaceDeleter>;

// The largest picture side in pixels.
inline constexpr int kMaxScreenPixels = 16384;

// What the status bar and a shown navigation bar take at the top of the
// controller's screen, in points.
CGFloat screenBarsHeight(UIViewController* controller);

// An ARGB32 image surface of the screen in pixels, or why there is none (nil
// controller, a screen that gives no picture or too large a one).
Result<SurfacePtr> renderScreen(UIViewController* controller);

// Writes the screen as a PNG file (writePictureFile: a temporary file made
// exclusively beside it, renamed over the path; never through a link, never
// over anything but a regular file).
Result<void> renderScreenPNG(UIViewController* controller, const std::string& path);
