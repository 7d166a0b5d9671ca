#include "host/Loader.h"

#include <algorithm>
#include <dlfcn.h>
#include <filesystem>
#include <sstream>
#include <system_error>

#include "host/FilterList.h"

namespace fs = std::filesystem;

namespace {

std::vector<LoadedLibrary>& loadedSoFar() {
    static std::vector<LoadedLibrary> libraries;
    return libraries;
}

class LoaderLog {
  public:
    LoaderLog(std::ostream& out, bool quiet) : _out(out), _quiet(quiet) {}
    void notice(const std::string& line) {
        if (!_quiet) say("Notice", line);
    }
    void warning(const std::string& line) { say("Warning", line); }
    void error(const std::string& line) { say("Error", line); }

  private:
    void say(const char* level, const std::string& line) {
        _out << kLoaderLogPrefix << level << ": " << line << "\n";
    }
    std::ostream& _out;
    bool _quiet;
};

std::vector<fs::path> librariesIn(const fs::path& folder, LoaderLog& log) {
    std::vector<fs::path> found;
    std::error_code error;
    for (const fs::directory_entry& entry : fs::directory_iterator(folder, error))
        if (entry.path().extension() == ".dylib" && !entry.is_directory(error))
            found.push_back(entry.path());
    if (error)
        log.error(std::string("cannot read ") + kInjectedLibrariesFolder + ": " + error.message() +
                  "; no library is injected");
    std::sort(found.begin(), found.end());
    return found;
}

std::string devicePathOf(const fs::path& library) {
    return std::string(kInjectedLibrariesFolder) + "/" + library.filename().string();
}

std::string hostLine(const HostIdentity& host) {
    std::ostringstream line;
    line << "Injecting: " << host.bundles.front() << " [" << host.executable << "] ("
         << host.coreFoundationVersion << ")";
    return line.str();
}

// Whether the library's filter list lets it load here; says why when not.
bool filterAllows(const fs::path& library, const HostIdentity& host, LoaderLog& log) {
    fs::path listPath = fs::path(library).replace_extension(".plist");
    std::string list = listPath.filename().string(), shown = devicePathOf(library);
    std::error_code error;
    if (!fs::exists(fs::symlink_status(listPath, error))) {
        log.warning("Skipping: " + shown + ": it has no filter list " + list +
                    " beside it; a library without one is not loaded");
        return false;
    }
    Result<FilterList> filter = readFilterList(listPath.string());
    if (!filter) {
        log.error("Skipping: " + shown + ": its filter list " + list + " " + filter.problem());
        return false;
    }
    const FilterList& read = *filter;
    for (const std::string& key : read.unknownKeys)
        log.warning(list + ": the filter key " + key + " is unknown and ignored");
    FilterDecision decision = decide(read, host);
    log.notice((decision.load ? "Loading: " + shown + " (" : "Skipping: " + shown + ": ") +
               decision.why + (decision.load ? ")" : ""));
    return decision.load;
}

} // namespace

std::vector<LoadedLibrary> loadInjectedLibraries(const std::string& root, std::ostream& out,
                                                 bool quiet) {
    LoaderLog log(out, quiet);
    HostIdentity host = currentHostIdentity();
    log.notice(hostLine(host));
    std::vector<LoadedLibrary> loaded;
    for (const fs::path& library : librariesIn(fs::path(root + kInjectedLibrariesFolder), log)) {
        if (!filterAllows(library, host, log)) continue;
        if (void* handle = dlopen(library.c_str(), RTLD_NOW | RTLD_GLOBAL))
            loaded.push_back({library.string(), handle});
        else
            log.error(devicePathOf(library) + " cannot be loaded: " + dlerror());
    }
    loadedSoFar().insert(loadedSoFar().end(), loaded.begin(), loaded.end());
    return loaded;
}

const std::vector<LoadedLibrary>& injectedLibraries() {
    return loadedSoFar();
}
