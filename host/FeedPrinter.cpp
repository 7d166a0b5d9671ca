#include "host/FeedPrinter.h"

#include "host/IGFeed.h"
#include "ObjectModel/Message.h"

namespace {

std::string sponsoredMark(NSObject* item) {
    bool sponsored = send<bool>(item, "isSponsored"_sel) || send<bool>(item, "isSponsoredApp"_sel);
    return sponsored ? "[Sponsored] " : "";
}

std::string captionLine(const IGFeedItem* item) {
    return item->caption() ? "\n    \"" + item->caption()->utf8() + "\"" : "";
}

std::string attribution(IGPost* post) {
    Ref<IGMediaCoord> coord = send<Ref<IGMediaCoord>>(post, "mediaCoord"_sel);
    if (!coord) return "Post";
    std::string line = "Post by @" + describe(coord->owner())->utf8();
    if (coord->place()) line += " at " + coord->place()->utf8();
    return line;
}

std::string accountList(const IGAccountStrip* strip) {
    std::string line = describe(strip->title())->utf8() + ":";
    if (strip->accounts())
        for (NSObject* name : *strip->accounts())
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
