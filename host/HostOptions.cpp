// The host program's options, read with getopt_long.
#include <algorithm>
#include <cmath>
#include <getopt.h>
#include <sstream>

#include "UIKit/DeviceModels.h"
#include "UIKit/UIRenderer.h"
#include "UIKit/UITraitCollection.h"
#include "host/HostProgram.h"

namespace {

enum OptionId : int {
    kTour = 256,
    kInteractive,
    kScript,
    kRoot,
    kFeed,
    kVelin,
    kNoInject,
    kQuiet,
    kSnapshots,
    kSize,
    kScale,
    kDevice,
    kAppearance,
    kFresh,
    kPreferences,
    kLanguage,
    kKeepGoing,
    kHelp,
    kVersion,
};

const std::vector<option>& longOptions() {
    static const std::vector<option> options = {
        {"tour", no_argument, nullptr, kTour},
        {"interactive", no_argument, nullptr, kInteractive},
        {"script", required_argument, nullptr, kScript},
        {"root", required_argument, nullptr, kRoot},
        {"feed", required_argument, nullptr, kFeed},
        {"velin", required_argument, nullptr, kVelin},
        {"no-inject", no_argument, nullptr, kNoInject},
        {"quiet", no_argument, nullptr, kQuiet},
        {"snapshots", required_argument, nullptr, kSnapshots},
        {"size", required_argument, nullptr, kSize},
        {"scale", required_argument, nullptr, kScale},
        {"device", required_argument, nullptr, kDevice},
        {"appearance", required_argument, nullptr, kAppearance},
        {"fresh", no_argument, nullptr, kFresh},
        {"preferences", required_argument, nullptr, kPreferences},
        {"language", required_argument, nullptr, kLanguage},
        {"keep-going", no_argument, nullptr, kKeepGoing},
        {"help", no_argument, nullptr, kHelp},
        {"version", no_argument, nullptr, kVersion},
        {nullptr, 0, nullptr, 0},
    };
    return options;
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

Result<void> setVelin(HostOptions& options, const std::string& value) {
    if (value != "on" && value != "off")
        return Problem{"--velin takes on or off, not \"" + value + "\""};
    options.velin = value == "on";
    return {};
}

Result<void> setSize(HostOptions& options, const std::string& value) {
    std::size_t x = value.find('x');
    auto width = positiveNumber(value.substr(0, x));
    auto height = x == std::string::npos ? std::nullopt : positiveNumber(value.substr(x + 1));
    if (!width || !height)
        return Problem{"--size takes WIDTHxHEIGHT in points, such as 375x667 or 390x844, not \"" +
                       value + "\""};
    options.screenSize = std::pair{*width, *height};
    return {};
}

Result<void> setScale(HostOptions& options, const std::string& value) {
    options.screenScale = positiveNumber(value);
    if (!options.screenScale)
        return Problem{
            "--scale takes a positive number of pixels per point, such as 2 or 3, not \"" + value +
            "\""};
    return {};
}

Result<void> setDevice(HostOptions& options, const std::string& value) {
    const DeviceModel* device = deviceNamed(value);
    if (!device)
        return Problem{"--device takes one of " + deviceNames() + ", not \"" + value + "\""};
    options.device = std::string(device->name);
    return {};
}

Result<void> setAppearance(HostOptions& options, const std::string& value) {
    if (value != "light" && value != "dark")
        return Problem{"--appearance takes light or dark, not \"" + value + "\""};
    options.appearance = value == "dark" ? UIUserInterfaceStyleDark : UIUserInterfaceStyleLight;
    return {};
}

void setMode(HostOptions& options, HostMode mode) {
    options.mode = mode;
}

// Applies one option that getopt_long recognised.
Result<void> apply(HostOptions& options, int id, const std::string& value) {
    switch (id) {
    case kTour:
        setMode(options, HostMode::Tour);
        break;
    case kInteractive:
        setMode(options, HostMode::Interactive);
        break;
    case kScript:
        setMode(options, HostMode::Script);
        options.script = value;
        break;
    case kRoot:
        options.root = value;
        break;
    case kFeed:
        options.feed = value;
        break;
    case kVelin:
        return setVelin(options, value);
    case kNoInject:
        options.inject = false;
        break;
    case kQuiet:
        options.quiet = true;
        break;
    case kSnapshots:
        options.snapshots = value;
        break;
    case kSize:
        return setSize(options, value);
    case kScale:
        return setScale(options, value);
    case kDevice:
        return setDevice(options, value);
    case kAppearance:
        return setAppearance(options, value);
    case kFresh:
        options.fresh = true;
        break;
    case kPreferences:
        options.preferences = value;
        break;
    case kLanguage:
        options.language = value;
        break;
    case kKeepGoing:
        options.keepGoing = true;
        break;
    case kHelp:
        options.help = true;
        break;
    default:
        options.version = true;
    }
    return {};
}

std::size_t editDistance(const std::string& a, const std::string& b) {
    std::vector<std::size_t> row(b.size() + 1);
    for (std::size_t j = 0; j <= b.size(); ++j)
        row[j] = j;
    for (std::size_t i = 1; i <= a.size(); ++i) {
        std::size_t diagonal = row[0];
        row[0] = i;
        for (std::size_t j = 1; j <= b.size(); ++j) {
            std::size_t above = row[j];
            row[j] = std::min({row[j] + 1, row[j - 1] + 1, diagonal + (a[i - 1] != b[j - 1])});
            diagonal = above;
        }
    }
    return row[b.size()];
}

std::string joinAlternatives(const std::vector<std::string>& names) {
    std::string text;
    for (std::size_t i = 0; i < names.size(); ++i)
        text += (i == 0 ? "" : i + 1 == names.size() ? " or " : ", ") + names[i];
    return text;
}

// What is wrong with an option that getopt_long refused.
std::string refusal(const std::string& text) {
    if (text.rfind("--", 0) != 0) return "unknown option " + text + "; options start with --";
    std::string name = text.substr(2, text.find('=') - 2);
    std::vector<std::string> prefixed;
    for (const option& known : longOptions())
        if (known.name && std::string(known.name).rfind(name, 0) == 0)
            prefixed.push_back(std::string("--") + known.name);
    if (prefixed.size() > 1)
        return "--" + name + " is ambiguous: it could be " + joinAlternatives(prefixed);
    if (prefixed.size() == 1 && text.find('=') != std::string::npos)
        return prefixed[0] + " takes no value";
    std::string closest;
    std::size_t best = std::max<std::size_t>(2, name.size() / 3) + 1;
    for (const option& known : longOptions())
        if (known.name && editDistance(name, known.name) < best) {
            best = editDistance(name, known.name);
            closest = known.name;
        }
    std::string problem = "unknown option --" + name;
    return closest.empty() ? problem : problem + "; did you mean --" + closest + "?";
}

// The picture must fit the renderer's limit of pixels a side.
Result<void> screenFits(const HostOptions& options) {
    if (options.device && options.screenSize)
        return Problem{"--device and --size both choose the screen; give one of them"};
    if (!options.screenSize && !options.screenScale) return {};
    const DeviceModel& device = options.device ? *deviceNamed(*options.device) : deviceModels()[0];
    auto [width, height] =
        options.screenSize.value_or(std::pair{device.size.width, device.size.height});
    double scale = options.screenScale.value_or(device.scale);
    if (std::max(width, height) * scale <= kMaxScreenPixels) return {};
    std::ostringstream problem;
    problem << "a screen of " << width << "x" << height << " points at scale " << scale
            << " is over " << kMaxScreenPixels
            << " pixels a side; choose a smaller --size or --scale";
    return Problem{problem.str()};
}

// Runs getopt_long over the arguments; answers the first problem.
Result<void> readOptions(HostOptions& options, std::vector<std::string> arguments) {
    arguments.insert(arguments.begin(), "tavelin-host");
    std::vector<char*> argv;
    for (std::string& argument : arguments)
        argv.push_back(argument.data());
    argv.push_back(nullptr);
    optind = 0;
    opterr = 0;
    Result<void> read;
    int argc = static_cast<int>(arguments.size()), id = 0;
    while ((id = getopt_long(argc, argv.data(), ":h", longOptions().data(), nullptr)) != -1) {
        std::string text = argv[optind - 1];
        Result<void> found;
        if (id == 'h') id = kHelp;
        if (id == ':')
            found = Problem{text.substr(0, text.find('=')) + " needs a value"};
        else if (id == '?')
            found = Problem{refusal(optopt > 0 && optopt < kTour
                                        ? std::string("-") + static_cast<char>(optopt)
                                        : text)};
        else
            found = apply(options, id, optarg ? optarg : "");
        if (read) read = found;
    }
    if (read && optind < argc)
        return Problem{"unexpected argument \"" + std::string(argv[optind]) +
                       "\"; options start with --"};
    return read;
}

} // namespace

const char* hostVersion() {
    return "tavelin-host " TAVELIN_VERSION "\n";
}

const char* hostUsage() {
    return "usage: tavelin-host [--tour | --interactive | --script FILE] [--root DIR] [--fresh]\n"
           "                    [--feed FILE] [--velin on|off] [--no-inject] [--quiet]\n"
           "                    [--keep-going] [--snapshots DIR] [--size WxH] [--scale N]\n"
           "                    [--device NAME] [--appearance light|dark]\n"
           "                    [--preferences FILE.plist] [--language NAME]\n"
           "  --tour           runs the built-in tour of the screens (the default, unless --feed\n"
           "                   or --velin is given: then the feed is printed once)\n"
           "  --interactive    a prompt for session commands (\"help\" lists them), with line\n"
           "                   editing, history and completion of commands and row titles\n"
           "  --script FILE    runs the session commands of FILE (- for standard input; at most\n"
           "                   16 MiB); a failed command ends it with status 1\n"
           "  --keep-going     a script runs to its end after a failed command (still status 1)\n"
           "  --root DIR       device root holding the injected libraries (default: the staged\n"
           "                   root). Settings live in its defaults file\n"
           "                   <root>/var/mobile/Library/Preferences/com.burbn.instagram.plist;\n"
           "                   the session's \"reset\" clears them\n"
           "  --fresh          runs on a temporary copy of the root (removed at exit), so that\n"
           "                   no setting is kept or read from earlier runs\n"
           "  --feed FILE      the feed to show, a regular file of at most 64 MiB (default:\n"
           "                   <root>/Applications/Instagram.app/feed.json, else the host's\n"
           "                   sample feed)\n"
           "  --velin on|off   turns Velin Mode on or off before the feed is shown (saved)\n"
           "  --no-inject      runs the host without its injected libraries\n"
           "  --quiet          the loader says only what goes wrong, not each library it loads\n"
           "                   or skips (its lines start with MS:)\n"
           "  --snapshots DIR  writes a picture of every screen shown into DIR (001-feed.png,\n"
           "                   002-account-settings.png ...); the tour runs unless another\n"
           "                   mode is chosen\n"
           "  --size WxH       the device screen in points (default 375x667; e.g. 390x844)\n"
           "  --scale N        pixels per point of the device screen (default 2; e.g. 3)\n"
           "  --device NAME    the screen of a device: \"iPhone SE (3rd generation)\" (the\n"
           "                   default), \"iPhone 14\", \"iPhone 15\", \"iPhone 15 Pro Max\"\n"
           "                   (case, spaces and dashes do not matter: iphone-15)\n"
           "  --appearance A   light (the default) or dark\n"
           "  --preferences FILE.plist  starts on the preferences screen that the specifier\n"
           "                   list declares (a prompt unless another mode is chosen)\n"
           "  --language NAME  the texts of such screens from NAME.lproj (default: en)\n"
           "  --help, --version\n"
           "Options take their value as --opt VALUE or --opt=VALUE.\n";
}

Result<HostOptions> parseHostOptions(const std::vector<std::string>& arguments,
                                     const std::string& defaultRoot) {
    HostOptions options{.root = defaultRoot};
    Result<void> read = readOptions(options, arguments);
    if (options.help || (read && options.version)) return options;
    if (read && options.root.empty()) read = Problem{"--root needs a folder"};
    if (read) read = screenFits(options);
    if (!read) return Problem{read.problem()};
    if (!options.mode && !options.preferences.empty()) options.mode = HostMode::Interactive;
    if (!options.mode)
        options.mode = (options.feed || options.velin) && options.snapshots.empty()
                           ? HostMode::PrintFeed
                           : HostMode::Tour;
    return options;
}
