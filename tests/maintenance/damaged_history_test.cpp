#include "io/history_import.h"
#include "io/history_opening.h"
#include "io/safety_copy.h"

#include "support/history_builder.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

namespace drawfollow {
namespace {

namespace fs = std::filesystem;
using std::chrono::system_clock;

// A history with two safety copies beside it, the newer (of the history itself) made last.
class DamagedHistory : public ::testing::Test {
protected:
    void SetUp() override {
        HistoryDb db(file());
        db.replaceAll(draws, settings);
        older = *writeSafetyCopy(dir.path(), test::seededDraws(100, 9), CopyCause::Clear,
                                 system_clock::now() - std::chrono::hours(2));
        newer = *writeSafetyCopy(db, CopyCause::DeleteNewest);
    }

    fs::path file() const { return dir / HistoryDb::kFileName; }

    // Zeros over the middle of the file, as a disk that lost a page leaves it.
    void damage() {
        std::string bytes = test::readFile(file());
        const size_t middle = bytes.size() / 2 / 65536 * 65536;
        std::fill(bytes.begin() + static_cast<std::ptrdiff_t>(middle),
                  bytes.begin() + static_cast<std::ptrdiff_t>(middle + 65536), '\0');
        test::writeFile(file(), bytes);
    }

    std::string refusal() {
        try {
            openHistory(file());
        } catch (const DamagedHistoryFile& e) {
            return e.what();
        }
        ADD_FAILURE() << "the file was opened";
        return {};
    }

    test::TempDir dir;
    const std::vector<DrawInput> draws = test::seededDraws(600);
    const DerivationSettings settings = test::settingsFor(2013);
    fs::path older, newer;
};

TEST_F(DamagedHistory, TheRefusalNamesTheFileAndTheNewestCopyToRestore) {
    damage();
    const std::string told = refusal();
    const std::string id = safetyCopyOf(newer)->id;
    EXPECT_NE(told.find(file().string()), std::string::npos) << told;
    EXPECT_NE(told.find("已损坏"), std::string::npos) << told;
    EXPECT_NE(told.find("“恢复备份”"), std::string::npos) << told;
    EXPECT_NE(told.find("drawfollow-cli restore " + id), std::string::npos) << told;
    EXPECT_EQ(told.find(safetyCopyOf(older)->id), std::string::npos) << told;
}

TEST_F(DamagedHistory, AnEmptyFileBesideSafetyCopiesIsDamagedNotNew) {
    fs::resize_file(file(), 0);
    EXPECT_NE(refusal().find("0 字节"), std::string::npos);
    EXPECT_EQ(fs::file_size(file()), 0u);  // not made into an empty history

    fs::remove_all(dir / kSafetyCopyFolder);
    EXPECT_EQ(openHistory(file())->drawCount(), 0);
}

TEST_F(DamagedHistory, WithoutCopiesTheRefusalSaysSo) {
    fs::remove_all(dir / kSafetyCopyFolder);
    damage();
    EXPECT_NE(refusal().find("没有安全备份"), std::string::npos);
}

TEST_F(DamagedHistory, ARestoreSetsTheDamagedFileAsideAndBringsTheCopyBack) {
    damage();
    const std::string damagedBytes = test::readFile(file());
    test::writeFile(dir / "ZembraRAV.db-journal", "left by a killed program");

    RestoreTarget target = openForRestore(file(), newer);
    ASSERT_TRUE(target.setAside);
    EXPECT_EQ(target.setAside->parent_path(), dir.path());
    EXPECT_EQ(test::readFile(*target.setAside), damagedBytes);
    EXPECT_NE(test::readFile(dir / "ZembraRAV.db-journal"), "left by a killed program");

    restoreSafetyCopy(*target.db, newer, [&](std::optional<int>) { return settings; });
    EXPECT_EQ(openHistory(file())->draws(), draws);
}

TEST_F(DamagedHistory, AnUnreadableCopyMovesNothing) {
    damage();
    const std::string damagedBytes = test::readFile(file());
    test::writeFile(newer, "not a history\r\n");
    EXPECT_THROW(openForRestore(file(), newer), StoreError);
    EXPECT_EQ(test::readFile(file()), damagedBytes);
    for (const auto& entry : fs::directory_iterator(dir.path()))
        EXPECT_EQ(entry.path().string().find("已损坏"), std::string::npos) << entry.path();
}

TEST_F(DamagedHistory, AWholeFileIsRestoredOverInPlace) {
    RestoreTarget target = openForRestore(file(), older);
    EXPECT_FALSE(target.setAside);
    EXPECT_EQ(target.db->drawCount(), 600);
}

}  // namespace
}  // namespace drawfollow
