#include "UIKit/UISlider.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "ObjectModel/ClassBuilder.h"

namespace {

constexpr int kTrackSteps = 9;

} // namespace

void UISlider::setValueImp(float value) {
    if (std::isnan(value)) return;
    _value = std::clamp(value, _minimumValue, _maximumValue);
}

void UISlider::setValueImp(float value, bool) {
    setValue(value);
}

void UISlider::setMinimumValueImp(float minimum) {
    if (std::isnan(minimum)) return;
    _minimumValue = minimum;
    _maximumValue = std::max(_maximumValue, minimum);
    setValue(value());
}

void UISlider::setMaximumValueImp(float maximum) {
    if (std::isnan(maximum)) return;
    _maximumValue = maximum;
    _minimumValue = std::min(_minimumValue, maximum);
    setValue(value());
}

void UISlider::drag(const std::vector<float>& steps) {
    if (!isEnabled()) return;
    Ref<UISlider> keep = this;
    const float start = value();
    for (float step : steps) {
        const float before = value();
        setValue(step, true);
        if (isContinuous() && value() != before)
            sendActionsForControlEvents(UIControlEventValueChanged);
    }
    if (!isContinuous() && value() != start)
        sendActionsForControlEvents(UIControlEventValueChanged);
}

Ref<NSString> UISlider::screenTextImp() {
    const float low = minimumValue(), high = maximumValue();
    const float range = high - low;
    const float fraction = range > 0 && std::isfinite(range) ? (value() - low) / range : 0;
    const auto thumb = static_cast<std::size_t>(std::lround(fraction * (kTrackSteps - 1)));
    std::string track(kTrackSteps, '-');
    track[std::min<std::size_t>(thumb, kTrackSteps - 1)] = 'o';
    return NSString::stringWithFormat("[%.2f %s %.2f]", static_cast<double>(low), track.c_str(),
                                      static_cast<double>(high));
}

OBJC_IMPLEMENT_LOADED_CLASS(UISlider)
