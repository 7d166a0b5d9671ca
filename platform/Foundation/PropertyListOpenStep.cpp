// The old-style text format: { key = value; }, ( a, b ), "quoted" or bare
// strings, <hex data>, // and /* */ comments. Every value is text, data or a
// container. Recursion is bounded by the nesting limit.
#include <vector>

#include "Foundation/NSArray.h"
#include "Foundation/NSData.h"
#include "Foundation/NSDictionary.h"
#include "Foundation/NSString.h"
#include "Foundation/PropertyList.h"
#include "Foundation/PropertyListSupport.h"

namespace {

bool bare(char c) {
    return std::isalnum(static_cast<unsigned char>(c)) || c == '_' || c == '$' || c == '/' ||
           c == ':' || c == '.' || c == '-';
}

int hexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

class OpenStepReader {
  public:
    OpenStepReader(std::string_view text, std::string& error) : text_(text), error_(error) {}

    Ref<NSObject> read() {
        if (text_.starts_with("\xEF\xBB\xBF")) at_ = 3;
        if (!plist::isUTF8(text_)) return fail("is no well-formed UTF-8");
        Ref<NSObject> root = value(0);
        if (root && skip()) return fail("holds more than one value");
        return error_.empty() ? root : nullptr; // skip() may have found an unclosed comment
    }

  private:
    std::nullptr_t fail(const std::string& message) {
        if (error_.empty())
            error_ =
                "the old-style property list " + message + " (at byte " + std::to_string(at_) + ")";
        return nullptr;
    }

    // Skips whitespace and comments; answers whether text remains.
    bool skip() {
        while (at_ < text_.size()) {
            std::string_view rest = text_.substr(at_);
            if (std::isspace(static_cast<unsigned char>(rest[0]))) {
                ++at_;
            } else if (rest.starts_with("//")) {
                std::size_t end = rest.find('\n');
                at_ = end == std::string_view::npos ? text_.size() : at_ + end + 1;
            } else if (rest.starts_with("/*")) {
                std::size_t end = rest.find("*/", 2);
                if (end == std::string_view::npos) return fail("has an unclosed comment"), false;
                at_ += end + 2;
            } else {
                return true;
            }
        }
        return false;
    }

    bool expect(char c) {
        if (skip() && text_[at_] == c) {
            ++at_;
            return true;
        }
        return fail(std::string("lacks '") + c + "'"), false;
    }

    Ref<NSObject> value(int depth) {
        if (!skip()) return fail("ends where a value should be");
        char c = text_[at_];
        if ((c == '{' || c == '(') && depth >= kPropertyListMaxDepth)
            return fail("is nested too deeply");
        if (c == '{') return dictionary(depth);
        if (c == '(') return array(depth);
        if (c == '<') return data();
        std::string out;
        if (!string(out)) return nullptr;
        return NSString::string(out);
    }

    Ref<NSObject> dictionary(int depth) {
        ++at_;
        NSDictionary::Storage entries;
        std::string key;
        while (skip() && text_[at_] != '}') {
            if (!string(key) || !expect('=')) return nullptr;
            Ref<NSObject> item = value(depth + 1);
            if (!item || !expect(';')) return nullptr;
            if (!entries.emplace(std::move(key), std::move(item)).second)
                return fail("repeats a key");
        }
        if (!expect('}')) return nullptr;
        return make<NSDictionary>(&NSDictionary::initWithStorage, std::move(entries));
    }

    Ref<NSObject> array(int depth) {
        ++at_;
        std::vector<Ref<NSObject>> items;
        while (skip() && text_[at_] != ')') {
            items.push_back(value(depth + 1));
            if (!items.back()) return nullptr;
            if (!skip() || text_[at_] != ',') break;
            ++at_;
        }
        if (!expect(')')) return nullptr;
        std::vector<NSObject*> raw(items.begin(), items.end());
        return NSArray::arrayWithObjects(raw.data(), raw.size());
    }

    Ref<NSObject> data() {
        ++at_;
        std::string bytes;
        int high = -1;
        for (; skip() && text_[at_] != '>'; ++at_) {
            int nibble = hexValue(text_[at_]);
            if (nibble < 0) return fail("holds a non-hex digit in data");
            if (high < 0) {
                high = nibble;
            } else {
                bytes += static_cast<char>(high << 4 | nibble);
                high = -1;
            }
        }
        if (high >= 0) return fail("holds data with an odd number of digits");
        if (!expect('>')) return nullptr;
        return NSData::data(bytes);
    }

    bool string(std::string& out) {
        out.clear();
        if (!skip()) return fail("ends where a string should be"), false;
        char quote = text_[at_];
        if (quote != '"' && quote != '\'') {
            std::size_t start = at_;
            while (at_ < text_.size() && bare(text_[at_]))
                ++at_;
            if (at_ == start) return fail("holds an unexpected character"), false;
            out.assign(text_.substr(start, at_ - start));
            return true;
        }
        for (++at_; at_ < text_.size() && text_[at_] != quote;)
            if (text_[at_] != '\\')
                out += text_[at_++];
            else if (!escape(out))
                return false;
        if (at_ >= text_.size()) return fail("has an unclosed string"), false;
        ++at_;
        return true;
    }

    // Reads up to `most` digits of `base`; answers how many.
    int digits(int base, int most, char32_t& value) {
        int count = 0;
        for (value = 0; count < most && at_ < text_.size(); ++count, ++at_) {
            int digit = base == 8 ? (text_[at_] >= '0' && text_[at_] <= '7' ? text_[at_] - '0' : -1)
                                  : hexValue(text_[at_]);
            if (digit < 0) break;
            value = value * static_cast<char32_t>(base) + static_cast<char32_t>(digit);
        }
        return count;
    }

    bool unicodeEscape(std::string& out) {
        char32_t unit = 0, low = 0;
        if (!digits(16, 4, unit)) return fail("has \\U without hex digits"), false;
        if (unit >= 0xDC00 && unit <= 0xDFFF) return fail("has an unpaired surrogate"), false;
        if (unit >= 0xD800 && unit <= 0xDBFF) {
            if (!text_.substr(at_).starts_with("\\U"))
                return fail("has an unpaired surrogate"), false;
            at_ += 2;
            if (!digits(16, 4, low) || low < 0xDC00 || low > 0xDFFF)
                return fail("has an unpaired surrogate"), false;
            unit = 0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00);
        }
        plist::appendUTF8(out, unit);
        return true;
    }

    bool escape(std::string& out) {
        if (++at_ >= text_.size()) return fail("has an unclosed string"), false;
        char c = text_[at_];
        static constexpr std::string_view kFrom = "abfnrtv", kTo = "\a\b\f\n\r\t\v";
        if (std::size_t known = kFrom.find(c); known != std::string_view::npos) {
            out += kTo[known];
            ++at_;
            return true;
        }
        if (c == 'U') {
            ++at_;
            return unicodeEscape(out);
        }
        char32_t code = 0;
        if (digits(8, 3, code)) {
            if (code >= 0x80) return fail("has an octal escape outside ASCII"), false;
            out += static_cast<char>(code);
            return true;
        }
        plist::Scalar scalar =
            plist::decodeUTF8(text_, at_); // any other character stands for itself
        out.append(text_.substr(at_, scalar.length));
        at_ += scalar.length;
        return true;
    }

    std::string_view text_;
    std::string& error_;
    std::size_t at_ = 0;
};

} // namespace

Result<Ref<NSObject>> readOpenStepPropertyList(std::string_view bytes) {
    if (bytes.size() > kPropertyListMaxBytes) return Problem{plist::tooLarge()};
    std::string error;
    return plist::answer(OpenStepReader(bytes, error).read(), error);
}
