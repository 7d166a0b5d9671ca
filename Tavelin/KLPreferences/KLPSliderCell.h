// A 75-point row that edits a float setting with a slider: the title at the
// top left (cLabel), the current value with two decimals at the top right
// (vLabel, gray), and the two bounds left and right of the slider (lLabel,
// rLabel). Every value-changed event of the slider updates vLabel and
// reports the change with the slider as change argument.
//
// The layout works in single precision from the content view's width W: the
// slider is W / 1.8 wide and centred, each bound label (W - W / 1.8) / 2 - 10.
// Under 45 points of width that would be negative: a width that comes out
// negative is 0 instead (so is W itself), and the labels keep their places
// 5 points from the slider.
#pragma once

#include "KLPreferences/KLPCell.h"
#include "UIKit/UILabel.h"
#include "UIKit/UISlider.h"

struct KLPSliderCell : KLPCell {
    OBJC_CLASS(KLPSliderCell, KLPCell)

    static constexpr int kHeight = 75;

    OBJC_CLASS_METHOD(Ref<KLPSliderCell>, cellWithTitle,
                      "cellWithTitle:setting:min:max:postNotification:changeBlock:", NSString*,
                      KLPSettings*, float, float, NSString*, ValueChangedBlock)
    OBJC_METHOD(KLPSliderCell*, init_cellWithTitle,
                "cellWithTitle:setting:min:max:postNotification:changeBlock:", NSString*,
                KLPSettings*, float, float, NSString*, ValueChangedBlock)

    OBJC_PROPERTY(UISlider*, sliderCell, setSliderCell)
    OBJC_PROPERTY(UILabel*, lLabel, setLLabel)
    OBJC_PROPERTY(UILabel*, rLabel, setRLabel)
    OBJC_PROPERTY(UILabel*, cLabel, setCLabel)
    OBJC_PROPERTY(UILabel*, vLabel, setVLabel)
    // Not used by the cell: the slider's own bounds are in force.
    OBJC_PROPERTY(float, min, setMin)
    OBJC_PROPERTY(float, max, setMax)

    OBJC_OVERRIDE(void, layoutSubviews, "layoutSubviews")
    // The slider's value-changed action; a sender that is no slider is ignored.
    OBJC_METHOD(void, sliderChanged, "sliderChanged:", NSObject*)

  private:
    Ref<UILabel> addLabel(NSString* text, UIColor* color, long alignment);

    Ref<UISlider> _sliderCell;
    Ref<UILabel> _lLabel;
    Ref<UILabel> _rLabel;
    Ref<UILabel> _cLabel;
    Ref<UILabel> _vLabel;
    float _min = 0;
    float _max = 0;
};
