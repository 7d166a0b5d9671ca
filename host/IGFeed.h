// The host's feed model: posts, sponsored app installs and the strips of
// accounts (stories, suggestions) that the main feed shows between them.
#pragma once

#include "Foundation/NSArray.h"
#include "Foundation/NSString.h"
#include "ObjectModel/NSObject.h"

// Who posted and where: the attribution a post shows above its picture.
struct IGMediaCoord : NSObject {
    OBJC_CLASS(IGMediaCoord, NSObject)

    OBJC_CLASS_METHOD(Ref<IGMediaCoord>, coordWithOwner, "coordWithOwner:place:", NSString*,
                      NSString*)
    OBJC_METHOD(IGMediaCoord*, initWithOwner, "initWithOwner:place:", NSString*, NSString*)
    OBJC_READONLY(NSString*, owner)
    OBJC_READONLY(NSString*, place) // nil when the post names no place

  private:
    Ref<NSString> _owner;
    Ref<NSString> _place;
};

// Anything the feed can mark as paid for.
struct IGFeedItem : NSObject {
    OBJC_CLASS(IGFeedItem, NSObject)

    OBJC_PROPERTY(NSString*, caption, setCaption)
    OBJC_PROPERTY_AS(bool, sponsored, isSponsored, setSponsored)
    OBJC_METHOD(bool, isSponsoredApp, "isSponsoredApp")

  private:
    Ref<NSString> _caption;
    bool _sponsored = false;
};

struct IGPost : IGFeedItem {
    OBJC_CLASS(IGPost, IGFeedItem)

    OBJC_READONLY(Ref<IGMediaCoord>, mediaCoord)
    OBJC_METHOD(void, setMediaCoord, "setMediaCoord:", IGMediaCoord*)

  private:
    Ref<IGMediaCoord> _mediaCoord;
};

// An advertised app: always sponsored, as an app install.
struct IGAppInstallItem : IGFeedItem {
    OBJC_CLASS(IGAppInstallItem, IGFeedItem)

    OBJC_PROPERTY(NSString*, appName, setAppName)
    OBJC_OVERRIDE(bool, isSponsoredApp, "isSponsoredApp")

  private:
    Ref<NSString> _appName;
};

// What a strip of accounts is.
enum IGAccountStripKind : long { IGAccountStripKindSuggestions, IGAccountStripKindStories };

// A row of accounts (the stories tray, suggested accounts): not a feed item.
struct IGAccountStrip : NSObject {
    OBJC_CLASS(IGAccountStrip, NSObject)

    OBJC_CLASS_METHOD(Ref<IGAccountStrip>, stripWithTitle, "stripWithTitle:accounts:", NSString*,
                      NSArray*)
    OBJC_METHOD(IGAccountStrip*, initWithTitle, "initWithTitle:accounts:", NSString*, NSArray*)
    OBJC_READONLY(NSString*, title)
    OBJC_READONLY(NSArray*, accounts)
    OBJC_PROPERTY(long, kind, setKind) // an IGAccountStripKind

  private:
    Ref<NSString> _title;
    Ref<NSArray> _accounts;
    long _kind = IGAccountStripKindSuggestions;
};
