#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "Foundation/NSArray.h"
#include "Foundation/NSException.h"
#include "Foundation/NSString.h"

TEST(FastEnumeration, AnArrayChangedWhileItIsWalkedRaisesAndStaysWhole) {
    Ref<NSMutableArray> array = NSMutableArray::array();
    for (const char* text : {"a", "b", "c"})
        array->addObject(NSString::string(text));
    std::string walked;
    for (NSObject* item : *array)
        walked += static_cast<NSString*>(item)->utf8();
    EXPECT_EQ(walked, "abc");

    char expected[128];
    std::snprintf(expected, sizeof expected,
                  "*** Collection <NSMutableArray: %p> was mutated while being enumerated.",
                  static_cast<void*>(array.get()));
    for (bool last : {false, true}) {
        walked.clear();
        try {
            for (NSObject* item : *array) {
                walked += static_cast<NSString*>(item)->utf8();
                bool lastStep = walked.size() == array->count();
                if (!last || lastStep) array->addObject(item); // in the first or the last step
            }
            ADD_FAILURE() << "no exception";
        } catch (const NSException& exception) {
            EXPECT_EQ(exception.name(), "NSGenericException");
            EXPECT_STREQ(exception.reason(), expected);
        }
        EXPECT_EQ(walked, last ? "abca" : "a"); // the walk stops at the first step after the change
    }
    EXPECT_EQ(array->count(), 5u);
}
