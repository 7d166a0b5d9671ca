#include "UIKit/PNGEncoder.h"

#include <csetjmp>
#include <cstdint>
#include <png.h>
#include <vector>

namespace {

struct Output {
    PNGSink sink;
    void* closure;
    bool failed = false;
};

void writeData(png_structp png, png_bytep data, png_size_t length) {
    auto* output = static_cast<Output*>(png_get_io_ptr(png));
    if (!output->failed && !output->sink(output->closure, data, length)) output->failed = true;
    if (output->failed) png_error(png, "the sink stopped");
}

void flushNothing(png_structp) {}

const uint32_t* rowOf(cairo_surface_t* surface, int y) {
    return reinterpret_cast<const uint32_t*>(cairo_image_surface_get_data(surface) +
                                             y * cairo_image_surface_get_stride(surface));
}

bool hasTranslucency(cairo_surface_t* surface, int width, int height) {
    if (cairo_image_surface_get_format(surface) != CAIRO_FORMAT_ARGB32) return false;
    for (int y = 0; y < height; ++y) {
        const uint32_t* row = rowOf(surface, y);
        for (int x = 0; x < width; ++x)
            if (row[x] >> 24 != 0xFF) return true;
    }
    return false;
}

// Premultiplied native-endian pixels to straight R, G, B (and A) bytes.
void convertRow(const uint32_t* pixels, int width, bool alpha, unsigned char* out) {
    for (int x = 0; x < width; ++x) {
        uint32_t pixel = pixels[x];
        unsigned a = alpha ? pixel >> 24 : 0xFF;
        unsigned channels[3] = {(pixel >> 16) & 0xFF, (pixel >> 8) & 0xFF, pixel & 0xFF};
        for (unsigned channel : channels)
            *out++ = static_cast<unsigned char>(a == 0xFF ? channel
                                                : a == 0  ? 0
                                                          : (channel * 0xFF + a / 2) / a);
        if (alpha) *out++ = static_cast<unsigned char>(a);
    }
}

// libpng reports errors by longjmp: nothing here has a destructor to skip.
bool writeRows(png_structp png, png_infop info, cairo_surface_t* surface, bool alpha,
               unsigned char* row, const PNGOptions& options) {
    if (setjmp(png_jmpbuf(png))) return false;
    int width = cairo_image_surface_get_width(surface);
    int height = cairo_image_surface_get_height(surface);
    png_set_IHDR(png, info, static_cast<png_uint_32>(width), static_cast<png_uint_32>(height), 8,
                 alpha ? PNG_COLOR_TYPE_RGBA : PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_set_compression_level(png, options.level);
    png_set_compression_strategy(png, options.strategy);
    png_set_filter(png, PNG_FILTER_TYPE_BASE, options.filters);
    png_write_info(png, info);
    for (int y = 0; y < height; ++y) {
        convertRow(rowOf(surface, y), width, alpha, row);
        png_write_row(png, row);
    }
    png_write_end(png, info);
    return true;
}

} // namespace

bool encodePNG(cairo_surface_t* surface, PNGSink sink, void* closure, PNGOptions options) {
    cairo_format_t format = cairo_image_surface_get_format(surface);
    if (format != CAIRO_FORMAT_ARGB32 && format != CAIRO_FORMAT_RGB24) return false;
    cairo_surface_flush(surface);
    int width = cairo_image_surface_get_width(surface);
    int height = cairo_image_surface_get_height(surface);
    if (width <= 0 || height <= 0) return false;
    bool alpha = hasTranslucency(surface, width, height);
    std::vector<unsigned char> row(static_cast<std::size_t>(width) * (alpha ? 4 : 3));
    Output output{sink, closure};
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    bool written = info != nullptr;
    if (written) {
        png_set_write_fn(png, &output, writeData, flushNothing);
        written = writeRows(png, info, surface, alpha, row.data(), options);
    }
    png_destroy_write_struct(&png, &info);
    return written && !output.failed;
}
