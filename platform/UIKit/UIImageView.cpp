#include "UIKit/UIImageView.h"

#include "ObjectModel/ClassBuilder.h"

UIImageView* UIImageView::initWithImageImp(UIImage* image) {
    CGRect frame = image ? CGRect{{0, 0}, image->size()} : CGRectZero;
    if (!sendSuper<UIView*>(this, UIView::objcClass(), "initWithFrame:"_sel, frame)) return nullptr;
    _image = image;
    return this;
}

void UIImageView::setImageImp(UIImage* image) {
    _image = image;
    setNeedsLayout();
}

OBJC_IMPLEMENT_LOADED_CLASS(UIImageView)
