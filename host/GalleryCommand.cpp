#include "host/GalleryCommand.h"

#include <cmath>
#include <dlfcn.h>
#include <optional>
#include <string>
#include <vector>

#include "Foundation/DeviceRoot.h"
#include "ObjectModel/Message.h"
#include "UIKit/UISlider.h"
#include "UIKit/UITableView.h"
#include "host/HostSession.h"

namespace {

// The gallery module, found as the device's loader would: by path and symbol.
// Its factory answers a KLPreferences controller that the caller owns.
// The module stays loaded: the screens it makes run its code.
constexpr const char* kKLPGalleryModulePath = "/Library/KLPGallery/KLPGallery.dylib";
constexpr const char* kKLPGalleryMakeControllerSymbol = "KLPGalleryMakeController";
using KLPGalleryMakeControllerFunction = id (*)(const char* plistPath);

} // namespace

Result<void*> galleryModuleSymbol(const char* symbol) {
    const std::string path = devicePath(kKLPGalleryModulePath);
    void* module = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!module)
        return Problem{std::string("cannot open the gallery: ") + dlerror() +
                       "\n  build the KLPGallery target, or give --root a device root that has " +
                       kKLPGalleryModulePath};
    void* found = dlsym(module, symbol);
    if (!found) return Problem{path + " has no " + symbol + "; rebuild the KLPGallery target"};
    return found;
}

Result<void> openGallery(UINavigationController* navigation) {
    if (!navigation) return Problem{"no navigation to show the gallery in; open a screen first"};
    Result<void*> factory = galleryModuleSymbol(kKLPGalleryMakeControllerSymbol);
    if (!factory) return Problem{factory.problem()};
    const std::string settings = devicePath(kGallerySettingsPath);
    auto make = reinterpret_cast<KLPGalleryMakeControllerFunction>(*factory);
    Ref<NSObject> made = Ref<NSObject>::adopt(static_cast<NSObject*>(make(settings.c_str())));
    auto* screen = as<UIViewController>(made);
    if (!screen) return Problem{"the gallery module made no screen; rebuild the KLPGallery target"};
    send(navigation, "pushViewController:animated:"_sel, screen, true);
    return {};
}

namespace {

bool showsText(UIView* view, const std::string& text) {
    auto* label = as<UILabel>(view);
    return label && label->text() && label->text()->utf8() == text;
}

// The slider of the top screen's row that shows `title` in one of its
// labels, or nil.
UISlider* sliderTitled(HostSession& session, const std::string& title) {
    Ref<UIView> view = send<Ref<UIView>>(session.top(), "view"_sel);
    auto* table = as<UITableView>(view);
    if (!table) return nullptr;
    Ref<NSArray> rows = table->visibleCells();
    for (NSObject* row : *rows) {
        UISlider* slider = nullptr;
        bool titled = false;
        for (NSObject* child : *static_cast<UITableViewCell*>(row)->contentView()->subviews()) {
            if (auto* found = as<UISlider>(child)) slider = found;
            titled = titled || showsText(static_cast<UIView*>(child), title);
        }
        if (slider && titled) return slider;
    }
    return nullptr;
}

std::optional<float> parseFloat(const std::string& text) {
    try {
        std::size_t used = 0;
        float value = std::stof(text, &used);
        return used == text.size() && std::isfinite(value) ? std::optional<float>(value)
                                                           : std::nullopt;
    } catch (const std::exception&) {
        return std::nullopt;
    }
}

std::string slide(HostSession& session, const SessionArguments& args) {
    if (args.size() < 2) return "slide needs \"ROW\" and one or more values to drag through.";
    UISlider* slider = sliderTitled(session, args[0]);
    if (!slider) return "No row \"" + args[0] + "\" with a slider on this screen.";
    std::vector<float> steps;
    for (std::size_t i = 1; i < args.size(); ++i) {
        std::optional<float> value = parseFloat(args[i]);
        if (!value) return "\"" + args[i] + "\" is no number; slide takes values like 0.25.";
        steps.push_back(*value);
    }
    slider->drag(steps);
    return "";
}

std::string gallery(HostSession& session, const SessionArguments&) {
    Result<void> opened = openGallery(session.navigation());
    return opened ? "" : opened.problem();
}

} // namespace

SessionCommandTable galleryCommands() {
    return {{"gallery", "gallery", "open the preferences framework's gallery", gallery},
            {"slide", "slide \"ROW\" VALUE...", "drag the row's slider through values", slide}};
}
