#include "host/FeedFile.h"

#include <functional>
#include <nlohmann/json.hpp>

#include "host/HostProgram.h"
#include "host/IGFeed.h"
#include "host/InputFile.h"

namespace {

using nlohmann::json;

// Each answers the item's value, or its problem before it is placed in the file.
Result<Ref<NSString>> text(const json& item, const char* key, bool required) {
    auto found = item.find(key);
    if (found == item.end()) {
        if (required) return Problem{std::string("has no \"") + key + "\""};
        return Ref<NSString>();
    }
    if (!found->is_string()) return Problem{std::string("\"") + key + "\" is not a string"};
    return NSString::string(found->get_ref<const std::string&>());
}

Result<bool> flag(const json& item, const char* key) {
    auto found = item.find(key);
    if (found == item.end()) return false;
    if (!found->is_boolean()) return Problem{std::string("\"") + key + "\" is not true or false"};
    return found->get<bool>();
}

Result<Ref<NSArray>> accounts(const json& item) {
    auto found = item.find("accounts");
    if (found == item.end() || !found->is_array()) return Problem{"has no \"accounts\" list"};
    Ref<NSMutableArray> names = NSMutableArray::array();
    for (const json& name : *found) {
        if (!name.is_string()) return Problem{"\"accounts\" holds something that is not a name"};
        names->addObject(NSString::string(name.get_ref<const std::string&>()));
    }
    return Ref<NSArray>(names);
}

template <class Item> Result<Ref<Item>> feedItem(const json& item) {
    Result<Ref<NSString>> caption = text(item, "caption", false);
    if (!caption) return Problem{caption.problem()};
    Result<bool> sponsored = flag(item, "sponsored");
    if (!sponsored) return Problem{sponsored.problem()};
    Ref<Item> made = make<Item>(&Item::init);
    made->setCaption(*caption);
    made->setSponsored(*sponsored);
    return made;
}

Result<Ref<NSObject>> post(const json& item) {
    Result<Ref<IGPost>> made = feedItem<IGPost>(item);
    if (!made) return Problem{made.problem()};
    Result<Ref<NSString>> owner = text(item, "owner", true);
    if (!owner) return Problem{owner.problem()};
    Result<Ref<NSString>> place = text(item, "place", false);
    if (!place) return Problem{place.problem()};
    (*made)->setMediaCoord(IGMediaCoord::coordWithOwner(*owner, *place));
    return Ref<NSObject>(*made);
}

Result<Ref<NSObject>> appInstall(const json& item) {
    Result<Ref<IGAppInstallItem>> made = feedItem<IGAppInstallItem>(item);
    if (!made) return Problem{made.problem()};
    Result<Ref<NSString>> app = text(item, "app", true);
    if (!app) return Problem{app.problem()};
    (*made)->setAppName(*app);
    return Ref<NSObject>(*made);
}

Result<Ref<NSObject>> strip(NSString* title, long kind, const json& item) {
    Result<Ref<NSArray>> names = accounts(item);
    if (!names) return Problem{names.problem()};
    Ref<IGAccountStrip> made = IGAccountStrip::stripWithTitle(title, *names);
    made->setKind(kind);
    return Ref<NSObject>(made);
}

Result<Ref<NSObject>> item(const json& entry) {
    if (!entry.is_object()) return Problem{"is not an object"};
    Result<Ref<NSString>> kind = text(entry, "kind", true);
    if (!kind) return Problem{kind.problem()};
    const std::string& name = (*kind)->utf8();
    if (name == "post") return post(entry);
    if (name == "app_install") return appInstall(entry);
    if (name == "stories") return strip("Stories"_ns, IGAccountStripKindStories, entry);
    if (name == "suggestions")
        return strip("Suggested for you"_ns, IGAccountStripKindSuggestions, entry);
    return Problem{"has the unknown kind \"" + name +
                   "\" (use post, app_install, stories or suggestions)"};
}

Problem feedProblem(const std::string& source, const std::string& problem) {
    return {"feed file " + source + ": " + problem};
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

// The JSON reader reports by exception; its problems end here.
Result<json> parseDocument(const std::string& text, const std::string& source) {
    ItemCounter counter;
    try {
        return json::parse(text, std::ref(counter));
    } catch (const json::parse_error& error) {
        return feedProblem(source, std::string("is not valid JSON: ") + error.what());
    } catch (const json::out_of_range&) {
        std::string where =
            counter.items ? "item " + std::to_string(counter.items) + " holds" : "holds";
        return feedProblem(source,
                           where + " a number out of range (beyond what a double can hold)");
    } catch (const json::exception& error) {
        return feedProblem(source, std::string("cannot be read: ") + error.what());
    }
}

} // namespace

Result<Ref<NSArray>> parseFeed(const std::string& text, const std::string& source) {
    Result<json> document = parseDocument(text, source);
    if (!document) return Problem{document.problem()};
    if (!document->is_object() || !document->contains("items") || !(*document)["items"].is_array())
        return feedProblem(source, "needs an object with an \"items\" list");
    Ref<NSMutableArray> items = NSMutableArray::array();
    std::size_t index = 0;
    for (const json& entry : (*document)["items"]) {
        Result<Ref<NSObject>> made = item(entry);
        if (!made)
            return feedProblem(source, "item " + std::to_string(index + 1) + " " + made.problem());
        items->addObject(*made);
        ++index;
    }
    return Ref<NSArray>(items);
}

Result<Ref<NSArray>> loadFeed(const std::string& path) {
    Result<std::string> read = readRegularFile(path, kMaxFeedBytes);
    if (!read) return feedProblem(path, read.problem() + "; give another with --feed");
    return parseFeed(*read, path);
}
