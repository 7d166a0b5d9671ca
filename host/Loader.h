// Stands in for the device's substrate: loads the libraries to inject into
// the host, from <root>/Library/MobileSubstrate/DynamicLibraries/, at start.
#pragma once

#include <ostream>
#include <string>
#include <vector>

inline constexpr const char* kInjectedLibrariesFolder = "/Library/MobileSubstrate/DynamicLibraries";

struct LoadedLibrary {
    std::string path;
    void* handle; // from dlopen; libraries stay loaded for the life of the process
};

// Loads every *.dylib of the folder under `root`, in name order. Each one that
// cannot be loaded is reported on `errors` with the loader's reason, and the
// others still load. A missing folder is reported too; nothing is loaded.
std::vector<LoadedLibrary> loadInjectedLibraries(const std::string& root, std::ostream& errors);
