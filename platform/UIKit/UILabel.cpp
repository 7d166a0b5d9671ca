#include "UIKit/UILabel.h"

#include "ObjectModel/ClassBuilder.h"
#include "UIKit/TextDrawing.h"

UIFont* UILabel::fontImp() {
    if (!_font) _font = UIFont::systemFontOfSize(17);
    return _font;
}

void UILabel::setFontImp(UIFont* font) {
    _font = font;
}

UIColor* UILabel::textColorImp() {
    if (!_textColor) _textColor = UIColor::labelColor();
    return _textColor;
}

void UILabel::setTextColorImp(UIColor* color) {
    _textColor = color;
}

CGSize UILabel::intrinsicContentSizeImp() {
    NSString* shown = text();
    if (!shown || shown->length() == 0) return {};
    return textSize(shown->utf8(), textStyleOfFont(font()), 0);
}

Ref<NSString> UILabel::screenTextImp() {
    return text();
}

OBJC_IMPLEMENT_LOADED_CLASS(UILabel)
