#include <dlfcn.h>
#include <sstream>

#include "Foundation/NSProcessInfo.h"
#include "tests/host/TestRoot.h"

namespace {

const std::string kFolder = std::string(kInjectedLibrariesFolder) + "/";

// A library of each fate, in name order, loaded once with notices and once
// quietly, which leaves out only the notices.
void loadsWhatTheFiltersAllowAndSaysWhy() {
    NSProcessInfo::processInfo()->setProcessName("Instagram"_ns);
    TestRoot root;
    root.inject("Aardvark.dylib", FOUNDATION_LIBRARY,
                "<key>Executables</key><array><string>Instagram</string></array>"
                "<key>Bundle</key><string>x</string>");
    root.inject("Broken.dylib", root.path() + "/nowhere.so");
    root.inject("Elsewhere.dylib", FOUNDATION_LIBRARY,
                "<key>Bundles</key><array><string>com.apple.springboard</string></array>");
    root.inject("Filterless.dylib", FOUNDATION_LIBRARY, "");
    root.inject("Reversed.dylib", FOUNDATION_LIBRARY,
                "<key>CoreFoundationVersion</key><array><real>2</real><real>1</real></array>");
    root.inject("Tavelin.dylib", TAVELIN_DYLIB);
    std::ostringstream log;
    std::vector<LoadedLibrary> loaded = loadInjectedLibraries(root.path(), log);
    ASSERT_EQ(loaded.size(), 2u) << log.str();
    EXPECT_EQ(loaded[0].path, (root.libraries() / "Aardvark.dylib").string());
    EXPECT_EQ(loaded[1].path, (root.libraries() / "Tavelin.dylib").string());
    EXPECT_NE(dlsym(loaded[1].handle, "local_init"), nullptr);
    EXPECT_EQ(injectedLibraries().size(), 2u);
    const std::string lines[] = {
        "Notice: Injecting: com.burbn.instagram [Instagram] (1946.1)",
        "Warning: Aardvark.plist: the filter key Bundle is unknown and ignored",
        "Notice: Loading: " + kFolder + "Aardvark.dylib (executable Instagram)",
        "Notice: Loading: " + kFolder + "Broken.dylib (bundle com.burbn.instagram)",
        "Error: " + kFolder + "Broken.dylib cannot be loaded: " + root.libraries().string() +
            "/Broken.dylib: cannot open shared object file: No such file or directory",
        "Notice: Skipping: " + kFolder +
            "Elsewhere.dylib: Bundles (com.apple.springboard) names no bundle of this process "
            "(com.burbn.instagram, com.apple.Foundation, com.apple.UIKit)",
        "Warning: Skipping: " + kFolder +
            "Filterless.dylib: it has no filter list Filterless.plist beside it; a library "
            "without one is not loaded",
        "Error: Skipping: " + kFolder +
            "Reversed.dylib: its filter list Reversed.plist CoreFoundationVersion (2, 1) is "
            "reversed: its end must be above its lowest version",
        "Notice: Loading: " + kFolder + "Tavelin.dylib (bundle com.burbn.instagram)"};
    std::string expected, quiet;
    for (const std::string& line : lines) {
        expected += "MS:" + line + "\n";
        if (!line.starts_with("Notice")) quiet += "MS:" + line + "\n";
    }
    EXPECT_EQ(log.str(), expected);
    std::ostringstream quietLog;
    loadInjectedLibraries(root.path(), quietLog, true);
    EXPECT_EQ(quietLog.str(), quiet);
}

TEST(Loader, LoadsWhatTheFiltersAllowInNameOrderAndSaysWhyForEachLibrary) {
    EXPECT_IN_CHILD(loadsWhatTheFiltersAllowAndSaysWhy());
}

TEST(Loader, ReportsAMissingLibraryFolder) {
    TestRoot root;
    std::filesystem::remove_all(root.libraries());
    std::ostringstream log;
    EXPECT_TRUE(loadInjectedLibraries(root.path(), log, true).empty());
    EXPECT_EQ(log.str(), "MS:Error: cannot read " + kFolder.substr(0, kFolder.size() - 1) +
                             ": No such file or directory; no library is injected\n");
}

} // namespace
