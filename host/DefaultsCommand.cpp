#include "host/DefaultsCommand.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <ctime>
#include <filesystem>
#include <map>

#include "Foundation/DeviceRoot.h"
#include "Foundation/NSArray.h"
#include "Foundation/NSData.h"
#include "Foundation/NSDate.h"
#include "Foundation/NSDictionary.h"
#include "Foundation/NSNumber.h"
#include "Foundation/NSUserDefaults.h"
#include "host/HostProgram.h"
#include "host/HostSession.h"

namespace fs = std::filesystem;

namespace {

constexpr const char* kTypes = "-bool, -int, -float or -string";

std::string lowered(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

bool hasControlCharacters(const std::string& text) {
    return std::any_of(text.begin(), text.end(),
                       [](unsigned char c) { return c < 0x20 || c == 0x7f; });
}

Ref<NSObject> boolValue(const std::string& text) {
    static const std::map<std::string, bool> words = {
        {"yes", true}, {"true", true}, {"1", true}, {"no", false}, {"false", false}, {"0", false}};
    auto found = words.find(lowered(text));
    return found == words.end() ? nullptr : NSNumber::numberWithBool(found->second);
}

Ref<NSObject> intValue(const std::string& text) {
    long long value = 0;
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size()) return nullptr;
    return NSNumber::numberWithLongLong(value);
}

Ref<NSObject> floatValue(const std::string& text) {
    double value = 0;
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || !std::isfinite(value))
        return nullptr;
    return NSNumber::numberWithDouble(value);
}

// Old-style strings go bare when they are plain words.
std::string quoted(const std::string& text) {
    bool plain = !text.empty() && std::all_of(text.begin(), text.end(), [](unsigned char c) {
        return std::isalnum(c) || c == '_' || c == '.' || c == '$' || c == '/' || c == ':';
    });
    if (plain) return text;
    std::string out = "\"";
    for (char c : text)
        out += c == '"' ? "\\\"" : c == '\\' ? "\\\\" : c == '\n' ? "\\n" : std::string(1, c);
    return out + "\"";
}

std::string numberText(const NSNumber* number) {
    if (number->kind() == NSNumber::Kind::Bool) return number->boolValue() ? "1" : "0";
    if (number->kind() == NSNumber::Kind::Integer) return std::to_string(number->longLongValue());
    char text[32];
    auto [end, error] = std::to_chars(text, text + sizeof text, number->doubleValue());
    return error == std::errc() ? std::string(text, end) : "nan";
}

std::string dateText(const NSDate* date) {
    std::time_t seconds = static_cast<std::time_t>(date->timeIntervalSinceReferenceDate()) +
                          978307200; // 2001-01-01 in Unix time
    std::tm utc{};
    gmtime_r(&seconds, &utc);
    char text[40];
    std::strftime(text, sizeof text, "\"%Y-%m-%d %H:%M:%S +0000\"", &utc);
    return text;
}

std::string dataText(const NSData* data) {
    static const char* digits = "0123456789abcdef";
    std::string text = "<";
    for (unsigned char byte : data->view())
        text += {digits[byte >> 4], digits[byte & 15]};
    return text + ">";
}

std::string dictionaryText(const NSDictionary* dictionary, const std::string& indent) {
    std::string text = "{\n";
    for (const auto& [key, value] : dictionary->entries())
        text +=
            indent + "    " + quoted(key) + " = " + defaultsText(value, indent + "    ") + ";\n";
    return text + indent + "}";
}

std::string arrayText(const NSArray* array, const std::string& indent) {
    std::string text = "(\n";
    for (NSUInteger i = 0; i < array->count(); ++i)
        text += indent + "    " + defaultsText(array->objectAtIndex(i), indent + "    ") +
                (i + 1 < array->count() ? ",\n" : "\n");
    return text + indent + ")";
}

// A domain: the host's, through the standard store, or a file of the
// preferences folder.
struct Domain {
    std::string name;
    bool isHost;
    std::string file;
};

bool isDomainName(const std::string& name) {
    return !name.empty() && name.front() != '.' && name.find('/') == std::string::npos &&
           !hasControlCharacters(name);
}

std::vector<std::string> domainNames() {
    std::vector<std::string> names{mainBundleIdentifier()};
    std::error_code error;
    for (const fs::directory_entry& entry :
         fs::directory_iterator(devicePath(kHostPreferencesFolder), error))
        if (entry.path().extension() == ".plist" && entry.is_regular_file(error) &&
            isDomainName(entry.path().stem()) && entry.path().stem() != mainBundleIdentifier())
            names.push_back(entry.path().stem().string());
    std::sort(names.begin() + 1, names.end());
    return names;
}

Result<Domain> findDomain(const std::string& name) {
    if (!isDomainName(name))
        return Problem{"\"" + name + "\" is no domain name (such as " + mainBundleIdentifier() +
                       ")."};
    std::string file = devicePath(std::string(kHostPreferencesFolder) + "/" + name + ".plist");
    std::error_code error;
    if (name == mainBundleIdentifier()) return Domain{name, true, file};
    if (fs::is_regular_file(file, error)) return Domain{name, false, file};
    return Problem{"Domain " + name + " does not exist; \"defaults read\" shows every domain."};
}

std::string unreadable(const Domain& domain) {
    return "The file of domain " + domain.name + " cannot be read; nothing changed.";
}

Result<Ref<NSDictionary>> contentsOf(const Domain& domain) {
    if (domain.isHost) return NSUserDefaults::standardUserDefaults()->persistentDomain();
    Ref<NSDictionary> contents =
        NSDictionary::dictionaryWithContentsOfFile(NSString::string(domain.file));
    if (!contents) return Problem{unreadable(domain)};
    return contents;
}

// The contents of the domain that `name` names, or why there are none.
Result<Ref<NSDictionary>> contentsNamed(const std::string& name) {
    Result<Domain> domain = findDomain(name);
    if (!domain) return Problem{domain.problem()};
    return contentsOf(*domain);
}

// Sets (nil: removes) the key of the domain; answers the problem, if any.
std::string store(const Domain& domain, const std::string& key, NSObject* value) {
    Ref<NSString> name = NSString::string(key);
    if (domain.isHost) {
        NSUserDefaults* defaults = NSUserDefaults::standardUserDefaults();
        if (!defaults->setObject(value, name)) return "The value cannot be stored in the defaults.";
        if (!defaults->synchronize())
            return "Changed for this run, but the defaults could not be saved.";
        return "";
    }
    Ref<NSMutableDictionary> contents =
        NSMutableDictionary::dictionaryWithContentsOfFile(NSString::string(domain.file));
    if (!contents) return unreadable(domain);
    if (value)
        contents->setObject(value, name);
    else
        contents->removeObjectForKey(name);
    if (!contents->writeToFile(NSString::string(domain.file), true))
        return "The file of domain " + domain.name + " cannot be written; nothing changed.";
    return "";
}

std::string missingPair(const std::string& domain, const std::string& key) {
    return "The domain/default pair of (" + domain + ", " + key + ") does not exist.";
}

std::string readAll(HostSession& session) {
    Ref<NSMutableDictionary> all = NSMutableDictionary::dictionary();
    for (const std::string& name : domainNames())
        if (Result<Ref<NSDictionary>> contents = contentsNamed(name))
            all->setObject(*contents, NSString::string(name));
    session.out() << defaultsText(all) << "\n";
    return "";
}

std::string readCommand(HostSession& session, const SessionArguments& args) {
    if (args.size() == 1) return readAll(session);
    if (args.size() > 3) return "defaults read takes [DOMAIN [KEY]].";
    Result<Ref<NSDictionary>> contents = contentsNamed(args[1]);
    if (!contents) return contents.problem();
    NSObject* shown =
        args.size() == 3 ? (*contents)->objectForKey(NSString::string(args[2])) : contents->get();
    if (!shown) return missingPair(args[1], args[2]);
    session.out() << defaultsText(shown) << "\n";
    return "";
}

std::string writeCommand(HostSession&, const SessionArguments& args) {
    if (args.size() != 4 && args.size() != 5)
        return "defaults write takes DOMAIN KEY [" + std::string(kTypes) + "] VALUE.";
    Result<Domain> domain = findDomain(args[1]);
    if (!domain) return domain.problem();
    if (hasControlCharacters(args[2])) return "The key has control characters; nothing changed.";
    Result<Ref<NSObject>> value =
        args.size() == 5 ? defaultsValue(args[3], args[4]) : defaultsValue("-string", args[3]);
    return value ? store(*domain, args[2], *value) : value.problem();
}

std::string deleteCommand(HostSession&, const SessionArguments& args) {
    if (args.size() != 2 && args.size() != 3) return "defaults delete takes DOMAIN [KEY].";
    Result<Domain> domain = findDomain(args[1]);
    if (!domain) return domain.problem();
    Result<Ref<NSDictionary>> contents = contentsOf(*domain);
    if (!contents) return contents.problem();
    if (args.size() == 3)
        return (*contents)->objectForKey(NSString::string(args[2]))
                   ? store(*domain, args[2], nullptr)
                   : missingPair(args[1], args[2]);
    if (!domain->isHost) {
        std::error_code error;
        return fs::remove(domain->file, error)
                   ? ""
                   : "Domain " + domain->name + " cannot be removed: " + error.message() + ".";
    }
    for (const auto& [key, value] : (*contents)->entries())
        if (std::string failed = store(*domain, key, nullptr); !failed.empty()) return failed;
    return "";
}

std::string defaults(HostSession& session, const SessionArguments& args) {
    if (args[0] == "read") return readCommand(session, args);
    if (args[0] == "write") return writeCommand(session, args);
    if (args[0] == "delete") return deleteCommand(session, args);
    return "defaults takes read, write or delete, not \"" + args[0] + "\".";
}

} // namespace

Result<Ref<NSObject>> defaultsValue(const std::string& type, const std::string& text) {
    using Parse = Ref<NSObject> (*)(const std::string&);
    static const std::map<std::string, std::pair<Parse, const char*>> parsers = {
        {"-bool", {boolValue, "YES, NO, true or false"}},
        {"-boolean", {boolValue, "YES, NO, true or false"}},
        {"-int", {intValue, "a whole number"}},
        {"-integer", {intValue, "a whole number"}},
        {"-float", {floatValue, "a number such as 0.5"}},
        {"-string", {[](const std::string& t) { return Ref<NSObject>(NSString::string(t)); }, ""}}};
    auto parser = parsers.find(type);
    if (parser == parsers.end())
        return Problem{"Unknown type " + type + "; defaults write takes " + kTypes + "."};
    if (Ref<NSObject> value = parser->second.first(text)) return value;
    return Problem{"\"" + text + "\" is no " + type.substr(1) + " value; " + type + " takes " +
                   parser->second.second + "."};
}

std::string defaultsText(objc_object* value, const std::string& indent) {
    if (auto* text = as<NSString>(value)) return quoted(text->utf8());
    if (auto* number = as<NSNumber>(value)) return numberText(number);
    if (auto* dictionary = as<NSDictionary>(value)) return dictionaryText(dictionary, indent);
    if (auto* array = as<NSArray>(value)) return arrayText(array, indent);
    if (auto* date = as<NSDate>(value)) return dateText(date);
    if (auto* data = as<NSData>(value)) return dataText(data);
    return describe(value)->utf8();
}

SessionCommandTable defaultsCommands() {
    return {{"defaults", "defaults VERB ...",
             "read [DOMAIN [KEY]], write DOMAIN KEY [-bool|-int|-float|-string] VALUE, "
             "delete DOMAIN [KEY]",
             defaults, false, 1}};
}
