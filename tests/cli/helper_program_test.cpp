// drawfollow-cli hands update and export-xlsx to helper programs, so that no other command
// loads Qt, libxml2 or libxlsxwriter; the helpers are found in the build tree and installed.
#include "cli/helper_program.h"

#include "support/history_builder.h"
#include "support/run_cli.h"
#include "support/temp_dir.h"
#include "test_paths.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace drawfollow {
namespace {

namespace fs = std::filesystem;

const fs::path kBuiltCli = DRAWFOLLOW_CLI_PATH;

class HelperPrograms : public ::testing::Test {
protected:
    void SetUp() override {
        HistoryDb db(dir / HistoryDb::kFileName);
        db.appendBatch(test::seededDraws(12, 5, 2014001), test::settingsFor(2014));
    }

    // drawfollow-cli copied into bin/ of a prefix, and the helper into `helperFolder` when given.
    fs::path installCopy(const std::optional<fs::path>& helperFolder) {
        const fs::path bin = dir / "prefix" / "bin";
        fs::create_directories(bin);
        fs::copy_file(kBuiltCli, bin / kBuiltCli.filename());
        if (helperFolder) {
            fs::create_directories(*helperFolder);
            fs::copy_file(kBuiltCli.parent_path() / cli::kSpreadsheetExportProgram,
                          *helperFolder / cli::kSpreadsheetExportProgram);
        }
        return bin / kBuiltCli.filename();
    }

    test::TempDir dir;
};

TEST_F(HelperPrograms, AnInstalledCliFindsItsHelperInTheHelperFolder) {
    const fs::path bin = dir / "prefix" / "bin";
    const fs::path cli = installCopy(cli::helperFolders(bin).back());
    const auto run = test::runProgram(cli, dir.path(), "export-xlsx history");
    EXPECT_EQ(run.exitCode, 0) << run.output;
    EXPECT_NE(run.output.find("已将 13 行写入"), std::string::npos) << run.output;
    EXPECT_TRUE(fs::exists(dir / "lishi.xlsx"));
}

TEST_F(HelperPrograms, AMissingHelperIsAnErrorThatSaysWhereItWasLookedFor) {
    const fs::path cli = installCopy(std::nullopt);
    const auto run = test::runProgram(cli, dir.path(), "export-xlsx history");
    EXPECT_EQ(run.exitCode, 1) << run.output;
    EXPECT_NE(run.output.find("错误：找不到执行这个命令的程序 drawfollow-cli-export-xlsx"), std::string::npos)
        << run.output;
    EXPECT_NE(run.output.find(cli::helperFolders(cli.parent_path()).back().string()), std::string::npos) << run.output;
    EXPECT_FALSE(fs::exists(dir / "lishi.xlsx"));
    // The help still covers the command: it is declared in drawfollow-cli itself.
    EXPECT_EQ(test::runProgram(cli, dir.path(), "export-xlsx --help").exitCode, 0);
}

#if defined(__linux__) && defined(__GLIBC__)
// The dynamic loader lists every library it opens when LD_DEBUG=files is set.
TEST_F(HelperPrograms, OtherCommandsLoadNeitherQtNorLibxml2NorLibxlsxwriter) {
    setenv("LD_DEBUG", "files", 1);
    const auto listed = test::runCli(dir.path(), "list --json");
    const auto helped = test::runCli(dir.path(), "--help");
    const auto exported = test::runCli(dir.path(), "export-xlsx history");
    unsetenv("LD_DEBUG");
    for (const auto* run : {&listed, &helped}) {
        EXPECT_EQ(run->exitCode, 0) << run->output;
        for (const char* library : {"libQt6", "libicu", "libxml2", "libxlsxwriter"})
            EXPECT_EQ(run->output.find(library), std::string::npos) << library;
    }
    EXPECT_EQ(exported.exitCode, 0) << exported.output;
    EXPECT_NE(exported.output.find("libxlsxwriter"), std::string::npos) << "the loader's trace was not captured";
    EXPECT_EQ(exported.output.find("libQt6"), std::string::npos);
}
#endif

}  // namespace
}  // namespace drawfollow
