// The device root: a folder that stands for the device's file system.
// Absolute paths that the system uses (/Library/..., /var/mobile/...) are
// resolved under it. The host program chooses it at start; tests choose
// their own.
#pragma once

#include <string>
#include <string_view>

void setDeviceRoot(std::string root);
const std::string& deviceRoot();
// An absolute device path as a path on this machine; relative paths stay as they are.
std::string devicePath(std::string_view path);

// The bundle identifier of the running host, which names its defaults file.
void setMainBundleIdentifier(std::string identifier);
const std::string& mainBundleIdentifier();
