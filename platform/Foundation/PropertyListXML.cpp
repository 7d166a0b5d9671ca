// The XML format. libxml2's pull reader tokenises (encodings, character
// references, CDATA, comments) with entity substitution and network access
// off; this unit gives the elements their meaning with an explicit stack, so
// depth is counted in real structure. The writer escapes what XML needs
// escaped and refuses what XML cannot carry exactly.
#include <array>
#include <bit>
#include <charconv>
#include <cmath>
#include <cstring>
#include <libxml/parserInternals.h>
#include <libxml/xmlreader.h>
#include <memory>
#include <mutex>
#include <vector>

#include "Foundation/NSArray.h"
#include "Foundation/NSData.h"
#include "Foundation/NSDate.h"
#include "Foundation/NSDictionary.h"
#include "Foundation/NSNumber.h"
#include "Foundation/NSString.h"
#include "Foundation/PropertyList.h"
#include "Foundation/PropertyListSupport.h"

namespace {

constexpr std::string_view kWhitespace = " \t\n\r";
constexpr char kBase64[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

std::string_view trimmed(std::string_view text) {
    std::size_t first = text.find_first_not_of(kWhitespace);
    if (first == std::string_view::npos) return {};
    return text.substr(first, text.find_last_not_of(kWhitespace) - first + 1);
}

// ---- Scalars from text ----

Ref<NSObject> integerFrom(std::string_view text) {
    text = trimmed(text);
    bool negative = text.starts_with('-');
    if (negative || text.starts_with('+')) text.remove_prefix(1);
    int base = !negative && (text.starts_with("0x") || text.starts_with("0X")) ? 16 : 10;
    if (base == 16) text.remove_prefix(2);
    unsigned long long value = 0;
    auto [end, code] = std::from_chars(text.data(), text.data() + text.size(), value, base);
    if (text.empty() || code != std::errc() || end != text.data() + text.size()) return nullptr;
    if (negative) {
        if (value > (1ull << 63)) return nullptr;
        return NSNumber::numberWithLongLong(static_cast<long long>(0 - value));
    }
    return NSNumber::numberWithUnsignedLongLong(value);
}

Ref<NSObject> realFrom(std::string_view text) {
    text = trimmed(text);
    if (text.starts_with('+') && text.size() > 1 && text[1] != '-') text.remove_prefix(1);
    double value = 0;
    auto [end, code] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || code != std::errc() || end != text.data() + text.size()) return nullptr;
    return NSNumber::numberWithDouble(value);
}

bool twoDigits(std::string_view text, std::size_t at, unsigned& out) {
    if (!std::isdigit(static_cast<unsigned char>(text[at])) ||
        !std::isdigit(static_cast<unsigned char>(text[at + 1])))
        return false;
    out = static_cast<unsigned>((text[at] - '0') * 10 + (text[at + 1] - '0'));
    return true;
}

// YYYY-MM-DDTHH:MM:SSZ, years 1 to 9999.
Ref<NSObject> dateFrom(std::string_view text) {
    text = trimmed(text);
    static constexpr std::string_view kShape = "0000-00-00T00:00:00Z";
    if (text.size() != kShape.size()) return nullptr;
    for (std::size_t i = 0; i < kShape.size(); ++i)
        if (kShape[i] != '0' && kShape[i] != text[i]) return nullptr;
    plist::Civil moment;
    unsigned century = 0, year = 0;
    if (!twoDigits(text, 0, century) || !twoDigits(text, 2, year) ||
        !twoDigits(text, 5, moment.month) || !twoDigits(text, 8, moment.day) ||
        !twoDigits(text, 11, moment.hour) || !twoDigits(text, 14, moment.minute) ||
        !twoDigits(text, 17, moment.second))
        return nullptr;
    moment.year = century * 100 + year;
    bool leap = moment.year % 4 == 0 && (moment.year % 100 != 0 || moment.year % 400 == 0);
    static constexpr unsigned kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (moment.year == 0 || moment.month < 1 || moment.month > 12 || moment.day < 1 ||
        moment.day > kDays[moment.month - 1] + (moment.month == 2 && leap) || moment.hour > 23 ||
        moment.minute > 59 || moment.second > 59)
        return nullptr;
    return NSDate::dateWithTimeIntervalSinceReferenceDate(plist::secondsFromCivil(moment));
}

// Base64 with whitespace anywhere and the padding in place.
Ref<NSObject> dataFrom(std::string_view text) {
    static const std::array<int, 256> kValues = [] {
        std::array<int, 256> values{};
        values.fill(-1);
        for (int i = 0; i < 64; ++i)
            values[static_cast<unsigned char>(kBase64[i])] = i;
        return values;
    }();
    std::string bytes;
    unsigned bits = 0, held = 0, symbols = 0, padding = 0;
    for (char c : text) {
        if (kWhitespace.find(c) != std::string_view::npos) continue;
        ++symbols;
        if (c == '=') {
            ++padding;
            continue;
        }
        int value = kValues[static_cast<unsigned char>(c)];
        if (value < 0 || padding) return nullptr;
        bits = (bits << 6) | static_cast<unsigned>(value);
        held += 6;
        if (held >= 8) {
            held -= 8;
            bytes += static_cast<char>(bits >> held);
        }
    }
    if (symbols % 4 != 0 || padding > 2) return nullptr;
    return NSData::data(bytes);
}

// ---- Reading ----

struct ReaderFree {
    void operator()(xmlTextReader* reader) const { xmlFreeTextReader(reader); }
};

class XMLReader {
  public:
    explicit XMLReader(std::string& error) : error_(error) {}

    Ref<NSObject> read(std::string_view bytes) {
        static std::once_flag once;
        std::call_once(once, [] {
            xmlInitParser();
            // Nesting is bounded here, in property-list levels.
            xmlParserMaxDepth = 4 * kPropertyListMaxDepth;
        });
        xmlSetGenericErrorFunc(nullptr, &XMLReader::quiet); // this thread's; errors come below
        std::unique_ptr<xmlTextReader, ReaderFree> reader(xmlReaderForMemory(
            bytes.data(), static_cast<int>(bytes.size()), nullptr, nullptr, XML_PARSE_NONET));
        if (!reader) return fail("the XML reader could not start");
        xmlTextReaderSetStructuredErrorHandler(reader.get(), &XMLReader::onError, this);
        int status = 0;
        while ((status = xmlTextReaderRead(reader.get())) == 1)
            if (!node(reader.get())) return nullptr;
        if (status < 0 && error_.empty()) fail("the XML is malformed");
        if (status < 0 || !error_.empty()) return nullptr;
        if (!root_) return fail("the XML holds no property-list value");
        return root_;
    }

  private:
    struct Container {
        bool dictionary = false;
        std::vector<Ref<NSObject>> items;
        NSDictionary::Storage entries;
        std::optional<std::string> key;
    };

    static void quiet(void*, const char*, ...) {}

    static void onError(void* self, xmlError* error) {
        auto* reader = static_cast<XMLReader*>(self);
        if (reader->error_.empty() && error && error->level >= XML_ERR_ERROR)
            reader->error_ = "the XML is malformed at line " + std::to_string(error->line) + ": " +
                             std::string(trimmed(error->message ? error->message : "?"));
    }

    std::nullptr_t fail(const std::string& message) {
        if (error_.empty()) error_ = message;
        return nullptr;
    }

    bool node(xmlTextReader* reader) {
        switch (xmlTextReaderNodeType(reader)) {
        case XML_READER_TYPE_ELEMENT:
            return start(reinterpret_cast<const char*>(xmlTextReaderConstName(reader)),
                         xmlTextReaderIsEmptyElement(reader) == 1);
        case XML_READER_TYPE_END_ELEMENT:
            return end();
        case XML_READER_TYPE_TEXT:
        case XML_READER_TYPE_CDATA:
        case XML_READER_TYPE_WHITESPACE:
        case XML_READER_TYPE_SIGNIFICANT_WHITESPACE:
            return characters(reinterpret_cast<const char*>(xmlTextReaderConstValue(reader)));
        case XML_READER_TYPE_ENTITY_REFERENCE:
        case XML_READER_TYPE_ENTITY:
            return fail("the XML refers to an entity"), false;
        default: // comments, processing instructions, the document type
            return true;
        }
    }

    bool characters(const char* text) {
        std::string_view value = text ? text : "";
        if (scalar_) {
            text_ += value;
            return true;
        }
        if (trimmed(value).empty()) return true;
        return fail("the XML holds text outside a value"), false;
    }

    bool start(std::string_view name, bool empty) {
        if (scalar_) return fail("the XML holds an element inside <" + *scalar_ + ">"), false;
        if (name == "plist") {
            if (plistSeen_ || root_ || !stack_.empty()) return fail("<plist> is misplaced"), false;
            plistSeen_ = !empty;
            return true;
        }
        if (name == "array" || name == "dict") {
            if (empty) return deliver(container(name == "dict", {}));
            if (stack_.size() >= static_cast<std::size_t>(kPropertyListMaxDepth))
                return fail("the property list is nested deeper than " +
                            std::to_string(kPropertyListMaxDepth) + " levels"),
                       false;
            stack_.push_back({name == "dict", {}, {}, {}});
            return true;
        }
        static constexpr std::string_view kScalars[] = {"key",  "string", "integer", "real",
                                                        "date", "data",   "true",    "false"};
        if (std::find(std::begin(kScalars), std::end(kScalars), name) == std::end(kScalars))
            return fail("the XML holds an unknown element <" + std::string(name) + ">"), false;
        scalar_ = std::string(name);
        text_.clear();
        return empty ? end() : true;
    }

    Ref<NSObject> container(bool dictionary, Container contents) {
        if (dictionary)
            return make<NSDictionary>(&NSDictionary::initWithStorage, std::move(contents.entries));
        std::vector<NSObject*> items;
        items.reserve(contents.items.size());
        for (const auto& item : contents.items)
            items.push_back(item);
        return NSArray::arrayWithObjects(items.data(), items.size());
    }

    Ref<NSObject> scalarValue(const std::string& name) {
        if (name == "string") return NSString::string(text_);
        if (name == "integer") return integerFrom(text_);
        if (name == "real") return realFrom(text_);
        if (name == "date") return dateFrom(text_);
        if (name == "data") return dataFrom(text_);
        if (!trimmed(text_).empty()) return nullptr;
        return NSNumber::numberWithBool(name == "true");
    }

    bool end() {
        if (scalar_) {
            std::string name = std::move(*scalar_);
            scalar_.reset();
            if (name == "key") return key();
            Ref<NSObject> value = scalarValue(name);
            if (!value) return fail("the XML holds a malformed <" + name + ">"), false;
            return deliver(value);
        }
        if (stack_.empty()) return true; // </plist>
        Container top = std::move(stack_.back());
        stack_.pop_back();
        if (top.key) return fail("a dictionary key has no value"), false;
        return deliver(container(top.dictionary, std::move(top)));
    }

    bool key() {
        if (stack_.empty() || !stack_.back().dictionary || stack_.back().key)
            return fail("a <key> is misplaced"), false;
        stack_.back().key = std::move(text_);
        return true;
    }

    bool deliver(Ref<NSObject> value) {
        if (stack_.empty()) {
            if (root_) return fail("the XML holds more than one value"), false;
            root_ = std::move(value);
            return true;
        }
        Container& top = stack_.back();
        if (!top.dictionary) {
            top.items.push_back(std::move(value));
            return true;
        }
        if (!top.key) return fail("a dictionary value has no key"), false;
        if (!top.entries.emplace(std::move(*top.key), std::move(value)).second)
            return fail("a dictionary repeats a key"), false;
        top.key.reset();
        return true;
    }

    std::string& error_;
    std::vector<Container> stack_;
    std::optional<std::string> scalar_;
    std::string text_;
    Ref<NSObject> root_;
    bool plistSeen_ = false;
};

// ---- Writing ----

enum class TextFit { Fits, NotInXML, Malformed };

// Escapes text for element content; XML holds no other control characters,
// and not U+FFFE or U+FFFF.
TextFit escapeText(std::string_view text, std::string& out) {
    for (std::size_t at = 0; at < text.size();) {
        auto byte = static_cast<unsigned char>(text[at]);
        if (byte >= 0x80) {
            plist::Scalar scalar = plist::decodeUTF8(text, at);
            if (!scalar.length) return TextFit::Malformed;
            if (scalar.code == 0xFFFE || scalar.code == 0xFFFF) return TextFit::NotInXML;
            out.append(text.substr(at, scalar.length));
            at += scalar.length;
            continue;
        }
        ++at;
        if (byte == '&')
            out += "&amp;";
        else if (byte == '<')
            out += "&lt;";
        else if (byte == '>')
            out += "&gt;";
        else if (byte == '\r')
            out += "&#13;";
        else if (byte < 0x20 && byte != '\t' && byte != '\n')
            return TextFit::NotInXML;
        else
            out += static_cast<char>(byte);
    }
    return TextFit::Fits;
}

std::string base64(std::string_view bytes) {
    std::string out;
    for (std::size_t at = 0; at < bytes.size(); at += 3) {
        std::size_t take = std::min<std::size_t>(3, bytes.size() - at);
        std::uint32_t group = 0;
        for (std::size_t k = 0; k < 3; ++k)
            group = (group << 8) | (k < take ? static_cast<unsigned char>(bytes[at + k]) : 0);
        for (std::size_t k = 0; k < 4; ++k)
            out += k <= take ? kBase64[(group >> (18 - 6 * k)) & 0x3F] : '=';
    }
    return out;
}

// Text XML reads back as exactly this real, or nothing.
std::optional<std::string> realText(double value) {
    if (std::isinf(value)) return value > 0 ? "+infinity" : "-infinity";
    if (std::isnan(value)) {
        std::uint64_t bits = std::bit_cast<std::uint64_t>(value) & ~(1ull << 63);
        if (bits != 0x7FF8000000000000ull) return std::nullopt;
        return std::signbit(value) ? "-nan" : "nan";
    }
    char buffer[32];
    auto [end, code] = std::to_chars(buffer, buffer + sizeof buffer, value);
    return std::string(buffer, end);
}

class XMLWriter {
  public:
    XMLWriter(std::string& error, WriteRefusal& refusal) : error_(error), refusal_(refusal) {}

    std::optional<std::string> write(objc_object* root) {
        out_ = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<!DOCTYPE plist PUBLIC \"-//Apple//DTD "
               "PLIST 1.0//EN\" \"http://www.apple.com/DTDs/PropertyList-1.0.dtd\">\n<plist "
               "version=\"1.0\">\n";
        if (!value(root, 0)) return std::nullopt;
        out_ += "</plist>\n";
        return std::move(out_);
    }

  private:
    bool fail(WriteRefusal kind, std::string message) {
        refusal_ = kind;
        error_ = std::move(message);
        return false;
    }

    void line(int depth, std::string_view text) {
        out_.append(static_cast<std::size_t>(depth), '\t');
        out_ += text;
        out_ += '\n';
    }

    bool element(int depth, std::string_view tag, std::string_view text, bool escape) {
        out_.append(static_cast<std::size_t>(depth), '\t');
        out_.append("<").append(tag).append(">");
        if (!escape) {
            out_ += text;
        } else if (TextFit fit = escapeText(text, out_); fit != TextFit::Fits) {
            return fit == TextFit::Malformed
                       ? fail(WriteRefusal::NotPropertyList, "text that is no well-formed UTF-8 "
                                                             "cannot be stored in a property list")
                       : fail(WriteRefusal::FormatLimit,
                              "XML cannot carry a control character, U+FFFE or U+FFFF");
        }
        out_.append("</").append(tag).append(">\n");
        return true;
    }

    bool number(const NSNumber* number, int depth) {
        switch (number->kind()) {
        case NSNumber::Kind::Bool:
            line(depth, number->boolValue() ? "<true/>" : "<false/>");
            return true;
        case NSNumber::Kind::Integer:
            return element(depth, "integer", std::to_string(number->longLongValue()), false);
        case NSNumber::Kind::Unsigned:
            return element(depth, "integer", std::to_string(number->unsignedLongLongValue()),
                           false);
        default:
            break;
        }
        std::optional<std::string> text = realText(number->doubleValue());
        if (!text) return fail(WriteRefusal::FormatLimit, "XML cannot carry a NaN with a payload");
        return element(depth, "real", *text, false);
    }

    bool date(const NSDate* date, int depth) {
        Result<plist::Civil> moment =
            plist::civilFromSeconds(date->timeIntervalSinceReferenceDate());
        if (!moment)
            return fail(WriteRefusal::FormatLimit,
                        "XML carries only whole-second dates of the years 1 to 9999");
        char text[32];
        std::snprintf(text, sizeof text, "%04lld-%02u-%02uT%02u:%02u:%02uZ", moment->year,
                      moment->month, moment->day, moment->hour, moment->minute, moment->second);
        return element(depth, "date", text, false);
    }

    bool container(objc_object* object, plist::Kind kind, int depth) {
        bool dictionary = kind == plist::Kind::Dictionary;
        bool empty = dictionary ? static_cast<NSDictionary*>(object)->count() == 0
                                : static_cast<NSArray*>(object)->count() == 0;
        if (empty) {
            line(depth, dictionary ? "<dict/>" : "<array/>");
            return true;
        }
        line(depth, dictionary ? "<dict>" : "<array>");
        if (dictionary) {
            for (const auto& [key, item] : static_cast<NSDictionary*>(object)->entries())
                if (!element(depth + 1, "key", key, true) || !value(item, depth + 1)) return false;
        } else {
            for (NSObject* item : *static_cast<NSArray*>(object))
                if (!value(item, depth + 1)) return false;
        }
        line(depth, dictionary ? "</dict>" : "</array>");
        return true;
    }

    bool scalar(objc_object* object, plist::Kind kind, int depth) {
        switch (kind) {
        case plist::Kind::String:
            return element(depth, "string", static_cast<NSString*>(object)->utf8(), true);
        case plist::Kind::Number:
            return number(static_cast<NSNumber*>(object), depth);
        case plist::Kind::Data:
            return element(depth, "data", base64(static_cast<NSData*>(object)->view()), false);
        case plist::Kind::Date:
            return date(static_cast<NSDate*>(object), depth);
        case plist::Kind::UID:
            return fail(WriteRefusal::FormatLimit, "XML cannot carry a UID");
        default:
            return fail(WriteRefusal::NotPropertyList,
                        std::string("a ") + (object ? object_getClassName(object) : "nil") +
                            " is not a property-list object (use strings, numbers, data, dates, "
                            "arrays or dictionaries)");
        }
    }

    // Writes a value at `level`: the number of containers around it.
    bool value(objc_object* object, int level) {
        if (++values_ > kPropertyListMaxValues)
            return fail(WriteRefusal::NotPropertyList,
                        "the value expands to more than a million values");
        plist::Kind kind = plist::kindOf(object);
        bool isContainer = kind == plist::Kind::Array || kind == plist::Kind::Dictionary;
        if (isContainer && level >= kPropertyListMaxDepth)
            return fail(WriteRefusal::NotPropertyList, "the value is nested deeper than " +
                                                           std::to_string(kPropertyListMaxDepth) +
                                                           " levels");
        bool written = isContainer ? container(object, kind, level) : scalar(object, kind, level);
        if (written && out_.size() > kPropertyListMaxBytes)
            return fail(WriteRefusal::FormatLimit, "the XML would be larger than " +
                                                       std::to_string(kPropertyListMaxBytes) +
                                                       " bytes");
        return written;
    }

    std::string& error_;
    WriteRefusal& refusal_;
    std::string out_;
    std::size_t values_ = 0;
};

} // namespace

Result<Ref<NSObject>> readXMLPropertyList(std::string_view bytes) {
    if (bytes.size() > kPropertyListMaxBytes) return Problem{plist::tooLarge()};
    std::string error;
    return plist::answer(XMLReader(error).read(bytes), error);
}

Result<std::string> xmlPropertyList(objc_object* root, WriteRefusal* refusal) {
    WriteRefusal ignored;
    std::string error;
    return plist::answer(XMLWriter(error, refusal ? *refusal : ignored).write(root), error);
}
