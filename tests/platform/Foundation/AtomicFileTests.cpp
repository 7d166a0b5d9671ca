#include <gtest/gtest.h>

#include <csignal>
#include <random>
#include <sys/stat.h>

#include "Foundation/AtomicFile.h"
#include "Foundation/NSArray.h"
#include "Foundation/NSData.h"
#include "Foundation/NSDictionary.h"
#include "Foundation/NSNumber.h"
#include "tests/platform/Foundation/TempRoot.h"

using namespace testing_support;

namespace {

class AtomicFileTest : public TempRootTest {
  protected:
    std::string target() const { return (root_ / "file.plist").string(); }

    // Runs the child test below under strace with one injected fault.
    int writeUnderFault(const std::string& fault) {
        return run("TAVELIN_CHILD_PATH=" + target() + " strace -f -o /dev/null -e inject=" + fault +
                   " " + std::filesystem::read_symlink("/proc/self/exe").string() +
                   " --gtest_also_run_disabled_tests --gtest_filter=AtomicFileChild.DISABLED_Write "
                   ">/dev/null 2>&1");
    }
};

// A dictionary with a large value, so that a kill can land inside a write.
Ref<NSDictionary> version(int number) {
    NSDictionary::Storage storage;
    storage.emplace("version", NSNumber::numberWithInt(number));
    storage.emplace("payload",
                    NSData::data(std::string(256 * 1024, static_cast<char>('a' + number))));
    return make<NSDictionary>(&NSDictionary::initWithStorage, std::move(storage));
}

} // namespace

// Run by writeUnderFault: 0 when the write succeeded, 3 when it reported failure.
TEST(AtomicFileChild, DISABLED_Write) {
    std::_Exit(writeFileAtomically(std::getenv("TAVELIN_CHILD_PATH"), "new contents") ? 0 : 3);
}

TEST_F(AtomicFileTest, ReplacesTheFileAndLeavesNoTemporary) {
    ASSERT_TRUE(writeFileAtomically(target(), "old"));
    ASSERT_TRUE(writeFileAtomically(target(), "new contents"));
    EXPECT_EQ(readText(target()), "new contents");
    EXPECT_EQ(folderNames(root_), std::vector<std::string>{"file.plist"});
    struct stat status {};
    ASSERT_EQ(::stat(target().c_str(), &status), 0);
    EXPECT_EQ(status.st_mode & 0777, 0644u);
}

// A failed step leaves the old file; a failed folder flush comes after the
// rename, so it is reported with the new file in place. Never a temporary left.
TEST_F(AtomicFileTest, AFailedStepIsReportedAndLeavesNoTemporary) {
    if (run("strace -V >/dev/null 2>&1") != 0) GTEST_SKIP() << "strace is not installed";
    const std::pair<const char*, const char*> cases[] = {
        {"write:error=ENOSPC", "old"},
        {"fsync:error=EIO:when=1", "old"},
        {"rename:error=EXDEV", "old"},
        {"fchmod:error=EPERM", "old"},
        {"fsync:error=EIO:when=2", "new contents"}};
    for (const auto& [fault, left] : cases) {
        SCOPED_TRACE(fault);
        ASSERT_TRUE(writeFileAtomically(target(), "old"));
        EXPECT_EQ(writeUnderFault(fault), 3);
        EXPECT_EQ(readText(target()), left);
        EXPECT_EQ(folderNames(root_), std::vector<std::string>{"file.plist"});
    }
    // Nothing injected: the same child succeeds.
    EXPECT_EQ(writeUnderFault("fsync:error=EIO:when=100"), 0);
    EXPECT_EQ(readText(target()), "new contents");
}

TEST_F(AtomicFileTest, AMissingOrBlockedFolderIsReportedWithTheReason) {
    Result<void> written = writeFileAtomically((root_ / "missing/file.plist").string(), "x");
    EXPECT_NE(written.problem().find("No such file or directory"), std::string::npos);
    writeText(root_ / "plain", "a file, not a folder");
    written = writeFileAtomically((root_ / "plain/file.plist").string(), "x");
    EXPECT_NE(written.problem().find("Not a directory"), std::string::npos);
}

TEST_F(AtomicFileTest, AKillDuringWritesLeavesTheOldOrTheNewFileNeverATornOne) {
    std::mt19937 random(std::random_device{}());
    ASSERT_TRUE(version(0)->writeToFile(NSString::string(target()), true));
    for (int round = 0; round < 12; ++round) {
        pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            for (int i = 1;; ++i)
                version(i % 2)->writeToFile(NSString::string(target()), true);
        }
        ::usleep(std::uniform_int_distribution<useconds_t>(1000, 30000)(random));
        ::kill(child, SIGKILL);
        ::waitpid(child, nullptr, 0);
        Ref<NSDictionary> read =
            NSDictionary::dictionaryWithContentsOfFile(NSString::string(target()));
        ASSERT_TRUE(read) << "round " << round;
        int number = as<NSNumber>(read->objectForKey("version"))->intValue();
        EXPECT_TRUE(objectsEqual(read, version(number))) << "round " << round;
    }
}

TEST_F(AtomicFileTest, DamagedFilesAreKeptAsideWithoutOverwritingEarlierCopies) {
    std::string path = target();
    for (const char* content : {"first", "second", "third"}) {
        writeText(path, content);
        EXPECT_TRUE(keepAside(path));
    }
    EXPECT_EQ(readText(path + ".corrupt"), "first");
    EXPECT_EQ(readText(path + ".corrupt.1"), "second");
    EXPECT_EQ(readText(path + ".corrupt.2"), "third");
    EXPECT_FALSE(keepAside(path));
}

TEST_F(AtomicFileTest, ReadingIsBoundedAndTellsMissingFromDamaged) {
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
    ASSERT_EQ(::mkfifo((root_ / "fifo").c_str(), 0644), 0); // never opened: no hang
    EXPECT_EQ(kindOf(root_ / "fifo"), FileRead::Unavailable);
    EXPECT_FALSE(writeFileAtomically((root_ / "fifo").string(), "x"));
    EXPECT_TRUE(std::filesystem::is_fifo(root_ / "fifo"));
}
