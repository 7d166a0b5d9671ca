#include "UIKit/TextDrawing.h"

#include <algorithm>
#include <memory>
#include <mutex>
#include <pango/pangocairo.h>
#include <set>
#include <unordered_map>

#include "Foundation/NSLog.h"
#include "Foundation/NSString.h"

namespace {

// A family that reaches Arabic script. Colour emoji come through fontconfig's
// fallback (Noto Color Emoji): named here, that font would also take digits
// and punctuation, which it has for keycap sequences.
constexpr const char* kFallbackFamilies = ",DejaVu Sans";

struct GObjectDeleter {
    void operator()(void* object) const { g_object_unref(object); }
};
using LayoutPtr = std::unique_ptr<PangoLayout, GObjectDeleter>;

void applyFontOptions(PangoContext* context) {
    cairo_font_options_t* options = cairo_font_options_create();
    cairo_font_options_set_antialias(options, CAIRO_ANTIALIAS_GRAY);
    cairo_font_options_set_hint_style(options, CAIRO_HINT_STYLE_NONE);
    cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_OFF);
    pango_cairo_context_set_font_options(context, options);
    cairo_font_options_destroy(options);
    pango_cairo_context_set_resolution(context, 72);
    pango_context_set_round_glyph_positions(context, FALSE);
}

PangoAlignment pangoAlignment(long alignment) {
    switch (alignment) {
    case NSTextAlignmentCenter:
        return PANGO_ALIGN_CENTER;
    case NSTextAlignmentRight:
        return PANGO_ALIGN_RIGHT;
    default:
        return PANGO_ALIGN_LEFT;
    }
}

void applyStyle(PangoLayout* layout, const TextStyle& style, CGFloat width) {
    std::string families = installedFamily(style.family) + kFallbackFamilies;
    PangoFontDescription* font = pango_font_description_new();
    pango_font_description_set_family(font, families.c_str());
    pango_font_description_set_absolute_size(font, style.size * PANGO_SCALE);
    pango_font_description_set_weight(font,
                                      style.bold ? PANGO_WEIGHT_SEMIBOLD : PANGO_WEIGHT_NORMAL);
    pango_layout_set_font_description(layout, font);
    pango_font_description_free(font);
    pango_layout_set_auto_dir(layout, style.alignment == NSTextAlignmentNatural);
    pango_layout_set_alignment(layout, pangoAlignment(style.alignment));
    pango_layout_set_justify(layout, style.alignment == NSTextAlignmentJustified);
    pango_layout_set_width(layout, width > 0 ? static_cast<int>(width * PANGO_SCALE) : -1);
    pango_layout_set_wrap(layout, PANGO_WRAP_WORD_CHAR);
    if (style.lines > 0) {
        pango_layout_set_height(layout, -static_cast<int>(style.lines));
        pango_layout_set_ellipsize(layout, PANGO_ELLIPSIZE_END);
    }
}

LayoutPtr makeLayout(cairo_t* cr, const std::string& text, const TextStyle& style, CGFloat width) {
    PangoContext* context = pango_cairo_create_context(cr);
    applyFontOptions(context);
    LayoutPtr layout(pango_layout_new(context));
    g_object_unref(context);
    applyStyle(layout.get(), style, width);
    pango_layout_set_text(layout.get(), text.c_str(), static_cast<int>(text.size()));
    if (style.boldPrefix > 0) {
        PangoAttrList* attributes = pango_attr_list_new();
        PangoAttribute* bold = pango_attr_weight_new(PANGO_WEIGHT_SEMIBOLD);
        bold->end_index = static_cast<guint>(std::min(style.boldPrefix, text.size()));
        pango_attr_list_insert(attributes, bold);
        pango_layout_set_attributes(layout.get(), attributes);
        pango_attr_list_unref(attributes);
    }
    return layout;
}

// A context for measuring, apart from any picture.
cairo_t* measuringContext() {
    thread_local std::unique_ptr<cairo_t, decltype(&cairo_destroy)> cr = [] {
        cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 1, 1);
        cairo_t* context = cairo_create(surface);
        cairo_surface_destroy(surface);
        return std::unique_ptr<cairo_t, decltype(&cairo_destroy)>(context, cairo_destroy);
    }();
    return cr.get();
}

// What a measurement depends on, as one key: the colour does not count.
std::string measuringKey(const std::string& text, const TextStyle& style, CGFloat width) {
    std::string key = style.family;
    key.push_back('\0');
    for (double number :
         {style.size, width, static_cast<double>(style.alignment), static_cast<double>(style.lines),
          style.bold ? 1.0 : 0.0, static_cast<double>(style.boldPrefix)})
        key.append(reinterpret_cast<const char*>(&number), sizeof number);
    return key.append(text);
}

CGSize measure(const std::string& text, const TextStyle& style, CGFloat width) {
    LayoutPtr layout = makeLayout(measuringContext(), text, style, width);
    PangoRectangle logical;
    pango_layout_get_extents(layout.get(), nullptr, &logical);
    return {static_cast<CGFloat>(logical.width) / PANGO_SCALE,
            static_cast<CGFloat>(logical.height) / PANGO_SCALE};
}

std::set<std::string> familiesOfFontMap() {
    std::set<std::string> names;
    PangoFontFamily** families = nullptr;
    int count = 0;
    pango_font_map_list_families(pango_cairo_font_map_get_default(), &families, &count);
    for (int i = 0; i < count; ++i)
        names.insert(pango_font_family_get_name(families[i]));
    g_free(families);
    return names;
}

} // namespace

std::string installedFamily(const std::string& family) {
    static std::mutex mutex;
    static const std::set<std::string> installed = familiesOfFontMap();
    static std::set<std::string> reported;
    if (installed.contains(family)) return family;
    bool system = family == kSystemFamily;
    std::string instead = system ? kFallbackSystemFamily : installedFamily(kSystemFamily);
    std::lock_guard lock(mutex);
    if (reported.insert(family).second)
        NSLog("render: font family \"%s\" is not installed; drawing with \"%s\" instead "
              "(install %s)"_ns,
              family.c_str(), instead.c_str(), system ? "fonts-inter" : "it, or fonts-inter");
    return instead;
}

TextStyle textStyleOfFont(const UIFont* font) {
    TextStyle style;
    if (!font) return style;
    style.size = font->pointSize();
    std::string asked = font->fontName()->utf8();
    if (asked != "sans-serif") style.family = font->familyName()->utf8();
    return style;
}

// Shaping dominates layout: measurements are kept per thread, a bounded
// number of them, and all dropped once the bound is reached.
CGSize textSize(const std::string& text, const TextStyle& style, CGFloat width) {
    constexpr std::size_t kKeptMeasurements = 4096;
    thread_local std::unordered_map<std::string, CGSize> kept;
    std::string key = measuringKey(text, style, width);
    if (auto found = kept.find(key); found != kept.end()) return found->second;
    if (kept.size() >= kKeptMeasurements) kept.clear();
    CGSize size = measure(text, style, width);
    kept.emplace(std::move(key), size);
    return size;
}

void drawText(cairo_t* cr, const std::string& text, const TextStyle& style, CGRect rect) {
    if (text.empty() || rect.size.width <= 0) return;
    LayoutPtr layout = makeLayout(cr, text, style, rect.size.width);
    PangoRectangle logical;
    pango_layout_get_extents(layout.get(), nullptr, &logical);
    CGFloat height = static_cast<CGFloat>(logical.height) / PANGO_SCALE;
    cairo_save(cr);
    setSourceColor(cr, style.color);
    cairo_move_to(cr, rect.origin.x, rect.origin.y + (rect.size.height - height) / 2);
    pango_cairo_show_layout(cr, layout.get());
    cairo_restore(cr);
}

void setSourceColor(cairo_t* cr, const UIColor::Components& color) {
    cairo_set_source_rgba(cr, color.red, color.green, color.blue, color.alpha);
}
