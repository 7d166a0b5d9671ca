// The credits cell: a circular 35-point avatar, a name, a detail text and a
// disclosure indicator; a tap opens its URL through the system.
#pragma once

#include "KLPreferences/KLPCell.h"
#include "UIKit/UIImage.h"

struct KLPDeveloperCell : KLPCell {
    OBJC_CLASS(KLPDeveloperCell, KLPCell)

    static constexpr CGFloat kAvatarSide = 35;

    static Ref<KLPDeveloperCell> cellWithTitle(NSString* title, NSString* detail, UIImage* image,
                                               NSString* url);
    KLPDeveloperCell* init_cellWithTitle(NSString* title, NSString* detail, UIImage* image,
                                         NSString* url);

    NSString* url() const { return _url; }
    void setUrl(NSString* url) { _url = url; }
    // The image given to the initialiser; the image view shows a redraw of it.
    UIImage* image() const { return _image; }
    void setImage(UIImage* image) { _image = image; }

    // Messages.
    void layoutSubviews();
    void didSelectFromTable(UITableViewController* table);

  private:
    void redrawAvatar();

    Ref<NSString> _url;
    Ref<UIImage> _image;
};
