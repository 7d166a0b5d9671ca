#include "host/IGFeed.h"

#include "ObjectModel/ClassBuilder.h"

Ref<IGMediaCoord> IGMediaCoord::coordWithOwner(NSString* owner, NSString* place) {
    Ref<IGMediaCoord> coord = Ref<IGMediaCoord>::adopt(alloc<IGMediaCoord>());
    coord->_owner = owner;
    coord->_place = place;
    return coord;
}

const ClassInfo& IGMediaCoord::objcClassInfo() {
    static const ClassInfo info = ClassBuilder<IGMediaCoord>().build();
    return info;
}

const ClassInfo& IGFeedItem::objcClassInfo() {
    static const ClassInfo info = ClassBuilder<IGFeedItem>()
                                      .method<"isSponsored", &IGFeedItem::isSponsored>()
                                      .method<"isSponsoredApp", &IGFeedItem::isSponsoredApp>()
                                      .build();
    return info;
}

const ClassInfo& IGPost::objcClassInfo() {
    static const ClassInfo info = ClassBuilder<IGPost>()
                                      .method<"mediaCoord", &IGPost::mediaCoord>()
                                      .method<"setMediaCoord:", &IGPost::setMediaCoord>()
                                      .build();
    return info;
}

const ClassInfo& IGAppInstallItem::objcClassInfo() {
    static const ClassInfo info = ClassBuilder<IGAppInstallItem>()
                                      .method<"isSponsoredApp", &IGAppInstallItem::isSponsoredApp>()
                                      .build();
    return info;
}

Ref<IGAccountStrip> IGAccountStrip::stripWithTitle(NSString* title, NSArray* accounts) {
    Ref<IGAccountStrip> strip = Ref<IGAccountStrip>::adopt(alloc<IGAccountStrip>());
    strip->_title = title;
    strip->_accounts = accounts;
    return strip;
}

const ClassInfo& IGAccountStrip::objcClassInfo() {
    static const ClassInfo info = ClassBuilder<IGAccountStrip>().build();
    return info;
}
