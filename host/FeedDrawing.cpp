#include "host/FeedDrawing.h"

#include <cmath>
#include <glib.h>
#include <numbers>

#include "UIKit/TextDrawing.h"

namespace {

constexpr UIColor::Components kStoryOrange{245 / 255.0, 133 / 255.0, 41 / 255.0, 1};
constexpr UIColor::Components kStoryMagenta{221 / 255.0, 42 / 255.0, 123 / 255.0, 1};

UIColor::Components hsv(double hue, double saturation, double value) {
    double h = std::fmod(hue, 1.0) * 6;
    double c = value * saturation, x = c * (1 - std::fabs(std::fmod(h, 2.0) - 1)), m = value - c;
    double r = 0, g = 0, b = 0;
    switch (static_cast<int>(h)) {
    case 0:
        r = c, g = x;
        break;
    case 1:
        r = x, g = c;
        break;
    case 2:
        g = c, b = x;
        break;
    case 3:
        g = x, b = c;
        break;
    case 4:
        r = x, b = c;
        break;
    default:
        r = c, b = x;
        break;
    }
    return {r + m, g + m, b + m, 1};
}

double hueOf(const std::string& text) {
    return (textHash(text) % 360) / 360.0;
}

bool isSeparator(gunichar c) {
    return c == '.' || c == '_' || c == '-' || c == ' ';
}

void circlePath(cairo_t* cr, CGPoint centre, CGFloat radius) {
    cairo_new_sub_path(cr);
    cairo_arc(cr, centre.x, centre.y, radius, 0, 2 * std::numbers::pi);
}

void stroke(cairo_t* cr, CGFloat width) {
    setSourceColor(cr, palette::kBlack);
    cairo_set_line_width(cr, width);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_stroke(cr);
}

void fillPolygon(cairo_t* cr, std::initializer_list<CGPoint> points,
                 const UIColor::Components& color) {
    for (CGPoint point : points)
        cairo_line_to(cr, point.x, point.y);
    cairo_close_path(cr);
    setSourceColor(cr, color);
    cairo_fill(cr);
}

} // namespace

uint32_t textHash(const std::string& text) {
    uint32_t hash = 2166136261u;
    for (unsigned char c : text)
        hash = (hash ^ c) * 16777619u;
    return hash;
}

UIColor::Components colorOfText(const std::string& text, double saturation, double brightness) {
    return hsv(hueOf(text), saturation, brightness);
}

std::string initialsOf(const std::string& name) {
    if (!g_utf8_validate(name.c_str(), static_cast<gssize>(name.size()), nullptr)) return "?";
    std::string firsts, leading;
    bool partStart = true;
    for (const char* at = name.c_str(); *at; at = g_utf8_next_char(at)) {
        gunichar c = g_utf8_get_char(at);
        if (isSeparator(c)) {
            partStart = true;
            continue;
        }
        std::string letter(at, static_cast<const char*>(g_utf8_next_char(at)));
        if (partStart && g_utf8_strlen(firsts.c_str(), -1) < 2) firsts += letter;
        if (g_utf8_strlen(leading.c_str(), -1) < 2) leading += letter;
        partStart = false;
    }
    std::string chosen = g_utf8_strlen(firsts.c_str(), -1) >= 2 ? firsts : leading;
    if (chosen.empty()) return "?";
    gchar* upper = g_utf8_strup(chosen.c_str(), -1);
    std::string out(upper);
    g_free(upper);
    return out;
}

void drawAvatar(cairo_t* cr, const std::string& name, CGPoint centre, CGFloat radius, bool circle) {
    CGRect box = CGRectMake(centre.x - radius, centre.y - radius, 2 * radius, 2 * radius);
    fillRoundedRect(cr, box, circle ? radius : radius / 2.5, colorOfText(name, 0.45, 0.8));
    TextStyle style;
    style.size = std::round(radius * 0.75);
    style.bold = true;
    style.color = palette::kWhite;
    style.alignment = NSTextAlignmentCenter;
    drawText(cr, initialsOf(name), style, box);
}

void drawStoryRing(cairo_t* cr, CGPoint centre, CGFloat radius) {
    cairo_pattern_t* ring = cairo_pattern_create_linear(centre.x - radius, centre.y + radius,
                                                        centre.x + radius, centre.y - radius);
    cairo_pattern_add_color_stop_rgb(ring, 0, kStoryOrange.red, kStoryOrange.green,
                                     kStoryOrange.blue);
    cairo_pattern_add_color_stop_rgb(ring, 1, kStoryMagenta.red, kStoryMagenta.green,
                                     kStoryMagenta.blue);
    circlePath(cr, centre, radius);
    cairo_set_source(cr, ring);
    cairo_set_line_width(cr, 2.5);
    cairo_stroke(cr);
    cairo_pattern_destroy(ring);
}

void drawPhotoPlaceholder(cairo_t* cr, const std::string& seed, CGRect rect) {
    double hue = hueOf(seed);
    UIColor::Components top = hsv(hue, 0.35, 0.97), bottom = hsv(hue + 0.08, 0.65, 0.7);
    CGFloat x = rect.origin.x, y = rect.origin.y, w = rect.size.width, h = rect.size.height;
    cairo_pattern_t* sky = cairo_pattern_create_linear(0, y, 0, y + h);
    cairo_pattern_add_color_stop_rgb(sky, 0, top.red, top.green, top.blue);
    cairo_pattern_add_color_stop_rgb(sky, 1, bottom.red, bottom.green, bottom.blue);
    cairo_rectangle(cr, x, y, w, h);
    cairo_set_source(cr, sky);
    cairo_fill(cr);
    cairo_pattern_destroy(sky);
    circlePath(cr, {x + 0.72 * w, y + 0.3 * h}, 0.09 * w);
    setSourceColor(cr, {1, 1, 1, 0.75});
    cairo_fill(cr);
    UIColor::Components hill = hsv(hue + 0.5, 0.5, 0.35);
    fillPolygon(cr, {{x, y + h}, {x + 0.3 * w, y + 0.55 * h}, {x + 0.6 * w, y + h}},
                {hill.red, hill.green, hill.blue, 0.45});
    fillPolygon(
        cr,
        {{x + 0.35 * w, y + h}, {x + 0.7 * w, y + 0.45 * h}, {x + w, y + 0.8 * h}, {x + w, y + h}},
        {hill.red, hill.green, hill.blue, 0.6});
}

void drawActionIcons(cairo_t* cr, CGFloat middle) {
    CGFloat x = 24, y = middle;
    cairo_move_to(cr, x, y + 9);
    cairo_curve_to(cr, x - 14, y, x - 9, y - 12, x, y - 5);
    cairo_curve_to(cr, x + 9, y - 12, x + 14, y, x, y + 9);
    stroke(cr, 1.8);
    x = 62;
    cairo_new_sub_path(cr);
    cairo_arc(cr, x, y, 10, 0.75 * std::numbers::pi, 2.6 * std::numbers::pi);
    cairo_line_to(cr, x - 10, y + 10);
    cairo_close_path(cr);
    stroke(cr, 1.8);
    x = 100;
    cairo_move_to(cr, x - 11, y - 9);
    cairo_line_to(cr, x + 11, y - 9);
    cairo_line_to(cr, x - 1, y + 11);
    cairo_line_to(cr, x - 3, y - 1);
    cairo_close_path(cr);
    cairo_move_to(cr, x - 3, y - 1);
    cairo_line_to(cr, x + 11, y - 9);
    stroke(cr, 1.8);
}
