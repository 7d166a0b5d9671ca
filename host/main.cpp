// tavelin-host: the stand-in host application.
#include <algorithm>
#include <iostream>
#include <string>
#include <vector>

#include "host/HostProgram.h"

int main(int argc, char** argv) {
    std::vector<std::string> arguments(argv + 1, argv + argc);
    if (std::ranges::any_of(arguments,
                            [](const std::string& a) { return a == "--help" || a == "-h"; })) {
        std::cout << hostUsage();
        return 0;
    }
    auto parsed = parseHostOptions(arguments, TAVELIN_STAGE_ROOT);
    if (auto* problem = std::get_if<HostOptionsError>(&parsed)) {
        std::cerr << "tavelin-host: " << problem->message << "\n" << hostUsage();
        return 2;
    }
    return runHost(std::get<HostOptions>(parsed), std::cout, std::cerr);
}
