#include "cli/argument_checks.h"

#include "store/draw.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <regex>

namespace drawfollow::cli {

namespace {

std::string inQuotes(std::string_view s) {
    return "“" + std::string(s) + "”";
}

bool allDigits(std::string_view s) {
    return !s.empty() && s.find_first_not_of("0123456789") == std::string_view::npos;
}

std::string shown(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%g", value);
    return text;
}

std::string joined(const std::vector<std::string>& words) {
    std::string text;
    for (const auto& w : words)
        text += (text.empty() ? "" : "、") + w;
    return text;
}

// CLI11's messages, as its version in Debian 12 words them, and what they say in Chinese.
// Errors are told apart by their exit code: some carry the program's name as their own.
struct Translation {
    CLI::ExitCodes error;
    const char* pattern;
    const char* chinese;
};
const Translation kTranslations[] = {
    {CLI::ExitCodes::RequiredError, "A subcommand is required", "缺少子命令，或子命令的名字不对"},
    {CLI::ExitCodes::RequiredError, "(.+) is required", "缺少参数 $1"},
    {CLI::ExitCodes::ExtrasError, "The following arguments? (?:was|were) not expected: (.*)", "无法识别的参数：$1"},
    {CLI::ExitCodes::ArgumentMismatch, "Expected exactly (\\d+) arguments to (.+), got (\\d+)",
     "$2 需要 $1 个值，给出了 $3 个"},
    {CLI::ExitCodes::ArgumentMismatch, "Expected at least (\\d+) arguments to (.+), got (\\d+)",
     "$2 至少需要 $1 个值，给出了 $3 个"},
    {CLI::ExitCodes::ArgumentMismatch, "(.+): At least (\\d+) required but received (\\d+)",
     "$1 需要 $2 个值，只给出了 $3 个"},
    {CLI::ExitCodes::ArgumentMismatch, "(.+): At Most (\\d+) required but received (\\d+)",
     "$1 最多接受 $2 个值，却给出了 $3 个"},
    {CLI::ExitCodes::ArgumentMismatch, "(.+): (\\d+) required .* missing", "缺少参数 $1 的值（需要 $2 个）"},
    {CLI::ExitCodes::ArgumentMismatch, "(.+) was given a disallowed flag override", "$1 是开关，不接受值"},
    {CLI::ExitCodes::ConversionError, "(.+): too many inputs for a flag", "$1 是开关，不接受值"},
    {CLI::ExitCodes::ConversionError, "Could not convert: (.+) = (.*)", "$1 的值 “$2” 无法识别"},
    {CLI::ExitCodes::ConversionError, "The value (.*) is not an allowed value for (.+)", "“$1” 不是 $2 可以取的值"},
    {CLI::ExitCodes::ValidationError, "([^:]+): (.*)", "$1：$2"},
    {CLI::ExitCodes::RequiresError, "(.+) requires (.+)", "$1 需要与 $2 一起使用"},
    {CLI::ExitCodes::ExcludesError, "(.+) excludes (.+)", "$1 不能与 $2 同时使用"},
};

std::string inChinese(const CLI::Error& error) {
    const std::string what = error.what();
    for (const Translation& t : kTranslations) {
        const std::regex pattern(t.pattern);
        if (error.get_exit_code() == static_cast<int>(t.error) && std::regex_match(what, pattern))
            return std::regex_replace(what, pattern, t.chinese);
    }
    return "参数有误（" + what + "）";
}

}  // namespace

std::optional<int> parseDecimal(std::string_view text) {
    if (text.starts_with('+')) {
        text.remove_prefix(1);
        if (text.starts_with('-'))
            return std::nullopt;
    }
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc() || end != text.data() + text.size())
        return std::nullopt;
    return value;
}

std::optional<int> parseIssue(std::string_view text) {
    if (text.size() != 7 || !allDigits(text))
        return std::nullopt;
    const int value = *parseDecimal(text);
    if (issueSequence(value) == 0)
        return std::nullopt;
    return value;
}

CLI::Validator decimal(int low, int high) {
    const std::string range = std::to_string(low) + "～" + std::to_string(high);
    return CLI::Validator(
        [low, high, range](std::string& text) -> std::string {
            const auto value = parseDecimal(text);
            if (!value)
                return inQuotes(text) + " 不是十进制整数";
            if (*value < low || *value > high)
                return inQuotes(text) + " 不在 " + range + " 之内";
            text = std::to_string(*value);
            return {};
        },
        low == INT_MIN && high == INT_MAX ? "" : "in " + std::to_string(low) + ".." + std::to_string(high));
}

CLI::Validator issue() {
    return CLI::Validator(
        [](std::string& text) -> std::string {
            const auto value = parseIssue(text);
            if (!value)
                return inQuotes(text) + " 不是期号：期号是七位数字，后三位（期数）为 001～999";
            text = std::to_string(*value);
            return {};
        },
        "seven digits");
}

CLI::Validator decimalNumber(double low, double high) {
    return CLI::Validator(
        [low, high](std::string& text) -> std::string {
            double value = 0;
            const auto [end, error] =
                std::from_chars(text.data(), text.data() + text.size(), value, std::chars_format::fixed);
            if (text.empty() || error != std::errc() || end != text.data() + text.size())
                return inQuotes(text) + " 不是十进制数";
            if (!(value >= low && value <= high))
                return inQuotes(text) + " 不在 " + shown(low) + "～" + shown(high) + " 之内";
            return {};
        },
        "");
}

CLI::Validator oneOf(std::vector<std::string> words) {
    const std::string description = "one of " + CLI::detail::join(words, "|");
    return CLI::Validator(
        [words = std::move(words)](std::string& text) -> std::string {
            if (std::find(words.begin(), words.end(), text) != words.end())
                return {};
            return inQuotes(text) + " 不是可选的值（可选：" + joined(words) + "）";
        },
        description);
}

std::string argumentErrorMessage(const CLI::App*, const CLI::Error& error) {
    return "错误：" + inChinese(error) + "\n用 --help 查看用法。\n";
}

}  // namespace drawfollow::cli
