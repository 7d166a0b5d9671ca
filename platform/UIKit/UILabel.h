// A view that shows text.
#pragma once

#include "UIKit/UIFont.h"
#include "UIKit/UIView.h"

enum NSTextAlignment : long {
    NSTextAlignmentLeft = 0,
    NSTextAlignmentCenter = 1,
    NSTextAlignmentRight = 2,
    NSTextAlignmentJustified = 3,
    NSTextAlignmentNatural = 4,
};

enum UIBaselineAdjustment : long {
    UIBaselineAdjustmentAlignBaselines = 0,
    UIBaselineAdjustmentAlignCenters = 1,
    UIBaselineAdjustmentNone = 2,
};

struct UILabel : UIView {
    OBJC_CLASS(UILabel, UIView)

    OBJC_PROPERTY(NSString*, text, setText)
    // The system font of 17 points unless one was set; nil sets it back.
    OBJC_METHOD(UIFont*, font, "font")
    OBJC_METHOD(void, setFont, "setFont:", UIFont*)
    // The label colour unless one was set; nil sets it back.
    OBJC_METHOD(UIColor*, textColor, "textColor")
    OBJC_METHOD(void, setTextColor, "setTextColor:", UIColor*)
    OBJC_PROPERTY(long, textAlignment, setTextAlignment)
    OBJC_PROPERTY(long, numberOfLines, setNumberOfLines)
    OBJC_PROPERTY(long, baselineAdjustment, setBaselineAdjustment)
    OBJC_PROPERTY(bool, adjustsFontSizeToFitWidth, setAdjustsFontSizeToFitWidth)
    // The size of the text on one line in the label's font (zero without text).
    OBJC_METHOD(CGSize, intrinsicContentSize, "intrinsicContentSize")
    OBJC_OVERRIDE(Ref<NSString>, screenText, "screenText")

    // C++ shorthand for [[UILabel alloc] initWithFrame:].
    static Ref<UILabel> labelWithFrame(CGRect frame) {
        return make<UILabel>(&UILabel::initWithFrame, frame);
    }

  private:
    Ref<NSString> _text;
    Ref<UIFont> _font;
    Ref<UIColor> _textColor;
    long _textAlignment = NSTextAlignmentNatural;
    long _numberOfLines = 1;
    long _baselineAdjustment = UIBaselineAdjustmentAlignBaselines;
    bool _adjustsFontSizeToFitWidth = false;
};
