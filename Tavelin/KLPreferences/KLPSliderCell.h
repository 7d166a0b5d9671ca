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

    static Ref<KLPSliderCell> cellWithTitle(NSString* title, KLPSettings* setting, float min,
                                            float max, NSString* postNotification,
                                            ValueChangedBlock changeBlock);
    KLPSliderCell* init_cellWithTitle(NSString* title, KLPSettings* setting, float min, float max,
                                      NSString* postNotification, ValueChangedBlock changeBlock);

    UISlider* sliderCell() const { return _sliderCell; }
    void setSliderCell(UISlider* slider) { _sliderCell = slider; }
    UILabel* lLabel() const { return _lLabel; }
    void setLLabel(UILabel* label) { _lLabel = label; }
    UILabel* rLabel() const { return _rLabel; }
    void setRLabel(UILabel* label) { _rLabel = label; }
    UILabel* cLabel() const { return _cLabel; }
    void setCLabel(UILabel* label) { _cLabel = label; }
    UILabel* vLabel() const { return _vLabel; }
    void setVLabel(UILabel* label) { _vLabel = label; }
    // Not used by the cell: the slider's own bounds are in force.
    float min() const { return _min; }
    void setMin(float min) { _min = min; }
    float max() const { return _max; }
    void setMax(float max) { _max = max; }

    // Messages.
    void layoutSubviews();
    // The slider's value-changed action; a sender that is no slider is ignored.
    void sliderChanged(NSObject* sender);

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
