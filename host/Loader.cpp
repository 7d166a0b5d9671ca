#include "host/Loader.h"

#include <algorithm>
#include <dlfcn.h>
#include <filesystem>
#include <system_error>

namespace fs = std::filesystem;

namespace {

std::vector<fs::path> librariesIn(const fs::path& folder, std::ostream& errors) {
    std::vector<fs::path> found;
    std::error_code error;
    for (const fs::directory_entry& entry : fs::directory_iterator(folder, error))
        if (entry.path().extension() == ".dylib" && !entry.is_directory(error))
            found.push_back(entry.path());
    if (error)
        errors << "loader: cannot read " << folder.string() << ": " << error.message()
               << "; no library is injected\n";
    std::sort(found.begin(), found.end());
    return found;
}

} // namespace

std::vector<LoadedLibrary> loadInjectedLibraries(const std::string& root, std::ostream& errors) {
    std::vector<LoadedLibrary> loaded;
    for (const fs::path& library : librariesIn(fs::path(root + kInjectedLibrariesFolder), errors)) {
        void* handle = dlopen(library.c_str(), RTLD_NOW | RTLD_GLOBAL);
        if (handle)
            loaded.push_back({library.string(), handle});
        else
            errors << "loader: skipped " << library.string() << ": " << dlerror() << "\n";
    }
    return loaded;
}
