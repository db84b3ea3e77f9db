// Numbers, issues and names on the command line, read one way everywhere: numbers are
// decimal ("08" is eight; CLI11 alone would read a leading 0 as octal), issues are issues,
// and what is refused is said in Chinese. Every subcommand's options use these.
#pragma once

#include <CLI/CLI.hpp>

#include <climits>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace drawfollow::cli {

// A decimal integer ("8", "08", "-5", "+3") that fits an int; none for anything else
// (blanks, "0x10", "1e3", "99999999999").
std::optional<int> parseDecimal(std::string_view text);

// An issue: exactly seven digits, the last three (the sequence) 001..999.
std::optional<int> parseIssue(std::string_view text);

// For option->transform(): refuse what is not a decimal in low..high (or not an issue), and
// hand CLI11 the plain decimal, which it cannot misread.
CLI::Validator decimal(int low = INT_MIN, int high = INT_MAX);
CLI::Validator issue();

// A decimal number with an optional fraction ("0.5", "30") in low..high.
CLI::Validator decimalNumber(double low, double high);

// For option->check(): one of the given words.
CLI::Validator oneOf(std::vector<std::string> words);

// CLI11's own argument errors in Chinese, for App::failure_message.
std::string argumentErrorMessage(const CLI::App* app, const CLI::Error& error);

}  // namespace drawfollow::cli
