#include "host/HostProgram.h"

#include <cmath>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <map>
#include <sstream>

#include "Foundation/DeviceRoot.h"
#include "Foundation/NSNumber.h"
#include "Foundation/NSUserDefaults.h"
#include "UIKit/UIRenderer.h"
#include "UIKit/UIScreen.h"
#include "host/FeedFile.h"
#include "host/FeedPrinter.h"
#include "host/GalleryCommand.h"
#include "host/HostClasses.h"
#include "host/HostSession.h"
#include "host/IGMainFeed.h"
#include "host/Loader.h"
#include "host/SnapshotCommand.h"

namespace {

std::optional<bool> onOff(const std::string& value) {
    if (value == "on") return true;
    if (value == "off") return false;
    return std::nullopt;
}

template <class Field> std::optional<std::string> keep(Field& field, const std::string& value) {
    field = value;
    return std::nullopt;
}

using ValueOption = std::optional<std::string> (*)(HostOptions&, const std::string&);

std::optional<std::string> setVelin(HostOptions& options, const std::string& value) {
    options.velin = onOff(value);
    if (!options.velin) return "--velin takes on or off, not \"" + value + "\"";
    return std::nullopt;
}

std::optional<double> positiveNumber(const std::string& text) {
    try {
        std::size_t used = 0;
        double value = std::stod(text, &used);
        if (used == text.size() && std::isfinite(value) && value > 0) return value;
    } catch (const std::exception&) {
    }
    return std::nullopt;
}

std::optional<std::string> setSize(HostOptions& options, const std::string& value) {
    std::size_t x = value.find('x');
    auto width = positiveNumber(value.substr(0, x));
    auto height = x == std::string::npos ? std::nullopt : positiveNumber(value.substr(x + 1));
    if (!width || !height)
        return "--size takes WIDTHxHEIGHT in points, such as 375x667 or 390x844, not \"" + value +
               "\"";
    options.screenSize = std::pair{*width, *height};
    return std::nullopt;
}

std::optional<std::string> setScale(HostOptions& options, const std::string& value) {
    options.screenScale = positiveNumber(value);
    if (!options.screenScale)
        return "--scale takes a positive number of pixels per point, such as 2 or 3, not \"" +
               value + "\"";
    return std::nullopt;
}

const std::map<std::string, ValueOption>& valueOptions() {
    static const std::map<std::string, ValueOption> options = {
        {"--root", [](HostOptions& o, const std::string& v) { return keep(o.root, v); }},
        {"--feed", [](HostOptions& o, const std::string& v) { return keep(o.feed, v); }},
        {"--snapshots", [](HostOptions& o, const std::string& v) { return keep(o.snapshots, v); }},
        {"--script",
         [](HostOptions& o, const std::string& v) {
             o.mode = HostMode::Script;
             return keep(o.script, v);
         }},
        {"--velin", setVelin},
        {"--size", setSize},
        {"--scale", setScale},
    };
    return options;
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
    auto found = valueOptions().find(option);
    if (found == valueOptions().end()) return "unknown option " + option;
    const std::string* value = next();
    if (!value) return option + " needs a value";
    return found->second(options, *value);
}

// The picture must fit the renderer's limit of pixels a side.
std::optional<std::string> screenProblem(const HostOptions& options) {
    if (!options.screenSize && !options.screenScale) return std::nullopt;
    auto [width, height] = options.screenSize.value_or(std::pair{375.0, 667.0});
    double scale = options.screenScale.value_or(2.0);
    if (std::max(width, height) * scale <= kMaxScreenPixels) return std::nullopt;
    std::ostringstream problem;
    problem << "a screen of " << width << "x" << height << " points at scale " << scale
            << " is over " << kMaxScreenPixels
            << " pixels a side; choose a smaller --size or --scale";
    return problem.str();
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
    addSnapshotCommand();
    HostSession session(feed, out, options.feed.value_or(devicePath(kHostFeedPath)));
    session.setSnapshotFolder(options.snapshots);
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

// Sets the device screen and makes the snapshot folder.
bool prepareScreen(const HostOptions& options, std::ostream& errors) {
    if (options.screenSize)
        UIScreen::mainScreen()->setSize({options.screenSize->first, options.screenSize->second});
    if (options.screenScale) UIScreen::mainScreen()->setScale(*options.screenScale);
    if (options.snapshots.empty()) return true;
    std::error_code failure;
    std::filesystem::create_directories(options.snapshots, failure);
    if (!failure && std::filesystem::is_directory(options.snapshots)) return true;
    errors << "host: cannot make the picture folder " << options.snapshots << ": "
           << (failure ? failure.message() : "a file of that name is in the way")
           << "; give --snapshots a folder you can write to\n";
    return false;
}

} // namespace

const char* hostUsage() {
    return "usage: tavelin-host [--tour | --interactive | --script FILE] [--root DIR] [--feed "
           "FILE]\n"
           "                    [--velin on|off] [--no-inject] [--snapshots DIR] [--size WxH]\n"
           "                    [--scale N]\n"
           "  --tour           runs the built-in tour of the screens (the default, unless --feed\n"
           "                   or --velin is given: then the feed is printed once)\n"
           "  --interactive    a prompt for session commands (\"help\" lists them)\n"
           "  --script FILE    runs the session commands of FILE (- for standard input)\n"
           "  --root DIR       device root holding the injected libraries (default: the staged "
           "root)\n"
           "  --feed FILE      the feed to show (default: "
           "<root>/Applications/Instagram.app/feed.json)\n"
           "  --velin on|off   turns Velin Mode on or off before the feed is shown\n"
           "  --no-inject      runs the host without its injected libraries\n"
           "  --snapshots DIR  writes a picture of every screen shown into DIR (001-feed.png,\n"
           "                   002-account-settings.png ...); the tour runs unless another\n"
           "                   mode is chosen\n"
           "  --size WxH       the device screen in points (default 375x667; e.g. 390x844)\n"
           "  --scale N        pixels per point of the device screen (default 2; e.g. 3)\n";
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
    if (auto problem = screenProblem(options)) return HostOptionsError{*problem};
    if (!options.mode)
        options.mode = (options.feed || options.velin) && options.snapshots.empty()
                           ? HostMode::PrintFeed
                           : HostMode::Tour;
    return options;
}

int runHost(const HostOptions& options, std::ostream& out, std::ostream& errors) {
    if (!std::filesystem::is_directory(options.root)) {
        errors << "host: the device root " << options.root
               << " is not a folder; give one with --root\n";
        return 1;
    }
    if (!prepareScreen(options, errors)) return 1;
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
