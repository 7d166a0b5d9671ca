#include "UIKit/UIImageView.h"

#include "ObjectModel/ClassBuilder.h"

Ref<UIImageView> UIImageView::imageViewWithImage(UIImage* image) {
    return make<UIImageView>(&UIImageView::initWithImage, image);
}

UIImageView* UIImageView::initWithImage(UIImage* image) {
    initWithFrame(image ? CGRect{{0, 0}, image->size()} : CGRectZero);
    _image = image;
    return this;
}

void UIImageView::setImage(UIImage* image) {
    _image = image;
    setNeedsLayout();
}

const ClassInfo& UIImageView::objcClassInfo() {
    static const ClassInfo info = ClassBuilder<UIImageView>().build();
    return info;
}
