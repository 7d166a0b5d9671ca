#include "Foundation/PropertyList.h"

#include <cctype>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <limits>
#include <memory>
#include <plist/plist.h>
#include <vector>

#include "Foundation/AtomicFile.h"
#include "Foundation/NSArray.h"
#include "Foundation/NSData.h"
#include "Foundation/NSDate.h"
#include "Foundation/NSDictionary.h"
#include "Foundation/NSNumber.h"
#include "Foundation/NSString.h"

namespace {

constexpr std::string_view kBinaryMagic = "bplist00";
// Shared objects of a binary list are copied once per use: bound the total.
constexpr std::uint64_t kMaxExpandedObjects = 1'000'000;

struct NodeFree {
    void operator()(void* node) const { plist_free(static_cast<plist_t>(node)); }
};
using Node = std::unique_ptr<void, NodeFree>;

struct MallocFree {
    void operator()(char* text) const { std::free(text); }
};
using MallocText = std::unique_ptr<char, MallocFree>;

// ---- Bounds checked before parsing ----

// XML nesting: every <dict> and <array> that is not self-closing opens a level.
bool xmlDepthWithin(std::string_view text, int limit) {
    int depth = 0;
    for (std::size_t at = text.find('<'); at != std::string_view::npos;
         at = text.find('<', at + 1)) {
        std::string_view tag = text.substr(at + 1);
        bool closing = tag.starts_with('/');
        if (closing) tag.remove_prefix(1);
        std::size_t nameLength = tag.starts_with("dict") ? 4 : tag.starts_with("array") ? 5 : 0;
        if (!nameLength ||
            (tag.size() > nameLength && std::isalnum(static_cast<unsigned char>(tag[nameLength]))))
            continue;
        std::size_t end = tag.find('>');
        if (closing)
            --depth;
        else if (end == std::string_view::npos || tag[end - 1] != '/')
            ++depth;
        if (depth > limit) return false;
    }
    return true;
}

std::uint64_t readBigEndian(const unsigned char* at, unsigned size) {
    std::uint64_t value = 0;
    for (unsigned i = 0; i < size; ++i)
        value = (value << 8) | at[i];
    return value;
}

// The layout of a binary property list, from its trailer.
class BinaryLayout {
  public:
    explicit BinaryLayout(std::string_view bytes)
        : data_(reinterpret_cast<const unsigned char*>(bytes.data())), size_(bytes.size()) {}

    bool read() {
        if (size_ < kBinaryMagic.size() + 32) return false;
        const unsigned char* trailer = data_ + size_ - 32;
        offsetSize_ = trailer[6];
        refSize_ = trailer[7];
        count_ = readBigEndian(trailer + 8, 8);
        top_ = readBigEndian(trailer + 16, 8);
        table_ = readBigEndian(trailer + 24, 8);
        std::uint64_t body = size_ - 32;
        return offsetSize_ >= 1 && offsetSize_ <= 8 && refSize_ >= 1 && refSize_ <= 8 &&
               top_ < count_ && table_ < body && count_ <= (body - table_) / offsetSize_;
    }

    std::uint64_t count() const { return count_; }
    std::uint64_t top() const { return top_; }

    // The objects a container refers to; false for a malformed object.
    bool children(std::uint64_t object, std::vector<std::uint64_t>& out) const {
        out.clear();
        std::uint64_t at = readBigEndian(data_ + table_ + object * offsetSize_, offsetSize_);
        if (at >= size_ - 32) return false;
        unsigned kind = data_[at] >> 4;
        if (kind != 0xA && kind != 0xC && kind != 0xD) return true;
        std::uint64_t entries = data_[at++] & 0x0F;
        if (entries == 0x0F && !readCount(at, entries)) return false;
        std::uint64_t room = (size_ - 32 - at) / refSize_;
        if (entries > room || (kind == 0xD && entries > room / 2)) return false;
        std::uint64_t refs = kind == 0xD ? 2 * entries : entries;
        for (std::uint64_t i = 0; i < refs; ++i) {
            out.push_back(readBigEndian(data_ + at + i * refSize_, refSize_));
            if (out.back() >= count_ || (kind == 0xD && i < entries && !keyWithoutNul(out.back())))
                return false;
        }
        return true;
    }

  private:
    // libplist asserts on keys with a NUL inside: only text keys without one pass.
    bool keyWithoutNul(std::uint64_t object) const {
        std::uint64_t at = readBigEndian(data_ + table_ + object * offsetSize_, offsetSize_);
        if (at >= size_ - 32) return false;
        unsigned kind = data_[at] >> 4;
        std::uint64_t units = data_[at++] & 0x0F;
        if ((kind != 0x5 && kind != 0x6) || (units == 0x0F && !readCount(at, units))) return false;
        std::uint64_t width = kind == 0x6 ? 2 : 1;
        if (units > (size_ - 32 - at) / width) return false;
        for (std::uint64_t i = 0; i < units; ++i)
            if (readBigEndian(data_ + at + i * width, static_cast<unsigned>(width)) == 0)
                return false;
        return true;
    }

    bool readCount(std::uint64_t& at, std::uint64_t& entries) const {
        if (at >= size_ - 32 || (data_[at] >> 4) != 0x1) return false;
        unsigned width = 1u << (data_[at] & 0x0F);
        if (width > 8 || at + 1 + width > size_ - 32) return false;
        entries = readBigEndian(data_ + at + 1, width);
        at += 1 + width;
        return true;
    }

    const unsigned char* data_;
    std::uint64_t size_;
    unsigned offsetSize_ = 0, refSize_ = 0;
    std::uint64_t count_ = 0, top_ = 0, table_ = 0;
};

// Depth and expanded size of a binary list, without recursion; cycles refused.
bool binaryShapeWithin(std::string_view bytes, int depthLimit, std::string& error) {
    BinaryLayout layout(bytes);
    if (!layout.read()) {
        error = "the binary property list is truncated or its trailer is malformed";
        return false;
    }
    struct Shape {
        std::uint8_t state = 0; // 0 unvisited, 1 on the path, 2 done
        std::uint32_t depth = 1;
        std::uint64_t size = 1;
    };
    std::vector<Shape> shapes(layout.count());
    struct Frame {
        std::uint64_t object;
        std::vector<std::uint64_t> children;
        std::size_t next = 0;
    };
    std::vector<Frame> path;
    auto enter = [&](std::uint64_t object) {
        shapes[object].state = 1;
        path.push_back({object, {}});
        return layout.children(object, path.back().children);
    };
    if (!enter(layout.top())) error = "the binary property list holds a malformed container";
    while (error.empty() && !path.empty()) {
        Frame& frame = path.back();
        if (frame.next == frame.children.size()) {
            shapes[frame.object].state = 2;
            path.pop_back();
            continue;
        }
        std::uint64_t child = frame.children[frame.next++];
        Shape& parent = shapes[frame.object];
        if (shapes[child].state == 1) {
            error = "the binary property list refers to itself";
        } else if (shapes[child].state == 0) {
            --frame.next; // come back to fold the child in once it is done
            if (static_cast<int>(path.size()) >= depthLimit)
                error = "the property list is nested deeper than " + std::to_string(depthLimit) +
                        " levels";
            else if (!enter(child))
                error = "the binary property list holds a malformed container";
        } else {
            parent.depth = std::max(parent.depth, shapes[child].depth + 1);
            parent.size = std::min(parent.size + shapes[child].size, kMaxExpandedObjects + 1);
            if (parent.size > kMaxExpandedObjects)
                error = "the property list expands to more than " +
                        std::to_string(kMaxExpandedObjects) + " values";
        }
    }
    return error.empty();
}

// ---- libplist nodes to objects ----

Ref<NSObject> objectFromNode(plist_t node, std::string& error);

Ref<NSObject> arrayFromNode(plist_t node, std::string& error) {
    std::vector<Ref<NSObject>> items;
    std::vector<NSObject*> raw;
    for (std::uint32_t i = 0, n = plist_array_get_size(node); i < n; ++i) {
        items.push_back(objectFromNode(plist_array_get_item(node, i), error));
        if (!items.back()) return nullptr;
        raw.push_back(items.back());
    }
    return NSArray::arrayWithObjects(raw.data(), raw.size());
}

Ref<NSObject> dictionaryFromNode(plist_t node, std::string& error) {
    NSDictionary::Storage storage;
    plist_dict_iter iter = nullptr;
    plist_dict_new_iter(node, &iter);
    std::unique_ptr<void, decltype(&std::free)> iterator(iter, &std::free);
    for (;;) {
        char* rawKey = nullptr;
        plist_t value = nullptr;
        plist_dict_next_item(node, iter, &rawKey, &value);
        MallocText key(rawKey);
        if (!key || !value) break;
        Ref<NSObject> object = objectFromNode(value, error);
        if (!object) return nullptr;
        storage.insert_or_assign(key.get(), std::move(object));
    }
    return make<NSDictionary>(&NSDictionary::initWithStorage, std::move(storage));
}

Ref<NSObject> objectFromNode(plist_t node, std::string& error) {
    switch (plist_get_node_type(node)) {
    case PLIST_BOOLEAN: {
        std::uint8_t value = 0;
        plist_get_bool_val(node, &value);
        return NSNumber::numberWithBool(value != 0);
    }
    case PLIST_UINT: {
        std::uint64_t value = 0;
        plist_get_uint_val(node, &value);
        return NSNumber::numberWithLongLong(static_cast<long long>(value));
    }
    case PLIST_REAL: {
        double value = 0;
        plist_get_real_val(node, &value);
        return NSNumber::numberWithDouble(value);
    }
    case PLIST_STRING: { // the copying getter asserts on text with a NUL inside
        std::uint64_t length = 0;
        const char* text = plist_get_string_ptr(node, &length);
        return NSString::string(text ? std::string_view(text, length) : std::string_view());
    }
    case PLIST_DATE: {
        std::int32_t seconds = 0, micro = 0;
        plist_get_date_val(node, &seconds, &micro);
        return NSDate::dateWithTimeIntervalSinceReferenceDate(seconds + micro / 1e6);
    }
    case PLIST_DATA: {
        std::uint64_t length = 0;
        const char* bytes = plist_get_data_ptr(node, &length);
        return NSData::dataWithBytes(bytes, bytes ? length : 0);
    }
    case PLIST_ARRAY:
        return arrayFromNode(node, error);
    case PLIST_DICT:
        return dictionaryFromNode(node, error);
    default:
        error = "the property list holds a value of a kind this reader does not support";
        return nullptr;
    }
}

// ---- objects to libplist nodes ----

// Text that an XML property list carries unchanged: well-formed UTF-8 without
// control characters (tab and line feed apart), surrogates or non-characters.
bool xmlSafe(std::string_view text) {
    for (std::size_t i = 0; i < text.size();) {
        auto byte = static_cast<unsigned char>(text[i]);
        unsigned length = byte < 0x80           ? 1
                          : (byte >> 5) == 0x6  ? 2
                          : (byte >> 4) == 0xE  ? 3
                          : (byte >> 3) == 0x1E ? 4
                                                : 0;
        if (!length || i + length > text.size()) return false;
        std::uint32_t code = length == 1 ? byte : byte & (0x7F >> length);
        for (unsigned k = 1; k < length; ++k) {
            auto next = static_cast<unsigned char>(text[i + k]);
            if ((next & 0xC0) != 0x80) return false;
            code = (code << 6) | (next & 0x3F);
        }
        static constexpr std::uint32_t kShortest[] = {0, 0, 0x80, 0x800, 0x10000};
        if (code < kShortest[length] || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF) ||
            code == 0xFFFE || code == 0xFFFF || (code < 0x20 && code != '\t' && code != '\n'))
            return false;
        i += length;
    }
    return true;
}

Node nodeFromObject(objc_object* object, int depth, std::string& error);

Node textNode(const std::string& text, std::string& error) {
    if (xmlSafe(text)) return Node(plist_new_string(text.c_str()));
    error = "text with control characters or malformed UTF-8 cannot be stored in a property list";
    return nullptr;
}

Node numberNode(const NSNumber* number) {
    switch (number->kind()) {
    case NSNumber::Kind::Bool:
        return Node(plist_new_bool(number->boolValue()));
    case NSNumber::Kind::Integer:
        return Node(plist_new_uint(static_cast<std::uint64_t>(number->longLongValue())));
    case NSNumber::Kind::Float:
    case NSNumber::Kind::Double:
        break;
    }
    return Node(plist_new_real(number->doubleValue()));
}

Node dateNode(const NSDate* date, std::string& error) {
    double seconds = std::floor(date->timeIntervalSinceReferenceDate());
    if (!(seconds >= std::numeric_limits<std::int32_t>::min() &&
          seconds <= std::numeric_limits<std::int32_t>::max())) {
        error = "dates before 1932 or after 2069 cannot be stored in a property list";
        return nullptr;
    }
    auto micro =
        static_cast<std::int32_t>((date->timeIntervalSinceReferenceDate() - seconds) * 1e6);
    return Node(plist_new_date(static_cast<std::int32_t>(seconds), micro));
}

Node arrayNode(const NSArray* array, int depth, std::string& error) {
    Node node(plist_new_array());
    for (NSObject* item : *array) {
        Node child = nodeFromObject(item, depth + 1, error);
        if (!child) return nullptr;
        plist_array_append_item(node.get(), child.release());
    }
    return node;
}

Node dictionaryNode(const NSDictionary* dictionary, int depth, std::string& error) {
    Node node(plist_new_dict());
    for (const auto& [key, value] : dictionary->entries()) {
        Node child = xmlSafe(key) ? nodeFromObject(value, depth + 1, error) : textNode(key, error);
        if (!child) return nullptr;
        plist_dict_set_item(node.get(), key.c_str(), child.release());
    }
    return node;
}

Node nodeFromObject(objc_object* object, int depth, std::string& error) {
    if (depth > kPropertyListMaxDepth) {
        error =
            "the value is nested deeper than " + std::to_string(kPropertyListMaxDepth) + " levels";
        return nullptr;
    }
    if (const NSString* text = as<NSString>(object)) return textNode(text->utf8(), error);
    if (const NSNumber* number = as<NSNumber>(object)) return numberNode(number);
    if (const NSData* data = as<NSData>(object))
        return Node(plist_new_data(data->view().data(), data->length()));
    if (const NSDate* date = as<NSDate>(object)) return dateNode(date, error);
    if (const NSArray* array = as<NSArray>(object)) return arrayNode(array, depth, error);
    if (const NSDictionary* dictionary = as<NSDictionary>(object))
        return dictionaryNode(dictionary, depth, error);
    error = std::string("a ") + (object ? object_getClassName(object) : "nil") +
            " is not a property-list object (use strings, numbers, data, dates, arrays or "
            "dictionaries)";
    return nullptr;
}

} // namespace

Ref<NSObject> propertyListFromBytes(std::string_view bytes, std::string& error) {
    if (bytes.starts_with("\xEF\xBB\xBF")) bytes.remove_prefix(3);
    if (bytes.size() > kPropertyListMaxBytes) {
        error =
            "the property list is larger than " + std::to_string(kPropertyListMaxBytes) + " bytes";
        return nullptr;
    }
    bool binary = bytes.starts_with(kBinaryMagic);
    if (binary ? !binaryShapeWithin(bytes, kPropertyListMaxDepth, error)
               : !xmlDepthWithin(bytes, kPropertyListMaxDepth)) {
        if (error.empty())
            error = "the property list is nested deeper than " +
                    std::to_string(kPropertyListMaxDepth) + " levels";
        return nullptr;
    }
    std::string text(bytes); // libplist's XML reader wants a terminated buffer
    plist_t root = nullptr;
    plist_from_memory(text.c_str(), static_cast<std::uint32_t>(text.size()), &root);
    Node owner(root);
    if (!root) {
        error = "the data is not a property list (or it is truncated)";
        return nullptr;
    }
    return objectFromNode(root, error);
}

std::optional<std::string> xmlPropertyList(objc_object* root, std::string& error) {
    Node node = nodeFromObject(root, 0, error);
    if (!node) return std::nullopt;
    char* xml = nullptr;
    std::uint32_t length = 0;
    plist_to_xml(node.get(), &xml, &length);
    if (!xml) {
        error = "the property list could not be written as XML";
        return std::nullopt;
    }
    std::string result(xml, length);
    plist_to_xml_free(xml);
    return result;
}

bool isPropertyList(objc_object* object, std::string& error) {
    return nodeFromObject(object, 0, error) != nullptr;
}

PropertyListFile readDictionaryFile(const std::string& path, Ref<NSDictionary>& result,
                                    std::string& error) {
    std::string bytes;
    switch (readFile(path, kPropertyListMaxBytes, bytes, error)) {
    case FileRead::Missing:
        return PropertyListFile::Missing;
    case FileRead::Damaged:
        return PropertyListFile::Damaged;
    case FileRead::Ok:
        break;
    }
    Ref<NSObject> root = propertyListFromBytes(bytes, error);
    result = as<NSDictionary>(root);
    if (result) return PropertyListFile::Ok;
    if (root)
        error = path + " holds a property list whose root is not a dictionary";
    else
        error = path + ": " + error;
    return PropertyListFile::Damaged;
}

bool writeDictionaryFile(const std::string& path, const NSDictionary* dictionary,
                         std::string& error) {
    std::optional<std::string> xml = xmlPropertyList(const_cast<NSDictionary*>(dictionary), error);
    return xml && writeFileAtomically(path, *xml, error);
}
