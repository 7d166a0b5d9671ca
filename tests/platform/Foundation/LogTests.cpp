#include <gtest/gtest.h>

#include <regex>
#include <unistd.h>

#include "Foundation/NSLog.h"
#include "Foundation/NSProcessInfo.h"
#include "Foundation/NSString.h"

namespace {

std::string format(const char* text, ...) {
    va_list arguments;
    va_start(arguments, text);
    std::string message = formatLogMessage(text, arguments);
    va_end(arguments);
    return message;
}

TEST(NSLog, FormatsAsPrintfWithObjects) {
    EXPECT_EQ(format("%@ and %@ (%5@)", "Velin"_ns, static_cast<NSString*>(nullptr), "ab"_ns),
              "Velin and (null) (   ab)");
    EXPECT_EQ(format("%d|%05.2f|%-4s|%x|%lu|%lld|%c|%%", -7, 3.14159, "ab", 255u, 12ul,
                     -9000000000ll, 'z'),
              "-7|03.14|ab  |ff|12|-9000000000|z|%");
    EXPECT_EQ(format("%*d|%.*s|%hhd|%hu|%Lg", 4, 7, 2, "abc", 300, 65537, 2.5L),
              "   7|ab|44|1|2.5");
    EXPECT_EQ(format("%s %y %", static_cast<const char*>(nullptr)), "(null) %y %");
}

TEST(NSLog, WritesOneLineWithTimeProcessAndThread) {
    NSProcessInfo* process = NSProcessInfo::processInfo();
    EXPECT_EQ(process->processName()->utf8(), program_invocation_short_name);
    process->setProcessName("Instagram"_ns);
    process->setProcessName(nullptr);
    testing::internal::CaptureStderr();
    NSLog("%@ posts: %d"_ns, "Velin"_ns, 3);
    NSLog("ends with a line feed\n"_ns);
    std::string text = testing::internal::GetCapturedStderr();
    const std::string head = R"(\d{4}-\d\d-\d\d \d\d:\d\d:\d\d\.\d{3} Instagram\[)" +
                             std::to_string(getpid()) + R"(:\d+\] )";
    EXPECT_TRUE(std::regex_match(
        text, std::regex(head + "Velin posts: 3\n" + head + "ends with a line feed\n")))
        << text;
}

} // namespace
