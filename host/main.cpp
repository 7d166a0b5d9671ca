// tavelin-host: the stand-in host application.
#include <iostream>

#include "host/HostProgram.h"

int main(int argc, char** argv) {
    auto parsed = parseHostOptions({argv + 1, argv + argc}, TAVELIN_STAGE_ROOT);
    if (auto* problem = std::get_if<HostOptionsError>(&parsed)) {
        std::cerr << "tavelin-host: " << problem->message << "\n" << hostUsage();
        return 2;
    }
    return runHost(std::get<HostOptions>(parsed), std::cout, std::cerr);
}
