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

    static Ref<UILabel> labelWithFrame(CGRect frame);

    NSString* text() const { return _text; }
    void setText(NSString* text) { _text = text; }
    // The system font of 17 points unless one was set; nil sets it back.
    UIFont* font() const;
    void setFont(UIFont* font) { _font = font; }
    // Black unless one was set; nil sets it back.
    UIColor* textColor() const;
    void setTextColor(UIColor* color) { _textColor = color; }
    long textAlignment() const { return _textAlignment; }
    void setTextAlignment(long alignment) { _textAlignment = alignment; }
    long numberOfLines() const { return _numberOfLines; }
    void setNumberOfLines(long lines) { _numberOfLines = lines; }
    long baselineAdjustment() const { return _baselineAdjustment; }
    void setBaselineAdjustment(long adjustment) { _baselineAdjustment = adjustment; }
    bool adjustsFontSizeToFitWidth() const { return _adjustsFontSizeToFitWidth; }
    void setAdjustsFontSizeToFitWidth(bool adjusts) { _adjustsFontSizeToFitWidth = adjusts; }

    // Messages.
    Ref<NSString> screenText() { return _text; }

  private:
    Ref<NSString> _text;
    mutable Ref<UIFont> _font;
    mutable Ref<UIColor> _textColor;
    long _textAlignment = NSTextAlignmentNatural;
    long _numberOfLines = 1;
    long _baselineAdjustment = UIBaselineAdjustmentAlignBaselines;
    bool _adjustsFontSizeToFitWidth = false;
};
