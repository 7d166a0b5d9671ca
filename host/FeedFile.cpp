#include "host/FeedFile.h"

#include <functional>
#include <nlohmann/json.hpp>

#include "host/HostProgram.h"
#include "host/IGFeed.h"
#include "host/InputFile.h"

namespace {

using nlohmann::json;

// The problem with one item, before it is placed in the file.
struct ItemError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

Ref<NSString> text(const json& item, const char* key, bool required) {
    auto found = item.find(key);
    if (found == item.end()) {
        if (required) throw ItemError(std::string("has no \"") + key + "\"");
        return nullptr;
    }
    if (!found->is_string()) throw ItemError(std::string("\"") + key + "\" is not a string");
    return NSString::string(found->get_ref<const std::string&>());
}

bool flag(const json& item, const char* key) {
    auto found = item.find(key);
    if (found == item.end()) return false;
    if (!found->is_boolean()) throw ItemError(std::string("\"") + key + "\" is not true or false");
    return found->get<bool>();
}

Ref<NSArray> accounts(const json& item) {
    auto found = item.find("accounts");
    if (found == item.end() || !found->is_array()) throw ItemError("has no \"accounts\" list");
    Ref<NSMutableArray> names = NSMutableArray::array();
    for (const json& name : *found) {
        if (!name.is_string()) throw ItemError("\"accounts\" holds something that is not a name");
        names->addObject(NSString::string(name.get_ref<const std::string&>()));
    }
    return names;
}

template <class Item> Ref<Item> feedItem(const json& item) {
    Ref<Item> made = make<Item>(&Item::init);
    made->setCaption(text(item, "caption", false));
    made->setSponsored(flag(item, "sponsored"));
    return made;
}

Ref<NSObject> post(const json& item) {
    Ref<IGPost> made = feedItem<IGPost>(item);
    made->setMediaCoord(
        IGMediaCoord::coordWithOwner(text(item, "owner", true), text(item, "place", false)));
    return made;
}

Ref<NSObject> appInstall(const json& item) {
    Ref<IGAppInstallItem> made = feedItem<IGAppInstallItem>(item);
    made->setAppName(text(item, "app", true));
    return made;
}

Ref<NSObject> strip(NSString* title, long kind, const json& item) {
    Ref<IGAccountStrip> made = IGAccountStrip::stripWithTitle(title, accounts(item));
    made->setKind(kind);
    return made;
}

Ref<NSObject> item(const json& entry) {
    if (!entry.is_object()) throw ItemError("is not an object");
    Ref<NSString> kind = text(entry, "kind", true);
    const std::string& name = kind->utf8();
    if (name == "post") return post(entry);
    if (name == "app_install") return appInstall(entry);
    if (name == "stories") return strip("Stories"_ns, IGAccountStripKindStories, entry);
    if (name == "suggestions")
        return strip("Suggested for you"_ns, IGAccountStripKindSuggestions, entry);
    throw ItemError("has the unknown kind \"" + name +
                    "\" (use post, app_install, stories or suggestions)");
}

[[noreturn]] void fail(const std::string& source, const std::string& problem) {
    throw FeedFileError("feed file " + source + ": " + problem);
}

// Counts the items of the top-level "items" list as the parser meets them,
// so that a number out of range is placed in its item.
struct ItemCounter {
    bool inItems = false;
    std::size_t items = 0;

    bool operator()(int depth, json::parse_event_t event, json& parsed) {
        using Event = json::parse_event_t;
        if (depth == 1 && event == Event::key) inItems = parsed == "items";
        if (depth == 2 && inItems &&
            (event == Event::object_start || event == Event::array_start || event == Event::value))
            ++items;
        return true;
    }
};

json parseDocument(const std::string& text, const std::string& source) {
    ItemCounter counter;
    try {
        return json::parse(text, std::ref(counter));
    } catch (const json::parse_error& error) {
        fail(source, std::string("is not valid JSON: ") + error.what());
    } catch (const json::out_of_range&) {
        std::string where =
            counter.items ? "item " + std::to_string(counter.items) + " holds" : "holds";
        fail(source, where + " a number out of range (beyond what a double can hold)");
    } catch (const json::exception& error) {
        fail(source, std::string("cannot be read: ") + error.what());
    }
}

} // namespace

Ref<NSArray> parseFeed(const std::string& text, const std::string& source) {
    json document = parseDocument(text, source);
    if (!document.is_object() || !document.contains("items") || !document["items"].is_array())
        fail(source, "needs an object with an \"items\" list");
    Ref<NSMutableArray> items = NSMutableArray::array();
    std::size_t index = 0;
    try {
        for (const json& entry : document["items"]) {
            items->addObject(item(entry));
            ++index;
        }
    } catch (const ItemError& error) {
        fail(source, "item " + std::to_string(index + 1) + " " + error.what());
    }
    return items;
}

Ref<NSArray> loadFeed(const std::string& path) {
    InputRead read = readRegularFile(path, kMaxFeedBytes);
    if (!read.problem.empty()) fail(path, read.problem + "; give another with --feed");
    return parseFeed(read.text, path);
}
