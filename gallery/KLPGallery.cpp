#include "KLPGallery.h"

#include <dlfcn.h>
#include <filesystem>
#include <mutex>

#include "Foundation/NSLog.h"
#include "Foundation/NSNotificationCenter.h"
#include "KLPreferences/KLPLinkCell.h"
#include "KLPreferences/KLPSpecifierList.h"

namespace {

// The gallery's list, beside the module's own file (a device root may link
// the module in from the build's stage).
std::string listPath() {
    Dl_info info{};
    if (!dladdr(reinterpret_cast<void*>(&KLPGalleryMakeController), &info) || !info.dli_fname)
        return "";
    std::error_code ignored;
    std::filesystem::path module = std::filesystem::canonical(info.dli_fname, ignored);
    return (module.parent_path() / "KLPGallery.plist").string();
}

// "Tap me" posts this on each tap; it counts them in its tag and shows the count.
void countTaps() {
    static std::once_flag once;
    std::call_once(once, [] {
        NSNotificationCenter::defaultCenter()->addObserverForName(
            "com.tavelin.gallery.tapped"_ns, nullptr, [](NSNotification* note) {
                auto* cell = as<KLPLinkCell>(note->object());
                if (!cell) return;
                cell->setTag(cell->tag() + 1);
                cell->detailTextLabel()->setText(
                    NSString::stringWithFormat("%ld taps", cell->tag()));
            });
    });
}

} // namespace

id KLPGalleryMakeController(const char* plistPath) {
    countTaps();
    KLPSpecifierList list = KLPSpecifierListFromFile(listPath());
    for (const std::string& warning : list.warnings)
        NSLog("KLPGallery: %s"_ns, warning.c_str());
    if (!list.controller) NSLog("KLPGallery: %s"_ns, list.error.c_str());
    if (list.controller && plistPath && *plistPath)
        list.controller->setPlistPath(NSString::stringWithUTF8String(plistPath));
    return list.controller.leak();
}

id KLPSpecifierListMakeController(const char* path, const char* language, KLPSpecifierReport report,
                                  void* context) {
    KLPSpecifierList list = KLPSpecifierListFromFile(path ? path : "", language ? language : "en");
    for (const std::string& warning : list.warnings)
        report(warning.c_str(), context);
    if (!list.controller) report(list.error.c_str(), context);
    return list.controller.leak();
}
