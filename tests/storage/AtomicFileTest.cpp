#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "AtomicFile.h"
#include "VudError.h"

namespace fs = std::filesystem;

namespace {
// Beside the test program, never the user's temporary folder.
fs::path workFolder(const char* name)
{
    return fs::current_path() / name;
}
} // namespace

TEST(AtomicFile, ReplacesTheTargetAndLeavesNoTemporaries)
{
    const fs::path dir = workFolder("atomic");
    fs::remove_all(dir);
    fs::create_directories(dir);
    const fs::path file = dir / "TFPLAY.lmt";
    const std::vector<uint8_t> first = {1, 2, 3}, second = {9, 8};
    SaveFileAtomic(file, first);
    SaveFileAtomic(file, second);
    EXPECT_EQ(ReadWholeFile(file), second);
    EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 1);
}

TEST(AtomicFile, FailureKeepsTheOldFile)
{
    const fs::path dir = workFolder("atomic-missing");
    fs::remove_all(dir);
    const std::vector<uint8_t> data = {1};
    EXPECT_THROW(SaveFileAtomic(dir / "nope" / "x.lmu", data), EVudError);
    EXPECT_THROW(ReadWholeFile(dir / "absent"), EVudError);
}
