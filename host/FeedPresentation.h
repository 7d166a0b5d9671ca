// A feed object as the feed presents it, read from the object by message
// once: what the feed's text and its pictures both show.
#pragma once

#include "host/IGFeed.h"

enum class FeedItemKind { Post, AppInstall, Stories, Suggestions, Other };

struct FeedItemPresentation {
    FeedItemKind kind = FeedItemKind::Other;
    bool sponsored = false;
    Ref<IGMediaCoord> mediaCoord{}; // a post's owner and place; nil when it answers none
    Ref<NSString> appName{};
    Ref<NSString> caption{};
    Ref<NSString> title{};   // a strip's heading
    Ref<NSArray> accounts{}; // a strip's accounts
};

FeedItemPresentation presentationOf(NSObject* object);
