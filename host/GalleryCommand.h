// The session's gallery commands. `gallery` opens the framework's gallery
// module from the device root (the host links none of the library's code)
// and pushes its screen, whose settings also go to a property-list file under
// the root; `slide` drags the slider of a row, which a gallery row has.
#pragma once

#include <ostream>

#include "UIKit/UINavigationController.h"
#include "host/HostSession.h"

inline constexpr const char* kGallerySettingsPath =
    "/var/mobile/Library/Preferences/com.tavelin.gallery.plist";

// A symbol of the gallery module, opened from the device root once, or
// nullptr with the reason on `errors`.
void* galleryModuleSymbol(const char* symbol, std::ostream& errors);

// Answers false, with the reason on `errors`, when the module or its
// function is missing or it makes no screen; nothing is pushed then.
bool openGallery(UINavigationController* navigation, std::ostream& errors);

// "gallery" (open the gallery) and "slide" (drag a row's slider).
SessionCommandTable galleryCommands();
