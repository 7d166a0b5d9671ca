// The binary format ("bplist00"): objects, an offset table and a trailer.
// Both directions walk the object graph with an explicit stack or with
// recursion bounded by the nesting limit; shared objects are read once.
#include <bit>
#include <cstring>
#include <unordered_map>
#include <vector>

#include "Foundation/CFKeyedArchiverUID.h"
#include "Foundation/NSArray.h"
#include "Foundation/NSData.h"
#include "Foundation/NSDate.h"
#include "Foundation/NSDictionary.h"
#include "Foundation/NSNumber.h"
#include "Foundation/NSString.h"
#include "Foundation/PropertyList.h"
#include "Foundation/PropertyListSupport.h"

namespace {

using plist::bigEndian;

constexpr std::string_view kMagic = "bplist00";
constexpr std::size_t kTrailer = 32;

enum Marker : unsigned {
    kSimple = 0x0,
    kInteger = 0x1,
    kReal = 0x2,
    kDate = 0x3,
    kData = 0x4,
    kASCII = 0x5,
    kUTF16 = 0x6,
    kUID = 0x8,
    kArray = 0xA,
    kDictionary = 0xD,
};

double realFrom(const unsigned char* at, unsigned size) {
    if (size == 4) return std::bit_cast<float>(static_cast<std::uint32_t>(bigEndian(at, 4)));
    return std::bit_cast<double>(bigEndian(at, 8));
}

// ---- Reading ----

class BinaryReader {
  public:
    BinaryReader(std::string_view bytes, std::string& error)
        : data_(reinterpret_cast<const unsigned char*>(bytes.data())), size_(bytes.size()),
          error_(error) {}

    Ref<NSObject> read() {
        if (!readTrailer()) return nullptr;
        state_.assign(count_, 0);
        sizes_.assign(count_, 0);
        built_.resize(count_);
        return build() ? built_[top_] : nullptr;
    }

  private:
    // An object's marker, its count and where its payload starts.
    struct Object {
        unsigned marker = 0, low = 0;
        std::uint64_t count = 0, start = 0;
        std::uint64_t refs() const { return marker == kDictionary ? 2 * count : count; }
    };
    struct Frame {
        std::uint64_t index;
        Object object;
        std::uint64_t next = 0, size = 1;
    };
    enum State : std::uint8_t { kNew, kOpen, kBuilt };

    bool fail(const char* message) {
        error_ = std::string("the binary property list ") + message;
        return false;
    }

    bool readTrailer() {
        if (size_ < kMagic.size() + kTrailer + 1) return fail("is truncated");
        const unsigned char* trailer = data_ + size_ - kTrailer;
        offsetSize_ = trailer[6];
        refSize_ = trailer[7];
        count_ = bigEndian(trailer + 8, 8);
        top_ = bigEndian(trailer + 16, 8);
        table_ = bigEndian(trailer + 24, 8);
        if (offsetSize_ < 1 || offsetSize_ > 8 || refSize_ < 1 || refSize_ > 8)
            return fail("has a malformed trailer");
        if (table_ < kMagic.size() || table_ > size_ - kTrailer || count_ == 0 ||
            count_ > (size_ - kTrailer - table_) / offsetSize_ || top_ >= count_)
            return fail("has a malformed trailer or offset table");
        if (count_ > kPropertyListMaxValues) return fail("holds too many objects");
        return true;
    }

    // Reads the count that follows a marker whose low nibble is 0xF.
    bool longCount(std::uint64_t& at, std::uint64_t& count) {
        if (at >= table_ || (data_[at] >> 4) != kInteger || (data_[at] & 0xF) > 3)
            return fail("holds a malformed count");
        unsigned width = 1u << (data_[at] & 0xF);
        if (at + 1 + width > table_) return fail("holds a truncated count");
        count = bigEndian(data_ + at + 1, width);
        at += 1 + width;
        return true;
    }

    bool header(std::uint64_t index, Object& object) {
        std::uint64_t at = bigEndian(data_ + table_ + index * offsetSize_, offsetSize_);
        if (at < kMagic.size() || at >= table_) return fail("refers outside its objects");
        object.marker = data_[at] >> 4;
        object.low = data_[at++] & 0xF;
        object.count = object.low;
        bool counted = object.marker == kData || object.marker == kASCII ||
                       object.marker == kUTF16 || object.marker == kArray ||
                       object.marker == kDictionary;
        if (counted && object.low == 0xF && !longCount(at, object.count)) return false;
        object.start = at;
        std::uint64_t unit = payloadUnit(object);
        std::uint64_t room = table_ - at;
        if (unit == 0) return fail("holds an object of an unknown kind");
        if (object.count > room / unit) return fail("holds a truncated object");
        return true;
    }

    // Bytes per counted element of the payload (or the payload's size for
    // fixed kinds); 0 for kinds this reader refuses.
    std::uint64_t payloadUnit(Object& object) const {
        switch (object.marker) {
        case kSimple:
            object.count = 0;
            return object.low == 0x8 || object.low == 0x9 ? 1 : 0;
        case kInteger:
            object.count = 1u << object.low;
            return object.low <= 4 ? 1 : 0;
        case kReal:
            object.count = 1u << object.low;
            return object.low == 2 || object.low == 3 ? 1 : 0;
        case kDate:
            object.count = 8;
            return object.low == 3 ? 1 : 0;
        case kData:
        case kASCII:
            return 1;
        case kUTF16:
            return 2;
        case kUID:
            object.count = object.low + 1u;
            return 1;
        case kArray:
            return refSize_;
        case kDictionary:
            return 2 * refSize_;
        default:
            return 0;
        }
    }

    Ref<NSObject> integer(const Object& object) {
        const unsigned char* at = data_ + object.start;
        if (object.count < 8)
            return NSNumber::numberWithLongLong(
                static_cast<long long>(bigEndian(at, object.count)));
        if (object.count == 8)
            return NSNumber::numberWithLongLong(static_cast<long long>(bigEndian(at, 8)));
        std::uint64_t high = bigEndian(at, 8), low = bigEndian(at + 8, 8);
        if (high == 0) return NSNumber::numberWithUnsignedLongLong(low);
        if (high == ~0ull && (low >> 63))
            return NSNumber::numberWithLongLong(static_cast<long long>(low));
        fail("holds an integer outside the 64-bit ranges");
        return nullptr;
    }

    bool text(const Object& object, std::string& out) {
        const unsigned char* at = data_ + object.start;
        if (object.marker == kUTF16) {
            Result<std::string> decoded = plist::utf16ToUTF8(at, object.count);
            if (!decoded) return fail("holds an unpaired surrogate");
            out = std::move(*decoded);
            return true;
        }
        for (std::uint64_t i = 0; i < object.count; ++i)
            if (at[i] >= 0x80) return fail("holds a non-ASCII byte in ASCII text");
        out.assign(reinterpret_cast<const char*>(at), object.count);
        return true;
    }

    Ref<NSObject> scalar(const Object& object) {
        const unsigned char* at = data_ + object.start;
        switch (object.marker) {
        case kSimple:
            return NSNumber::numberWithBool(object.low == 0x9);
        case kInteger:
            return integer(object);
        case kReal:
            return object.count == 4
                       ? NSNumber::numberWithFloat(static_cast<float>(realFrom(at, 4)))
                       : NSNumber::numberWithDouble(realFrom(at, 8));
        case kDate:
            return NSDate::dateWithTimeIntervalSinceReferenceDate(realFrom(at, 8));
        case kData:
            return NSData::dataWithBytes(at, object.count);
        case kUID:
            if (object.count > 8) {
                fail("holds a UID wider than 64 bits");
                return nullptr;
            }
            return CFKeyedArchiverUID::uidWithValue(
                bigEndian(at, static_cast<unsigned>(object.count)));
        default: {
            std::string utf8;
            return text(object, utf8) ? NSString::string(utf8) : nullptr;
        }
        }
    }

    std::uint64_t ref(const Object& object, std::uint64_t i) const {
        return bigEndian(data_ + object.start + i * refSize_, refSize_);
    }

    // Opens an object: a scalar is built at once, a container is pushed.
    bool open(std::uint64_t index) {
        Object object;
        if (!header(index, object)) return false;
        if (object.marker != kArray && object.marker != kDictionary) {
            built_[index] = scalar(object);
            state_[index] = kBuilt;
            sizes_[index] = 1;
            return built_[index] != nullptr;
        }
        if (stack_.size() >= static_cast<std::size_t>(kPropertyListMaxDepth))
            return fail("is nested too deeply");
        state_[index] = kOpen;
        stack_.push_back({index, object, object.marker == kDictionary ? object.count : 0});
        return true;
    }

    // A dictionary's keys are read as text in place, never built as objects.
    bool key(std::uint64_t index, std::string& out) {
        Object object;
        if (index >= count_) return fail("refers to a missing object");
        if (!header(index, object)) return false;
        if (object.marker != kASCII && object.marker != kUTF16)
            return fail("holds a dictionary key that is no string");
        return text(object, out);
    }

    bool finish(const Frame& frame) {
        const Object& object = frame.object;
        if (object.marker == kArray) {
            std::vector<NSObject*> items(object.count);
            for (std::uint64_t i = 0; i < object.count; ++i)
                items[i] = built_[ref(object, i)];
            built_[frame.index] = NSArray::arrayWithObjects(items.data(), items.size());
            return true;
        }
        NSDictionary::Storage storage;
        std::string name;
        for (std::uint64_t i = 0; i < object.count; ++i) {
            if (!key(ref(object, i), name)) return false;
            std::size_t before = storage.size();
            storage.emplace_hint(storage.end(), std::move(name),
                                 built_[ref(object, object.count + i)]);
            if (storage.size() == before) return fail("holds a dictionary with a repeated key");
        }
        built_[frame.index] =
            make<NSDictionary>(&NSDictionary::initWithStorage, std::move(storage));
        return true;
    }

    bool build() {
        if (!open(top_)) return false;
        while (!stack_.empty()) {
            Frame& frame = stack_.back();
            if (frame.next < frame.object.refs()) {
                std::uint64_t child = ref(frame.object, frame.next);
                if (child >= count_) return fail("refers to a missing object");
                if (state_[child] == kOpen) return fail("refers to itself");
                if (state_[child] == kNew) {
                    if (!open(child)) return false;
                    continue;
                }
                frame.size += sizes_[child];
                if (frame.size > kPropertyListMaxValues) return fail("expands to too many values");
                ++frame.next;
                continue;
            }
            if (!finish(frame)) return false;
            state_[frame.index] = kBuilt;
            sizes_[frame.index] = frame.size;
            stack_.pop_back();
        }
        return true;
    }

    const unsigned char* data_;
    std::uint64_t size_;
    std::string& error_;
    unsigned offsetSize_ = 0, refSize_ = 0;
    std::uint64_t count_ = 0, top_ = 0, table_ = 0;
    std::vector<std::uint8_t> state_;
    std::vector<std::uint64_t> sizes_;
    std::vector<Ref<NSObject>> built_;
    std::vector<Frame> stack_;
};

// ---- Writing ----

void putBigEndian(std::string& out, std::uint64_t value, unsigned size) {
    for (int shift = 8 * (static_cast<int>(size) - 1); shift >= 0; shift -= 8)
        out += static_cast<char>(value >> shift);
}

unsigned widthOf(std::uint64_t value) {
    return value < (1ull << 8) ? 1 : value < (1ull << 16) ? 2 : value < (1ull << 32) ? 4 : 8;
}

void putMarker(std::string& out, unsigned marker, std::uint64_t count) {
    if (count < 0xF) {
        out += static_cast<char>(marker << 4 | count);
        return;
    }
    out += static_cast<char>(marker << 4 | 0xF);
    unsigned width = widthOf(count);
    out += static_cast<char>(kInteger << 4 | std::countr_zero(width));
    putBigEndian(out, count, width);
}

std::string encodeText(std::string_view utf8) {
    std::string out;
    bool ascii = std::all_of(utf8.begin(), utf8.end(), [](char c) { return (c & 0x80) == 0; });
    if (ascii) {
        putMarker(out, kASCII, utf8.size());
        out += utf8;
        return out;
    }
    std::u16string units = plist::utf8ToUTF16(utf8);
    putMarker(out, kUTF16, units.size());
    for (char16_t unit : units)
        putBigEndian(out, unit, 2);
    return out;
}

std::string encodeNumber(const NSNumber* number) {
    std::string out;
    switch (number->kind()) {
    case NSNumber::Kind::Bool:
        out += static_cast<char>(number->boolValue() ? 0x09 : 0x08);
        break;
    case NSNumber::Kind::Integer: {
        long long value = number->longLongValue();
        unsigned width = value < 0 ? 8 : widthOf(static_cast<std::uint64_t>(value));
        out += static_cast<char>(kInteger << 4 | std::countr_zero(width));
        putBigEndian(out, static_cast<std::uint64_t>(value), width);
        break;
    }
    case NSNumber::Kind::Unsigned:
        out += static_cast<char>(kInteger << 4 | 4);
        putBigEndian(out, 0, 8);
        putBigEndian(out, number->unsignedLongLongValue(), 8);
        break;
    case NSNumber::Kind::Float:
        out += static_cast<char>(kReal << 4 | 2);
        putBigEndian(out, std::bit_cast<std::uint32_t>(number->floatValue()), 4);
        break;
    case NSNumber::Kind::Double:
        out += static_cast<char>(kReal << 4 | 3);
        putBigEndian(out, std::bit_cast<std::uint64_t>(number->doubleValue()), 8);
        break;
    }
    return out;
}

class BinaryWriter {
  public:
    explicit BinaryWriter(std::string& error) : error_(error) {}

    std::optional<std::string> write(objc_object* root, WriteRefusal& refusal) {
        refusal_ = &refusal;
        std::uint64_t top = 0;
        if (!add(root, 0, top)) return std::nullopt;
        return emit(top);
    }

  private:
    // A scalar's bytes, or a container's marker and its children.
    struct Entry {
        std::string scalar;
        unsigned marker = 0;
        std::vector<std::uint64_t> children;
        std::uint64_t values = 1;
    };

    bool fail(WriteRefusal kind, std::string message) {
        *refusal_ = kind;
        error_ = std::move(message);
        return false;
    }

    bool addScalar(std::string bytes, std::uint64_t& index) {
        auto [at, added] = byValue_.try_emplace(std::move(bytes), entries_.size());
        index = at->second;
        if (added) {
            bytesSoFar_ += at->first.size();
            entries_.push_back({at->first, 0, {}, 1});
        }
        return true;
    }

    bool scalar(objc_object* object, plist::Kind kind, std::uint64_t& index) {
        switch (kind) {
        case plist::Kind::String: {
            const std::string& text = static_cast<NSString*>(object)->utf8();
            if (!plist::isUTF8(text))
                return fail(
                    WriteRefusal::NotPropertyList,
                    "text that is no well-formed UTF-8 cannot be stored in a property list");
            return addScalar(encodeText(text), index);
        }
        case plist::Kind::Number:
            return addScalar(encodeNumber(static_cast<NSNumber*>(object)), index);
        case plist::Kind::Date: {
            std::string out(1, static_cast<char>(kDate << 4 | 3));
            putBigEndian(out,
                         std::bit_cast<std::uint64_t>(
                             static_cast<NSDate*>(object)->timeIntervalSinceReferenceDate()),
                         8);
            return addScalar(std::move(out), index);
        }
        case plist::Kind::Data: {
            std::string_view bytes = static_cast<NSData*>(object)->view();
            std::string out;
            putMarker(out, kData, bytes.size());
            out += bytes;
            return addScalar(std::move(out), index);
        }
        default: {
            std::uint64_t value = static_cast<CFKeyedArchiverUID*>(object)->value();
            unsigned width = widthOf(value);
            std::string out(1, static_cast<char>(kUID << 4 | (width - 1)));
            putBigEndian(out, value, width);
            return addScalar(std::move(out), index);
        }
        }
    }

    bool container(objc_object* object, plist::Kind kind, int depth, std::uint64_t& index) {
        index = entries_.size();
        entries_.push_back({});
        std::vector<std::uint64_t> children;
        std::uint64_t values = 1, child = 0;
        auto take = [&](objc_object* item) {
            if (!add(item, depth + 1, child)) return false;
            children.push_back(child);
            values += entries_[child].values;
            return values <= kPropertyListMaxValues ||
                   fail(WriteRefusal::NotPropertyList,
                        "the value expands to more than a million values");
        };
        if (kind == plist::Kind::Array) {
            for (NSObject* item : *static_cast<NSArray*>(object))
                if (!take(item)) return false;
        } else {
            const auto& entries = static_cast<NSDictionary*>(object)->entries();
            for (const auto& entry : entries) {
                if (!plist::isUTF8(entry.first))
                    return fail(WriteRefusal::NotPropertyList,
                                "a dictionary key is no well-formed UTF-8");
                if (!addScalar(encodeText(entry.first), child)) return false;
                children.push_back(child);
            }
            for (const auto& entry : entries)
                if (!take(entry.second)) return false;
        }
        Entry& entry = entries_[index];
        entry.marker = kind == plist::Kind::Array ? kArray : kDictionary;
        entry.children = std::move(children);
        entry.values = values;
        return true;
    }

    bool add(objc_object* object, int depth, std::uint64_t& index) {
        if (auto found = byPointer_.find(object); found != byPointer_.end()) {
            index = found->second;
            return true;
        }
        plist::Kind kind = plist::kindOf(object);
        bool done = false;
        if (kind == plist::Kind::Other)
            return fail(WriteRefusal::NotPropertyList,
                        std::string("a ") + (object ? object_getClassName(object) : "nil") +
                            " is not a property-list object (use strings, numbers, data, dates, "
                            "arrays or dictionaries)");
        bool isContainer = kind == plist::Kind::Array || kind == plist::Kind::Dictionary;
        if (isContainer && depth >= kPropertyListMaxDepth)
            return fail(WriteRefusal::NotPropertyList, "the value is nested deeper than " +
                                                           std::to_string(kPropertyListMaxDepth) +
                                                           " levels");
        done = isContainer ? container(object, kind, depth, index) : scalar(object, kind, index);
        if (!done) return false;
        if (bytesSoFar_ > kPropertyListMaxBytes)
            return fail(WriteRefusal::FormatLimit, "the property list would be larger than " +
                                                       std::to_string(kPropertyListMaxBytes) +
                                                       " bytes");
        byPointer_.emplace(object, index);
        return true;
    }

    std::optional<std::string> emit(std::uint64_t top) {
        unsigned refSize = widthOf(entries_.size());
        std::string out(kMagic);
        std::vector<std::uint64_t> offsets;
        offsets.reserve(entries_.size());
        for (const Entry& entry : entries_) {
            offsets.push_back(out.size());
            if (!entry.marker) {
                out += entry.scalar;
                continue;
            }
            std::uint64_t count =
                entry.marker == kDictionary ? entry.children.size() / 2 : entry.children.size();
            putMarker(out, entry.marker, count);
            for (std::uint64_t child : entry.children)
                putBigEndian(out, child, refSize);
        }
        std::uint64_t table = out.size();
        unsigned offsetSize = widthOf(table);
        for (std::uint64_t offset : offsets)
            putBigEndian(out, offset, offsetSize);
        out.append(6, '\0');
        out += static_cast<char>(offsetSize);
        out += static_cast<char>(refSize);
        putBigEndian(out, entries_.size(), 8);
        putBigEndian(out, top, 8);
        putBigEndian(out, table, 8);
        if (out.size() > kPropertyListMaxBytes) {
            fail(WriteRefusal::FormatLimit, "the property list would be larger than " +
                                                std::to_string(kPropertyListMaxBytes) + " bytes");
            return std::nullopt;
        }
        return out;
    }

    std::string& error_;
    WriteRefusal* refusal_ = nullptr;
    std::vector<Entry> entries_;
    std::unordered_map<std::string, std::uint64_t> byValue_;
    std::unordered_map<objc_object*, std::uint64_t> byPointer_;
    std::size_t bytesSoFar_ = 0;
};

} // namespace

Result<Ref<NSObject>> readBinaryPropertyList(std::string_view bytes) {
    if (!bytes.starts_with(kMagic)) return Problem{"the data is no binary property list"};
    std::string error;
    return plist::answer(BinaryReader(bytes, error).read(), error);
}

Result<std::string> binaryPropertyList(objc_object* root, WriteRefusal* refusal) {
    WriteRefusal ignored;
    std::string error;
    return plist::answer(BinaryWriter(error).write(root, refusal ? *refusal : ignored), error);
}
