// A device root of its own for a test: a temporary folder, removed at the end.
#pragma once

#include "host/Loader.h"
#include "tests/platform/Foundation/TempRoot.h"

using testing_support::readText;

inline bool contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

class TestRoot {
  public:
    TestRoot() {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "tavelin-root-XXXXXX").string();
        path_ = mkdtemp(pattern.data());
        std::filesystem::create_directories(libraries());
    }
    ~TestRoot() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    TestRoot(const TestRoot&) = delete;
    TestRoot& operator=(const TestRoot&) = delete;

    const std::string& path() const { return path_; }
    std::filesystem::path libraries() const { return path_ + kInjectedLibrariesFolder; }

    // Puts a library into the injected folder under `name`, with a filter
    // list of the given filters (an XML dictionary's entries, by default the
    // host's bundle); none when `filters` is empty.
    void inject(const std::string& name, const std::string& library,
                const std::string& filters = kHostBundleFilter) const {
        std::filesystem::create_symlink(library, libraries() / name);
        if (!filters.empty())
            std::ofstream((libraries() / name).replace_extension(".plist")) << filterList(filters);
    }
    static constexpr const char* kHostBundleFilter =
        "<key>Bundles</key><array><string>com.burbn.instagram</string></array>";
    static std::string filterList(const std::string& filters) {
        return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<plist version=\"1.0\"><dict>"
               "<key>Filter</key><dict>" +
               filters + "</dict></dict></plist>\n";
    }
#ifdef STAGED_BUNDLE
    // Gives the root the library's images, as the build staged them.
    void stageBundle() const {
        std::filesystem::path bundle =
            path_ + TAVELIN_JB_PREFIX "/Library/Application Support/Tavelin/Tavelin.bundle";
        std::filesystem::create_directories(bundle.parent_path());
        std::filesystem::create_directory_symlink(STAGED_BUNDLE, bundle);
    }
#endif
    std::string write(const std::string& relative, const std::string& contents) const {
        std::filesystem::path file = std::filesystem::path(path_) / relative;
        std::filesystem::create_directories(file.parent_path());
        std::ofstream(file) << contents;
        return file.string();
    }

  private:
    std::string path_;
};

// Runs `body` in a child process: a hook scenario needs a process whose
// runtime has only the classes that the scenario registers. The child's
// failures are printed on stderr and fail the parent's check.
#define EXPECT_IN_CHILD(...)                                                                       \
    EXPECT_EXIT(                                                                                   \
        {                                                                                          \
            dup2(2, 1);                                                                            \
            __VA_ARGS__;                                                                           \
            std::exit(::testing::Test::HasFailure() ? 1 : 0);                                      \
        },                                                                                         \
        ::testing::ExitedWithCode(0), "")
