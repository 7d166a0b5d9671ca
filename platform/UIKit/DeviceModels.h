// The devices a screen can stand for: size, scale, status bar, safe area,
// the cutout at the top (notch or Dynamic Island) and the home indicator.
// A size that no device has is a plain screen under a 20-point status bar.
#pragma once

#include <span>
#include <string>
#include <string_view>

#include "UIKit/CGGeometry.h"

enum class ScreenCutout { None, Notch, DynamicIsland };

struct DeviceModel {
    std::string_view name;
    CGSize size{};
    CGFloat scale = 2;
    CGFloat statusBarHeight = 20;
    UIEdgeInsets safeAreaInsets{20, 0, 0, 0};
    ScreenCutout cutout = ScreenCutout::None;
    // The cutout's rectangle, centred at the top.
    CGSize cutoutSize{};
    CGFloat cutoutTop = 0;
    bool homeIndicator = false;
};

std::span<const DeviceModel> deviceModels();
// The device of that name, ignoring case, spaces and dashes ("iphone-15",
// "iPhone 15"); nullptr for none.
const DeviceModel* deviceNamed(std::string_view name);
// The first device of that size, or a plain screen of the size at the scale.
DeviceModel deviceOfSize(CGSize size, CGFloat scale);
// The names, for messages: "iPhone SE (3rd generation), iPhone 14, ...".
std::string deviceNames();
