#include "UIKit/UIImage.h"

#include <cmath>
#include <list>
#include <mutex>
#include <unordered_map>
#include <vector>

#include "Foundation/DeviceRoot.h"
#include "Foundation/NSNotificationCenter.h"
#include "ObjectModel/ClassBuilder.h"
#include "UIKit/UIApplication.h"
#include "UIKit/UIScreen.h"

namespace {

struct ImageContext {
    cairo_surface_t* surface;
    cairo_t* cr;
    CGFloat scale;
};

std::vector<ImageContext>& contextStack() {
    thread_local std::vector<ImageContext> stack;
    return stack;
}

std::string_view lastComponent(std::string_view path) {
    std::size_t slash = path.rfind('/');
    return slash == std::string_view::npos ? path : path.substr(slash + 1);
}

CGFloat scaleOfName(std::string_view fileName) {
    std::string_view stem = fileName.substr(0, fileName.rfind('.'));
    if (stem.ends_with("@3x")) return 3;
    if (stem.ends_with("@2x")) return 2;
    return 1;
}

// Decoded files by device path, as imageNamed: keeps them: the least recently
// used go first past the budget, and a memory warning empties the cache, so a
// file changed on disk is seen again after a warning or a relaunch.
class ImageCache {
  public:
    static constexpr std::size_t budgetBytes = 32u << 20;

    static ImageCache& shared() {
        static ImageCache* const cache = [] {
            auto* made = new ImageCache;
            made->_observer = NSNotificationCenter::defaultCenter()->addObserverForName(
                UIApplicationDidReceiveMemoryWarningNotification, nullptr,
                [made](NSNotification*) { made->clear(); });
            return made;
        }();
        return *cache;
    }

    // A new reference to the cached surface, or nullptr.
    cairo_surface_t* find(const std::string& path) {
        std::lock_guard lock(_mutex);
        auto found = _index.find(path);
        if (found == _index.end()) return nullptr;
        _entries.splice(_entries.begin(), _entries, found->second);
        return cairo_surface_reference(found->second->surface);
    }

    void insert(const std::string& path, cairo_surface_t* surface) {
        std::size_t bytes = sizeOf(surface);
        if (bytes > budgetBytes) return;
        std::lock_guard lock(_mutex);
        if (_index.contains(path)) return;
        _entries.push_front({path, cairo_surface_reference(surface), bytes});
        _index.emplace(path, _entries.begin());
        _bytes += bytes;
        while (_bytes > budgetBytes)
            dropOldest();
    }

    void clear() {
        std::lock_guard lock(_mutex);
        while (!_entries.empty())
            dropOldest();
    }

  private:
    struct Entry {
        std::string path;
        cairo_surface_t* surface;
        std::size_t bytes;
    };

    static std::size_t sizeOf(cairo_surface_t* surface) {
        return static_cast<std::size_t>(cairo_image_surface_get_stride(surface)) *
               static_cast<std::size_t>(cairo_image_surface_get_height(surface));
    }

    void dropOldest() {
        Entry& oldest = _entries.back();
        _bytes -= oldest.bytes;
        _index.erase(oldest.path);
        cairo_surface_destroy(oldest.surface);
        _entries.pop_back();
    }

    std::mutex _mutex;
    std::list<Entry> _entries; // most recently used first
    std::unordered_map<std::string, std::list<Entry>::iterator> _index;
    std::size_t _bytes = 0;
    Ref<NSObject> _observer;
};

cairo_surface_t* decodedFile(const std::string& file) {
    ImageCache& cache = ImageCache::shared();
    if (cairo_surface_t* cached = cache.find(file)) return cached;
    cairo_surface_t* surface = cairo_image_surface_create_from_png(file.c_str());
    if (cairo_surface_status(surface) != CAIRO_STATUS_SUCCESS) {
        cairo_surface_destroy(surface);
        return nullptr;
    }
    cache.insert(file, surface);
    return surface;
}

int pixels(CGFloat points, CGFloat scale) {
    CGFloat value = std::ceil(points * scale);
    return value > 0 && value < 1 << 15 ? static_cast<int>(value) : 0;
}

} // namespace

Ref<UIImage> UIImage::imageNamedImp(Class cls, const NSString* path) {
    if (!path || path->length() == 0) return nullptr;
    cairo_surface_t* surface = decodedFile(devicePath(path->utf8()));
    if (!surface) return nullptr;
    std::string_view name = lastComponent(path->utf8());
    return make<UIImage>(cls, &UIImage::initWithSurface, surface, scaleOfName(name),
                         NSString::string(name).get());
}

UIImage* UIImage::initWithSurfaceImp(cairo_surface_t* surface, CGFloat scale,
                                     const NSString* name) {
    _surface = surface; // owned from here on, also when the answer is nil
    if (!sendSuper<NSObject*>(this, NSObject::objcClass(), "init"_sel)) return nullptr;
    _scale = scale > 0 ? scale : 1;
    if (name) _name = NSString::string(name->utf8());
    return surface ? this : nullptr;
}

UIImage::~UIImage() {
    if (_surface) cairo_surface_destroy(_surface);
}

int UIImage::pixelWidth() const {
    return cairo_image_surface_get_width(_surface);
}

int UIImage::pixelHeight() const {
    return cairo_image_surface_get_height(_surface);
}

CGSize UIImage::sizeImp() {
    return {pixelWidth() / scale(), pixelHeight() / scale()};
}

void UIImage::drawInRectImp(CGRect rect) {
    cairo_t* cr = UIGraphicsGetCurrentContext();
    if (!cr || pixelWidth() == 0 || pixelHeight() == 0) return;
    cairo_save(cr);
    cairo_rectangle(cr, rect.origin.x, rect.origin.y, rect.size.width, rect.size.height);
    cairo_clip(cr);
    cairo_translate(cr, rect.origin.x, rect.origin.y);
    cairo_scale(cr, rect.size.width / pixelWidth(), rect.size.height / pixelHeight());
    cairo_set_source_surface(cr, _surface, 0, 0);
    cairo_pattern_set_filter(cairo_get_source(cr), CAIRO_FILTER_BILINEAR);
    cairo_pattern_set_extend(cairo_get_source(cr), CAIRO_EXTEND_PAD);
    cairo_paint(cr);
    cairo_restore(cr);
}

void UIGraphicsBeginImageContextWithOptions(CGSize size, bool opaque, CGFloat scale) {
    if (!(scale > 0)) scale = UIScreen::mainScreen()->scale();
    cairo_format_t format = opaque ? CAIRO_FORMAT_RGB24 : CAIRO_FORMAT_ARGB32;
    cairo_surface_t* surface =
        cairo_image_surface_create(format, pixels(size.width, scale), pixels(size.height, scale));
    cairo_t* cr = cairo_create(surface);
    cairo_scale(cr, scale, scale);
    contextStack().push_back({surface, cr, scale});
}

cairo_t* UIGraphicsGetCurrentContext() {
    auto& stack = contextStack();
    return stack.empty() ? nullptr : stack.back().cr;
}

Ref<UIImage> UIGraphicsGetImageFromCurrentImageContext() {
    auto& stack = contextStack();
    if (stack.empty()) return nullptr;
    const ImageContext& top = stack.back();
    cairo_surface_flush(top.surface);
    int width = cairo_image_surface_get_width(top.surface);
    int height = cairo_image_surface_get_height(top.surface);
    cairo_surface_t* copy = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height);
    cairo_t* cr = cairo_create(copy);
    cairo_set_source_surface(cr, top.surface, 0, 0);
    cairo_paint(cr);
    cairo_destroy(cr);
    return UIImage::imageWithSurface(copy, top.scale, nullptr);
}

void UIGraphicsEndImageContext() {
    auto& stack = contextStack();
    if (stack.empty()) return;
    cairo_destroy(stack.back().cr);
    cairo_surface_destroy(stack.back().surface);
    stack.pop_back();
}

OBJC_IMPLEMENT_LOADED_CLASS(UIImage)
