#include "UIKit/UISlider.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "ObjectModel/ClassBuilder.h"

namespace {

constexpr int kTrackSteps = 9;

} // namespace

UISlider* UISlider::initWithFrame(CGRect frame) {
    UIControl::initWithFrame(frame);
    return this;
}

void UISlider::setValue(float value) {
    if (std::isnan(value)) return;
    _value = std::clamp(value, _minimumValue, _maximumValue);
}

void UISlider::setMinimumValue(float minimum) {
    if (std::isnan(minimum)) return;
    _minimumValue = minimum;
    _maximumValue = std::max(_maximumValue, minimum);
    setValue(_value);
}

void UISlider::setMaximumValue(float maximum) {
    if (std::isnan(maximum)) return;
    _maximumValue = maximum;
    _minimumValue = std::min(_minimumValue, maximum);
    setValue(_value);
}

void UISlider::drag(const std::vector<float>& steps) {
    if (!isEnabled()) return;
    Ref<UISlider> keep = this;
    const float start = _value;
    for (float step : steps) {
        const float before = _value;
        setValue(step);
        if (_continuous && _value != before)
            sendActionsForControlEvents(UIControlEventValueChanged);
    }
    if (!_continuous && _value != start) sendActionsForControlEvents(UIControlEventValueChanged);
}

Ref<NSString> UISlider::screenText() {
    const float range = _maximumValue - _minimumValue;
    const float fraction = range > 0 && std::isfinite(range) ? (_value - _minimumValue) / range : 0;
    const auto thumb = static_cast<std::size_t>(std::lround(fraction * (kTrackSteps - 1)));
    std::string track(kTrackSteps, '-');
    track[std::min<std::size_t>(thumb, kTrackSteps - 1)] = 'o';
    return NSString::stringWithFormat("[%.2f %s %.2f]", static_cast<double>(_minimumValue),
                                      track.c_str(), static_cast<double>(_maximumValue));
}

const ClassInfo& UISlider::objcClassInfo() {
    static const ClassInfo info =
        ClassBuilder<UISlider>().method<"screenText", &UISlider::screenText>().build();
    return info;
}
