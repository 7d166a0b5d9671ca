// What the device draws over every screen: the status bar (time, signal,
// Wi-Fi, battery) laid out around the notch or Dynamic Island, the cutout
// itself, and the home indicator.
#pragma once

#include <cairo.h>

#include "UIKit/DeviceModels.h"
#include "UIKit/UIColor.h"

// The status bar's contents in the ink colour, over whatever is behind.
void drawStatusBar(cairo_t* cr, const DeviceModel& device, const UIColor::Components& ink);
// The notch or island, black as the device shows it; nothing for none.
void drawCutout(cairo_t* cr, const DeviceModel& device);
// The home indicator along the bottom edge, where the device has one.
void drawHomeIndicator(cairo_t* cr, const DeviceModel& device, const UIColor::Components& ink);
