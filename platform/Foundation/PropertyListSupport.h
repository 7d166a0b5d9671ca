// What the property-list readers and writers share: Unicode conversions,
// the calendar of XML dates, how a value is told apart by kind, and how
// their answers become results.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "Foundation/Result.h"
#include "ObjectModel/NSObject.h"

namespace plist {

// One decoded UTF-8 sequence; length 0 for malformed text (a bad or
// truncated sequence, an overlong form, a surrogate, past U+10FFFF).
struct Scalar {
    char32_t code = 0;
    unsigned length = 0;
};
Scalar decodeUTF8(std::string_view text, std::size_t at);
bool isUTF8(std::string_view text);
void appendUTF8(std::string& out, char32_t code);

// Big-endian UTF-16 to UTF-8; refused for an unpaired surrogate.
Result<std::string> utf16ToUTF8(const unsigned char* units, std::size_t count);
// Well-formed UTF-8 to UTF-16 code units.
std::u16string utf8ToUTF16(std::string_view text);

// A moment of the proleptic Gregorian calendar, in UTC.
struct Civil {
    long long year = 2001;
    unsigned month = 1, day = 1, hour = 0, minute = 0, second = 0;
};
// Seconds since 2001-01-01 00:00:00 UTC.
double secondsFromCivil(const Civil& moment);
// The moment of a whole number of seconds in the years 1 to 9999; refused
// for a fraction, a non-finite value or a year outside that range.
Result<Civil> civilFromSeconds(double seconds);

enum class Kind { String, Number, Data, Date, UID, Array, Dictionary, Other };
Kind kindOf(objc_object* object);

// Big-endian unsigned integer of `size` bytes (at most 8).
inline std::uint64_t bigEndian(const unsigned char* at, unsigned size) {
    std::uint64_t value = 0;
    for (unsigned i = 0; i < size; ++i)
        value = (value << 8) | at[i];
    return value;
}

std::string tooLarge();

// A reader's or a writer's answer: the value, or the problem it gave.
template <class T> Result<T> answer(T value, std::string& error) {
    if (value) return value;
    return Problem{std::move(error)};
}
template <class T> Result<T> answer(std::optional<T> value, std::string& error) {
    if (value) return std::move(*value);
    return Problem{std::move(error)};
}

} // namespace plist
