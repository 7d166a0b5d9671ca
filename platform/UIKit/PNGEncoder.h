// PNG encoding of cairo image surfaces with libpng directly (cairo's writer
// cannot choose zlib's level or the row filters). Pictures without
// translucent pixels are written as 8-bit RGB, others as 8-bit RGBA with
// straight alpha.
#pragma once

#include <cairo.h>
#include <cstddef>

// Receives the encoded bytes in order; answers false to stop the encoding.
using PNGSink = bool (*)(void* closure, const unsigned char* data, std::size_t length);

struct PNGOptions {
    // Screens are large flat areas. Measured on the settings screen at scale
    // 2: zlib level 1 with the "up" filter alone encodes in a third of the
    // time of cairo's writer (level 6, adaptive filters) for 17-25% more bytes;
    // adaptive filters double the time, run-length matching adds 30% bytes.
    int level = 1;
    int strategy = 0;   // Z_DEFAULT_STRATEGY
    int filters = 0x20; // libpng's PNG_FILTER_UP
};

// Answers false when the surface is no ARGB32/RGB24 image or the sink stops.
bool encodePNG(cairo_surface_t* surface, PNGSink sink, void* closure, PNGOptions options = {});
