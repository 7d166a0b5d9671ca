// Test helpers: a temporary device root and a screen per test, PNG files drawn
// with cairo, a method's calls recorded through the runtime, sample table
// screens built from UIKit alone, and pictures compared with references.
#pragma once

#include <cairo.h>
#include <cstring>
#include <objc/runtime.h>
#include <tuple>

#include "ObjectModel/ClassBuilder.h"
#include "ObjectModel/Implementation.h"
#include "ObjectModel/Message.h"
#include "UIKit/PictureFile.h"
#include "UIKit/ScreenText.h"
#include "UIKit/TextDrawing.h"
#include "UIKit/UIApplication.h"
#include "UIKit/UINavigationController.h"
#include "UIKit/UIRenderer.h"
#include "UIKit/UIScreen.h"
#include "UIKit/UISegmentedControl.h"
#include "UIKit/UISlider.h"
#include "UIKit/UISwitch.h"
#include "UIKit/UITableViewController.h"
#include "UIKit/UITextField.h"
#include "tests/platform/Foundation/TempRoot.h"

namespace uikit_support {

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

// A device root of its own and a 320 x 480 screen at scale 2.
class ScreenTest : public testing_support::TempRootTest {
  protected:
    void SetUp() override {
        TempRootTest::SetUp();
        UIScreen::mainScreen()->setScale(2.0);
        UIScreen::mainScreen()->setSize({320, 480});
    }
};

// A class made at run time, without a C++ type of its own; with one method
// of its own when given one.
inline Class subclassOf(Class superclass, const char* name, SEL selector = nullptr,
                        IMP imp = nullptr, const char* types = nullptr) {
    if (Class known = objc_lookUpClass(name)) return known;
    Class cls = objc_allocateClassPair(superclass, name, 0);
    if (selector) class_addMethod(cls, selector, imp, types);
    objc_registerClassPair(cls);
    return cls;
}

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

struct SampleSection {
    Ref<NSString> header;
    Ref<NSString> footer;
    std::vector<Ref<UITableViewCell>> cells; // a nil cell is one the data source does not give
    std::vector<CGFloat> heights = {};       // rows past these take the table's height
};

// A table controller that serves sections of ready-made cells and keeps the
// rows it is told were tapped.
struct SampleTable : UITableViewController {
    OBJC_CLASS(SampleTable, UITableViewController)
    std::vector<SampleSection> sections;
    std::vector<Ref<NSIndexPath>> tapped;

    long count(UITableView*) { return static_cast<long>(sections.size()); }
    long rows(UITableView*, long s) { return static_cast<long>(sections.at(s).cells.size()); }
    Ref<UITableViewCell> cellAt(UITableView*, NSIndexPath* path) {
        return sections.at(path->section()).cells.at(path->row());
    }
    Ref<NSString> header(UITableView*, long s) { return sections.at(s).header; }
    Ref<NSString> footer(UITableView*, long s) { return sections.at(s).footer; }
    CGFloat height(UITableView*, NSIndexPath* path) {
        const std::vector<CGFloat>& heights = sections.at(path->section()).heights;
        return static_cast<std::size_t>(path->row()) < heights.size() ? heights[path->row()] : -1;
    }
    void tap(UITableView*, NSIndexPath* path) { tapped.emplace_back(path); }
};

inline const ClassInfo& SampleTable::objcClassInfo() {
    static const ClassInfo info =
        ClassBuilder<SampleTable>()
            .method<"numberOfSectionsInTableView:", &SampleTable::count>()
            .method<"tableView:numberOfRowsInSection:", &SampleTable::rows>()
            .method<"tableView:cellForRowAtIndexPath:", &SampleTable::cellAt>()
            .method<"tableView:titleForHeaderInSection:", &SampleTable::header>()
            .method<"tableView:titleForFooterInSection:", &SampleTable::footer>()
            .method<"tableView:heightForRowAtIndexPath:", &SampleTable::height>()
            .method<"tableView:didSelectRowAtIndexPath:", &SampleTable::tap>()
            .build();
    return info;
}

inline Ref<SampleTable> sampleTable(const char* title, long style = UITableViewStyleGrouped) {
    Ref<SampleTable> table = make<SampleTable>(&SampleTable::initWithStyle, style);
    table->setTitle(NSString::string(title));
    return table;
}

inline Ref<UITableViewCell> cell(long style, const char* title, const char* detail = nullptr) {
    Ref<UITableViewCell> cell = UITableViewCell::cellWithStyle(style, nullptr);
    cell->textLabel()->setText(NSString::string(title));
    if (detail) cell->detailTextLabel()->setText(NSString::string(detail));
    return cell;
}

// The controller pushed onto a navigation controller whose root is titled "Settings".
inline Ref<UINavigationController> onStack(UIViewController* top) {
    Ref<UIViewController> root = make<UIViewController>(&UIViewController::init);
    root->setTitle("Settings"_ns);
    Ref<UINavigationController> navigation =
        UINavigationController::navigationControllerWithRootViewController(root);
    navigation->pushViewController(top, false);
    return navigation;
}

} // namespace uikit_support

namespace snapshot {

using testing_support::sourceDir;

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

// Compares with $TAVELIN_SOURCE_DIR/<folder>/<name>.png within the picture
// tolerances; a mismatch leaves <name>.actual.png and <name>.difference.png
// in the working folder. TAVELIN_UPDATE_SNAPSHOTS=1 writes the reference.
inline ::testing::AssertionResult
matchesReference(cairo_surface_t* actual, const std::string& folder, const std::string& name) {
    if (!actual) return ::testing::AssertionFailure() << "no picture to compare with " << name;
    std::string reference = (sourceDir() / folder / (name + ".png")).string();
    const char* update = std::getenv("TAVELIN_UPDATE_SNAPSHOTS");
    if (update && std::string(update) == "1") {
        Result<void> written = writePictureFile(actual, reference);
        return written ? ::testing::AssertionSuccess()
                       : ::testing::AssertionFailure() << written.problem();
    }
    PictureComparison comparison = comparePictureWithFile(actual, reference);
    if (comparison.difference) {
        if (!comparison.same)
            cairo_surface_write_to_png(comparison.difference, (name + ".difference.png").c_str());
        cairo_surface_destroy(comparison.difference);
    }
    if (comparison.same) return ::testing::AssertionSuccess();
    cairo_surface_write_to_png(actual, (name + ".actual.png").c_str());
    return ::testing::AssertionFailure()
           << comparison.problem << " (actual: " << name << ".actual.png)";
}

} // namespace snapshot
