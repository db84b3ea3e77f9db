// Every number drawfollow-cli takes, as a user types it: read in full, never cut to a
// smaller type, and refused with the argument's name when it lies outside its range,
// before anything is read or written.
#include "support/history_builder.h"
#include "support/run_cli.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

namespace drawfollow {
namespace {

using test::runCli;

struct NumberCase {
    const char* name;
    const char* arguments;
    const char* says;  // the refusal names the argument and the value as typed
};

void PrintTo(const NumberCase& c, std::ostream* os) {
    *os << c.arguments;
}

class NumberArgumentTest : public testing::TestWithParam<NumberCase> {
protected:
    static void SetUpTestSuite() {
        dir = new test::TempDir;
        ASSERT_EQ(runCli(dir->path(), "add 2013001 01 02 03 04 05 06 07 08").exitCode, 0);
        ASSERT_EQ(runCli(dir->path(), "add 2013002 09 10 11 12 13 14 15 16").exitCode, 0);
        ASSERT_EQ(runCli(dir->path(), "add 2013003 17 18 19 20 21 22 23 24").exitCode, 0);
        stored = new std::string(runCli(dir->path(), "list").output);
    }
    static void TearDownTestSuite() {
        delete stored;
        delete dir;
    }
    static inline test::TempDir* dir = nullptr;
    static inline std::string* stored = nullptr;
};

TEST_P(NumberArgumentTest, IsRefusedByNameAndChangesNothing) {
    const auto run = runCli(dir->path(), GetParam().arguments);
    EXPECT_NE(run.exitCode, 0) << run.output;
    EXPECT_NE(run.output.find(GetParam().says), std::string::npos) << run.output;
    EXPECT_EQ(runCli(dir->path(), "list").output, *stored);
}

INSTANTIATE_TEST_SUITE_P(
    Arguments, NumberArgumentTest,
    testing::Values(
        // 65541 is 5 in 16 bits, 99999999 is -7937.
        NumberCase{"AddNumberPast16Bits", "add 2013004 01 02 03 04 65541 06 07 08", "N1..N8：“65541” 不在 1～30 之内"},
        NumberCase{"AddNumberFarOut", "add 2013004 99999999 02 03 04 05 06 07 08",
                   "N1..N8：“99999999” 不在 1～30 之内"},
        NumberCase{"AddNumberZero", "add 2013004 00 02 03 04 05 06 07 08", "“00” 不在 1～30 之内"},
        NumberCase{"AddNumberBeyondInt", "add 2013004 01 02 03 04 05 06 07 4294967301", "“4294967301” 不是十进制整数"},
        NumberCase{"CombinationSizeZero", "combination --size 0", "--size：“0” 不在 1～6 之内"},
        NumberCase{"CombinationSizeSeven", "combination --size 7", "--size：“7” 不在 1～6 之内"},
        NumberCase{"CombinationSizeHuge", "combination --size 99999999", "--size：“99999999” 不在 1～6 之内"},
        NumberCase{"DeleteNewestNegative", "delete-newest -5 --yes", "N：“-5” 不在 0～"},
        NumberCase{"ValuePast16Bits", "search --positions 1 --values 65541,1,1,1,1,1,1,1", "--values：“65541” 不在"},
        NumberCase{"TargetsZero", "backtest --targets 0", "--targets：“0” 不在 1～"},
        NumberCase{"TopNegative", "backtest --top -1", "--top：“-1” 不在 1～"},
        NumberCase{"KeepYearsOne", "update --keep-years 1 --host 127.0.0.1:9", "--keep-years：“1” 不在 2～16 之内"},
        NumberCase{"KeepYearsHuge", "update --keep-years 4294967298 --host 127.0.0.1:9", "“4294967298” 不是十进制整数"},
        NumberCase{"IssueTooLong", "trim-to 20130010", "“20130010” 不是期号"},
        NumberCase{"VerifiedIssueSequenceZero", "search --verify 2013000", "“2013000” 不是期号"}),
    [](const auto& info) { return info.param.name; });

TEST(NumberArguments, InRangeAreTakenAsTyped) {
    test::TempDir dir;
    ASSERT_EQ(runCli(dir.path(), "add 2013001 30 1 02 29 010 11 12 13").exitCode, 0);
    EXPECT_EQ(runCli(dir.path(), "list").output, "2013001 30 01 02 29 10 11 12 13 \n");
    EXPECT_EQ(runCli(dir.path(), "delete-newest 1 --yes").exitCode, 0);
    EXPECT_EQ(runCli(dir.path(), "list").output, "");
}

}  // namespace
}  // namespace drawfollow
