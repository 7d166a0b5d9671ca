// The host program: options, and a run that shows the main feed.
#pragma once

#include <optional>
#include <ostream>
#include <string>
#include <variant>
#include <vector>

struct HostOptions {
    std::string root;                  // the device root
    std::optional<std::string> feed{}; // default: the feed file under the root
    std::optional<bool> velin{};       // sets "TVLSWitch1" when given
    bool inject = true;
};

// The problem with the options, said for the user.
struct HostOptionsError {
    std::string message;
};

inline constexpr const char* kHostFeedPath = "/Applications/Instagram.app/feed.json";

const char* hostUsage();
// `defaultRoot` stands in when --root is not given.
std::variant<HostOptions, HostOptionsError>
parseHostOptions(const std::vector<std::string>& arguments, const std::string& defaultRoot);

// Sets up the host, injects the libraries, prints the main feed on `out`.
// Answers the process's exit code (0, or 1 with the reason on `errors`).
int runHost(const HostOptions& options, std::ostream& out, std::ostream& errors);
