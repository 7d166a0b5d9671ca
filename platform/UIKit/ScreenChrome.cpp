#include "UIKit/ScreenChrome.h"

#include <numbers>

#include "UIKit/TextDrawing.h"
#include "UIKit/ViewDrawing.h"

namespace {

constexpr CGFloat kNotchRadius = 20;
constexpr CGSize kHomeIndicator{134, 5};
constexpr CGFloat kHomeIndicatorBottom = 8;

// Where the status bar's two sides are centred: the ears beside the cutout,
// or the bar's ends around a centred time.
struct StatusLayout {
    CGFloat timeCentre;
    CGFloat iconsCentre;
    CGFloat middle;
    CGFloat timeSize;
};

StatusLayout statusLayout(const DeviceModel& device) {
    CGFloat width = device.size.width;
    if (device.cutout == ScreenCutout::None)
        return {width / 2, width - 40, device.statusBarHeight / 2, 12};
    CGFloat ear = (width - device.cutoutSize.width) / 2;
    CGFloat middle = device.cutout == ScreenCutout::DynamicIsland
                         ? device.cutoutTop + device.cutoutSize.height / 2
                         : device.statusBarHeight / 2;
    return {ear / 2 + 6, width - ear / 2 - 6, middle, 17};
}

void drawSignal(cairo_t* cr, CGFloat x, CGFloat middle, const UIColor::Components& ink) {
    constexpr CGFloat heights[] = {4, 6, 8.5, 11};
    for (int i = 0; i < 4; ++i)
        fillRoundedRect(cr, CGRectMake(x + i * 4.5, middle + 5.5 - heights[i], 3, heights[i]), 1,
                        ink);
}

void drawWifi(cairo_t* cr, CGFloat x, CGFloat middle, const UIColor::Components& ink) {
    constexpr double start = std::numbers::pi * 1.25, end = std::numbers::pi * 1.75;
    CGPoint tip{x + 7.5, middle + 5.5};
    setSourceColor(cr, ink);
    cairo_move_to(cr, tip.x, tip.y);
    cairo_arc(cr, tip.x, tip.y, 3.5, start, end);
    cairo_close_path(cr);
    cairo_fill(cr);
    cairo_set_line_width(cr, 1.8);
    for (CGFloat radius : {7.0, 10.5}) {
        cairo_new_sub_path(cr);
        cairo_arc(cr, tip.x, tip.y, radius, start, end);
        cairo_stroke(cr);
    }
}

void drawBattery(cairo_t* cr, CGFloat x, CGFloat middle, const UIColor::Components& ink) {
    CGRect body = CGRectMake(x, middle - 6, 25, 12);
    UIColor::Components faint = ink;
    faint.alpha *= 0.4;
    addRoundedRect(cr, CGRectMake(x + 0.5, middle - 5.5, 24, 11), 3.5);
    setSourceColor(cr, faint);
    cairo_set_line_width(cr, 1);
    cairo_stroke(cr);
    fillRoundedRect(cr, CGRectMake(body.origin.x + 2, middle - 4, 21, 8), 2, ink);
    fillRoundedRect(cr, CGRectMake(x + 26, middle - 2, 1.5, 4), 0.75, faint);
}

} // namespace

void drawStatusBar(cairo_t* cr, const DeviceModel& device, const UIColor::Components& ink) {
    StatusLayout layout = statusLayout(device);
    TextStyle time;
    time.size = layout.timeSize;
    time.bold = true;
    time.color = ink;
    time.alignment = NSTextAlignmentCenter;
    drawText(cr, "9:41", time, CGRectMake(layout.timeCentre - 40, layout.middle - 12, 80, 24));
    if (device.cutout == ScreenCutout::None) {
        drawSignal(cr, 6, layout.middle, ink);
        drawWifi(cr, 26, layout.middle, ink);
        drawBattery(cr, device.size.width - 33, layout.middle, ink);
        return;
    }
    CGFloat left = layout.iconsCentre - 38;
    drawSignal(cr, left, layout.middle, ink);
    drawWifi(cr, left + 22, layout.middle, ink);
    drawBattery(cr, left + 46, layout.middle, ink);
}

void drawCutout(cairo_t* cr, const DeviceModel& device) {
    CGSize size = device.cutoutSize;
    CGRect rect =
        CGRectMake((device.size.width - size.width) / 2, device.cutoutTop, size.width, size.height);
    if (device.cutout == ScreenCutout::DynamicIsland)
        fillRoundedRect(cr, rect, size.height / 2, palette::kBlack);
    else if (device.cutout == ScreenCutout::Notch)
        fillRoundedRect(cr, rect, kNotchRadius, palette::kBlack, kBottomCorners);
}

void drawHomeIndicator(cairo_t* cr, const DeviceModel& device, const UIColor::Components& ink) {
    if (!device.homeIndicator) return;
    CGRect bar = CGRectMake((device.size.width - kHomeIndicator.width) / 2,
                            device.size.height - kHomeIndicatorBottom - kHomeIndicator.height,
                            kHomeIndicator.width, kHomeIndicator.height);
    fillRoundedRect(cr, bar, kHomeIndicator.height / 2, ink);
}
