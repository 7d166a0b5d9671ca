#include "KLPreferences/KLPSliderCell.h"

#include <algorithm>

#include "Foundation/NSNumber.h"
#include "ObjectModel/ClassBuilder.h"
#include "ObjectModel/Message.h"

namespace {

// What a stored value reads as: numbers and number texts by their value,
// anything else (nil included) as 0.
float floatOf(NSObject* value) {
    if (auto* number = as<NSNumber>(value)) return number->floatValue();
    if (auto* text = as<NSString>(value)) return text->floatValue();
    return 0;
}

Ref<NSString> twoDecimals(float value) {
    return NSString::stringWithFormat("%.2f", static_cast<double>(value));
}

// A layout quantity: computed in the platform's type, used in single precision.
float single(CGFloat quantity) {
    return static_cast<float>(quantity);
}

} // namespace

Ref<KLPSliderCell> KLPSliderCell::cellWithTitleImp(Class cls, NSString* title, KLPSettings* setting,
                                                   float min, float max, NSString* postNotification,
                                                   ValueChangedBlock changeBlock) {
    return make<KLPSliderCell>(cls, &KLPSliderCell::init_cellWithTitle, title, setting, min, max,
                               postNotification, std::move(changeBlock));
}

KLPSliderCell* KLPSliderCell::init_cellWithTitleImp(NSString* title, KLPSettings* setting,
                                                    float min, float max,
                                                    NSString* postNotification,
                                                    ValueChangedBlock changeBlock) {
    if (!initWithTitle(nullptr, setting)) return nullptr;
    const float stored = floatOf(setting ? setting->value() : nullptr);
    Ref<UISlider> slider = make<UISlider>(&UISlider::initWithFrame, CGRectZero);
    slider->setMinimumValue(min);
    slider->setMaximumValue(max);
    slider->setValue(stored);
    installControl(slider, ControlPlace::ContentView, "sliderChanged:"_sel,
                   UIControlEventValueChanged, postNotification, std::move(changeBlock));
    setSliderCell(slider);

    setLLabel(addLabel(twoDecimals(min), UIColor::labelColor(), NSTextAlignmentCenter));
    setRLabel(addLabel(twoDecimals(max), UIColor::labelColor(), NSTextAlignmentCenter));
    setCLabel(addLabel(title, UIColor::labelColor(), NSTextAlignmentLeft));
    setVLabel(addLabel(twoDecimals(stored), UIColor::secondaryLabelColor(), NSTextAlignmentRight));
    setHeight(kHeight);
    return this;
}

Ref<UILabel> KLPSliderCell::addLabel(NSString* text, UIColor* color, long alignment) {
    Ref<UILabel> label = UILabel::labelWithFrame(CGRectZero);
    label->setText(text);
    label->setNumberOfLines(1);
    label->setBaselineAdjustment(UIBaselineAdjustmentAlignBaselines);
    label->setAdjustsFontSizeToFitWidth(true);
    label->setClipsToBounds(true);
    label->setBackgroundColor(UIColor::clearColor());
    label->setTextColor(color);
    label->setTextAlignment(alignment);
    send(contentView(), "addSubview:"_sel, static_cast<UIView*>(label));
    return label;
}

void KLPSliderCell::layoutSubviewsImp() {
    sendSuper(this, Super::objcClass(), "layoutSubviews"_sel);
    const CGSize size = contentView()->frame().size;
    const float w = std::max(single(size.width), 0.0f);
    const float h = single(size.height);
    const float s = single(w / 1.8);
    const float b = std::max(single((w - w / 1.8) / 2 - 10), 0.0f);
    const float x = single(w / 2.0 - s / 2.0);
    const float lowerY = single(h - 25.0 - 10.0);
    sliderCell()->setFrame(CGRectMake(x, lowerY, s, 25));
    lLabel()->setFrame(CGRectMake(single(x - b - 5.0), lowerY, b, 25));
    rLabel()->setFrame(CGRectMake(single(x + s + 5.0), lowerY, b, 25));
    cLabel()->setFrame(CGRectMake(17, 8, single(w / 1.8), 25));
    vLabel()->setFrame(CGRectMake(single(w - (w - w / 1.8) - 25), 8, single(w - w / 1.8), 25));
}

void KLPSliderCell::sliderChangedImp(NSObject* sender) {
    auto* slider = as<UISlider>(sender);
    if (!slider) return;
    Ref<KLPSliderCell> keep = this;
    vLabel()->setText(twoDecimals(slider->value()));
    reportChange(NSNumber::numberWithFloat(slider->value()), slider);
}

OBJC_IMPLEMENT_LOADED_CLASS(KLPSliderCell)
