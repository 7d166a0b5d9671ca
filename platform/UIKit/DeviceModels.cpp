#include "UIKit/DeviceModels.h"

#include <algorithm>
#include <array>
#include <cctype>

namespace {

constexpr CGSize kIslandSize{125, 37};
constexpr CGFloat kIslandTop = 11;
constexpr UIEdgeInsets kIslandInsets{59, 0, 34, 0};

constexpr DeviceModel island(std::string_view name, CGSize size) {
    return {name,        size,       3,   54, kIslandInsets, ScreenCutout::DynamicIsland,
            kIslandSize, kIslandTop, true};
}

constexpr std::array<DeviceModel, 4> kDevices{{
    {"iPhone SE (3rd generation)", {375, 667}},
    {"iPhone 14", {390, 844}, 3, 47, {47, 0, 34, 0}, ScreenCutout::Notch, {162, 33}, 0, true},
    island("iPhone 15", {393, 852}),
    island("iPhone 15 Pro Max", {430, 932}),
}};

// Lower-case letters and digits only: "iPhone-15" and "iphone 15" agree.
std::string key(std::string_view name) {
    std::string out;
    for (unsigned char c : name)
        if (std::isalnum(c)) out += static_cast<char>(std::tolower(c));
    return out;
}

} // namespace

std::span<const DeviceModel> deviceModels() {
    return kDevices;
}

const DeviceModel* deviceNamed(std::string_view name) {
    std::string wanted = key(name);
    auto found = std::find_if(kDevices.begin(), kDevices.end(), [&](const DeviceModel& device) {
        return !wanted.empty() && key(device.name) == wanted;
    });
    return found == kDevices.end() ? nullptr : &*found;
}

DeviceModel deviceOfSize(CGSize size, CGFloat scale) {
    for (const DeviceModel& device : kDevices)
        if (device.size == size) return device;
    DeviceModel plain{"", size, scale};
    return plain;
}

std::string deviceNames() {
    std::string names;
    for (const DeviceModel& device : kDevices)
        names += (names.empty() ? "" : ", ") + std::string(device.name);
    return names;
}
