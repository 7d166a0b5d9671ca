#include "host/HostProgram.h"

#include <filesystem>

#include "Foundation/DeviceRoot.h"
#include "Foundation/NSNumber.h"
#include "Foundation/NSUserDefaults.h"
#include "host/FeedFile.h"
#include "host/FeedPrinter.h"
#include "host/HostClasses.h"
#include "host/IGMainFeed.h"
#include "host/Loader.h"

namespace {

std::optional<bool> onOff(const std::string& value) {
    if (value == "on") return true;
    if (value == "off") return false;
    return std::nullopt;
}

// Applies one option; `next` hands out the option's value.
template <class Next>
std::optional<std::string> apply(HostOptions& options, const std::string& option, Next next) {
    if (option == "--no-inject") {
        options.inject = false;
        return std::nullopt;
    }
    if (option != "--root" && option != "--feed" && option != "--velin")
        return "unknown option " + option;
    const std::string* value = next();
    if (!value) return option + " needs a value";
    if (option == "--root") options.root = *value;
    if (option == "--feed") options.feed = *value;
    if (option != "--velin") return std::nullopt;
    options.velin = onOff(*value);
    if (!options.velin) return "--velin takes on or off, not \"" + *value + "\"";
    return std::nullopt;
}

void setVelinMode(bool on, std::ostream& errors) {
    NSUserDefaults* defaults = NSUserDefaults::standardUserDefaults();
    defaults->setObject(NSNumber::numberWithBool(on), "TVLSWitch1"_ns);
    if (!defaults->synchronize())
        errors << "host: could not save Velin Mode; it holds for this run only\n";
}

} // namespace

const char* hostUsage() {
    return "usage: tavelin-host [--root DIR] [--feed FILE] [--velin on|off] [--no-inject]\n"
           "  --root DIR       device root holding the injected libraries (default: the staged "
           "root)\n"
           "  --feed FILE      the feed to show (default: "
           "<root>/Applications/Instagram.app/feed.json)\n"
           "  --velin on|off   turns Velin Mode on or off before the feed is shown\n"
           "  --no-inject      runs the host without its injected libraries\n";
}

std::variant<HostOptions, HostOptionsError>
parseHostOptions(const std::vector<std::string>& arguments, const std::string& defaultRoot) {
    HostOptions options{.root = defaultRoot};
    for (std::size_t at = 0; at < arguments.size(); ++at) {
        auto next = [&]() -> const std::string* {
            return at + 1 < arguments.size() ? &arguments[++at] : nullptr;
        };
        if (auto problem = apply(options, arguments[at], next)) return HostOptionsError{*problem};
    }
    if (options.root.empty()) return HostOptionsError{"--root needs a folder"};
    return options;
}

int runHost(const HostOptions& options, std::ostream& out, std::ostream& errors) {
    if (!std::filesystem::is_directory(options.root)) {
        errors << "host: the device root " << options.root
               << " is not a folder; give one with --root\n";
        return 1;
    }
    setDeviceRoot(options.root);
    registerHostClasses();
    if (options.inject) loadInjectedLibraries(options.root, errors);
    if (options.velin) setVelinMode(*options.velin, errors);
    try {
        Ref<NSArray> feed = loadFeed(options.feed.value_or(devicePath(kHostFeedPath)));
        auto source = IGMainFeedListAdapterDataSource::dataSourceWithObjects(feed);
        auto adapter = IGListAdapter::adapterWithDataSource(source);
        out << describeFeed(adapter->objects());
    } catch (const FeedFileError& error) {
        errors << "host: " << error.what() << "\n";
        return 1;
    }
    return 0;
}
