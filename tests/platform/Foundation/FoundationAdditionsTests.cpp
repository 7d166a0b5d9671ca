#include <gtest/gtest.h>

#include "Foundation/NSArray.h"
#include "Foundation/NSIndexPath.h"
#include "Foundation/NSURL.h"

TEST(NSURL, AnswersNilForTextThatIsNoURL) {
    const char* bad[] = {"",
                         "no scheme here",
                         "example.com/path",
                         "https://exa mple.com",
                         "1http://x",
                         "ht tp://x",
                         "https://x/%zz",
                         "https://x/%4",
                         "https://\xC3\xA9t\xC3\xA9.fr",
                         ":nothing"};
    for (const char* text : bad)
        EXPECT_FALSE(NSURL::URLWithString(NSString::string(text))) << text;
    EXPECT_FALSE(NSURL::URLWithString(nullptr));
}

TEST(NSURL, KeepsTheTextOfAValidURL) {
    Ref<NSURL> url = NSURL::URLWithString("https://example.com/a?b=1%20c#top"_ns);
    ASSERT_TRUE(url);
    EXPECT_EQ(url->absoluteString()->utf8(), "https://example.com/a?b=1%20c#top");
    EXPECT_EQ(url->scheme()->utf8(), "https");
    EXPECT_TRUE(NSURL::URLWithString("mailto:someone@example.com"_ns));
    EXPECT_TRUE(objectsEqual(url, NSURL::URLWithString("https://example.com/a?b=1%20c#top"_ns)));
    EXPECT_FALSE(objectsEqual(url, NSURL::URLWithString("https://example.com/"_ns)));
}

TEST(NSIndexPath, ComparesBySectionAndRow) {
    Ref<NSIndexPath> path = NSIndexPath::indexPathForRow(3, 1);
    EXPECT_TRUE(objectsEqual(path, NSIndexPath::indexPathForRow(3, 1)));
    EXPECT_FALSE(objectsEqual(path, NSIndexPath::indexPathForRow(1, 3)));
    EXPECT_FALSE(objectsEqual(path, "3"_ns));
    EXPECT_EQ(path->hash(), NSIndexPath::indexPathForRow(3, 1)->hash());
}
