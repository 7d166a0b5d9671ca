// Draws the settings screen's images into a folder: a gear, a heart, two
// avatars with initials and a donate badge.
//
//   make-images OUTPUT_FOLDER
#include <cairo.h>
#include <cmath>
#include <cstdio>
#include <functional>
#include <string>

namespace {

constexpr double kAccent[] = {209 / 255.0, 59 / 255.0, 87 / 255.0};

using Drawing = std::function<void(cairo_t*, double size)>;

bool writeImage(const std::string& path, int size, const Drawing& draw) {
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, size, size);
    cairo_t* cr = cairo_create(surface);
    draw(cr, size);
    cairo_destroy(cr);
    bool written = cairo_surface_write_to_png(surface, path.c_str()) == CAIRO_STATUS_SUCCESS;
    cairo_surface_destroy(surface);
    if (!written) std::fprintf(stderr, "make-images: cannot write %s\n", path.c_str());
    return written;
}

void gear(cairo_t* cr, double size) {
    const double c = size / 2, outer = size * 0.46, inner = size * 0.34;
    const int teeth = 8;
    cairo_set_source_rgb(cr, 0.25, 0.25, 0.28);
    for (int i = 0; i < teeth * 2; ++i) {
        double angle = i * M_PI / teeth;
        double radius = i % 2 ? inner : outer;
        for (double a : {angle - M_PI / teeth / 2.4, angle + M_PI / teeth / 2.4})
            cairo_line_to(cr, c + radius * std::cos(a), c + radius * std::sin(a));
    }
    cairo_close_path(cr);
    cairo_new_sub_path(cr);
    cairo_arc_negative(cr, c, c, size * 0.14, 2 * M_PI, 0);
    cairo_fill(cr);
}

void heart(cairo_t* cr, double size) {
    const double s = size;
    cairo_set_source_rgb(cr, kAccent[0], kAccent[1], kAccent[2]);
    cairo_move_to(cr, s * 0.5, s * 0.88);
    cairo_curve_to(cr, s * 0.05, s * 0.55, s * 0.05, s * 0.12, s * 0.5, s * 0.3);
    cairo_curve_to(cr, s * 0.95, s * 0.12, s * 0.95, s * 0.55, s * 0.5, s * 0.88);
    cairo_fill(cr);
}

Drawing avatar(const char* initials, double red, double green, double blue) {
    return [=](cairo_t* cr, double size) {
        cairo_arc(cr, size / 2, size / 2, size / 2, 0, 2 * M_PI);
        cairo_set_source_rgb(cr, red, green, blue);
        cairo_fill(cr);
        cairo_select_font_face(cr, "Liberation Sans", CAIRO_FONT_SLANT_NORMAL,
                               CAIRO_FONT_WEIGHT_BOLD);
        cairo_set_font_size(cr, size * 0.4);
        cairo_text_extents_t extents;
        cairo_text_extents(cr, initials, &extents);
        cairo_move_to(cr, (size - extents.width) / 2 - extents.x_bearing,
                      (size - extents.height) / 2 - extents.y_bearing);
        cairo_set_source_rgb(cr, 1, 1, 1);
        cairo_show_text(cr, initials);
    };
}

void donate(cairo_t* cr, double size) {
    avatar("$", 0.0, 0.44, 0.73)(cr, size);
    cairo_set_source_rgb(cr, 1, 0.77, 0.2);
    cairo_set_line_width(cr, size * 0.05);
    cairo_arc(cr, size / 2, size / 2, size * 0.44, 0, 2 * M_PI);
    cairo_stroke(cr);
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: make-images OUTPUT_FOLDER\n");
        return 2;
    }
    const std::string folder = argv[1];
    bool ok = writeImage(folder + "/setting.png", 50, gear);
    ok = writeImage(folder + "/heart.png", 50, heart) && ok;
    ok = writeImage(folder + "/torvenAK.png", 120, avatar("TA", 0.2, 0.3, 0.45)) && ok;
    ok = writeImage(folder + "/PrefsDonate.png", 120, donate) && ok;
    ok = writeImage(folder + "/Navro.png", 120, avatar("N", 0.36, 0.25, 0.55)) && ok;
    return ok ? 0 : 1;
}
