#include "host/IGFeedView.h"

#include <algorithm>
#include <cmath>
#include <sstream>
#include <vector>

#include "ObjectModel/ClassBuilder.h"
#include "ObjectModel/Message.h"
#include "UIKit/TextDrawing.h"
#include "UIKit/UIScreen.h"
#include "host/FeedDrawing.h"
#include "host/FeedIcons.h"
#include "host/FeedPresentation.h"
#include "host/FeedPrinter.h"

namespace {

constexpr CGFloat kMargin = 12;
constexpr CGFloat kPostHeaderHeight = 54;
constexpr CGFloat kActionsHeight = 44;
constexpr CGFloat kLikesHeight = 20;
constexpr CGFloat kCallToActionHeight = 44;
constexpr CGFloat kCaptionSize = 14;
constexpr CGFloat kCardBottom = 14;
constexpr CGFloat kTrayHeight = 108;
constexpr CGFloat kTraySpacing = 80;
constexpr CGFloat kSuggestionsHeight = 214;
constexpr CGFloat kSuggestionWidth = 140;
constexpr CGFloat kOtherHeight = 44;
constexpr const char* kWordmarkFamily = "Dancing Script";

// What a card shows, from its object's presentation.
struct CardContent {
    FeedItemKind kind = FeedItemKind::Other;
    std::string name{};     // owner or app; empty when the post answers no mediaCoord
    std::string subtitle{}; // "Sponsored" and the place
    std::string caption{};
    std::string title{};
    std::vector<std::string> accounts{};
};

std::string textOf(NSString* text) {
    return text ? text->utf8() : std::string();
}

std::string subtitleOf(bool sponsored, NSString* place) {
    std::string line = sponsored ? "Sponsored" : "";
    if (place) line += (line.empty() ? "" : " · ") + place->utf8();
    return line;
}

CardContent contentOf(NSObject* object) {
    FeedItemPresentation item = presentationOf(object);
    CardContent card{
        .kind = item.kind, .caption = textOf(item.caption), .title = textOf(item.title)};
    IGMediaCoord* coord = item.mediaCoord;
    if (item.kind == FeedItemKind::Post) card.name = coord ? textOf(coord->owner()) : "";
    if (item.kind == FeedItemKind::AppInstall) card.name = textOf(item.appName);
    card.subtitle = subtitleOf(item.sponsored, coord ? coord->place() : nullptr);
    if (item.accounts)
        for (NSObject* account : *item.accounts)
            card.accounts.push_back(describe(account)->utf8());
    if (item.kind == FeedItemKind::Other) card.caption = describeFeedObject(object);
    return card;
}

UIColor::Components ink() {
    return UIColor::labelColor()->components();
}

UIColor::Components secondaryInk() {
    return UIColor::secondaryLabelColor()->components();
}

TextStyle style(CGFloat size, bool bold, const UIColor::Components& color,
                long alignment = NSTextAlignmentLeft, long lines = 1) {
    TextStyle text;
    text.size = size;
    text.bold = bold;
    text.color = color;
    text.alignment = alignment;
    text.lines = lines;
    return text;
}

// The owner's name in bold, then the caption.
struct Caption {
    std::string text;
    TextStyle style;
};

Caption captionOf(const CardContent& card) {
    Caption caption{card.caption, style(kCaptionSize, false, ink(), NSTextAlignmentLeft, 2)};
    if (!card.name.empty() && !card.caption.empty()) {
        caption.text = card.name + " " + card.caption;
        caption.style.boldPrefix = card.name.size();
    }
    return caption;
}

bool hasHeader(const CardContent& card) {
    return !card.name.empty() || !card.subtitle.empty();
}

CGFloat photoHeight(CGFloat width) {
    return std::round(width * 0.75);
}

CGFloat captionHeight(const CardContent& card, CGFloat width) {
    if (card.caption.empty()) return 0;
    Caption caption = captionOf(card);
    return textSize(caption.text, caption.style, width - 2 * kMargin).height;
}

// What a post or app card stacks below its picture.
CGFloat belowPhoto(const CardContent& card, CGFloat width) {
    CGFloat extra = card.kind == FeedItemKind::AppInstall ? kCallToActionHeight : 0;
    CGFloat likes = card.kind == FeedItemKind::Post ? kLikesHeight : 0;
    return extra + kActionsHeight + likes + captionHeight(card, width) + kCardBottom;
}

CGFloat heightOf(const CardContent& card, CGFloat width) {
    switch (card.kind) {
    case FeedItemKind::Stories:
        return kTrayHeight;
    case FeedItemKind::Suggestions:
        return kSuggestionsHeight;
    case FeedItemKind::Other:
        return kOtherHeight;
    default:
        break;
    }
    return (hasHeader(card) ? kPostHeaderHeight : 0) + photoHeight(width) + belowPhoto(card, width);
}

void drawHeader(cairo_t* cr, const CardContent& card, CGFloat width) {
    CGFloat textX = card.name.empty() ? kMargin : 54;
    CGFloat textWidth = width - textX - 44;
    if (!card.name.empty())
        drawAvatar(cr, card.name, {kMargin + 16, kPostHeaderHeight / 2}, 16,
                   card.kind == FeedItemKind::Post);
    drawFeedIcon(cr, FeedIcon::More, {width - 22, kPostHeaderHeight / 2}, ink());
    if (card.name.empty() || card.subtitle.empty()) {
        const std::string& only = card.name.empty() ? card.subtitle : card.name;
        drawText(cr, only, style(14, !card.name.empty(), ink()),
                 CGRectMake(textX, 0, textWidth, kPostHeaderHeight));
        return;
    }
    drawText(cr, card.name, style(14, true, ink()), CGRectMake(textX, 9, textWidth, 19));
    drawText(cr, card.subtitle, style(12, false, ink()), CGRectMake(textX, 28, textWidth, 17));
}

void drawCallToAction(cairo_t* cr, CGFloat y, CGFloat width) {
    CGRect bar = CGRectMake(0, y, width, kCallToActionHeight);
    fillRoundedRect(cr, bar, 0, UIColor::systemBlueColor()->components());
    CGRect text = CGRectMake(kMargin, y, width - 2 * kMargin, kCallToActionHeight);
    drawText(cr, "Install Now", style(14, true, palette::kWhite), text);
    drawText(cr, "›", style(22, false, palette::kWhite, NSTextAlignmentRight), text);
}

void drawActions(cairo_t* cr, CGFloat middle, CGFloat width) {
    const FeedIcon left[] = {FeedIcon::Heart, FeedIcon::Comment, FeedIcon::Share};
    for (int i = 0; i < 3; ++i)
        drawFeedIcon(cr, left[i], {24.0 + 38 * i, middle}, ink());
    drawFeedIcon(cr, FeedIcon::Bookmark, {width - 22, middle}, ink());
}

// The picture's and the like count's seed: the caption, else the owner.
std::string seedOf(const CardContent& card) {
    return card.caption.empty() ? card.name : card.caption;
}

void drawItem(cairo_t* cr, const CardContent& card, CGFloat width) {
    CGFloat y = 0;
    if (hasHeader(card)) {
        drawHeader(cr, card, width);
        y = kPostHeaderHeight;
    }
    drawGeneratedPhoto(cr, seedOf(card), CGRectMake(0, y, width, photoHeight(width)));
    y += photoHeight(width);
    if (card.kind == FeedItemKind::AppInstall) {
        drawCallToAction(cr, y, width);
        y += kCallToActionHeight;
    }
    drawActions(cr, y + kActionsHeight / 2, width);
    y += kActionsHeight;
    if (card.kind == FeedItemKind::Post) {
        drawText(cr, likesText(seedOf(card)), style(14, true, ink()),
                 CGRectMake(kMargin, y, width - 2 * kMargin, kLikesHeight));
        y += kLikesHeight;
    }
    Caption caption = captionOf(card);
    drawText(cr, caption.text, caption.style,
             CGRectMake(kMargin, y, width - 2 * kMargin, captionHeight(card, width)));
}

void drawHairline(DrawContext* context, CGFloat y, CGFloat width) {
    CGFloat line = 1 / context->scale;
    fillRoundedRect(context->cr, CGRectMake(0, y - line, width, line), 0,
                    UIColor::separatorColor()->components());
}

void drawTray(cairo_t* cr, const CardContent& card) {
    CGFloat x = kMargin;
    for (const std::string& account : card.accounts) {
        CGPoint centre{x + 34, 44};
        drawStoryRing(cr, centre, 33);
        drawAvatar(cr, account, centre, 29);
        drawText(cr, account, style(11, false, ink(), NSTextAlignmentCenter),
                 CGRectMake(x - 4, 82, 76, 16));
        x += kTraySpacing;
    }
}

void drawSuggestion(cairo_t* cr, const std::string& account, CGFloat x, CGFloat y) {
    CGRect box = CGRectMake(x, y, kSuggestionWidth, 160);
    addRoundedRect(cr, box, 8);
    setSourceColor(cr, UIColor::separatorColor()->components());
    cairo_set_line_width(cr, 1);
    cairo_stroke(cr);
    drawAvatar(cr, account, {x + kSuggestionWidth / 2, y + 48}, 32);
    drawText(cr, account, style(13, true, ink(), NSTextAlignmentCenter),
             CGRectMake(x + 6, y + 88, kSuggestionWidth - 12, 20));
    CGRect button = CGRectMake(x + 12, y + 118, kSuggestionWidth - 24, 30);
    fillRoundedRect(cr, button, 7, UIColor::systemBlueColor()->components());
    drawText(cr, "Follow", style(13, true, palette::kWhite, NSTextAlignmentCenter), button);
}

void drawSuggestions(cairo_t* cr, const CardContent& card, CGFloat width) {
    CGRect heading = CGRectMake(kMargin, 8, width - 2 * kMargin, 30);
    drawText(cr, card.title, style(15, true, ink()), heading);
    drawText(cr, "See All",
             style(14, true, UIColor::systemBlueColor()->components(), NSTextAlignmentRight),
             heading);
    CGFloat x = kMargin;
    for (const std::string& account : card.accounts) {
        drawSuggestion(cr, account, x, 42);
        x += kSuggestionWidth + 10;
    }
}

// The wordmark at the left, the activity and messages icons at the right.
void drawFeedHeader(cairo_t* cr, CGFloat width) {
    TextStyle wordmark = style(30, true, ink());
    wordmark.family = kWordmarkFamily;
    drawText(cr, "Instagram", wordmark,
             CGRectMake(kMargin + 2, 0, width / 2, IGFeedView::kHeaderHeight));
    CGFloat middle = IGFeedView::kHeaderHeight / 2;
    drawFeedIcon(cr, FeedIcon::Heart, {width - 64, middle}, ink());
    drawFeedIcon(cr, FeedIcon::Messenger, {width - 24, middle}, ink());
}

} // namespace

Ref<IGFeedCardView> IGFeedCardView::cardWithObjectImp(Class cls, NSObject* object) {
    return make<IGFeedCardView>(cls, &IGFeedCardView::initWithObject, object);
}

CGFloat IGFeedCardView::heightForObjectImp(Class, NSObject* object, CGFloat width) {
    return heightOf(contentOf(object), width);
}

IGFeedCardView* IGFeedCardView::initWithObjectImp(NSObject* object) {
    if (!initWithFrame(CGRectZero)) return nullptr;
    _object = object;
    setClipsToBounds(true);
    return this;
}

CGFloat IGFeedCardView::heightForWidthImp(CGFloat width) {
    return heightForObject(object(), width);
}

void IGFeedCardView::drawInContextImp(DrawContext* context) {
    cairo_t* cr = context->cr;
    CGFloat width = bounds().size.width;
    fillRoundedRect(cr, bounds(), 0, UIColor::systemBackgroundColor()->components());
    CardContent card = contentOf(_object);
    switch (card.kind) {
    case FeedItemKind::Stories:
        drawTray(cr, card);
        drawHairline(context, kTrayHeight, width);
        break;
    case FeedItemKind::Suggestions:
        drawSuggestions(cr, card, width);
        drawHairline(context, kSuggestionsHeight, width);
        break;
    case FeedItemKind::Other:
        drawText(cr, card.caption, style(14, false, secondaryInk()),
                 CGRectMake(kMargin, 0, width - 2 * kMargin, kOtherHeight));
        break;
    default:
        drawItem(cr, card, width);
    }
}

OBJC_IMPLEMENT_CLASS(IGFeedCardView)

void IGTabBarView::drawInContextImp(DrawContext* context) {
    cairo_t* cr = context->cr;
    CGFloat width = bounds().size.width;
    fillRoundedRect(cr, bounds(), 0, UIColor::systemBackgroundColor()->components());
    fillRoundedRect(cr, CGRectMake(0, 0, width, 1 / context->scale), 0,
                    UIColor::separatorColor()->components());
    const FeedIcon icons[] = {FeedIcon::Home, FeedIcon::Search, FeedIcon::Add, FeedIcon::Reels};
    CGFloat slot = width / 5, middle = kHeight / 2;
    for (int i = 0; i < 4; ++i)
        drawFeedIcon(cr, icons[i], {slot * (i + 0.5), middle}, ink());
    drawAvatar(cr, "me", {slot * 4.5, middle}, 12);
}

OBJC_IMPLEMENT_CLASS(IGTabBarView)

Ref<IGFeedView> IGFeedView::feedWithFrameImp(Class cls, CGRect frame) {
    return make<IGFeedView>(cls, &IGFeedView::initWithFrame, frame);
}

void IGFeedView::setObjectsImp(NSArray* objects) {
    _objects = objects;
    for (Shown& shown : _shown) {
        shown.card->removeFromSuperview();
        _reusable.push_back(std::move(shown.card));
    }
    _shown.clear();
    _tops.clear();
    if (!_tabBar) _tabBar = make<IGTabBarView>(&IGTabBarView::initWithFrame, CGRectZero);
    setContentOffset(CGPoint{});
    setNeedsLayout();
}

void IGFeedView::measure(CGFloat width) {
    if (!_tops.empty() && width == _measuredWidth) return;
    _measuredWidth = width;
    _tops.assign(1, kHeaderHeight);
    if (_objects)
        for (NSObject* object : *_objects)
            _tops.push_back(_tops.back() + IGFeedCardView::heightForObject(object, width));
    // Room at the end for the tab bar, so that the last card can show above it.
    CGFloat tabBar = IGTabBarView::kHeight + UIScreen::mainScreen()->device().safeAreaInsets.bottom;
    setContentSize({width, _tops.back() + tabBar});
}

std::pair<long, long> IGFeedView::visibleRange() {
    measure(bounds().size.width);
    CGRect shown = bounds();
    // The first object whose bottom is below the top edge, up to the first
    // whose top is at or below the bottom edge.
    long first =
        std::upper_bound(_tops.begin() + 1, _tops.end(), shown.origin.y) - _tops.begin() - 1;
    long end =
        std::lower_bound(_tops.begin(), _tops.end() - 1, CGRectGetMaxY(shown)) - _tops.begin();
    return {first, std::max(first, end)};
}

CGRect IGFeedView::rectForObjectAtIndexImp(long index) {
    measure(bounds().size.width);
    if (index < 0 || index + 1 >= static_cast<long>(_tops.size())) return CGRectZero;
    return CGRectMake(0, _tops[index], _measuredWidth, _tops[index + 1] - _tops[index]);
}

void IGFeedView::layoutSubviewsImp() {
    auto [first, end] = visibleRange();
    std::erase_if(_shown, [&](Shown& shown) {
        if (shown.index >= first && shown.index < end) return false;
        shown.card->removeFromSuperview();
        _reusable.push_back(std::move(shown.card));
        return true;
    });
    for (long index = first; index < end; ++index) {
        auto showing = std::find_if(_shown.begin(), _shown.end(),
                                    [&](const Shown& shown) { return shown.index == index; });
        if (showing == _shown.end()) {
            Ref<IGFeedCardView> card;
            NSObject* object = _objects->objectAtIndex(index);
            if (_reusable.empty()) {
                card = IGFeedCardView::cardWithObject(object);
            } else {
                card = std::move(_reusable.back());
                _reusable.pop_back();
                card->setObject(object);
            }
            addSubview(card.get());
            showing = _shown.insert(_shown.end(), {index, std::move(card)});
        }
        showing->card->setFrame(rectForObjectAtIndex(index));
    }
    placeTabBar();
}

// The tab bar stays at the bottom of what shows, over the cards.
void IGFeedView::placeTabBar() {
    if (!_tabBar) return;
    if (subviews()->count() == 0 || subviews()->objectAtIndex(subviews()->count() - 1) != _tabBar)
        addSubview(_tabBar);
    CGRect shown = bounds();
    CGFloat height = IGTabBarView::kHeight + safeAreaInsets().bottom;
    _tabBar->setFrame(CGRectMake(0, CGRectGetMaxY(shown) - height, shown.size.width, height));
}

void IGFeedView::drawInContextImp(DrawContext* context) {
    fillRoundedRect(context->cr, bounds(), 0, UIColor::systemBackgroundColor()->components());
    drawFeedHeader(context->cr, bounds().size.width);
    if (_objects && _objects->count() > 0) return;
    drawText(context->cr, "The feed is empty.",
             style(15, false, secondaryInk(), NSTextAlignmentCenter),
             CGRectMake(0, kHeaderHeight + 40, bounds().size.width, 40));
}
Ref<NSString> IGFeedView::screenTextImp() {
    long count = _objects ? static_cast<long>(_objects->count()) : 0;
    if (count == 0) return NSString::string(describeFeed(_objects));
    auto [first, end] = visibleRange();
    std::ostringstream text;
    for (long index = first; index < end; ++index)
        text << index + 1 << ". " << describeFeedObject(_objects->objectAtIndex(index)) << "\n";
    if (first > 0 || end < count)
        text << "(" << first + 1 << " to " << end << " of " << count
             << "; \"scroll down\" and \"scroll up\" show the rest)\n";
    return NSString::string(text.str());
}

OBJC_IMPLEMENT_CLASS(IGFeedView)
