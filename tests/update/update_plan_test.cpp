// Which pages an update asks for, what it drops first, where each year's scan begins,
// and the page address built from the user's setting.
#include "io/update_plan.h"
#include "store/history_db.h"

#include <gtest/gtest.h>

namespace drawfollow {
namespace {

struct PlanCase {
    const char* name;
    std::optional<int> oldest;
    std::optional<int> newest;
    int currentYear;
    int keepYears;
    std::optional<int> dropBefore;
    std::vector<int> years;
};

class UpdatePlanTest : public testing::TestWithParam<PlanCase> {};

TEST_P(UpdatePlanTest, YearsAndDrop) {
    const PlanCase& c = GetParam();
    const UpdatePlan plan = planUpdate(c.oldest, c.newest, c.currentYear, c.keepYears);
    EXPECT_EQ(plan.dropBeforeYear, c.dropBefore);
    EXPECT_EQ(plan.years(), c.years);
}

INSTANTIATE_TEST_SUITE_P(
    Histories, UpdatePlanTest,
    testing::Values(
        PlanCase{"EndingIn2013On2013", 2010001, 2013150, 2013, 6, std::nullopt, {2013}},
        PlanCase{"EndingIn2013On2014", 2010001, 2013153, 2014, 6, std::nullopt, {2013, 2014}},
        PlanCase{"EmptyKeepingThreeYears", std::nullopt, std::nullopt, 2014, 3, std::nullopt, {2011, 2012, 2013, 2014}},
        // The years before 2008 go; the update goes on from the newest draw, which stays.
        PlanCase{"OldestYearsDropped", 2005001, 2013100, 2014, 6, 2008, {2013, 2014}},
        // Nothing is left after the drop: start at the first kept year.
        PlanCase{"EverythingTooOld", 2001001, 2005100, 2014, 6, 2008, {2008, 2009, 2010, 2011, 2012, 2013, 2014}},
        PlanCase{"ExactlyTheKeptYears", 2008001, 2014010, 2014, 6, std::nullopt, {2014}},
        PlanCase{"NoPagesBefore2006",
                 1999001,
                 2004100,
                 2014,
                 16,
                 std::nullopt,
                 {2006, 2007, 2008, 2009, 2010, 2011, 2012, 2013, 2014}},
        PlanCase{"NewestAfterTheCurrentYear", 2014001, 2015001, 2014, 6, std::nullopt, {}}),
    [](const auto& info) { return info.param.name; });

TEST(UpdatePlan, YearsToKeepOutside2To16AreRefused) {
    EXPECT_THROW(planUpdate(std::nullopt, std::nullopt, 2014, 1), StoreError);
    EXPECT_THROW(planUpdate(std::nullopt, std::nullopt, 2014, 17), StoreError);
    EXPECT_NO_THROW(planUpdate(std::nullopt, std::nullopt, 2014, 16));
}

TEST(UpdatePlan, FirstSequenceOfAYear) {
    EXPECT_EQ(firstSequence(std::nullopt, 2014), 1);
    EXPECT_EQ(firstSequence(2013150, 2013), 151);
    EXPECT_EQ(firstSequence(2013153, 2014), 1);
    EXPECT_GT(firstSequence(2014002, 2013), 365);
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
