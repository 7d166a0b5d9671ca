// The host program: options, and a run that shows the main feed or runs a
// session with the host's screens.
#pragma once

#include <cstddef>
#include <optional>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include "Foundation/Result.h"
#include "host/HostSession.h"

// What the program does: print the feed once, or run a session of commands
// (the built-in tour, a prompt, or a script file; "-" is standard input).
enum class HostMode { PrintFeed, Tour, Interactive, Script };

struct HostOptions {
    std::string root;                  // the device root
    std::optional<std::string> feed{}; // default: the feed file under the root
    std::optional<bool> velin{};       // sets "TVLSWitch1" when given
    bool inject = true;
    // Runs on a temporary copy of the root, removed at exit.
    bool fresh = false;
    // A script runs to its end after a failed command (and still fails).
    bool keepGoing = false;
    bool quiet = false; // the loader says only what goes wrong
    // Default: the tour, or PrintFeed when --feed or --velin is given.
    std::optional<HostMode> mode{};
    std::string script{};
    // The device screen in points and its scale; the UIScreen defaults when absent.
    std::optional<std::pair<double, double>> screenSize{};
    std::optional<double> screenScale{};
    // A device of the UIKit's table (--device), and the appearance (--appearance).
    std::optional<std::string> device{};
    std::optional<long> appearance{};
    // A folder for a picture of every screen the session shows; the tour
    // becomes the default mode when given.
    std::string snapshots{};
    // A specifier list whose screen the session starts on; a prompt unless
    // another mode is chosen.
    std::string preferences{};
    std::string language = "en"; // the texts of those screens
    // --help and --version: print and leave.
    bool help = false;
    bool version = false;
    // Set by the host program for the host processes of a session: the
    // descriptor of the session's commands, and whether a relaunch started
    // this process.
    int commands = -1;
    bool relaunched = false;
};

// Every message of the program to the user starts with this.
inline constexpr const char* kHostErrorPrefix = "tavelin-host: ";
inline constexpr const char* kHostFeedPath = "/Applications/Instagram.app/feed.json";
inline constexpr const char* kHostPreferencesFolder = "/var/mobile/Library/Preferences";
inline constexpr std::size_t kMaxFeedBytes = 64u << 20;
inline constexpr std::size_t kMaxScriptBytes = 16u << 20;
// The name of the host's executable, as filter lists and NSLog see it.
inline constexpr const char* kHostExecutableName = "Instagram";
inline constexpr const char* kSessionGreeting =
    "Tavelin host: \"help\" lists the commands, \"quit\" ends.\n";

const char* hostUsage();
const char* hostVersion();
// The options, or their problem said for the user. `defaultRoot` stands in
// when --root is not given. --help anywhere wins over every problem with the
// other options.
Result<HostOptions> parseHostOptions(const std::vector<std::string>& arguments,
                                     const std::string& defaultRoot);

// Every command of the host's sessions: the built-ins and those of each part.
SessionCommandTable hostCommands(const HostOptions& options);

// Sets up the host, injects the libraries, runs the mode. Answers the
// process's exit code: 0, or 1 with the reasons on `errors`.
int runHost(const HostOptions& options, std::ostream& out, std::ostream& errors);
// Whether the host can start with these options now, or why not.
Result<void> hostCanStart(const HostOptions& options);

// The script of --script ("standard input" for -) as errors name it.
std::string sessionScriptName(const std::string& path);
// The text of the session's script, or why it cannot be read.
Result<std::string> readSessionScript(const HostOptions& options);

// A temporary copy of a device root without its saved settings, removed
// when this goes or the process ends.
class FreshRoot {
  public:
    FreshRoot() = default;
    FreshRoot(const FreshRoot&) = delete;
    FreshRoot& operator=(const FreshRoot&) = delete;
    ~FreshRoot();
    // Answers the copy's path, or why there is none.
    Result<std::string> copy(const std::string& root);

  private:
    std::string _path;
};
