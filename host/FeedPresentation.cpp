#include "host/FeedPresentation.h"

namespace {

FeedItemPresentation itemPresentation(IGFeedItem* item, FeedItemKind kind) {
    return {.kind = kind,
            .sponsored = item->isSponsored() || item->isSponsoredApp(),
            .caption = item->caption()};
}

FeedItemPresentation stripPresentation(IGAccountStrip* strip) {
    return {.kind = strip->kind() == IGAccountStripKindStories ? FeedItemKind::Stories
                                                               : FeedItemKind::Suggestions,
            .title = strip->title(),
            .accounts = strip->accounts()};
}

} // namespace

FeedItemPresentation presentationOf(NSObject* object) {
    if (auto* post = as<IGPost>(object)) {
        FeedItemPresentation presented = itemPresentation(post, FeedItemKind::Post);
        presented.mediaCoord = post->mediaCoord();
        return presented;
    }
    if (auto* app = as<IGAppInstallItem>(object)) {
        FeedItemPresentation presented = itemPresentation(app, FeedItemKind::AppInstall);
        presented.appName = app->appName();
        return presented;
    }
    if (auto* strip = as<IGAccountStrip>(object)) return stripPresentation(strip);
    return {};
}
