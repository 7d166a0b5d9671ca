// The gallery: a preferences screen that shows every cell type of the
// framework, each control bound to a setting of its own, so that a person
// can try each one and watch the settings file change. It lives in a module
// of its own (KLPGallery.dylib) that a host opens on request; the loader
// never loads it.
#pragma once

#include "ObjectModel/NSObject.h"

// Where the build stages the module, as a device path.
inline constexpr const char* kKLPGalleryModulePath = "/Library/KLPGallery/KLPGallery.dylib";
inline constexpr const char* kKLPGalleryMakeControllerSymbol = "KLPGalleryMakeController";

extern "C" {
// Makes the gallery's KLPreferences controller, answered with a count of 1
// that the caller owns. With a non-empty plistPath every setting is also
// written to that property-list file once the screen is about to appear.
using KLPGalleryMakeControllerFunction = id (*)(const char* plistPath);
__attribute__((visibility("default"))) id KLPGalleryMakeController(const char* plistPath);
}
