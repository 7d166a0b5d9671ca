// Stands in for the device's substrate: at start, loads the libraries to
// inject into the host from <root>/Library/MobileSubstrate/DynamicLibraries/
// (under /var/jb in the rootless layout), each one whose filter list
// (<Name>.plist beside <Name>.dylib, host/FilterList.h) matches the process.
//
// It says on its log what it does, one line each, as the device's loader does:
//
//   MS:Notice: Injecting: com.burbn.instagram [Instagram] (1946.1)
//   MS:Notice: Loading: /Library/MobileSubstrate/DynamicLibraries/Tavelin.dylib (bundle ...)
//   MS:Notice: Skipping: /Library/MobileSubstrate/DynamicLibraries/Other.dylib: Bundles ...
//   MS:Warning: Skipping: .../Plain.dylib: it has no filter list Plain.plist beside it ...
//   MS:Error: Skipping: .../Bad.dylib: its filter list Bad.plist names no filter ...
//
// Notices (what is loaded or skipped by its filter) can be silenced; warnings
// and errors (a missing or bad filter list, a library that cannot load, a
// folder that cannot be read) are always said.
#pragma once

#include <ostream>
#include <string>
#include <vector>

inline constexpr const char* kInjectedLibrariesFolder =
    TAVELIN_JB_PREFIX "/Library/MobileSubstrate/DynamicLibraries";
inline constexpr const char* kLoaderLogPrefix = "MS:";

struct LoadedLibrary {
    std::string path; // as given to dlopen
    void* handle;     // libraries stay loaded for the life of the process
};

// Loads the libraries of the folder under `root` in name order; a library
// that is skipped or cannot load leaves the others loading.
std::vector<LoadedLibrary> loadInjectedLibraries(const std::string& root, std::ostream& log,
                                                 bool quiet = false);

// Every library loaded so far in this process, in load order.
const std::vector<LoadedLibrary>& injectedLibraries();
