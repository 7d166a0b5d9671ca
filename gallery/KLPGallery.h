// The gallery: a preferences screen that shows every cell type of the
// framework, each control bound to a setting of its own, so that a person
// can try each one and watch the settings file change. Its rows are a
// specifier list, KLPGallery.plist, beside the module of its own
// (KLPGallery.dylib) that a host opens on request; the loader never loads it.
#pragma once

#include "ObjectModel/NSObject.h"

// Where the build stages the module, as a device path.
inline constexpr const char* kKLPGalleryModulePath = "/Library/KLPGallery/KLPGallery.dylib";
inline constexpr const char* kKLPGalleryMakeControllerSymbol = "KLPGalleryMakeController";

extern "C" {
// Makes the gallery's KLPreferences controller, answered with a count of 1
// that the caller owns, or nil (with the reason through NSLog) when its list
// cannot be read. With a non-empty plistPath every setting is also
// written to that property-list file once the screen is about to appear.
using KLPGalleryMakeControllerFunction = id (*)(const char* plistPath);
__attribute__((visibility("default"))) id KLPGalleryMakeController(const char* plistPath);
}

extern "C" {
// Makes the screen of the specifier list in the file, its texts in the
// language (a `.lproj` folder's name; nil: "en"), answered with a count
// of 1 that the caller owns, or nil. Each warning, and the reason for nil, is
// handed to `report` a line at a time.
using KLPSpecifierReport = void (*)(const char* line, void* context);
using KLPSpecifierListMakeControllerFunction = id (*)(const char* path, const char* language,
                                                      KLPSpecifierReport report, void* context);
__attribute__((visibility("default"))) id KLPSpecifierListMakeController(const char* path,
                                                                         const char* language,
                                                                         KLPSpecifierReport report,
                                                                         void* context);
}
