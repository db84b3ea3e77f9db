#include "store/history_db.h"
#include "store/schema.h"

#include "support/history_builder.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

namespace drawfollow {
namespace {

namespace fs = std::filesystem;

// A history of several pages, then one fault put into the file by hand.
class DamagedFile : public ::testing::Test {
protected:
    void SetUp() override {
        HistoryDb db(file());
        db.replaceAll(test::seededDraws(600), test::settingsFor(2013));
        pages = fs::file_size(file()) / kPageSize;
        ASSERT_GE(pages, 4u);
    }

    fs::path file() const { return dir / HistoryDb::kFileName; }

    // Opening must refuse the file as damaged, naming it and the fault, and leave every byte.
    void expectRefused(const std::string& fault) {
        const std::string before = test::readFile(file());
        try {
            HistoryDb db(file());
            ADD_FAILURE() << "a damaged file was opened";
        } catch (const DamagedHistoryFile& e) {
            const std::string what = e.what();
            EXPECT_EQ(e.file(), file());
            EXPECT_NE(what.find("“" + file().string() + "” 已损坏"), std::string::npos) << what;
            EXPECT_NE(what.find(fault), std::string::npos) << what;
        }
        EXPECT_EQ(test::readFile(file()), before);
    }

    void cutTo(uintmax_t size) { fs::resize_file(file(), size); }

    test::TempDir dir;
    uintmax_t pages = 0;
};

TEST_F(DamagedFile, CutInsideTheLastPage) {
    cutTo(pages * kPageSize - 1000);
    expectRefused("不是整页");
}

TEST_F(DamagedFile, CutByWholePages) {
    cutTo((pages - 1) * kPageSize);
    expectRefused("SQLite 读到了损坏的内容");
}

TEST_F(DamagedFile, APageOfZerosInTheMiddle) {
    std::string bytes = test::readFile(file());
    const size_t middle = pages / 2;
    std::fill(bytes.begin() + static_cast<std::ptrdiff_t>(middle * kPageSize),
              bytes.begin() + static_cast<std::ptrdiff_t>((middle + 1) * kPageSize), '\0');
    test::writeFile(file(), bytes);
    expectRefused("SQLite 读到了损坏的内容");
}

TEST_F(DamagedFile, AHeaderOfZerosIsNoDatabaseAtAll) {
    std::string bytes = test::readFile(file());
    std::fill(bytes.begin(), bytes.begin() + 100, '\0');
    test::writeFile(file(), bytes);
    expectRefused("不是有效的历史数据库");
}

TEST_F(DamagedFile, AWholeFileStillOpensAndAnEmptyOneStartsAfresh) {
    EXPECT_EQ(HistoryDb(file()).drawCount(), 600);
    cutTo(0);
    EXPECT_EQ(HistoryDb(file()).drawCount(), 0);
}

}  // namespace
}  // namespace drawfollow
