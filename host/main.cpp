// tavelin-host: the stand-in host application.
#include <iostream>
#include <string>
#include <vector>

#include "host/HostProgram.h"
#include "host/Relaunch.h"

int main(int argc, char** argv) {
    std::vector<std::string> arguments(argv + 1, argv + argc);
    Result<HostOptions> parsed = parseHostOptions(arguments, TAVELIN_STAGE_ROOT);
    if (!parsed) {
        std::cerr << kHostErrorPrefix << parsed.problem() << " (--help lists the options)\n";
        return 2;
    }
    const HostOptions& options = *parsed;
    if (options.help || options.version) {
        std::cout << (options.help ? hostUsage() : hostVersion());
        return 0;
    }
    if (options.mode == HostMode::PrintFeed) return runHost(options, std::cout, std::cerr);
    return runHostProcesses(options, std::cout, std::cerr);
}
