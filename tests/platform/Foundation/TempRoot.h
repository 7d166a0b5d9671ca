// Test helpers: a temporary device root with a fresh standard defaults store,
// file helpers, and children: forked, or this program under strace.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

#include "Foundation/DeviceRoot.h"
#include "Foundation/NSUserDefaults.h"

namespace testing_support {

inline std::string readText(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

inline void writeText(const std::filesystem::path& path, std::string_view text) {
    std::ofstream(path, std::ios::binary) << text;
}

// The names in a folder, sorted.
inline std::vector<std::string> folderNames(const std::filesystem::path& folder) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        names.push_back(entry.path().filename());
    std::sort(names.begin(), names.end());
    return names;
}

// The source tree: $TAVELIN_SOURCE_DIR, else the working folder.
inline std::filesystem::path sourceDir() {
    const char* dir = std::getenv("TAVELIN_SOURCE_DIR");
    return dir ? dir : ".";
}

// Runs a command line through the shell; answers its exit status (-1 when killed).
inline int run(const std::string& command) {
    int status = std::system(command.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// Runs `body` in a forked child ended by an alarm after 20 s; answers its exit status or -1.
inline int childStatus(const std::function<int()>& body) {
    pid_t child = ::fork();
    if (child == 0) {
        ::alarm(20);
        std::_Exit(body());
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// Runs this program's disabled `test` under strace `options`, with TAVELIN_CHILD_PATH=`path`.
inline int childUnderStrace(const std::string& path, const std::string& options,
                            const std::string& test) {
    return run("TAVELIN_CHILD_PATH=" + path + " strace -f -o /dev/null " + options + " " +
               std::filesystem::read_symlink("/proc/self/exe").string() +
               " --gtest_also_run_disabled_tests --gtest_filter=" + test + " >/dev/null 2>&1");
}

// A fresh device root per test, with the standard store pointed at it.
class TempRootTest : public ::testing::Test {
  protected:
    void SetUp() override {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "tavelin-test-XXXXXX").string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        root_ = pattern;
        setDeviceRoot(root_);
        setMainBundleIdentifier("com.example.host");
        NSUserDefaults::resetStandardUserDefaults();
    }
    void TearDown() override {
        NSUserDefaults::resetStandardUserDefaults();
        std::error_code ignored;
        std::filesystem::remove_all(root_, ignored);
    }

    std::filesystem::path preferences() const { return root_ / "var/mobile/Library/Preferences"; }
    std::filesystem::path defaultsFile() const { return preferences() / "com.example.host.plist"; }

    std::filesystem::path root_;
};

} // namespace testing_support
