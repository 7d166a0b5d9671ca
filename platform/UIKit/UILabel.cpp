#include "UIKit/UILabel.h"

#include "ObjectModel/ClassBuilder.h"

UIFont* UILabel::fontImp() {
    if (!_font) _font = UIFont::systemFontOfSize(17);
    return _font;
}

void UILabel::setFontImp(UIFont* font) {
    _font = font;
}

UIColor* UILabel::textColorImp() {
    if (!_textColor) _textColor = UIColor::blackColor();
    return _textColor;
}

void UILabel::setTextColorImp(UIColor* color) {
    _textColor = color;
}

Ref<NSString> UILabel::screenTextImp() {
    return text();
}

OBJC_IMPLEMENT_LOADED_CLASS(UILabel)
