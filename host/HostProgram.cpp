#include "host/HostProgram.h"

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <iostream>
#include <sstream>
#include <unistd.h>

#include "Foundation/DeviceRoot.h"
#include "Foundation/NSNumber.h"
#include "Foundation/NSProcessInfo.h"
#include "Foundation/NSUserDefaults.h"
#include "UIKit/UIScreen.h"
#include "host/DefaultsCommand.h"
#include "host/FeedFile.h"
#include "host/FeedPrinter.h"
#include "host/GalleryCommand.h"
#include "host/HostClasses.h"
#include "host/HostSession.h"
#include "host/IGMainFeed.h"
#include "host/InputFile.h"
#include "host/InspectionCommands.h"
#include "host/Loader.h"
#include "host/PreferencesCommand.h"
#include "host/PrintableText.h"
#include "host/Prompt.h"
#include "host/Relaunch.h"
#include "host/SampleFeed.h"
#include "host/SessionCommands.h"
#include "host/SnapshotCommand.h"

namespace fs = std::filesystem;

namespace {

// Removes the folder once this process has ended, however it ends (a signal
// included): a child waits for the end of a pipe that only this process holds.
void removeWhenThisProcessEnds(const std::string& path) {
    int ends[2];
    if (pipe2(ends, O_CLOEXEC) != 0) return;
    if (fork() == 0) {
        close(ends[1]);
        int quiet = open("/dev/null", O_RDWR);
        for (int fd : {0, 1, 2})
            dup2(quiet, fd);
        char byte;
        while (read(ends[0], &byte, 1) != 0 && errno == EINTR)
            ;
        std::error_code ignored;
        fs::remove_all(path, ignored);
        _exit(0);
    }
    close(ends[0]);
}

void setVelinMode(bool on, std::ostream& errors) {
    NSUserDefaults* defaults = NSUserDefaults::standardUserDefaults();
    defaults->setObject(NSNumber::numberWithBool(on), "TVLSWitch1"_ns);
    if (!defaults->synchronize())
        errors << kHostErrorPrefix << "could not save Velin Mode in " << defaults->path()
               << "; it holds for this run only\n";
}

int printFeed(NSArray* feed, std::ostream& out) {
    auto source = IGMainFeedListAdapterDataSource::dataSourceWithObjects(feed);
    auto adapter = IGListAdapter::adapterWithDataSource(source);
    out << describeFeed(adapter->objects());
    return 0;
}

int runCommands(HostSession& session, const std::string& text, const ScriptRun& how) {
    std::istringstream in(text);
    return session.runScript(in, how) == 0 ? 0 : 1;
}

int runSession(const HostOptions& options, NSArray* feed, const std::string& feedFile,
               std::ostream& out, std::ostream& errors) {
    setPreferencesLanguage(options.language);
    HostSession session(feed, hostCommands(options), out, errors, feedFile);
    if (!options.snapshots.empty()) snapshotEveryScreen(session, options.snapshots);
    if (std::string problem = options.preferences.empty()
                                  ? std::string()
                                  : openPreferences(session, options.preferences);
        !problem.empty()) {
        errors << kHostErrorPrefix << problem << "\n";
        return 1;
    }
    if (options.commands >= 0) return runLaunchedSession(session, options);
    if (options.mode == HostMode::Interactive) {
        out << kSessionGreeting;
        session.show();
        runPrompt(session, std::cin);
        return 0;
    }
    if (options.mode == HostMode::Tour) {
        std::string text;
        for (const std::string& line : tourCommands(options.inject))
            text += line + "\n";
        return runCommands(session, text, {.name = "tour"});
    }
    Result<std::string> script = readSessionScript(options);
    if (!script) {
        errors << kHostErrorPrefix << script.problem() << "\n";
        return 1;
    }
    return runCommands(session, *script,
                       {.name = sessionScriptName(options.script), .keepGoing = options.keepGoing});
}

// Sets the device screen and makes the snapshot folder.
bool prepareScreen(const HostOptions& options, std::ostream& errors) {
    if (options.device) UIScreen::mainScreen()->setDevice(*deviceNamed(*options.device));
    if (options.appearance) UIScreen::mainScreen()->setUserInterfaceStyle(*options.appearance);
    if (options.screenSize)
        UIScreen::mainScreen()->setSize({options.screenSize->first, options.screenSize->second});
    if (options.screenScale) UIScreen::mainScreen()->setScale(*options.screenScale);
    if (options.snapshots.empty()) return true;
    std::error_code failure;
    fs::create_directories(options.snapshots, failure);
    if (!failure && fs::is_directory(options.snapshots)) return true;
    errors << kHostErrorPrefix << "cannot make the picture folder " << options.snapshots << ": "
           << (failure ? failure.message() : "a file of that name is in the way")
           << "; give --snapshots a folder you can write to\n";
    return false;
}

// The feed file of --feed, else the root's; empty when the root has none,
// and the sample feed built into the host stands in.
std::string hostFeedFile(const HostOptions& options) {
    if (options.feed) return *options.feed;
    std::string rootFeed = devicePath(kHostFeedPath);
    return fs::exists(rootFeed) ? rootFeed : "";
}

Result<Ref<NSArray>> hostFeed(const std::string& file) {
    return file.empty() ? parseFeed(kSampleFeed, "the host's sample feed") : loadFeed(file);
}

int runOnRoot(const HostOptions& options, std::ostream& out, std::ostream& errors) {
    if (!prepareScreen(options, errors)) return 1;
    NSProcessInfo::processInfo()->setProcessName(NSString::string(kHostExecutableName));
    registerHostClasses();
    if (options.inject) loadInjectedLibraries(deviceRoot(), errors, options.quiet);
    if (options.velin && !options.relaunched) setVelinMode(*options.velin, errors);
    std::string feedFile = hostFeedFile(options);
    Result<Ref<NSArray>> feed = hostFeed(feedFile);
    if (!feed) {
        errors << kHostErrorPrefix << feed.problem() << "\n";
        return 1;
    }
    if (options.mode == HostMode::PrintFeed) return printFeed(*feed, out);
    return runSession(options, *feed, feedFile, out, errors);
}

} // namespace

SessionCommandTable hostCommands(const HostOptions& options) {
    SessionCommandTable commands = builtInCommands();
    for (SessionCommandTable part :
         {galleryCommands(), snapshotCommands(), inspectionCommands(), defaultsCommands(),
          relaunchCommands(options), preferencesCommands()})
        commands.insert(commands.end(), part.begin(), part.end());
    return commands;
}

int runHost(const HostOptions& options, std::ostream& rawOut, std::ostream& rawErrors) {
    PrintableStream out(rawOut), errors(rawErrors);
    if (!fs::is_directory(options.root)) {
        errors << kHostErrorPrefix << "the device root " << options.root
               << " is not a folder; give one with --root\n";
        return 1;
    }
    FreshRoot fresh;
    Result<std::string> root = options.fresh ? fresh.copy(options.root) : Result(options.root);
    if (!root) {
        errors << kHostErrorPrefix << root.problem() << "\n";
        return 1;
    }
    setDeviceRoot(*root);
    NSUserDefaults::resetStandardUserDefaults();
    return runOnRoot(options, out, errors);
}

Result<void> hostCanStart(const HostOptions& options) {
    if (!fs::is_directory(options.root))
        return Problem{"the device root " + options.root + " is not a folder"};
    if (options.feed && !fs::is_regular_file(*options.feed))
        return Problem{"the feed file " + *options.feed + " is not a readable file"};
    return {};
}

std::string sessionScriptName(const std::string& path) {
    return path == "-" ? "standard input" : path;
}

Result<std::string> readSessionScript(const HostOptions& options) {
    Result<std::string> script = readFileOrPipe(options.script, kMaxScriptBytes);
    if (script) return script;
    return Problem{"the script " + sessionScriptName(options.script) + " " + script.problem() +
                   "; give a file of session commands, or - for standard input"};
}

FreshRoot::~FreshRoot() {
    std::error_code ignored;
    if (!_path.empty()) fs::remove_all(_path, ignored);
}

Result<std::string> FreshRoot::copy(const std::string& root) {
    std::string pattern = (fs::temp_directory_path() / "tavelin-fresh-XXXXXX").string();
    if (!mkdtemp(pattern.data()))
        return Problem{"--fresh cannot make a temporary folder in " +
                       fs::temp_directory_path().string()};
    _path = pattern;
    removeWhenThisProcessEnds(_path);
    std::error_code failure;
    fs::copy(root, _path, fs::copy_options::recursive | fs::copy_options::copy_symlinks, failure);
    fs::remove_all(_path + kHostPreferencesFolder, failure);
    if (!failure) return _path;
    return Problem{"--fresh cannot copy the device root " + root + ": " + failure.message()};
}
