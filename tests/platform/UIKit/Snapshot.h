// Compares a picture with a reference PNG under $TAVELIN_SOURCE_DIR, with a
// small tolerance for antialiasing. A mismatch writes the actual picture and a
// difference picture to ./snapshot-failures/ and names them.
// TAVELIN_UPDATE_SNAPSHOTS=1 writes the references instead of comparing.
#pragma once

#include <cairo.h>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <gtest/gtest.h>
#include <string>

#include "UIKit/PictureFile.h"

namespace snapshot {

inline std::filesystem::path sourceDir() {
    const char* dir = std::getenv("TAVELIN_SOURCE_DIR");
    return dir ? dir : ".";
}

inline bool updating() {
    const char* update = std::getenv("TAVELIN_UPDATE_SNAPSHOTS");
    return update && std::string(update) == "1";
}

inline uint32_t pixel(cairo_surface_t* surface, int x, int y) {
    const unsigned char* row =
        cairo_image_surface_get_data(surface) + y * cairo_image_surface_get_stride(surface);
    return reinterpret_cast<const uint32_t*>(row)[x];
}

// Byte for byte the same pixels.
inline bool samePixels(cairo_surface_t* a, cairo_surface_t* b) {
    cairo_surface_flush(a);
    cairo_surface_flush(b);
    int height = cairo_image_surface_get_height(a);
    int stride = cairo_image_surface_get_stride(a);
    return height == cairo_image_surface_get_height(b) &&
           stride == cairo_image_surface_get_stride(b) &&
           std::memcmp(cairo_image_surface_get_data(a), cairo_image_surface_get_data(b),
                       static_cast<std::size_t>(height * stride)) == 0;
}

inline std::string writeFailure(cairo_surface_t* surface, const std::string& file) {
    std::filesystem::path dir = std::filesystem::current_path() / "snapshot-failures";
    std::filesystem::create_directories(dir);
    std::filesystem::path path = dir / file;
    cairo_surface_write_to_png(surface, path.c_str());
    return path.string();
}

inline ::testing::AssertionResult matchesReference(cairo_surface_t* actual,
                                                   const std::string& referenceFolder,
                                                   const std::string& name) {
    if (!actual) return ::testing::AssertionFailure() << "no picture to compare with " << name;
    std::filesystem::path reference = sourceDir() / referenceFolder / (name + ".png");
    if (updating()) {
        std::filesystem::create_directories(reference.parent_path());
        if (cairo_surface_write_to_png(actual, reference.c_str()) != CAIRO_STATUS_SUCCESS)
            return ::testing::AssertionFailure() << "cannot write the reference " << reference;
        return ::testing::AssertionSuccess() << "reference written: " << reference;
    }
    cairo_surface_t* expected = cairo_image_surface_create_from_png(reference.c_str());
    if (cairo_surface_status(expected) != CAIRO_STATUS_SUCCESS) {
        cairo_surface_destroy(expected);
        return ::testing::AssertionFailure()
               << "no reference picture " << reference
               << " (actual picture: " << writeFailure(actual, name + ".actual.png")
               << "); run with TAVELIN_UPDATE_SNAPSHOTS=1 to make it";
    }
    cairo_surface_flush(actual);
    int width = cairo_image_surface_get_width(actual);
    int height = cairo_image_surface_get_height(actual);
    if (width != cairo_image_surface_get_width(expected) ||
        height != cairo_image_surface_get_height(expected)) {
        cairo_surface_destroy(expected);
        return ::testing::AssertionFailure()
               << name << ": picture is " << width << "x" << height
               << " pixels, the reference another size; actual picture: "
               << writeFailure(actual, name + ".actual.png");
    }
    long differing = 0;
    cairo_surface_t* difference = differencePicture(actual, expected, &differing);
    cairo_surface_destroy(expected);
    ::testing::AssertionResult result = ::testing::AssertionSuccess();
    if (differing > static_cast<long>(kPictureShareTolerance * width * height))
        result = ::testing::AssertionFailure()
                 << name << ": " << differing << " of " << width * height << " pixels differ from "
                 << reference << "; actual: " << writeFailure(actual, name + ".actual.png")
                 << ", difference: " << writeFailure(difference, name + ".difference.png");
    cairo_surface_destroy(difference);
    return result;
}

} // namespace snapshot
