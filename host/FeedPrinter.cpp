#include "host/FeedPrinter.h"

#include "host/FeedPresentation.h"

namespace {

std::string sponsoredMark(const FeedItemPresentation& item) {
    return item.sponsored ? "[Sponsored] " : "";
}

std::string captionLine(const FeedItemPresentation& item) {
    return item.caption ? "\n    \"" + item.caption->utf8() + "\"" : "";
}

std::string attribution(const FeedItemPresentation& post) {
    if (!post.mediaCoord) return "Post";
    std::string line = "Post by @" + describe(post.mediaCoord->owner())->utf8();
    if (NSString* place = post.mediaCoord->place()) line += " at " + place->utf8();
    return line;
}

std::string accountList(const FeedItemPresentation& strip) {
    std::string line = describe(strip.title)->utf8() + ":";
    if (strip.accounts)
        for (NSObject* name : *strip.accounts)
            line += " @" + describe(name)->utf8();
    return line;
}

} // namespace

std::string describeFeedObject(NSObject* object) {
    FeedItemPresentation item = presentationOf(object);
    switch (item.kind) {
    case FeedItemKind::Post:
        return sponsoredMark(item) + attribution(item) + captionLine(item);
    case FeedItemKind::AppInstall:
        return sponsoredMark(item) + "App install: " + describe(item.appName)->utf8() +
               captionLine(item);
    case FeedItemKind::Stories:
    case FeedItemKind::Suggestions:
        return accountList(item);
    case FeedItemKind::Other:
        break;
    }
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
