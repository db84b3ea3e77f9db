#include "io/safety_copy.h"

#include "support/history_builder.h"
#include "support/run_cli.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

namespace drawfollow {
namespace {

using test::runCli;

// The way out a refusal of a damaged file names must work: restore the newest copy it names.
TEST(CliDamagedHistory, IsRefusedUntouchedAndRestoredFromTheNewestCopy) {
    test::TempDir dir;
    const auto file = dir / HistoryDb::kFileName;
    const auto draws = test::seededDraws(600, 5, 2013001);
    {
        HistoryDb db(file);
        db.appendBatch(draws, test::settingsFor(2013));
    }
    ASSERT_EQ(runCli(dir.path(), "delete-last").exitCode, 0);  // leaves the newest safety copy
    const std::string id = safetyCopyOf(safetyCopies(dir.path()).back())->id;
    std::string bytes = test::readFile(file);
    std::fill(bytes.begin() + 2 * 65536, bytes.begin() + 3 * 65536, '\0');
    test::writeFile(file, bytes);

    for (const char* command : {"list", "add 2017001 1 2 3 4 5 6 7 8", "delete-last", "export"}) {
        const auto refused = runCli(dir.path(), command);
        EXPECT_NE(refused.exitCode, 0) << command;
        EXPECT_NE(refused.output.find("已损坏"), std::string::npos) << refused.output;
        EXPECT_NE(refused.output.find("drawfollow-cli restore " + id), std::string::npos) << refused.output;
        EXPECT_EQ(test::readFile(file), bytes) << command << " wrote into the damaged file";
    }

    const auto restored = runCli(dir.path(), "restore " + id);
    ASSERT_EQ(restored.exitCode, 0) << restored.output;
    EXPECT_NE(restored.output.find("损坏的历史数据库文件已改名为"), std::string::npos) << restored.output;
    EXPECT_NE(restored.output.find("共 600 期历史号码"), std::string::npos) << restored.output;
    HistoryDb db(file);
    EXPECT_EQ(db.draws(), draws);
}

}  // namespace
}  // namespace drawfollow
