#include "UIKit/UILabel.h"

#include "ObjectModel/ClassBuilder.h"

Ref<UILabel> UILabel::labelWithFrame(CGRect frame) {
    return make<UILabel>(&UILabel::initWithFrame, frame);
}

UIFont* UILabel::font() const {
    if (!_font) _font = UIFont::systemFontOfSize(17);
    return _font;
}

UIColor* UILabel::textColor() const {
    if (!_textColor) _textColor = UIColor::blackColor();
    return _textColor;
}

const ClassInfo& UILabel::objcClassInfo() {
    static const ClassInfo info =
        ClassBuilder<UILabel>().method<"screenText", &UILabel::screenText>().build();
    return info;
}
