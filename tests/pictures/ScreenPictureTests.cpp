#include "PictureHost.h"

namespace {

void screensWithTheLibrary() {
    PictureHost host(true);
    host.run({"feed"});
    EXPECT_TRUE(host.looksLike("feed-with-library"));
    host.run({"settings"});
    EXPECT_TRUE(host.looksLike("account-settings"));
    EXPECT_NE(host.run({"tap right"}).find("Velin Mode  [off]"), std::string::npos);
    EXPECT_TRUE(host.looksLike("tavelin-off"));
    EXPECT_NE(host.run({"flip \"Velin Mode\""}).find("Velin Mode  [on]"), std::string::npos);
    EXPECT_TRUE(host.looksLike("tavelin-on"));
    EXPECT_EQ(host.run({"feed"}).find("Post by"), std::string::npos);
    EXPECT_TRUE(host.looksLike("feed-velin-on"));
}

TEST(ScreenPictures, WithTheLibraryEachScreenMatchesItsReference) {
    EXPECT_IN_CHILD(screensWithTheLibrary());
}

void screensWithoutTheLibrary() {
    PictureHost host(false);
    EXPECT_NE(host.run({"feed"}).find("[Sponsored] Post by @northwind.coffee"), std::string::npos);
    EXPECT_TRUE(host.looksLike("feed-without-library"));
    host.run({"settings"});
    EXPECT_TRUE(host.looksLike("account-settings-without-library"));
}

TEST(ScreenPictures, WithoutTheLibraryTheFeedShowsSponsoredItems) {
    EXPECT_IN_CHILD(screensWithoutTheLibrary());
}

void theFeedDrawsTheSameEachTime() {
    PictureHost host(false);
    SurfacePtr first = host.picture();
    host.run({"settings", "feed"});
    SurfacePtr again = host.picture();
    ASSERT_TRUE(first && again);
    EXPECT_TRUE(snapshot::samePixels(first.get(), again.get()));
}

TEST(ScreenPictures, TheFeedDrawsTheSameEachTime) {
    EXPECT_IN_CHILD(theFeedDrawsTheSameEachTime());
}

} // namespace
