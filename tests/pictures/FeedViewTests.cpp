#include <set>
#include <vector>

#include "ObjectModel/Message.h"
#include "PictureHost.h"
#include "host/FeedDrawing.h"
#include "host/FeedPrinter.h"
#include "host/IGFeed.h"
#include "host/IGFeedView.h"

namespace {

TEST(FeedDrawing, InitialsComeFromTheNamesParts) {
    const std::pair<const char*, const char*> cases[] = {
        {"mira.lens", "ML"}, {"oslo_eats", "OE"},  {"Quillo Notes", "QN"},
        {"pixelfox", "PI"},  {"élan-vital", "ÉV"}, {"x", "X"},
        {"", "?"},           {"._-", "?"},         {"\xff\xfe", "?"}};
    for (auto [name, initials] : cases)
        EXPECT_EQ(initialsOf(name), initials) << name;
}

TEST(FeedDrawing, ColoursFollowTheTextAndStayInRange) {
    EXPECT_EQ(colorOfText("mira.lens", 0.5, 0.8), colorOfText("mira.lens", 0.5, 0.8));
    EXPECT_NE(colorOfText("mira.lens", 0.5, 0.8), colorOfText("tomas_k", 0.5, 0.8));
    for (const char* text : {"", "a", "tomas_k", "Golden hour over Alfama"}) {
        UIColor::Components color = colorOfText(text, 1, 1);
        for (double channel : {color.red, color.green, color.blue}) {
            EXPECT_GE(channel, 0);
            EXPECT_LE(channel, 1);
        }
        EXPECT_EQ(color.alpha, 1);
    }
    EXPECT_EQ(textHash(""), 2166136261u);
    EXPECT_EQ(textHash("a"), 0xe40c292cu);
}

SurfacePtr photoOf(const std::string& seed) {
    SurfacePtr surface(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 80, 60));
    cairo_t* cr = cairo_create(surface.get());
    drawGeneratedPhoto(cr, seed, CGRectMake(0, 0, 80, 60));
    cairo_destroy(cr);
    cairo_surface_flush(surface.get());
    return surface;
}

TEST(FeedDrawing, EachPostHasAPictureAndALikeCountOfItsOwnDrawnTheSameEachTime) {
    const char* seeds[] = {"Golden hour over Alfama",
                           "Our autumn blend is back. Order today!",
                           "First snow on the balcony",
                           "Ink study, day 12",
                           "oslo_eats",
                           "Northern lights tonight ✨"};
    std::vector<SurfacePtr> photos;
    std::set<PhotoScene> scenes;
    for (const char* seed : seeds) {
        photos.push_back(photoOf(seed));
        EXPECT_TRUE(snapshot::samePixels(photos.back().get(), photoOf(seed).get())) << seed;
        scenes.insert(sceneOf(seed));
        std::string likes = likesText(seed);
        EXPECT_EQ(likes, likesText(seed));
        EXPECT_EQ(likes.substr(likes.size() - 6), " likes") << likes;
        std::string count = likes.substr(0, likes.size() - 6);
        EXPECT_EQ(count.find_first_not_of("0123456789,"), std::string::npos) << likes;
        EXPECT_EQ(count.find(','), count.size() > 3 ? count.size() - 4 : std::string::npos)
            << likes;
    }
    for (std::size_t a = 0; a < photos.size(); ++a)
        for (std::size_t b = a + 1; b < photos.size(); ++b)
            EXPECT_FALSE(snapshot::samePixels(photos[a].get(), photos[b].get()))
                << seeds[a] << " and " << seeds[b];
    EXPECT_GE(scenes.size(), 3u) << "the sample feed shows several kinds of picture";
}

Ref<IGPost> post(const char* owner, const char* place, const char* caption) {
    Ref<IGPost> post = Ref<IGPost>::adopt(alloc<IGPost>());
    if (owner)
        post->setMediaCoord(IGMediaCoord::coordWithOwner(NSString::string(owner),
                                                         place ? NSString::string(place) : nullptr)
                                .get());
    if (caption) post->setCaption(NSString::string(caption));
    return post;
}

void cardsFollowWhatTheirObjectsAnswer() {
    registerHostClasses();
    Ref<IGPost> owned = post("ana", "Porto", "Sea");
    Ref<IGPost> anonymous = post(nullptr, nullptr, "Sea");
    Ref<IGFeedCardView> ownedCard = IGFeedCardView::cardWithObject(owned);
    CGFloat withHeader = ownedCard->heightForWidth(375);
    CGFloat without = IGFeedCardView::cardWithObject(anonymous)->heightForWidth(375);
    EXPECT_EQ(withHeader - without, 54) << "no attribution line without a mediaCoord";
    Ref<IGPost> sponsored = post(nullptr, nullptr, "Sea");
    sponsored->setSponsored(true);
    EXPECT_EQ(IGFeedCardView::cardWithObject(sponsored)->heightForWidth(375), withHeader)
        << "a sponsored post is marked in a header line";
    EXPECT_GT(IGFeedCardView::cardWithObject(post("ana", nullptr, nullptr))->heightForWidth(375),
              0);
    EXPECT_GT(IGFeedCardView::cardWithObject(owned)->heightForWidth(390), withHeader)
        << "the photo grows with the width";
    owned->setMediaCoord(nullptr);
    EXPECT_EQ(ownedCard->heightForWidth(375), without) << "the card asks its post each time";
}

TEST(FeedView, CardsFollowWhatTheirObjectsAnswer) {
    EXPECT_IN_CHILD(cardsFollowWhatTheirObjectsAnswer());
}

Ref<NSArray> postsFeed(int count) {
    std::string json = R"({"items": [{"kind": "stories", "accounts": ["ana"]})";
    for (int i = 1; i < count; ++i)
        json += R"(, {"kind": "post", "owner": "u)" + std::to_string(i) + R"(", "caption": "c"})";
    return parseFeed(json + "]}", "test");
}

// Scrolls a screen at a time; checks that each card in view shows its own
// object where the feed places it, and that cards are reused.
void theFeedHasCardsOnlyForWhatIsInViewAndReusesThem() {
    registerHostClasses();
    Ref<NSArray> feed = postsFeed(1000);
    Ref<IGFeedView> view = IGFeedView::feedWithFrame(CGRectMake(0, 0, 375, 600));
    EXPECT_EQ(send<Ref<NSString>>(view, "screenText"_sel)->utf8(), "The feed is empty.\n");
    view->setObjects(feed);
    view->layoutIfNeeded();
    CGFloat post = IGFeedCardView::heightForObject(feed->objectAtIndex(1), 375);
    const CGFloat header = IGFeedView::kHeaderHeight;
    EXPECT_EQ(view->contentSize(), CGSizeMake(375, header + 108 + 999 * post + 49))
        << "room for the tab bar";
    EXPECT_EQ(view->rectForObjectAtIndex(1), CGRectMake(0, header + 108, 375, post));
    EXPECT_EQ(view->rectForObjectAtIndex(1000), CGRectZero);
    std::size_t most = 0;
    for (CGFloat y = 0; y < view->contentSize().height; y += 600) {
        view->setContentOffset({0, y});
        view->layoutIfNeeded();
        most = std::max(most, view->cardsInView() + view->cardsKept());
        EXPECT_EQ(view->subviews()->objectAtIndex(view->subviews()->count() - 1), view->tabBar())
            << "the tab bar over the cards";
        EXPECT_EQ(view->tabBar()->frame(), CGRectMake(0, y + 600 - 49, 375, 49))
            << "at the bottom of what shows; off screen, no inset";
        for (NSObject* child : *view->subviews()) {
            auto* card = as<IGFeedCardView>(child);
            if (!card) continue;
            long index = feed->indexOfObject(card->object());
            EXPECT_EQ(card->frame(), view->rectForObjectAtIndex(index));
            EXPECT_LT(card->frame().origin.y, y + 600);
            EXPECT_GT(CGRectGetMaxY(card->frame()), y);
        }
    }
    EXPECT_LE(most, 4u) << "cards are bounded by what fits on a screen";
    EXPECT_LE(liveObjects<IGFeedCardView>(), 4);
    view->setContentOffset(view->clampedContentOffset({0, 1e9}));
    std::string text = send<Ref<NSString>>(view, "screenText"_sel)->utf8();
    EXPECT_TRUE(text.starts_with("999. Post by @u998\n")) << text;
    EXPECT_TRUE(text.ends_with("(999 to 1000 of 1000; \"scroll down\" and \"scroll up\" show the "
                               "rest)\n"))
        << text;
    view->setObjects(nullptr);
    view->layoutIfNeeded();
    EXPECT_EQ(view->subviews()->count(), 1u) << "the tab bar stays";
    EXPECT_EQ(view->contentOffset(), CGPointMake(0, 0)) << "a new feed shows from its top";
}

TEST(FeedView, HasCardsOnlyForWhatIsInViewAndReusesThemAsItScrolls) {
    EXPECT_IN_CHILD(theFeedHasCardsOnlyForWhatIsInViewAndReusesThem());
}

void screensAreNamedForTheirPictures() {
    PictureHost host(false);
    EXPECT_EQ(screenName(host.session->navigation()), "feed");
    EXPECT_EQ(snapshotFileName(7, host.session->navigation()), "007-feed.png");
    host.run({"settings"});
    EXPECT_EQ(snapshotFileName(12, host.session->navigation()), "012-account-settings.png");
    Ref<UIViewController> titled = make<UIViewController>(&UIViewController::init);
    titled->setTitle("  Tavelin Preferences!  "_ns);
    EXPECT_EQ(screenName(titled), "tavelin-preferences");
    titled->setTitle("★"_ns);
    EXPECT_EQ(screenName(titled), "uiviewcontroller");
    EXPECT_EQ(screenName(nullptr), "screen");
    Ref<UIViewController> presented = make<UIViewController>(&UIViewController::init);
    presented->setTitle("Choose"_ns);
    host.session->navigation()->presentViewController(presented, false, nullptr);
    ASSERT_EQ(host.session->navigation()->presentedViewController(), presented.get());
    EXPECT_EQ(screenName(host.session->navigation()), "choose") << "what shows is named";
    host.session->navigation()->dismissViewControllerAnimated(false, nullptr);
}

TEST(SnapshotNames, ScreensAreNamedForTheirPictures) {
    EXPECT_IN_CHILD(screensAreNamedForTheirPictures());
}

} // namespace
