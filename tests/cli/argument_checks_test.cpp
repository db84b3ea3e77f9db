#include "cli/argument_checks.h"

#include <gtest/gtest.h>

namespace drawfollow::cli {
namespace {

TEST(NumberArguments, AreDecimalAndIssuesAreSevenDigitsWithASequenceFrom001To999) {
    EXPECT_EQ(parseDecimal("08"), 8);
    EXPECT_EQ(parseDecimal("010"), 10);
    EXPECT_EQ(parseDecimal("-5"), -5);
    EXPECT_EQ(parseDecimal("+3"), 3);
    for (const char* text : {"", " 8", "0x10", "1e3", "3.0", "+-3", "2147483648", "八"})
        EXPECT_EQ(parseDecimal(text), std::nullopt) << text;
    EXPECT_EQ(parseIssue("2026097"), 2026097);
    EXPECT_EQ(parseIssue("0374888"), 374888);
    for (const char* text : {"2026000", "99999999", "-5", "2147483647", "202697", "+2026097"})
        EXPECT_EQ(parseIssue(text), std::nullopt) << text;
}

class ParsedArguments : public ::testing::Test {
protected:
    ParsedArguments() {
        app.add_option("--issue", issueValue)->transform(issue());
        app.add_option("--positions", positions)->delimiter(',')->transform(decimal(1, 8));
        app.add_option("--kind", kind)->check(oneOf({"number", "zodiac"}));
        app.add_option("--timeout", seconds)->check(decimalNumber(0.1, 600));
        app.add_option("N", numbers)->expected(3)->transform(decimal());
    }

    // What drawfollow-cli prints for the arguments; empty when they parse.
    std::string refusal(const std::string& arguments) {
        try {
            app.parse(arguments);
            return {};
        } catch (const CLI::ParseError& e) {
            return argumentErrorMessage(&app, e);
        }
    }

    CLI::App app;
    int issueValue = 0;
    std::vector<int> positions;
    std::string kind;
    double seconds = 30;
    std::vector<int> numbers;
};

TEST_F(ParsedArguments, LeadingZerosAreDecimalNotOctal) {
    ASSERT_EQ(refusal("--issue 2026097 --positions 08,07,1 --timeout 010.5 010 08 09"), "");
    EXPECT_EQ(issueValue, 2026097);
    EXPECT_EQ(positions, (std::vector<int>{8, 7, 1}));
    EXPECT_EQ(numbers, (std::vector<int>{10, 8, 9}));
    EXPECT_DOUBLE_EQ(seconds, 10.5);
}

TEST_F(ParsedArguments, AreRefusedInChinese) {
    struct Case {
        const char* arguments;
        const char* says;
    };
    for (const Case& c :
         {Case{"--issue 99999999 1 2 3", "“99999999” 不是期号"},
          Case{"--positions 9 1 2 3", "--positions：“9” 不在 1～8 之内"},
          Case{"--positions 0x1 1 2 3", "“0x1” 不是十进制整数"},
          Case{"--kind tail 1 2 3", "“tail” 不是可选的值（可选：number、zodiac）"},
          Case{"--timeout 0x10 1 2 3", "“0x10” 不是十进制数"}, Case{"--timeout 0 1 2 3", "“0” 不在 0.1～600 之内"},
          Case{"1 2 3 4", "N 最多接受 3 个值，却给出了 4 个"}, Case{"--frob 1 2 3", "无法识别的参数：--frob"},
          Case{"--issue", "缺少参数 --issue 的值"}, Case{"1 2", "N 需要 3 个值，只给出了 2 个"}}) {
        const std::string message = refusal(c.arguments);
        EXPECT_NE(message.find(c.says), std::string::npos) << c.arguments << " → " << message;
        EXPECT_EQ(message.rfind("错误：", 0), 0u) << message;
        app.clear();
    }
}

}  // namespace
}  // namespace drawfollow::cli
