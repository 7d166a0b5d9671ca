// Test helpers: a temporary device root, PNG files drawn with cairo, a
// screen chosen per test, and a method's calls recorded through the runtime.
#pragma once

#include <cairo.h>
#include <filesystem>
#include <fstream>
#include <objc/runtime.h>
#include <string>
#include <tuple>
#include <unistd.h>
#include <vector>

#include "Foundation/DeviceRoot.h"
#include "ObjectModel/Implementation.h"
#include "UIKit/UIScreen.h"
#include "UIKit/UITableView.h"

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

// While it lives, -[cls selector] runs an implementation that keeps the
// receiver and the arguments of each call, then calls the original; one
// recorder per argument list at a time.
template <class... Args> class CallRecorder {
  public:
    CallRecorder(Class cls, SEL selector) : _method(class_getInstanceMethod(cls, selector)) {
        calls.clear();
        original = method_setImplementation(_method, toIMP(&record));
    }
    ~CallRecorder() { method_setImplementation(_method, original); }
    inline static std::vector<std::tuple<id, Args...>> calls;

  private:
    static void record(id self, SEL cmd, Args... args) {
        calls.emplace_back(self, args...);
        fromIMP<void(id, SEL, Args...)>(original)(self, cmd, args...);
    }
    inline static IMP original = nullptr;
    Method _method;
};

// The table's deselection calls, recorded.
struct DeselectCalls : CallRecorder<NSIndexPath*, bool> {
    DeselectCalls()
        : CallRecorder(UITableView::objcClass(), "deselectRowAtIndexPath:animated:"_sel) {}
};

// Whether the last recorded call asked for animation; false when none came.
template <class... Args> bool lastAnimated(const CallRecorder<Args...>& recorder) {
    return !recorder.calls.empty() && std::get<2>(recorder.calls.back());
}

} // namespace uikit_support
