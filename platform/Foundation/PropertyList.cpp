#include "Foundation/PropertyList.h"

#include <unordered_map>
#include <vector>

#include "Foundation/AtomicFile.h"
#include "Foundation/NSArray.h"
#include "Foundation/NSDictionary.h"
#include "Foundation/NSString.h"
#include "Foundation/PropertyListSupport.h"

namespace {

// XML: a declaration, a document type, a comment or a property-list element;
// UTF-16 text (a NUL among the first bytes) goes to the XML reader too, which
// knows its encodings. Anything else that starts with '<' is old-style data.
bool looksLikeXML(std::string_view bytes) {
    if (bytes.size() >= 2 && (bytes[0] == '\0' || bytes[1] == '\0' ||
                              bytes.starts_with("\xFF\xFE") || bytes.starts_with("\xFE\xFF")))
        return true;
    if (bytes.starts_with("\xEF\xBB\xBF")) bytes.remove_prefix(3);
    std::size_t first = bytes.find_first_not_of(" \t\r\n");
    if (first == std::string_view::npos) return false;
    bytes.remove_prefix(first);
    if (bytes.starts_with("<?") || bytes.starts_with("<!")) return true;
    for (std::string_view tag :
         {"plist", "dict", "array", "string", "integer", "real", "date", "data", "true", "false"}) {
        std::string_view rest = bytes.substr(1);
        if (bytes.starts_with('<') && rest.starts_with(tag) &&
            (rest.size() == tag.size() ||
             std::string_view(" \t\r\n/>").find(rest[tag.size()]) != std::string_view::npos))
            return true;
    }
    return false;
}

// Deep immutable copies; each source object is copied once.
class Copier {
  public:
    explicit Copier(std::string& error) : error_(error) {}

    Ref<NSObject> copy(objc_object* object, int depth) {
        if (auto found = done_.find(object); found != done_.end()) return found->second;
        if (++values_ > kPropertyListMaxValues)
            return fail("the value expands to more than a million values");
        plist::Kind kind = plist::kindOf(object);
        Ref<NSObject> result;
        switch (kind) {
        case plist::Kind::Other:
            return fail(std::string("a ") + (object ? object_getClassName(object) : "nil") +
                        " is not a property-list object (use strings, numbers, data, dates, "
                        "arrays or dictionaries)");
        case plist::Kind::String:
            if (!plist::isUTF8(static_cast<NSString*>(object)->utf8()))
                return fail(
                    "text that is no well-formed UTF-8 cannot be stored in a property list");
            result = static_cast<NSObject*>(object);
            break;
        case plist::Kind::Array:
        case plist::Kind::Dictionary:
            if (depth >= kPropertyListMaxDepth)
                return fail("the value is nested deeper than " +
                            std::to_string(kPropertyListMaxDepth) + " levels");
            result = kind == plist::Kind::Array
                         ? array(static_cast<NSArray*>(object), depth)
                         : dictionary(static_cast<NSDictionary*>(object), depth);
            break;
        default:
            result = static_cast<NSObject*>(object);
        }
        if (result) done_.emplace(object, result);
        return result;
    }

  private:
    std::nullptr_t fail(const std::string& message) {
        if (error_.empty()) error_ = message;
        return nullptr;
    }

    // The object itself when it is of the immutable class and nothing inside changed.
    template <class T> static bool unchanged(objc_object* object) {
        return object_getClass(object) == T::objcClass();
    }

    Ref<NSObject> array(NSArray* source, int depth) {
        std::vector<Ref<NSObject>> items;
        bool same = unchanged<NSArray>(source);
        for (NSObject* item : *source) {
            items.push_back(copy(item, depth + 1));
            if (!items.back()) return nullptr;
            same = same && items.back().get() == item;
        }
        if (same) return source;
        std::vector<NSObject*> raw(items.begin(), items.end());
        return NSArray::arrayWithObjects(raw.data(), raw.size());
    }

    Ref<NSObject> dictionary(NSDictionary* source, int depth) {
        NSDictionary::Storage entries;
        bool same = unchanged<NSDictionary>(source);
        for (const auto& [key, item] : source->entries()) {
            if (!plist::isUTF8(key)) return fail("a dictionary key is no well-formed UTF-8");
            Ref<NSObject> copied = copy(item, depth + 1);
            if (!copied) return nullptr;
            same = same && copied.get() == item.get();
            entries.emplace_hint(entries.end(), key, std::move(copied));
        }
        if (same) return source;
        return make<NSDictionary>(&NSDictionary::initWithStorage, std::move(entries));
    }

    std::string& error_;
    std::unordered_map<objc_object*, Ref<NSObject>> done_;
    std::size_t values_ = 0;
};

// What a failed file read makes of a property-list file.
PropertyListFile fileKind(FileRead read) {
    switch (read) {
    case FileRead::Missing:
        return PropertyListFile::Missing;
    case FileRead::Unavailable:
        return PropertyListFile::Unavailable;
    case FileRead::Ok:
    case FileRead::Damaged:
        break;
    }
    return PropertyListFile::Damaged;
}

} // namespace

std::string plist::tooLarge() {
    return "the property list is larger than " + std::to_string(kPropertyListMaxBytes) + " bytes";
}

Result<Ref<NSObject>> propertyListFromBytes(std::string_view bytes, PropertyListFormat* format) {
    if (bytes.size() > kPropertyListMaxBytes) return Problem{plist::tooLarge()};
    PropertyListFormat found = bytes.starts_with("bplist") ? PropertyListFormat::Binary
                               : looksLikeXML(bytes)       ? PropertyListFormat::XML
                                                           : PropertyListFormat::OpenStep;
    if (format) *format = found;
    switch (found) {
    case PropertyListFormat::Binary:
        return readBinaryPropertyList(bytes);
    case PropertyListFormat::XML:
        return readXMLPropertyList(bytes);
    case PropertyListFormat::OpenStep:
        break;
    }
    return readOpenStepPropertyList(bytes);
}

Result<Ref<NSObject>> propertyListCopy(objc_object* object) {
    std::string error;
    return plist::answer(Copier(error).copy(object, 0), error);
}

Result<Ref<NSDictionary>> readDictionaryFile(const std::string& path, PropertyListFile& kind) {
    FileRead read = FileRead::Ok;
    Result<std::string> bytes = readFile(path, kPropertyListMaxBytes, read);
    kind = read == FileRead::Ok ? PropertyListFile::Damaged : fileKind(read);
    if (!bytes) return Problem{bytes.problem()};
    Result<Ref<NSObject>> root = propertyListFromBytes(*bytes);
    if (!root) return Problem{path + ": " + root.problem()};
    Ref<NSDictionary> dictionary = as<NSDictionary>(root->get());
    if (!dictionary) return Problem{path + " holds a property list whose root is not a dictionary"};
    kind = PropertyListFile::Ok;
    return dictionary;
}

Result<void> writeDictionaryFile(const std::string& path, const NSDictionary* dictionary,
                                 PropertyListFormat format) {
    auto* root = const_cast<NSDictionary*>(dictionary);
    WriteRefusal refusal = WriteRefusal::NotPropertyList;
    Result<std::string> bytes = Problem{};
    if (format == PropertyListFormat::XML) bytes = xmlPropertyList(root, &refusal);
    if (!bytes && (format != PropertyListFormat::XML || refusal == WriteRefusal::FormatLimit))
        bytes = binaryPropertyList(root, &refusal);
    if (!bytes) return Problem{bytes.problem()};
    return writeFileAtomically(path, *bytes);
}
