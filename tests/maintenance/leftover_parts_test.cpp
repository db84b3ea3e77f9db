// What a killed program left while it replaced a file goes at the next start; what another
// program is writing now, and anything that is not a file of ours, stays.
#include "io/leftover_parts.h"

#include "io/safety_copy.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

namespace drawfollow {
namespace {

namespace fs = std::filesystem;

TEST(LeftoverParts, OnlyOldPartFilesOfTheDataFolderAndItsCopiesGo) {
    test::TempDir dir;
    const auto now = fs::file_time_type::clock::now();
    const auto written = [&](const fs::path& file, fs::file_time_type when) {
        test::writeFile(file, "partial");
        fs::last_write_time(file, when);
        return file;
    };
    fs::create_directories(dir / kSafetyCopyFolder);
    fs::create_directories(dir / "elsewhere");
    const auto old = now - kLeftoverPartAge - std::chrono::seconds(1);
    const fs::path exportLeft = written(dir / "更新至2014005期历史号码.txt.part", old);
    const fs::path copyLeft = written(dir / kSafetyCopyFolder / "历史号码备份-20140101-000000-000-清空.txt.part", old);
    const fs::path beingWritten = written(dir / "lishi.xlsx.part", now - std::chrono::seconds(5));
    const fs::path notAPart = written(dir / "lsbf.txt", old);
    const fs::path elsewhere = written(dir / "elsewhere" / "a.txt.part", old);
    fs::create_directory(dir / "folder.part");
    const fs::path target = written(dir / "elsewhere" / "target.txt", old);
    fs::create_symlink(target, dir / "link.part");

    EXPECT_EQ(removeLeftoverParts(dir.path(), now), 2u);
    EXPECT_FALSE(fs::exists(exportLeft));
    EXPECT_FALSE(fs::exists(copyLeft));
    for (const fs::path& stays : {beingWritten, notAPart, elsewhere, target, dir / "folder.part"})
        EXPECT_TRUE(fs::exists(stays)) << stays;
    EXPECT_TRUE(fs::is_symlink(dir / "link.part"));
}

TEST(LeftoverParts, AMissingFolderRemovesNothing) {
    test::TempDir dir;
    EXPECT_EQ(removeLeftoverParts(dir / "none"), 0u);
}

}  // namespace
}  // namespace drawfollow
