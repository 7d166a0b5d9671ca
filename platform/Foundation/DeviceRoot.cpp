#include "Foundation/DeviceRoot.h"

#include <mutex>

namespace {

struct Settings {
    std::mutex mutex;
    std::string root;
    std::string bundleIdentifier = "com.burbn.instagram";
};

Settings& settings() {
    static Settings instance;
    return instance;
}

} // namespace

void setDeviceRoot(std::string root) {
    while (root.size() > 1 && root.back() == '/')
        root.pop_back();
    std::lock_guard lock(settings().mutex);
    settings().root = std::move(root);
}

const std::string& deviceRoot() {
    return settings().root;
}

std::string devicePath(std::string_view path) {
    if (path.empty() || path.front() != '/') return std::string(path);
    return deviceRoot() + std::string(path);
}

void setMainBundleIdentifier(std::string identifier) {
    std::lock_guard lock(settings().mutex);
    settings().bundleIdentifier = std::move(identifier);
}

const std::string& mainBundleIdentifier() {
    return settings().bundleIdentifier;
}
