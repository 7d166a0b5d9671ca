// Test helpers: a temporary device root with a fresh standard defaults store,
// file helpers, and running this test program again as a child.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

#include "Foundation/DeviceRoot.h"
#include "Foundation/NSUserDefaults.h"

namespace testing_support {

inline std::string readText(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream buffer;
    buffer << in.rdbuf();
    return buffer.str();
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

// Runs a command line through the shell; answers its exit status (-1 when killed).
inline int run(const std::string& command) {
    int status = std::system(command.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// Runs `body` in a forked child that must end within 20 seconds; answers
// its exit status, or -1 when it was killed (a hang ends by the alarm).
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
        std::filesystem::permissions(root_, std::filesystem::perms::owner_all,
                                     std::filesystem::perm_options::add);
        std::error_code ignored;
        std::filesystem::remove_all(root_, ignored);
    }

    std::filesystem::path preferences() const { return root_ / "var/mobile/Library/Preferences"; }
    std::filesystem::path defaultsFile() const { return preferences() / "com.example.host.plist"; }

    std::filesystem::path root_;
};

} // namespace testing_support
