// A horizontal slider between a minimum and a maximum value (0 and 1 at
// first). The value always lies within the bounds: setValue clamps it, and a
// change of a bound clamps it again. A bound set past the other one moves the
// other one along (a minimum above the maximum raises the maximum to it, a
// maximum below the minimum lowers the minimum), so the last bound set wins.
// NaN is ignored, as a value and as a bound. A drag by the user sends
// UIControlEventValueChanged: with continuous reporting (the default) once
// per step that moved the value, otherwise once at the end if the value
// moved. Setting the value in code sends nothing.
#pragma once

#include <vector>

#include "UIKit/UIControl.h"

struct UISlider : UIControl {
    OBJC_CLASS(UISlider, UIControl)

    OBJC_READONLY(float, value)
    OBJC_METHOD(void, setValue, "setValue:", float)
    // Sends setValue:.
    OBJC_METHOD(void, setValue, "setValue:animated:", float, bool)
    OBJC_READONLY(float, minimumValue)
    OBJC_METHOD(void, setMinimumValue, "setMinimumValue:", float)
    OBJC_READONLY(float, maximumValue)
    OBJC_METHOD(void, setMaximumValue, "setMaximumValue:", float)
    OBJC_PROPERTY_AS(bool, continuous, isContinuous, setContinuous)
    // "[0.00 ----o---- 1.00]": the bounds and the thumb on a nine-step track.
    OBJC_OVERRIDE(Ref<NSString>, screenText, "screenText")

    static constexpr CGFloat kHeight = 31;

    // The user drags the thumb through these values, in order, and lets go.
    // A disabled slider does not move.
    void drag(const std::vector<float>& steps);
    void dragTo(float value) { drag({value}); }

  private:
    float _value = 0;
    float _minimumValue = 0;
    float _maximumValue = 1;
    bool _continuous = true;
};
