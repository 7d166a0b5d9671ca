// The host's feed model: posts, sponsored app installs and the strips of
// accounts (stories, suggestions) that the main feed shows between them.
#pragma once

#include "Foundation/NSArray.h"
#include "Foundation/NSString.h"
#include "ObjectModel/NSObject.h"

// Who posted and where: the attribution a post shows above its picture.
struct IGMediaCoord : NSObject {
    OBJC_CLASS(IGMediaCoord, NSObject)

    static Ref<IGMediaCoord> coordWithOwner(NSString* owner, NSString* place);

    NSString* owner() const { return _owner; }
    NSString* place() const { return _place; } // nil when the post names no place

    Ref<NSString> _owner;
    Ref<NSString> _place;
};

// Anything the feed can mark as paid for.
struct IGFeedItem : NSObject {
    OBJC_CLASS(IGFeedItem, NSObject)

    NSString* caption() const { return _caption; }
    void setCaption(NSString* caption) { _caption = caption; }
    void setSponsored(bool sponsored) { _sponsored = sponsored; }

    // Messages.
    bool isSponsored() const { return _sponsored; }
    bool isSponsoredApp() const { return false; }

  protected:
    Ref<NSString> _caption;
    bool _sponsored = false;
};

struct IGPost : IGFeedItem {
    OBJC_CLASS(IGPost, IGFeedItem)

    // Messages.
    Ref<IGMediaCoord> mediaCoord() const { return _mediaCoord; }
    void setMediaCoord(IGMediaCoord* coord) { _mediaCoord = coord; }

  private:
    Ref<IGMediaCoord> _mediaCoord;
};

// An advertised app: always sponsored, as an app install.
struct IGAppInstallItem : IGFeedItem {
    OBJC_CLASS(IGAppInstallItem, IGFeedItem)

    NSString* appName() const { return _appName; }
    void setAppName(NSString* name) { _appName = name; }

    // Messages.
    bool isSponsoredApp() const { return true; }

  private:
    Ref<NSString> _appName;
};

// A row of accounts (the stories tray, suggested accounts): not a feed item.
struct IGAccountStrip : NSObject {
    OBJC_CLASS(IGAccountStrip, NSObject)

    static Ref<IGAccountStrip> stripWithTitle(NSString* title, NSArray* accounts);

    NSString* title() const { return _title; }
    NSArray* accounts() const { return _accounts; }

  private:
    Ref<NSString> _title;
    Ref<NSArray> _accounts;
};
