#include "KLPreferences/KLPDeveloperCell.h"

#include "Foundation/NSURL.h"
#include "ObjectModel/ClassBuilder.h"
#include "UIKit/UIApplication.h"
#include "UIKit/UIScreen.h"

Ref<KLPDeveloperCell> KLPDeveloperCell::cellWithTitle(NSString* title, NSString* detail,
                                                      UIImage* image, NSString* url) {
    return make<KLPDeveloperCell>(&KLPDeveloperCell::init_cellWithTitle, title, detail, image, url);
}

KLPDeveloperCell* KLPDeveloperCell::init_cellWithTitle(NSString* title, NSString* detail,
                                                       UIImage* image, NSString* url) {
    if (!initWithTitle(title, nullptr)) return nullptr;
    _url = url;
    _image = image;
    detailTextLabel()->setText(detail);
    setAccessoryType(UITableViewCellAccessoryDisclosureIndicator);
    redrawAvatar();
    return this;
}

// The avatar: the image squeezed into a square of 35 points, at the screen's scale.
void KLPDeveloperCell::redrawAvatar() {
    UIGraphicsBeginImageContextWithOptions(CGSizeMake(kAvatarSide, kAvatarSide), false,
                                           UIScreen::mainScreen()->scale());
    if (_image) _image->drawInRect(CGRectMake(0, 0, kAvatarSide, kAvatarSide));
    Ref<UIImage> avatar = UIGraphicsGetImageFromCurrentImageContext();
    UIGraphicsEndImageContext();
    imageView()->setImage(avatar);
}

void KLPDeveloperCell::layoutSubviews() {
    sendSuper(this, UITableViewCell::objcClass(), "layoutSubviews"_sel);
    UIImageView* avatar = imageView();
    avatar->layer()->setCornerRadius(avatar->frame().size.width / 2.0);
    avatar->setClipsToBounds(true);
}

void KLPDeveloperCell::didSelectFromTable(UITableViewController* table) {
    Ref<KLPDeveloperCell> keep = this;
    deselectRowInTable(table);
    UIApplication::sharedApplication()->openURL(NSURL::URLWithString(_url));
}

const ClassInfo& KLPDeveloperCell::objcClassInfo() {
    static const ClassInfo info =
        ClassBuilder<KLPDeveloperCell>()
            .method<"layoutSubviews", &KLPDeveloperCell::layoutSubviews>()
            .method<"didSelectFromTable:", &KLPDeveloperCell::didSelectFromTable>()
            .build();
    return info;
}
