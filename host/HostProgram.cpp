#include "host/HostProgram.h"

#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>

#include "Foundation/DeviceRoot.h"
#include "Foundation/NSNumber.h"
#include "Foundation/NSUserDefaults.h"
#include "host/FeedFile.h"
#include "host/FeedPrinter.h"
#include "host/GalleryCommand.h"
#include "host/HostClasses.h"
#include "host/HostSession.h"
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
    if (option == "--tour" || option == "--interactive") {
        options.mode = option == "--tour" ? HostMode::Tour : HostMode::Interactive;
        return std::nullopt;
    }
    if (option != "--root" && option != "--feed" && option != "--velin" && option != "--script")
        return "unknown option " + option;
    const std::string* value = next();
    if (!value) return option + " needs a value";
    if (option == "--root") options.root = *value;
    if (option == "--feed") options.feed = *value;
    if (option == "--script") {
        options.mode = HostMode::Script;
        options.script = *value;
    }
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

int printFeed(NSArray* feed, std::ostream& out) {
    auto source = IGMainFeedListAdapterDataSource::dataSourceWithObjects(feed);
    auto adapter = IGListAdapter::adapterWithDataSource(source);
    out << describeFeed(adapter->objects());
    return 0;
}

int runSession(const HostOptions& options, NSArray* feed, std::ostream& out, std::ostream& errors) {
    addGalleryCommands();
    HostSession session(feed, out);
    if (options.mode == HostMode::Interactive) {
        out << "Tavelin host: \"help\" lists the commands, \"quit\" ends.\n";
        session.show();
        session.runAll(std::cin, true, false);
        return 0;
    }
    if (options.mode == HostMode::Tour) {
        std::istringstream tour;
        std::string text;
        for (const std::string& line : tourCommands())
            text += line + "\n";
        tour.str(text);
        session.runAll(tour, false, true);
        return 0;
    }
    if (options.script == "-") {
        session.runAll(std::cin, false, true);
        return 0;
    }
    std::ifstream script(options.script);
    if (!script) {
        errors << "host: cannot read the script " << options.script
               << "; give a readable file, or - for standard input\n";
        return 1;
    }
    session.runAll(script, false, true);
    return 0;
}

} // namespace

const char* hostUsage() {
    return "usage: tavelin-host [--tour | --interactive | --script FILE] [--root DIR] [--feed "
           "FILE]\n"
           "                    [--velin on|off] [--no-inject]\n"
           "  --tour           runs the built-in tour of the screens (the default, unless --feed\n"
           "                   or --velin is given: then the feed is printed once)\n"
           "  --interactive    a prompt for session commands (\"help\" lists them)\n"
           "  --script FILE    runs the session commands of FILE (- for standard input)\n"
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
    if (!options.mode)
        options.mode = options.feed || options.velin ? HostMode::PrintFeed : HostMode::Tour;
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
        if (options.mode == HostMode::PrintFeed) return printFeed(feed, out);
        return runSession(options, feed, out, errors);
    } catch (const FeedFileError& error) {
        errors << "host: " << error.what() << "\n";
        return 1;
    }
}
