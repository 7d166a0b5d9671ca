#include <gtest/gtest.h>

#include "Foundation/NSObjCRuntime.h"
#include "Foundation/NSString.h"
#include "ObjectModel/ClassBuilder.h"

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
    EXPECT_EQ(NSClassFromString(NSString::string("RegisteredLater")), later);
    for (int i = 0; i < 2; ++i) { // names alternate: no cached answer leaks across
        EXPECT_EQ(NSClassFromString("NSString"_ns), NSString::objcClass());
        EXPECT_EQ(NSClassFromString("NSObject"_ns), NSObject::objcClass());
        EXPECT_EQ(NSClassFromString("NSStringX"_ns), Nil);
    }
}
