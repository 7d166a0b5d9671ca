// The device's screen: a size in points and a scale (pixels per point) that
// the host and tests choose, by device or by size, and the appearance its
// traits give (light unless chosen).
#pragma once

#include "ObjectModel/NSObject.h"
#include "UIKit/CGGeometry.h"
#include "UIKit/DeviceModels.h"
#include "UIKit/UITraitCollection.h"

struct UIScreen : NSObject {
    OBJC_CLASS(UIScreen, NSObject)

    // The one screen, whatever class receives the message.
    OBJC_CLASS_METHOD(UIScreen*, mainScreen, "mainScreen")
    OBJC_READONLY(CGFloat, scale)
    OBJC_METHOD(CGRect, bounds, "bounds")
    OBJC_METHOD(Ref<UITraitCollection>, traitCollection, "traitCollection")

    // The host and tests choose the screen (C++ helpers).
    // Scales that are not positive numbers are refused (answers false).
    bool setScale(CGFloat scale);
    // Sizes with a negative or non-numeric side are refused (answers false).
    // The device of that size, if any, gives the status bar and safe area.
    bool setSize(CGSize size);
    // Size, scale, status bar, safe area and cutout of the device.
    void setDevice(const DeviceModel& device);
    const DeviceModel& device() const { return _device; }
    // Light or dark; anything else is refused (answers false).
    bool setUserInterfaceStyle(long style);

  private:
    CGFloat _scale = 2.0;
    DeviceModel _device = deviceModels().front();
    long _style = UIUserInterfaceStyleLight;
};
