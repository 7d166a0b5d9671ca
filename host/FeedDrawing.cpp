#include "host/FeedDrawing.h"

#include <cmath>
#include <cstdio>
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

// A small deterministic generator (xorshift), so a seed always draws the same.
struct Random {
    uint32_t state;
    double next() {
        state ^= state << 13;
        state ^= state >> 17;
        state ^= state << 5;
        return (state % 10000) / 10000.0;
    }
    double between(double low, double high) { return low + (high - low) * next(); }
};

struct Scene {
    cairo_t* cr;
    CGRect rect;
    double hue;
    Random random;
    CGFloat x(double share) const { return rect.origin.x + share * rect.size.width; }
    CGFloat y(double share) const { return rect.origin.y + share * rect.size.height; }
};

void verticalGradient(const Scene& s, double from, double to, const UIColor::Components& top,
                      const UIColor::Components& bottom) {
    cairo_pattern_t* fill = cairo_pattern_create_linear(0, s.y(from), 0, s.y(to));
    cairo_pattern_add_color_stop_rgb(fill, 0, top.red, top.green, top.blue);
    cairo_pattern_add_color_stop_rgb(fill, 1, bottom.red, bottom.green, bottom.blue);
    cairo_rectangle(s.cr, s.rect.origin.x, s.y(from), s.rect.size.width, s.y(to) - s.y(from));
    cairo_set_source(s.cr, fill);
    cairo_fill(s.cr);
    cairo_pattern_destroy(fill);
}

void disc(const Scene& s, CGPoint centre, CGFloat radius, const UIColor::Components& color) {
    circlePath(s.cr, centre, radius);
    setSourceColor(s.cr, color);
    cairo_fill(s.cr);
}

// A ridge across the picture from the left edge to the right, filled below.
void ridge(Scene& s, double base, double height, int peaks, const UIColor::Components& color) {
    cairo_move_to(s.cr, s.x(0), s.y(1));
    for (int i = 0; i <= peaks * 2; ++i) {
        double top = i % 2 ? base - height * s.random.between(0.5, 1) : base;
        cairo_line_to(s.cr, s.x(static_cast<double>(i) / (peaks * 2)), s.y(top));
    }
    cairo_line_to(s.cr, s.x(1), s.y(1));
    cairo_close_path(s.cr);
    setSourceColor(s.cr, color);
    cairo_fill(s.cr);
}

void drawSunset(Scene& s) {
    verticalGradient(s, 0, 0.62, hsv(s.hue, 0.55, 0.95), hsv(0.08, 0.7, 1));
    disc(s, {s.x(s.random.between(0.3, 0.7)), s.y(0.62)}, s.rect.size.width * 0.13,
         hsv(0.11, 0.5, 1));
    verticalGradient(s, 0.62, 1, hsv(s.hue + 0.55, 0.6, 0.55), hsv(s.hue + 0.6, 0.7, 0.25));
    for (int i = 0; i < 7; ++i) {
        double y = s.random.between(0.66, 0.97), x = s.random.between(0.1, 0.7);
        fillRoundedRect(s.cr, CGRectMake(s.x(x), s.y(y), s.rect.size.width * 0.25, 1.5), 0.75,
                        {1, 0.85, 0.6, 0.5});
    }
}

void drawMountains(Scene& s) {
    verticalGradient(s, 0, 1, hsv(s.hue, 0.3, 0.98), hsv(s.hue + 0.05, 0.5, 0.8));
    disc(s, {s.x(s.random.between(0.15, 0.85)), s.y(0.22)}, s.rect.size.width * 0.07,
         {1, 1, 1, 0.8});
    ridge(s, 0.6, 0.35, 3, hsv(s.hue + 0.5, 0.25, 0.75));
    ridge(s, 0.75, 0.3, 2, hsv(s.hue + 0.5, 0.35, 0.5));
    ridge(s, 0.92, 0.2, 4, hsv(s.hue + 0.45, 0.45, 0.3));
}

void drawCity(Scene& s) {
    verticalGradient(s, 0, 1, hsv(s.hue + 0.6, 0.7, 0.25), hsv(s.hue + 0.05, 0.6, 0.85));
    double x = 0;
    while (x < 1) {
        double width = s.random.between(0.07, 0.16), height = s.random.between(0.25, 0.7);
        CGRect tower = CGRectMake(s.x(x), s.y(1 - height), width * s.rect.size.width + 1,
                                  height * s.rect.size.height);
        fillRoundedRect(s.cr, tower, 0, hsv(s.hue + 0.6, 0.4, 0.18));
        for (double wy = 1 - height + 0.03; wy < 0.97; wy += 0.05)
            for (double wx = x + 0.015; wx < x + width - 0.02; wx += 0.03)
                if (s.random.next() < 0.45)
                    fillRoundedRect(s.cr, CGRectMake(s.x(wx), s.y(wy), 3, 4), 0,
                                    {1, 0.85, 0.45, 0.9});
        x += width;
    }
}

void drawLights(Scene& s) {
    verticalGradient(s, 0, 1, hsv(s.hue, 0.6, 0.3), hsv(s.hue + 0.1, 0.8, 0.12));
    for (int i = 0; i < 18; ++i) {
        CGPoint centre{s.x(s.random.next()), s.y(s.random.next())};
        UIColor::Components glow = hsv(s.hue + s.random.between(-0.1, 0.15), 0.5, 1);
        glow.alpha = s.random.between(0.15, 0.5);
        disc(s, centre, s.rect.size.width * s.random.between(0.03, 0.12), glow);
    }
}

void drawDunes(Scene& s) {
    verticalGradient(s, 0, 1, hsv(s.hue, 0.4, 0.98), hsv(s.hue + 0.04, 0.2, 0.92));
    for (int layer = 0; layer < 4; ++layer) {
        double base = 0.45 + layer * 0.15;
        cairo_move_to(s.cr, s.x(0), s.y(1));
        double phase = s.random.between(0, 6.28), amplitude = s.random.between(0.03, 0.08);
        for (int i = 0; i <= 24; ++i) {
            double t = i / 24.0;
            cairo_line_to(s.cr, s.x(t), s.y(base + amplitude * std::sin(phase + t * 6)));
        }
        cairo_line_to(s.cr, s.x(1), s.y(1));
        cairo_close_path(s.cr);
        setSourceColor(s.cr,
                       hsv(s.hue + 0.45 + layer * 0.03, 0.4 + layer * 0.1, 0.9 - layer * 0.13));
        cairo_fill(s.cr);
    }
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

PhotoScene sceneOf(const std::string& seed) {
    return static_cast<PhotoScene>((textHash(seed) >> 8) % kPhotoScenes);
}

void drawGeneratedPhoto(cairo_t* cr, const std::string& seed, CGRect rect) {
    Scene scene{cr, rect, hueOf(seed), Random{textHash(seed) | 1u}};
    cairo_save(cr);
    cairo_rectangle(cr, rect.origin.x, rect.origin.y, rect.size.width, rect.size.height);
    cairo_clip(cr);
    switch (sceneOf(seed)) {
    case PhotoScene::Sunset:
        drawSunset(scene);
        break;
    case PhotoScene::Mountains:
        drawMountains(scene);
        break;
    case PhotoScene::City:
        drawCity(scene);
        break;
    case PhotoScene::Lights:
        drawLights(scene);
        break;
    case PhotoScene::Dunes:
        drawDunes(scene);
        break;
    }
    cairo_restore(cr);
}

std::string likesText(const std::string& seed) {
    unsigned count = 12 + textHash(seed + "likes") % 9000;
    char text[32];
    if (count >= 1000)
        std::snprintf(text, sizeof text, "%u,%03u likes", count / 1000, count % 1000);
    else
        std::snprintf(text, sizeof text, "%u likes", count);
    return text;
}
