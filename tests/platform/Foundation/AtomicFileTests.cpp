#include <sys/stat.h>

#include "Foundation/AtomicFile.h"
#include "tests/platform/Foundation/TempRoot.h"

using namespace testing_support;

struct AtomicFileTest : TempRootTest {
    std::string target() const { return (root_ / "file.plist").string(); }
};

// Run under strace by the test below: 0 when the write succeeded, 3 when it reported failure.
TEST(AtomicFileChild, DISABLED_Write) {
    std::_Exit(writeFileAtomically(std::getenv("TAVELIN_CHILD_PATH"), "new contents") ? 0 : 3);
}

// A failed step leaves the old file; a failed folder flush comes after the
// rename, so it is reported with the new file in place. Never a temporary left.
TEST_F(AtomicFileTest, AFailedStepIsReportedAndLeavesNoTemporary) {
    if (run("strace -V >/dev/null 2>&1") != 0) GTEST_SKIP() << "strace is not installed";
    const std::tuple<const char*, const char*, int> cases[] = {
        {"write:error=ENOSPC", "old", 3},
        {"fsync:error=EIO:when=1", "old", 3},
        {"rename:error=EXDEV", "old", 3},
        {"fchmod:error=EPERM", "old", 3},
        {"fsync:error=EIO:when=2", "new contents", 3},
        {"fsync:error=EIO:when=100", "new contents", 0}};
    for (const auto& [fault, left, status] : cases) {
        SCOPED_TRACE(fault);
        ASSERT_TRUE(writeFileAtomically(target(), "old"));
        EXPECT_EQ(childUnderStrace(target(), std::string("-e inject=") + fault,
                                   "AtomicFileChild.DISABLED_Write"),
                  status);
        EXPECT_EQ(readText(target()), left);
        EXPECT_EQ(folderNames(root_), std::vector<std::string>{"file.plist"});
        EXPECT_EQ(std::filesystem::status(target()).permissions(), std::filesystem::perms(0644));
    }
}

// What cannot be written or read is reported with the reason and left alone;
// reading is bounded.
TEST_F(AtomicFileTest, WhatCannotBeWrittenOrReadIsReportedAndLeftAlone) {
    writeText(root_ / "plain", "a file, not a folder");
    ASSERT_EQ(::mkfifo((root_ / "fifo").c_str(), 0644), 0); // never opened: no hang
    const std::pair<const char*, const char*> cases[] = {
        {"missing/file.plist", "No such file or directory"},
        {"plain/file.plist", "Not a directory"},
        {"fifo", "not a regular file"}};
    for (const auto& [name, reason] : cases) {
        Result<void> written = writeFileAtomically((root_ / name).string(), "x");
        EXPECT_NE(written.problem().find(reason), std::string::npos) << written.problem();
    }
    EXPECT_TRUE(std::filesystem::is_fifo(root_ / "fifo"));
    FileRead kind = FileRead::Ok;
    auto kindOf = [&](const std::filesystem::path& path) {
        return readFile(path.string(), 16, kind) ? FileRead::Ok : kind;
    };
    EXPECT_EQ(kindOf(target()), FileRead::Missing);
    writeText(target(), "0123456789");
    EXPECT_EQ(*readFile(target(), 16, kind), "0123456789");
    EXPECT_NE(readFile(target(), 4, kind).problem().find("larger than 4 bytes"), std::string::npos);
    EXPECT_EQ(kind, FileRead::Damaged);
    EXPECT_EQ(kindOf(root_), FileRead::Unavailable);
    EXPECT_EQ(kindOf(root_ / "fifo"), FileRead::Unavailable);
}
