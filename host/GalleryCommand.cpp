#include "host/GalleryCommand.h"

#include <dlfcn.h>
#include <string>

#include "Foundation/DeviceRoot.h"
#include "gallery/KLPGallery.h"
#include "objc/Message.h"

namespace {

// The module's controller factory, or nullptr with the reason on `errors`.
// The module stays loaded: the screens it makes run its code.
KLPGalleryMakeControllerFunction galleryFactory(std::ostream& errors) {
    const std::string path = devicePath(kKLPGalleryModulePath);
    void* module = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!module) {
        errors << "host: cannot open the gallery: " << dlerror()
               << "\n  build the KLPGallery target, or give --root a device root that has "
               << kKLPGalleryModulePath << "\n";
        return nullptr;
    }
    auto factory = reinterpret_cast<KLPGalleryMakeControllerFunction>(
        dlsym(module, kKLPGalleryMakeControllerSymbol));
    if (!factory)
        errors << "host: " << path << " has no " << kKLPGalleryMakeControllerSymbol
               << "; rebuild the KLPGallery target\n";
    return factory;
}

} // namespace

bool openGallery(UINavigationController* navigation, std::ostream& errors) {
    if (!navigation) {
        errors << "host: no navigation to show the gallery in; open a screen first\n";
        return false;
    }
    KLPGalleryMakeControllerFunction factory = galleryFactory(errors);
    if (!factory) return false;
    const std::string settings = devicePath(kGallerySettingsPath);
    Ref<NSObject> made = Ref<NSObject>::adopt(static_cast<NSObject*>(factory(settings.c_str())));
    auto* screen = as<UIViewController>(made);
    if (!screen) {
        errors << "host: the gallery module made no screen; rebuild the KLPGallery target\n";
        return false;
    }
    send(navigation, "pushViewController:animated:"_sel, screen, true);
    return true;
}
