#include "Foundation/NSLog.h"

#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <unistd.h>

#include "Foundation/NSProcessInfo.h"
#include "Foundation/NSString.h"

namespace {

// One printf conversion: its flags, width and precision (stars replaced by
// their arguments), length modifier and conversion character.
struct Conversion {
    std::string directive = "%";
    std::string length;
    char type = 0;
};

void takeNumber(const char* format, std::size_t& at, va_list& args, std::string& directive) {
    if (format[at] == '*') {
        directive += std::to_string(va_arg(args, int));
        ++at;
        return;
    }
    while (std::isdigit(static_cast<unsigned char>(format[at])))
        directive += format[at++];
}

bool oneOf(char c, const char* set) {
    return c && std::strchr(set, c);
}

// Reads the conversion that starts after a '%'; answers where the text goes on.
std::size_t readConversion(const char* format, std::size_t at, va_list& args, Conversion& c) {
    while (oneOf(format[at], "-+ #0'"))
        c.directive += format[at++];
    takeNumber(format, at, args, c.directive);
    if (format[at] == '.') {
        std::size_t dot = c.directive.size();
        c.directive += format[at++];
        takeNumber(format, at, args, c.directive);
        if (c.directive.find('-', dot) != std::string::npos)
            c.directive.resize(dot); // negative: none
    }
    while (oneOf(format[at], "hlqLzjt"))
        c.length += format[at++];
    c.type = format[at];
    return format[at] ? at + 1 : at;
}

template <class T> std::string printed(const std::string& directive, T value) {
    int size = std::snprintf(nullptr, 0, directive.c_str(), value);
    std::string text(size > 0 ? size : 0, '\0');
    if (size > 0) std::snprintf(text.data(), text.size() + 1, directive.c_str(), value);
    return text;
}

bool isWide(const Conversion& c) {
    return c.length == "l" || c.length == "z" || c.length == "t";
}

bool isLongLong(const Conversion& c) {
    return c.length == "ll" || c.length == "q" || c.length == "j";
}

long long signedArgument(const Conversion& c, va_list& args) {
    if (isWide(c)) return va_arg(args, long);
    if (isLongLong(c)) return va_arg(args, long long);
    int value = va_arg(args, int);
    if (c.length == "hh") return static_cast<signed char>(value);
    if (c.length == "h") return static_cast<short>(value);
    return value;
}

unsigned long long unsignedArgument(const Conversion& c, va_list& args) {
    if (isWide(c)) return va_arg(args, unsigned long);
    if (isLongLong(c)) return va_arg(args, unsigned long long);
    unsigned value = va_arg(args, unsigned);
    if (c.length == "hh") return static_cast<unsigned char>(value);
    if (c.length == "h") return static_cast<unsigned short>(value);
    return value;
}

std::string realArgument(const Conversion& c, va_list& args) {
    if (c.length == "L") return printed(c.directive + "L" + c.type, va_arg(args, long double));
    return printed(c.directive + c.type, va_arg(args, double));
}

std::string converted(const Conversion& c, va_list& args) {
    switch (c.type) {
    case 'd':
    case 'i':
        return printed(c.directive + "ll" + c.type, signedArgument(c, args));
    case 'u':
    case 'o':
    case 'x':
    case 'X':
        return printed(c.directive + "ll" + c.type, unsignedArgument(c, args));
    case 'c':
        return printed(c.directive + 'c', va_arg(args, int));
    case 's': {
        const char* text = va_arg(args, const char*);
        return printed(c.directive + 's', text ? text : "(null)");
    }
    case 'p':
        return printed(c.directive + 'p', va_arg(args, void*));
    case '@':
        return printed(c.directive + 's', describe(va_arg(args, objc_object*))->UTF8String());
    case 'n': // writes nothing into the caller's memory
        va_arg(args, void*);
        return "";
    case '%':
        return "%";
    default:
        if (oneOf(c.type, "fFeEgGaA")) return realArgument(c, args);
        return c.directive + c.length + (c.type ? std::string(1, c.type) : "");
    }
}

std::string lineHead() {
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    tm local{};
    localtime_r(&now.tv_sec, &local);
    char stamp[32];
    std::strftime(stamp, sizeof stamp, "%Y-%m-%d %H:%M:%S", &local);
    NSProcessInfo* process = NSProcessInfo::processInfo();
    char head[96];
    std::snprintf(head, sizeof head, "%s.%03ld ", stamp, now.tv_nsec / 1000000);
    return head + process->processName()->utf8() + "[" +
           std::to_string(process->processIdentifier()) + ":" + std::to_string(gettid()) + "] ";
}

// One write for the whole line, so that lines of several threads don't mix.
void writeLine(const std::string& line) {
    std::size_t written = 0;
    while (written < line.size()) {
        ssize_t n = ::write(STDERR_FILENO, line.data() + written, line.size() - written);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return;
        written += static_cast<std::size_t>(n);
    }
}

} // namespace

std::string formatLogMessage(const char* format, va_list arguments) {
    va_list args;
    va_copy(args, arguments);
    std::string text;
    for (std::size_t at = 0; format[at];) {
        if (format[at] != '%') {
            text += format[at++];
            continue;
        }
        Conversion conversion;
        at = readConversion(format, at + 1, args, conversion);
        text += converted(conversion, args);
    }
    va_end(args);
    return text;
}

void NSLogv(NSString* format, va_list arguments) {
    std::string line =
        lineHead() + formatLogMessage(format ? format->UTF8String() : "(null)", arguments);
    if (line.back() != '\n') line += '\n';
    writeLine(line);
}

void NSLog(NSString* format, ...) {
    va_list arguments;
    va_start(arguments, format);
    NSLogv(format, arguments);
    va_end(arguments);
}
