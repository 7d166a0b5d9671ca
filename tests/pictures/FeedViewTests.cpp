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

TEST(FeedDrawing, LikeCountsAreGroupedByThousandsAndTheSameEachTime) {
    for (const char* seed : {"Golden hour over Alfama", "Our autumn blend is back. Order today!",
                             "First snow on the balcony", "Ink study, day 12", "oslo_eats",
                             "Northern lights tonight ✨"}) {
        std::string likes = likesText(seed), count = likes.substr(0, likes.find(' '));
        EXPECT_EQ(likes, count + " likes");
        EXPECT_EQ(count.find_first_not_of("0123456789,"), std::string::npos) << likes;
        EXPECT_EQ(count.find(','), count.size() > 3 ? count.size() - 4 : std::string::npos)
            << likes;
    }
}

Ref<IGPost> post(const char* owner, const char* caption) {
    Ref<IGPost> post = Ref<IGPost>::adopt(alloc<IGPost>());
    if (owner) post->setMediaCoord(IGMediaCoord::coordWithOwner(NSString::string(owner), nullptr));
    if (caption) post->setCaption(NSString::string(caption));
    return post;
}

TEST(FeedView, CardsFollowWhatTheirObjectsAnswer) {
    EXPECT_IN_CHILD(([] {
        registerHostClasses();
        Ref<IGPost> owned = post("ana", "Sea"), anonymous = post(nullptr, "Sea");
        Ref<IGFeedCardView> ownedCard = IGFeedCardView::cardWithObject(owned);
        CGFloat withHeader = ownedCard->heightForWidth(375);
        CGFloat without = IGFeedCardView::cardWithObject(anonymous)->heightForWidth(375);
        EXPECT_EQ(withHeader - without, 54) << "no attribution line without a mediaCoord";
        anonymous->setSponsored(true);
        EXPECT_EQ(IGFeedCardView::cardWithObject(anonymous)->heightForWidth(375), withHeader)
            << "a sponsored post is marked in a header line";
        EXPECT_GT(IGFeedCardView::cardWithObject(post("ana", nullptr))->heightForWidth(375), 0);
        EXPECT_GT(IGFeedCardView::cardWithObject(owned)->heightForWidth(390), withHeader)
            << "the photo grows with the width";
        owned->setMediaCoord(nullptr);
        EXPECT_EQ(ownedCard->heightForWidth(375), without) << "the card asks its post each time";
    }()));
}

// Scrolls a screen at a time; checks that each card in view shows its own
// object where the feed places it, and that cards are reused.
TEST(FeedView, HasCardsOnlyForWhatIsInViewAndReusesThemAsItScrolls) {
    EXPECT_IN_CHILD(([] {
        registerHostClasses();
        std::string json = R"({"items": [{"kind": "stories", "accounts": ["ana"]})";
        for (int i = 1; i < 1000; ++i)
            json +=
                R"(, {"kind": "post", "owner": "u)" + std::to_string(i) + R"(", "caption": "c"})";
        Ref<NSArray> feed = *parseFeed(json + "]}", "test");
        Ref<IGFeedView> view = IGFeedView::feedWithFrame(CGRectMake(0, 0, 375, 600));
        view->setObjects(feed);
        view->layoutIfNeeded();
        CGFloat post = IGFeedCardView::heightForObject(feed->objectAtIndex(1), 375);
        const CGFloat top = IGFeedView::kHeaderHeight + 108;
        EXPECT_EQ(view->contentSize(), CGSizeMake(375, top + 999 * post + 49)) << "tab bar room";
        EXPECT_EQ(view->rectForObjectAtIndex(1), CGRectMake(0, top, 375, post));
        EXPECT_EQ(view->rectForObjectAtIndex(1000), CGRectZero);
        for (CGFloat y = 0; y < view->contentSize().height; y += 600) {
            view->setContentOffset({0, y});
            view->layoutIfNeeded();
            EXPECT_LE(view->cardsInView() + view->cardsKept(), 4u) << "what fits on a screen";
            EXPECT_EQ(view->subviews()->objectAtIndex(view->subviews()->count() - 1),
                      view->tabBar())
                << "the tab bar over the cards";
            EXPECT_EQ(view->tabBar()->frame(), CGRectMake(0, y + 600 - 49, 375, 49));
            for (NSObject* child : *view->subviews())
                if (auto* card = as<IGFeedCardView>(child)) {
                    CGRect frame = card->frame();
                    EXPECT_EQ(frame,
                              view->rectForObjectAtIndex(feed->indexOfObject(card->object())));
                    EXPECT_TRUE(frame.origin.y < y + 600 && CGRectGetMaxY(frame) > y);
                }
        }
        EXPECT_LE(liveObjects<IGFeedCardView>(), 4);
        view->setContentOffset(view->clampedContentOffset({0, 1e9}));
        std::string text = send<Ref<NSString>>(view, "screenText"_sel)->utf8();
        EXPECT_TRUE(text.starts_with("999. Post by @u998\n")) << text;
        EXPECT_NE(text.find("(999 to 1000 of 1000;"), std::string::npos) << text;
        view->setObjects(nullptr);
        view->layoutIfNeeded();
        EXPECT_EQ(view->subviews()->count(), 1u) << "the tab bar stays";
        EXPECT_EQ(view->contentOffset(), CGPointMake(0, 0)) << "a new feed shows from its top";
    }()));
}

} // namespace
