#include "Foundation/PropertyListSupport.h"

#include <cmath>

#include "Foundation/CFKeyedArchiverUID.h"
#include "Foundation/NSArray.h"
#include "Foundation/NSData.h"
#include "Foundation/NSDate.h"
#include "Foundation/NSDictionary.h"
#include "Foundation/NSNumber.h"
#include "Foundation/NSString.h"

namespace plist {

Scalar decodeUTF8(std::string_view text, std::size_t at) {
    auto byte = static_cast<unsigned char>(text[at]);
    unsigned length = byte < 0x80           ? 1
                      : (byte >> 5) == 0x6  ? 2
                      : (byte >> 4) == 0xE  ? 3
                      : (byte >> 3) == 0x1E ? 4
                                            : 0;
    if (!length || at + length > text.size()) return {};
    char32_t code = length == 1 ? byte : byte & (0x7F >> length);
    for (unsigned k = 1; k < length; ++k) {
        auto next = static_cast<unsigned char>(text[at + k]);
        if ((next & 0xC0) != 0x80) return {};
        code = (code << 6) | (next & 0x3F);
    }
    static constexpr char32_t kShortest[] = {0, 0, 0x80, 0x800, 0x10000};
    if (code < kShortest[length] || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))
        return {};
    return {code, length};
}

bool isUTF8(std::string_view text) {
    for (std::size_t at = 0; at < text.size();) {
        if (static_cast<unsigned char>(text[at]) < 0x80) {
            ++at;
            continue;
        }
        unsigned length = decodeUTF8(text, at).length;
        if (!length) return false;
        at += length;
    }
    return true;
}

void appendUTF8(std::string& out, char32_t code) {
    if (code < 0x80) {
        out += static_cast<char>(code);
        return;
    }
    int trailing = code < 0x800 ? 1 : code < 0x10000 ? 2 : 3;
    static constexpr unsigned char kLead[] = {0, 0xC0, 0xE0, 0xF0};
    out += static_cast<char>(kLead[trailing] | (code >> (6 * trailing)));
    for (int k = trailing - 1; k >= 0; --k)
        out += static_cast<char>(0x80 | ((code >> (6 * k)) & 0x3F));
}

Result<std::string> utf16ToUTF8(const unsigned char* units, std::size_t count) {
    const Problem unpaired{"an unpaired surrogate"};
    std::string out;
    out.reserve(count);
    for (std::size_t i = 0; i < count; ++i) {
        char32_t unit = static_cast<char32_t>(bigEndian(units + 2 * i, 2));
        if (unit >= 0xDC00 && unit <= 0xDFFF) return unpaired;
        if (unit >= 0xD800 && unit <= 0xDBFF) {
            char32_t low =
                i + 1 < count ? static_cast<char32_t>(bigEndian(units + 2 * i + 2, 2)) : 0;
            if (low < 0xDC00 || low > 0xDFFF) return unpaired;
            unit = 0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00);
            ++i;
        }
        appendUTF8(out, unit);
    }
    return out;
}

std::u16string utf8ToUTF16(std::string_view text) {
    std::u16string units;
    units.reserve(text.size());
    for (std::size_t at = 0; at < text.size();) {
        Scalar scalar = decodeUTF8(text, at);
        at += scalar.length ? scalar.length : 1;
        if (scalar.code < 0x10000) {
            units += static_cast<char16_t>(scalar.code);
        } else {
            units += static_cast<char16_t>(0xD800 + ((scalar.code - 0x10000) >> 10));
            units += static_cast<char16_t>(0xDC00 + ((scalar.code - 0x10000) & 0x3FF));
        }
    }
    return units;
}

namespace {

constexpr double kSecondsPerDay = 86400;

// Days since 1970-01-01 of a date of the proleptic Gregorian calendar.
long long daysFromCivil(long long year, unsigned month, unsigned day) {
    year -= month <= 2;
    long long era = (year >= 0 ? year : year - 399) / 400;
    auto yearOfEra = static_cast<unsigned>(year - era * 400);
    unsigned dayOfYear = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
    unsigned dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097 + static_cast<long long>(dayOfEra) - 719468;
}

const long long kReferenceDay = daysFromCivil(2001, 1, 1);

void civilFromDays(long long days, Civil& moment) {
    days += 719468;
    long long era = (days >= 0 ? days : days - 146096) / 146097;
    auto dayOfEra = static_cast<unsigned>(days - era * 146097);
    unsigned yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    unsigned dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    unsigned shifted = (5 * dayOfYear + 2) / 153;
    moment.day = dayOfYear - (153 * shifted + 2) / 5 + 1;
    moment.month = shifted < 10 ? shifted + 3 : shifted - 9;
    moment.year = static_cast<long long>(yearOfEra) + era * 400 + (moment.month <= 2);
}

} // namespace

double secondsFromCivil(const Civil& moment) {
    long long days = daysFromCivil(moment.year, moment.month, moment.day) - kReferenceDay;
    return static_cast<double>(days) * kSecondsPerDay + moment.hour * 3600.0 +
           moment.minute * 60.0 + moment.second;
}

Result<Civil> civilFromSeconds(double seconds) {
    static const double kFirst = secondsFromCivil({1, 1, 1});
    static const double kLast = secondsFromCivil({9999, 12, 31, 23, 59, 59});
    if (!(seconds >= kFirst && seconds <= kLast) || std::floor(seconds) != seconds)
        return Problem{"no whole second of the years 1 to 9999"};
    auto whole = static_cast<long long>(seconds);
    long long days = whole >= 0 ? whole / 86400 : -((-whole + 86399) / 86400);
    long long rest = whole - days * 86400;
    Civil moment;
    civilFromDays(days + kReferenceDay, moment);
    moment.hour = static_cast<unsigned>(rest / 3600);
    moment.minute = static_cast<unsigned>(rest / 60 % 60);
    moment.second = static_cast<unsigned>(rest % 60);
    return moment;
}

Kind kindOf(objc_object* object) {
    if (!object) return Kind::Other;
    if (as<NSString>(object)) return Kind::String;
    if (as<NSNumber>(object)) return Kind::Number;
    if (as<NSDictionary>(object)) return Kind::Dictionary;
    if (as<NSArray>(object)) return Kind::Array;
    if (as<NSData>(object)) return Kind::Data;
    if (as<NSDate>(object)) return Kind::Date;
    if (as<CFKeyedArchiverUID>(object)) return Kind::UID;
    return Kind::Other;
}

} // namespace plist
