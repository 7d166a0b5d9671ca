#include "host/IGFeed.h"

#include "ObjectModel/ClassBuilder.h"

Ref<IGMediaCoord> IGMediaCoord::coordWithOwnerImp(Class cls, NSString* owner, NSString* place) {
    return make<IGMediaCoord>(cls, &IGMediaCoord::initWithOwner, owner, place);
}

IGMediaCoord* IGMediaCoord::initWithOwnerImp(NSString* owner, NSString* place) {
    if (!init()) return nullptr;
    _owner = owner;
    _place = place;
    return this;
}

OBJC_IMPLEMENT_CLASS(IGMediaCoord)

bool IGFeedItem::isSponsoredAppImp() {
    return false;
}

OBJC_IMPLEMENT_CLASS(IGFeedItem)

void IGPost::setMediaCoordImp(IGMediaCoord* coord) {
    _mediaCoord = coord;
}

OBJC_IMPLEMENT_CLASS(IGPost)

bool IGAppInstallItem::isSponsoredAppImp() {
    return true;
}

OBJC_IMPLEMENT_CLASS(IGAppInstallItem)

Ref<IGAccountStrip> IGAccountStrip::stripWithTitleImp(Class cls, NSString* title,
                                                      NSArray* accounts) {
    return make<IGAccountStrip>(cls, &IGAccountStrip::initWithTitle, title, accounts);
}

IGAccountStrip* IGAccountStrip::initWithTitleImp(NSString* title, NSArray* accounts) {
    if (!init()) return nullptr;
    _title = title;
    _accounts = accounts;
    return this;
}

OBJC_IMPLEMENT_CLASS(IGAccountStrip)
