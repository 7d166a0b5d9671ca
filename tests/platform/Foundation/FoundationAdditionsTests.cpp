#include <gtest/gtest.h>

#include "Foundation/NSArray.h"
#include "Foundation/NSException.h"
#include "Foundation/NSIndexPath.h"
#include "Foundation/NSObjCRuntime.h"
#include "Foundation/NSURL.h"
#include "ObjectModel/ClassBuilder.h"

namespace {

struct RegisteredLater : NSObject {
    OBJC_CLASS(RegisteredLater, NSObject)
};

} // namespace

OBJC_IMPLEMENT_CLASS(RegisteredLater) // registered at its first use, not at load

TEST(NSURL, KeepsTheTextOfAValidURLAndAnswersNilForTextThatIsNone) {
    for (const char* bad :
         {"", "no scheme here", "example.com/path", "https://exa mple.com", "1http://x",
          "ht tp://x", "https://x/%zz", "https://x/%4", "https://\xC3\xA9t\xC3\xA9.fr", ":nothing"})
        EXPECT_FALSE(NSURL::URLWithString(NSString::string(bad))) << bad;
    EXPECT_FALSE(NSURL::URLWithString(nullptr));
    for (const char* good : {"https://example.com/a?b=1%20c#top", "mailto:someone@example.com"}) {
        Ref<NSURL> url = NSURL::URLWithString(NSString::string(good));
        ASSERT_TRUE(url) << good;
        EXPECT_EQ(url->absoluteString()->utf8(), good);
        EXPECT_TRUE(objectsEqual(url, NSURL::URLWithString(NSString::string(good))));
        EXPECT_FALSE(objectsEqual(url, NSURL::URLWithString("https://example.com/"_ns)));
    }
    EXPECT_EQ(NSURL::URLWithString("mailto:x"_ns)->scheme()->utf8(), "mailto");
}

TEST(NSIndexPath, ComparesBySectionAndRow) {
    Ref<NSIndexPath> path = NSIndexPath::indexPathForRow(3, 1);
    EXPECT_TRUE(objectsEqual(path, NSIndexPath::indexPathForRow(3, 1)));
    EXPECT_FALSE(objectsEqual(path, NSIndexPath::indexPathForRow(1, 3)));
    EXPECT_FALSE(objectsEqual(path, "3"_ns));
    EXPECT_EQ(path->hash(), NSIndexPath::indexPathForRow(3, 1)->hash());
}

TEST(ClassFromString, AnswersNilForNoNameAndFindsClassesRegisteredLater) {
    EXPECT_EQ(NSClassFromString(nullptr), Nil);
    EXPECT_EQ(NSClassFromString("RegisteredLater"_ns), Nil);
    for (int i = 0; i < 2; ++i) { // names alternate: no cached answer leaks across
        EXPECT_EQ(NSClassFromString(NSString::string("RegisteredLater")),
                  RegisteredLater::objcClass());
        EXPECT_EQ(NSClassFromString("NSString"_ns), NSString::objcClass());
        EXPECT_EQ(NSClassFromString("NSStringX"_ns), Nil);
    }
}

// The walk stops at the first step after a change, in the first or the last step.
TEST(FastEnumeration, AnArrayChangedWhileItIsWalkedRaisesAndStaysWhole) {
    Ref<NSMutableArray> array = NSMutableArray::array();
    for (const char* text : {"a", "b", "c"})
        array->addObject(NSString::string(text));
    Ref<NSString> expected = NSString::stringWithFormat(
        "*** Collection <NSMutableArray: %p> was mutated while being enumerated.", array.get());
    for (bool last : {false, true}) {
        std::string walked;
        try {
            for (NSObject* item : *array) {
                walked += static_cast<NSString*>(item)->utf8();
                if (!last || walked.size() == array->count()) array->addObject(item);
            }
            ADD_FAILURE() << "no exception";
        } catch (const NSException& exception) {
            EXPECT_EQ(exception.name(), "NSGenericException");
            EXPECT_EQ(exception.reason(), expected->utf8());
        }
        EXPECT_EQ(walked, last ? "abca" : "a");
    }
    EXPECT_EQ(array->count(), 5u);
}
