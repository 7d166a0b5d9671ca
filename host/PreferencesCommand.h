// The session's `open-preferences FILE.plist`: shows the preferences screen
// that a specifier list declares, built by the gallery module (the host links
// none of the framework's code).
#pragma once

#include <string>

#include "host/HostSession.h"

// Pushes the list's screen; its warnings go to the session's errors. Answers
// the reason when the list makes no screen, or an empty string.
std::string openPreferences(HostSession& session, const std::string& path);

// The `.lproj` folder whose strings the screens show ("en" until set).
void setPreferencesLanguage(const std::string& language);

// "open-preferences FILE.plist".
SessionCommandTable preferencesCommands();
