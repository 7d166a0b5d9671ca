// The credits cell: a circular 35-point avatar, a name, a detail text and a
// disclosure indicator; a tap opens its URL through the system.
#pragma once

#include "KLPreferences/KLPCell.h"
#include "UIKit/UIImage.h"

struct KLPDeveloperCell : KLPCell {
    OBJC_CLASS(KLPDeveloperCell, KLPCell)

    static constexpr CGFloat kAvatarSide = 35;

    OBJC_CLASS_METHOD(Ref<KLPDeveloperCell>, cellWithTitle,
                      "cellWithTitle:detail:image:url:", NSString*, NSString*, UIImage*, NSString*)
    OBJC_METHOD(KLPDeveloperCell*, init_cellWithTitle, "cellWithTitle:detail:image:url:", NSString*,
                NSString*, UIImage*, NSString*)

    OBJC_PROPERTY(NSString*, url, setUrl)
    // The image given to the initialiser; the image view shows a redraw of it.
    OBJC_PROPERTY(UIImage*, image, setImage)

    OBJC_OVERRIDE(void, layoutSubviews, "layoutSubviews")
    OBJC_OVERRIDE(void, didSelectFromTable, "didSelectFromTable:", UITableViewController*)

  private:
    void redrawAvatar();

    Ref<NSString> _url;
    Ref<UIImage> _image;
};
