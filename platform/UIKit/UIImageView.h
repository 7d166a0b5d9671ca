// A view that shows an image.
#pragma once

#include "UIKit/UIImage.h"
#include "UIKit/UIView.h"

struct UIImageView : UIView {
    OBJC_CLASS(UIImageView, UIView)

    static Ref<UIImageView> imageViewWithImage(UIImage* image);
    UIImageView* initWithImage(UIImage* image);

    UIImage* image() const { return _image; }
    void setImage(UIImage* image);

  private:
    Ref<UIImage> _image;
};
