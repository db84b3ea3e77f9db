// The command line and the recorded settings: import derives under the code table of the
// file's next issue and records it, searches name codes by the record, add refuses other
// settings, and only rederive changes how the stored rows are derived.
#include "io/history_text.h"
#include "io/safety_copy.h"

#include "support/history_builder.h"
#include "support/run_cli.h"
#include "support/temp_dir.h"

#include <nlohmann/json.hpp>

#include <gtest/gtest.h>

#include <sstream>

namespace drawfollow {
namespace {

using test::runCli;

// The zodiac names of the draw of `issue` as a search lists them.
std::vector<std::string> zodiacNames(const std::filesystem::path& dataDir, int issue, const std::string& options = "") {
    const std::string range = std::to_string(issue);
    const auto run = runCli(dataDir, "search --result zodiac --json --first " + range + " --last " + range + options);
    EXPECT_EQ(run.exitCode, 0) << run.output;
    // The JSON document comes first; the note that no position is ticked follows it.
    std::istringstream printed(run.output);
    nlohmann::json result;
    printed >> result;
    const auto detail = result.at("detail");
    if (detail.size() != 1)
        return {};
    auto cells = detail[0].get<std::vector<std::string>>();
    return {cells.begin() + 1, cells.begin() + 9};
}

std::vector<int> storedZodiacCodes(const std::filesystem::path& dataDir) {
    std::vector<int> codes;
    for (const auto& row : nlohmann::json::parse(runCli(dataDir, "list --json").output))
        for (int p = 1; p <= kPositions; ++p)
            codes.push_back(row.at("L" + std::to_string(p) + "B").get<int>());
    return codes;
}

const std::vector<std::string> kNamesOf2026096 = {"虎", "蛇", "虎", "羊", "蛇", "兔", "虎", "兔"};

class CliDerivation : public ::testing::Test {
protected:
    void SetUp() override {
        // Like the real history: the newest draw 2026096, well after 2026's Spring Festival.
        auto draws = test::seededDraws(146, 11, 2025101, 150);
        draws.back() = test::draw(2026096, {5, 14, 17, 24, 26, 28, 29, 16});
        writeHistoryFile(file, draws);
    }

    test::TempDir dir;
    std::filesystem::path file = dir / "history.txt";
};

TEST_F(CliDerivation, ImportDerivesUnderTheTableOfTheFilesNextIssue) {
    const auto imported = runCli(dir.path(), "import " + file.string());
    ASSERT_EQ(imported.exitCode, 0) << imported.output;
    EXPECT_NE(imported.output.find("2026 年码表"), std::string::npos) << imported.output;
    EXPECT_EQ(zodiacNames(dir.path(), 2026096), kNamesOf2026096);

    // A code table year given on the command line is what the rows are derived with.
    ASSERT_EQ(runCli(dir.path(), "import --code-table-year 2025 " + file.string()).exitCode, 0);
    EXPECT_EQ(zodiacNames(dir.path(), 2026096), kNamesOf2026096);  // named by that table, not another
}

TEST_F(CliDerivation, AddMustShareTheRecordedSettingsUntilRederiveChangesThem) {
    ASSERT_EQ(runCli(dir.path(), "import --zodiac-offset 0 --segment-offset 0 " + file.string()).exitCode, 0);
    const auto codes = storedZodiacCodes(dir.path());
    EXPECT_EQ(*std::min_element(codes.begin(), codes.end()), 0);
    EXPECT_EQ(*std::max_element(codes.begin(), codes.end()), 11);

    EXPECT_EQ(runCli(dir.path(), "add 2026097 1 2 3 4 5 6 7 8").exitCode, 0);  // the recorded settings
    const auto refused = runCli(dir.path(), "add 2026098 1 2 3 4 5 6 7 8 --zodiac-offset 1");
    EXPECT_NE(refused.exitCode, 0);
    EXPECT_NE(refused.output.find("drawfollow-cli rederive"), std::string::npos) << refused.output;
    EXPECT_EQ(runCli(dir.path(), "next-issue").output, "2026098\n");

    const auto rederived = runCli(dir.path(), "rederive --zodiac-offset 1");
    ASSERT_EQ(rederived.exitCode, 0) << rederived.output;
    EXPECT_NE(rederived.output.find("重算全部 147 期"), std::string::npos) << rederived.output;
    EXPECT_EQ(safetyCopies(dir.path()).size(), 1u);  // the history before the import was empty
    const auto after = storedZodiacCodes(dir.path());
    EXPECT_EQ(*std::min_element(after.begin(), after.end()), 1);
    EXPECT_EQ(*std::max_element(after.begin(), after.end()), 12);
    EXPECT_EQ(zodiacNames(dir.path(), 2026096), kNamesOf2026096);
    EXPECT_EQ(runCli(dir.path(), "add 2026098 1 2 3 4 5 6 7 8 --zodiac-offset 1").exitCode, 0);
}

}  // namespace
}  // namespace drawfollow
