// Test helpers: a temporary device root, PNG files drawn with cairo, and a
// screen chosen per test.
#pragma once

#include <cairo.h>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

#include "Foundation/DeviceRoot.h"
#include "UIKit/UIScreen.h"

namespace uikit_support {

inline std::filesystem::path makeTempRoot() {
    std::string pattern = (std::filesystem::temp_directory_path() / "tavelin-test-XXXXXX").string();
    std::filesystem::path root = mkdtemp(pattern.data());
    setDeviceRoot(root.string());
    return root;
}

// Writes a PNG of one colour under the device root at the device path.
inline void writePNG(const std::string& devicePathText, int width, int height, double red,
                     double green, double blue) {
    std::filesystem::path file = devicePath(devicePathText);
    std::filesystem::create_directories(file.parent_path());
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height);
    cairo_t* cr = cairo_create(surface);
    cairo_set_source_rgb(cr, red, green, blue);
    cairo_paint(cr);
    cairo_destroy(cr);
    cairo_surface_write_to_png(surface, file.c_str());
    cairo_surface_destroy(surface);
}

// The pixel at (x, y) of an ARGB32 image surface as 0xAARRGGBB.
inline uint32_t pixelAt(cairo_surface_t* surface, int x, int y) {
    cairo_surface_flush(surface);
    const unsigned char* data = cairo_image_surface_get_data(surface);
    int stride = cairo_image_surface_get_stride(surface);
    return *reinterpret_cast<const uint32_t*>(data + y * stride + x * 4);
}

class ScreenTest : public ::testing::Test {
  protected:
    void SetUp() override {
        root_ = makeTempRoot();
        UIScreen::mainScreen()->setScale(2.0);
        UIScreen::mainScreen()->setSize({320, 480});
    }
    void TearDown() override { std::filesystem::remove_all(root_); }
    std::filesystem::path root_;
};

} // namespace uikit_support
