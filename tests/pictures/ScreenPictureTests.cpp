#include <cstring>

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

bool samePixels(cairo_surface_t* a, cairo_surface_t* b) {
    int height = cairo_image_surface_get_height(a);
    int stride = cairo_image_surface_get_stride(a);
    return height == cairo_image_surface_get_height(b) &&
           stride == cairo_image_surface_get_stride(b) &&
           std::memcmp(cairo_image_surface_get_data(a), cairo_image_surface_get_data(b),
                       static_cast<std::size_t>(height * stride)) == 0;
}

void theFeedDrawsTheSameEachTime() {
    PictureHost host(false);
    SurfacePtr first = host.picture();
    host.run({"settings", "feed"});
    SurfacePtr again = host.picture();
    ASSERT_TRUE(first && again);
    EXPECT_TRUE(samePixels(first.get(), again.get()));
}

TEST(ScreenPictures, TheFeedDrawsTheSameEachTime) {
    EXPECT_IN_CHILD(theFeedDrawsTheSameEachTime());
}

} // namespace
