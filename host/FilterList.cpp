#include "host/FilterList.h"

#include <algorithm>
#include <filesystem>
#include <objc/runtime.h>
#include <sstream>

#include "Foundation/CFBase.h"
#include "Foundation/DeviceRoot.h"
#include "Foundation/NSArray.h"
#include "Foundation/NSNumber.h"
#include "Foundation/NSProcessInfo.h"

namespace {

using Strings = std::vector<std::string>;

const Strings kKinds = {"Bundles", "Executables", "Classes", "CoreFoundationVersion"};

std::string joined(const Strings& items, const char* separator) {
    std::string text;
    for (const std::string& item : items)
        text += (text.empty() ? "" : separator) + item;
    return text;
}

std::string number(double value) {
    std::ostringstream text;
    text << value;
    return text.str();
}

// The strings of a list, or nothing when the value is no list of strings.
std::optional<Strings> stringsOf(NSObject* value) {
    const NSArray* list = as<NSArray>(value);
    if (!list) return std::nullopt;
    Strings strings;
    for (NSObject* item : *list) {
        const NSString* text = as<NSString>(item);
        if (!text) return std::nullopt;
        strings.push_back(text->utf8());
    }
    return strings;
}

std::optional<double> versionOf(NSObject* value) {
    const NSNumber* version = as<NSNumber>(value);
    if (!version || version->kind() == NSNumber::Kind::Bool) return std::nullopt;
    return version->doubleValue();
}

Result<VersionRange> rangeOf(NSObject* value) {
    const Problem shape{"CoreFoundationVersion takes one or two numbers: the lowest version, "
                        "and the version from which on the library no longer loads"};
    const NSArray* list = as<NSArray>(value);
    if (!list || list->count() < 1 || list->count() > 2) return shape;
    auto lowest = versionOf(list->objectAtIndex(0));
    auto end = list->count() == 2 ? versionOf(list->objectAtIndex(1)) : std::optional<double>(0);
    if (!lowest || !end) return shape;
    if (list->count() == 1) return VersionRange{*lowest, std::nullopt};
    if (*end <= *lowest)
        return Problem{"CoreFoundationVersion (" + number(*lowest) + ", " + number(*end) +
                       ") is reversed: its end must be above its lowest version"};
    return VersionRange{*lowest, *end};
}

Result<void> readStrings(const NSDictionary* filter, const char* key,
                         std::optional<Strings>& into) {
    NSObject* value = filter->objectForKey(std::string_view(key));
    if (!value) return {};
    into = stringsOf(value);
    if (!into) return Problem{std::string(key) + " is not a list of strings"};
    return {};
}

Result<void> readVersionsAndMode(const NSDictionary* filter, FilterList& list) {
    if (NSObject* value = filter->objectForKey(std::string_view("CoreFoundationVersion"))) {
        Result<VersionRange> range = rangeOf(value);
        if (!range) return Problem{range.problem()};
        list.versions = *range;
    }
    if (NSObject* value = filter->objectForKey(std::string_view("Mode"))) {
        const NSString* mode = as<NSString>(value);
        if (!mode) return Problem{"Mode is not a string (\"Any\", or leave it out)"};
        list.any = mode->utf8() == "Any";
    }
    return {};
}

bool namesAFilter(const FilterList& list) {
    return list.bundles || list.executables || list.classes || list.versions;
}

Strings unknownKeysOf(const NSDictionary* filter) {
    Strings unknown;
    for (const auto& [key, value] : filter->entries())
        if (key != "Mode" && std::find(kKinds.begin(), kKinds.end(), key) == kKinds.end())
            unknown.push_back(key);
    return unknown;
}

// One kind of filter tested: whether it matched, and what to say about it.
struct Check {
    bool matched;
    std::string said;
};

Check testNames(const char* kind, const Strings& listed, const Strings& present, const char* what) {
    for (const std::string& name : present)
        if (std::find(listed.begin(), listed.end(), name) != listed.end())
            return {true, std::string(what) + " " + name};
    return {false, std::string(kind) + " (" + joined(listed, ", ") + ") names no " + what +
                       " of this process (" + joined(present, ", ") + ")"};
}

Check testClasses(const Strings& listed, const HostIdentity& host) {
    for (const std::string& name : listed)
        if (host.hasClass && host.hasClass(name)) return {true, "class " + name};
    return {false, "none of Classes (" + joined(listed, ", ") + ") exists in this process"};
}

Check testVersion(const VersionRange& range, double version) {
    std::string span = "[";
    span.append(number(range.lowest)).append(", ");
    span.append(range.end ? number(*range.end) : std::string("...")).append(")");
    bool inside = version >= range.lowest && (!range.end || version < *range.end);
    return {inside, "CoreFoundation " + number(version) + (inside ? " in " : " is outside ") +
                        "CoreFoundationVersion " + span};
}

std::vector<Check> testsOf(const FilterList& filter, const HostIdentity& host) {
    std::vector<Check> done;
    if (filter.bundles)
        done.push_back(testNames("Bundles", *filter.bundles, host.bundles, "bundle"));
    if (filter.executables)
        done.push_back(
            testNames("Executables", *filter.executables, {host.executable}, "executable"));
    if (filter.classes) done.push_back(testClasses(*filter.classes, host));
    if (filter.versions) done.push_back(testVersion(*filter.versions, host.coreFoundationVersion));
    return done;
}

} // namespace

HostIdentity currentHostIdentity() {
    return {.bundles = {mainBundleIdentifier(), "com.apple.Foundation", "com.apple.UIKit"},
            .executable = NSProcessInfo::processInfo()->processName()->utf8(),
            .coreFoundationVersion = kCFCoreFoundationVersionNumber,
            .hasClass = [](const std::string& name) { return objc_getClass(name.c_str()) != Nil; }};
}

Result<FilterList> filterListFrom(const NSDictionary* root) {
    const NSDictionary* filter = as<NSDictionary>(root ? root->objectForKey("Filter"_ns) : nullptr);
    if (!filter) return Problem{"has no Filter dictionary at its top"};
    FilterList list;
    for (auto [key, into] : {std::pair{"Bundles", &list.bundles},
                             {"Executables", &list.executables},
                             {"Classes", &list.classes}})
        if (Result<void> read = readStrings(filter, key, *into); !read)
            return Problem{read.problem()};
    if (Result<void> read = readVersionsAndMode(filter, list); !read)
        return Problem{read.problem()};
    list.unknownKeys = unknownKeysOf(filter);
    if (!namesAFilter(list))
        return Problem{"names no filter: give Filter one of " + joined(kKinds, ", ")};
    return list;
}

Result<FilterList> readFilterList(const std::string& path) {
    std::error_code error;
    if (!std::filesystem::is_regular_file(path, error)) return Problem{"is not a regular file"};
    Ref<NSDictionary> root = NSDictionary::dictionaryWithContentsOfFile(NSString::string(path));
    if (!root) return Problem{"cannot be read as a property list whose top is a dictionary"};
    return filterListFrom(root);
}

FilterDecision decide(const FilterList& filter, const HostIdentity& host) {
    std::vector<Check> done = testsOf(filter, host);
    auto matched = [](const Check& check) { return check.matched; };
    bool load = filter.any ? std::any_of(done.begin(), done.end(), matched)
                           : std::all_of(done.begin(), done.end(), matched);
    Strings said;
    for (const Check& check : done)
        if (check.matched == load) said.push_back(check.said);
    return {load, joined(said, "; ")};
}
