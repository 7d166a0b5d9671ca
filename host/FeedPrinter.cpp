#include "host/FeedPrinter.h"

#include "host/IGFeed.h"

namespace {

std::string sponsoredMark(const IGFeedItem* item) {
    bool sponsored = item->isSponsored() || item->isSponsoredApp();
    return sponsored ? "[Sponsored] " : "";
}

std::string captionLine(const IGFeedItem* item) {
    NSString* caption = item->caption();
    return caption ? "\n    \"" + caption->utf8() + "\"" : "";
}

std::string attribution(const IGPost* post) {
    Ref<IGMediaCoord> coord = post->mediaCoord();
    if (!coord) return "Post";
    std::string line = "Post by @" + describe(coord->owner())->utf8();
    if (NSString* place = coord->place()) line += " at " + place->utf8();
    return line;
}

std::string accountList(const IGAccountStrip* strip) {
    std::string line = describe(strip->title())->utf8() + ":";
    if (NSArray* accounts = strip->accounts())
        for (NSObject* name : *accounts)
            line += " @" + describe(name)->utf8();
    return line;
}

} // namespace

std::string describeFeedObject(NSObject* object) {
    if (auto* post = as<IGPost>(object))
        return sponsoredMark(post) + attribution(post) + captionLine(post);
    if (auto* app = as<IGAppInstallItem>(object))
        return sponsoredMark(app) + "App install: " + describe(app->appName())->utf8() +
               captionLine(app);
    if (auto* strip = as<IGAccountStrip>(object)) return accountList(strip);
    return "(" + describe(object)->utf8() + ")";
}

std::string describeFeed(const NSArray* objects) {
    if (!objects || objects->count() == 0) return "The feed is empty.\n";
    std::string text;
    int number = 0;
    for (NSObject* object : *objects)
        text += std::to_string(++number) + ". " + describeFeedObject(object) + "\n";
    return text;
}
