#include <gtest/gtest.h>

#include "Foundation/NSObjCRuntime.h"
#include "Foundation/NSString.h"
#include "objc/ClassBuilder.h"

namespace {

struct RegisteredLater : NSObject {
    OBJC_CLASS(RegisteredLater, NSObject)
};

} // namespace

const ClassInfo& RegisteredLater::objcClassInfo() {
    static const ClassInfo info = ClassBuilder<RegisteredLater>().build();
    return info;
}

TEST(ClassFromString, AnswersNilForNoNameAndFindsClassesRegisteredLater) {
    EXPECT_EQ(NSClassFromString(nullptr), Nil);
    EXPECT_EQ(NSClassFromString("RegisteredLater"_ns), Nil);
    Class later = RegisteredLater::objcClass();
    EXPECT_EQ(NSClassFromString("RegisteredLater"_ns), later);
    EXPECT_EQ(NSClassFromString(NSString::string("RegisteredLater")), later);
}

TEST(ClassFromString, TellsClassesApartWhenNamesAlternate) {
    Class string = NSString::objcClass();
    Class object = NSObject::objcClass();
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(NSClassFromString("NSString"_ns), string);
        EXPECT_EQ(NSClassFromString("NSObject"_ns), object);
        EXPECT_EQ(NSClassFromString("NSStringX"_ns), Nil);
    }
}
