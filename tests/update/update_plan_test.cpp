// Which pages an update asks for, what it drops first, where each year's scan begins,
// and the page address built from the user's setting.
#include "io/update_plan.h"
#include "store/history_db.h"

#include <gtest/gtest.h>

namespace drawfollow {
namespace {

struct PlanCase {
    const char* name;
    std::optional<int> newest;
    size_t oldDraws;  // stored before the first kept year
    int currentYear;
    int keepYears;
    std::optional<int> dropBefore;
    std::vector<int> years;
    bool pagesContinueHistory = true;
};

class UpdatePlanTest : public testing::TestWithParam<PlanCase> {};

TEST_P(UpdatePlanTest, YearsAndDrop) {
    const PlanCase& c = GetParam();
    const UpdatePlan plan = planUpdate(c.newest, c.oldDraws, c.currentYear, c.keepYears);
    EXPECT_EQ(plan.dropBeforeYear, c.dropBefore);
    EXPECT_EQ(plan.dropCount, c.dropBefore ? c.oldDraws : 0);
    EXPECT_EQ(plan.years(), c.years);
    EXPECT_EQ(plan.pagesContinueHistory, c.pagesContinueHistory);
}

INSTANTIATE_TEST_SUITE_P(
    Histories, UpdatePlanTest,
    testing::Values(
        PlanCase{"EndingIn2013On2013", 2013150, 0, 2013, 6, std::nullopt, {2013}},
        PlanCase{"EndingIn2013On2014", 2013153, 0, 2014, 6, std::nullopt, {2013, 2014}},
        PlanCase{"EmptyKeepingThreeYears", std::nullopt, 0, 2014, 3, std::nullopt, {2011, 2012, 2013, 2014}},
        // The years before 2008 go; the update goes on from the newest draw, which stays.
        PlanCase{"OldestYearsDropped", 2013100, 450, 2014, 6, 2008, {2013, 2014}},
        // Nothing stays: start at the first kept year, which only joins once all is dropped.
        PlanCase{"EverythingTooOld", 2005100, 500, 2014, 6, 2008, {2008, 2009, 2010, 2011, 2012, 2013, 2014}, false},
        PlanCase{"ExactlyTheKeptYears", 2014010, 0, 2014, 6, std::nullopt, {2014}},
        PlanCase{"NoPagesBefore2006",
                 2004100,
                 0,
                 2014,
                 16,
                 std::nullopt,
                 {2006, 2007, 2008, 2009, 2010, 2011, 2012, 2013, 2014}},
        PlanCase{"NewestAfterTheCurrentYear", 2015001, 0, 2014, 6, std::nullopt, {}}),
    [](const auto& info) { return info.param.name; });

TEST(UpdatePlan, YearsToKeepOutside2To16AreRefused) {
    EXPECT_THROW(planUpdate(std::nullopt, 0, 2014, 1), StoreError);
    EXPECT_THROW(planUpdate(std::nullopt, 0, 2014, 17), StoreError);
    EXPECT_NO_THROW(planUpdate(std::nullopt, 0, 2014, 16));
}

TEST(UpdatePlan, DropNoticeGivesTheNumbers) {
    EXPECT_EQ(dropNotice(planUpdate(2026096, 1992, 2026, 6)), "将删除 2020 年以前的 1992 期历史号码，删除前自动备份");
    EXPECT_EQ(dropNotice(planUpdate(2026096, 0, 2026, 6)), "");
}

TEST(ChartAddress, PathAndQuery) {
    EXPECT_EQ(chartPagePath(2013), "/kaijiang/xw?lotId=220028&chartType=zhfb&spanType=3&span=2013001_2013365");
}

struct HostCase {
    const char* name;
    const char* host;
    const char* url;  // empty: refused
};

class ChartUrlTest : public testing::TestWithParam<HostCase> {};

TEST_P(ChartUrlTest, BuildsOrRefuses) {
    const ChartUrl url = chartPageUrl(GetParam().host, 2014);
    EXPECT_EQ(url.url, GetParam().url);
    EXPECT_EQ(url.problem.empty(), !url.url.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Hosts, ChartUrlTest,
    testing::Values(
        HostCase{"BareHostGetsHttp", "chart.example.com",
                 "http://chart.example.com/kaijiang/xw?lotId=220028&chartType=zhfb&spanType=3&span=2014001_2014365"},
        HostCase{
            "HttpsWithPrefixAndSlash", " HTTPS://chart.example.com/zst/ ",
            "HTTPS://chart.example.com/zst/kaijiang/xw?lotId=220028&chartType=zhfb&spanType=3&span=2014001_2014365"},
        HostCase{"PortKept", "http://127.0.0.1:8080",
                 "http://127.0.0.1:8080/kaijiang/xw?lotId=220028&chartType=zhfb&spanType=3&span=2014001_2014365"},
        HostCase{"Empty", "  ", ""}, HostCase{"OtherScheme", "file:///etc", ""},
        HostCase{"QueryInHost", "http://h.example/?a=1", ""}, HostCase{"SpaceInside", "http://h .example", ""},
        HostCase{"NoServer", "https://", ""}),
    [](const auto& info) { return info.param.name; });

}  // namespace
}  // namespace drawfollow
