// A view that shows an image.
#pragma once

#include "UIKit/UIImage.h"
#include "UIKit/UIView.h"

struct UIImageView : UIView {
    OBJC_CLASS(UIImageView, UIView)

    // A view of the image's size.
    OBJC_METHOD(UIImageView*, initWithImage, "initWithImage:", UIImage*)
    OBJC_READONLY(UIImage*, image)
    OBJC_METHOD(void, setImage, "setImage:", UIImage*)

    // C++ shorthand for [[UIImageView alloc] initWithImage:].
    static Ref<UIImageView> imageViewWithImage(UIImage* image) {
        return make<UIImageView>(&UIImageView::initWithImage, image);
    }

  private:
    Ref<UIImage> _image;
};
