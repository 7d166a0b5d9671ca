#include "KLPreferences/KLPDeveloperCell.h"

#include "Foundation/NSURL.h"
#include "ObjectModel/ClassBuilder.h"
#include "UIKit/UIApplication.h"
#include "UIKit/UIScreen.h"

Ref<KLPDeveloperCell> KLPDeveloperCell::cellWithTitleImp(Class cls, NSString* title,
                                                         NSString* detail, UIImage* image,
                                                         NSString* url) {
    return make<KLPDeveloperCell>(cls, &KLPDeveloperCell::init_cellWithTitle, title, detail, image,
                                  url);
}

KLPDeveloperCell* KLPDeveloperCell::init_cellWithTitleImp(NSString* title, NSString* detail,
                                                          UIImage* image, NSString* url) {
    if (!initWithTitle(title, nullptr)) return nullptr;
    setUrl(url);
    setImage(image);
    detailTextLabel()->setText(detail);
    setAccessoryType(UITableViewCellAccessoryDisclosureIndicator);
    redrawAvatar();
    return this;
}

// The avatar: the image squeezed into a square of 35 points, at the screen's scale.
void KLPDeveloperCell::redrawAvatar() {
    UIGraphicsBeginImageContextWithOptions(CGSizeMake(kAvatarSide, kAvatarSide), false,
                                           UIScreen::mainScreen()->scale());
    if (UIImage* drawn = image()) drawn->drawInRect(CGRectMake(0, 0, kAvatarSide, kAvatarSide));
    Ref<UIImage> avatar = UIGraphicsGetImageFromCurrentImageContext();
    UIGraphicsEndImageContext();
    imageView()->setImage(avatar);
}

void KLPDeveloperCell::layoutSubviewsImp() {
    sendSuper(this, Super::objcClass(), "layoutSubviews"_sel);
    UIImageView* avatar = imageView();
    avatar->layer()->setCornerRadius(avatar->frame().size.width / 2.0);
    avatar->setClipsToBounds(true);
}

void KLPDeveloperCell::didSelectFromTableImp(UITableViewController* table) {
    Ref<KLPDeveloperCell> keep = this;
    deselectRowInTable(table);
    UIApplication::sharedApplication()->openURL(NSURL::URLWithString(url()));
}

OBJC_IMPLEMENT_LOADED_CLASS(KLPDeveloperCell)
