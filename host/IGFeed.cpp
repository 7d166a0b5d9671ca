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

const ClassInfo& IGMediaCoord::objcClassInfo() {
    static const ClassInfo info = ClassBuilder<IGMediaCoord>().build();
    return info;
}

bool IGFeedItem::isSponsoredAppImp() {
    return false;
}

const ClassInfo& IGFeedItem::objcClassInfo() {
    static const ClassInfo info = ClassBuilder<IGFeedItem>().build();
    return info;
}

void IGPost::setMediaCoordImp(IGMediaCoord* coord) {
    _mediaCoord = coord;
}

const ClassInfo& IGPost::objcClassInfo() {
    static const ClassInfo info = ClassBuilder<IGPost>().build();
    return info;
}

bool IGAppInstallItem::isSponsoredAppImp() {
    return true;
}

const ClassInfo& IGAppInstallItem::objcClassInfo() {
    static const ClassInfo info = ClassBuilder<IGAppInstallItem>().build();
    return info;
}

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

const ClassInfo& IGAccountStrip::objcClassInfo() {
    static const ClassInfo info = ClassBuilder<IGAccountStrip>().build();
    return info;
}
