// The session's gallery commands. `gallery` opens the framework's gallery
// module from the device root (the host links none of the library's code)
// and pushes its screen, whose settings also go to a property-list file under
// the root; `slide` drags the slider of a row, which a gallery row has.
#pragma once

#include "Foundation/Result.h"
#include "UIKit/UINavigationController.h"
#include "host/HostSession.h"

inline constexpr const char* kGallerySettingsPath =
    "/var/mobile/Library/Preferences/com.tavelin.gallery.plist";

// A symbol of the gallery module, opened from the device root once, or why
// there is none.
Result<void*> galleryModuleSymbol(const char* symbol);

// Pushes the gallery's screen; answers why not when the module or its
// function is missing or it makes no screen (nothing is pushed then).
Result<void> openGallery(UINavigationController* navigation);

// "gallery" (open the gallery) and "slide" (drag a row's slider).
SessionCommandTable galleryCommands();
