#include <gtest/gtest.h>

#include <dlfcn.h>
#include <sstream>

#include "../TestRoot.h"
#include "host/Loader.h"

namespace {

void loadsInNameOrderAndReportsWhatCannotLoad() {
    TestRoot root;
    root.inject("Tavelin.dylib", TAVELIN_DYLIB);
    root.inject("Aardvark.dylib", FOUNDATION_LIBRARY);
    std::string junk =
        root.write("Library/MobileSubstrate/DynamicLibraries/Broken.dylib", "not a library");
    root.inject("Dangling.dylib", root.path() + "/nowhere.so");
    root.write("Library/MobileSubstrate/DynamicLibraries/Tavelin.plist", "{ Filter = {}; }");
    std::ostringstream errors;
    std::vector<LoadedLibrary> loaded = loadInjectedLibraries(root.path(), errors);
    ASSERT_EQ(loaded.size(), 2u) << errors.str();
    EXPECT_EQ(loaded[0].path, (root.libraries() / "Aardvark.dylib").string());
    EXPECT_EQ(loaded[1].path, (root.libraries() / "Tavelin.dylib").string());
    EXPECT_NE(dlsym(loaded[1].handle, "local_init"), nullptr);
    std::string report = errors.str();
    EXPECT_NE(report.find("loader: skipped " + junk + ": " + junk + ": "), std::string::npos)
        << report;
    EXPECT_NE(report.find("Dangling.dylib: "), std::string::npos) << report;
    EXPECT_EQ(report.find("Tavelin.plist"), std::string::npos) << "only libraries are loaded";
}

TEST(Loader, LoadsEveryLibraryInNameOrderAndReportsTheOnesThatCannotLoad) {
    EXPECT_IN_CHILD(loadsInNameOrderAndReportsWhatCannotLoad());
}

TEST(Loader, ReportsAMissingLibraryFolder) {
    TestRoot root;
    std::filesystem::remove_all(root.libraries());
    std::ostringstream errors;
    EXPECT_TRUE(loadInjectedLibraries(root.path(), errors).empty());
    EXPECT_NE(errors.str().find("loader: cannot read " + root.libraries().string()),
              std::string::npos)
        << errors.str();
}

} // namespace
