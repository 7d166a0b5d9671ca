// The stand-in app's line icons, stroked in an ink colour around a centre
// point, about 24 points across: the header's, the post's action row's and
// the tab bar's.
#pragma once

#include <cairo.h>

#include "UIKit/UIColor.h"

enum class FeedIcon {
    Heart,
    Comment,
    Share,
    Bookmark,
    More,
    Messenger,
    Home,
    Search,
    Add,
    Reels,
};

void drawFeedIcon(cairo_t* cr, FeedIcon icon, CGPoint centre, const UIColor::Components& ink);
