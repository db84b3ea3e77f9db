#include "io/history_line.h"

#include "store/draw.h"

namespace drawfollow {

namespace {

constexpr size_t kIssueDigits = 7;

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// The maximal runs of digits of a line, in line order.
std::vector<std::string_view> digitRuns(std::string_view line) {
    std::vector<std::string_view> runs;
    size_t pos = 0;
    while (pos < line.size()) {
        if (!isDigit(line[pos])) {
            ++pos;
            continue;
        }
        const size_t start = pos;
        while (pos < line.size() && isDigit(line[pos]))
            ++pos;
        runs.push_back(line.substr(start, pos - start));
    }
    return runs;
}

// Every two digits could be a number, and so could a lone digit left over.
size_t numbersIn(std::string_view run) {
    return (run.size() + 1) / 2;
}

int decimal(std::string_view digits) {
    int value = 0;
    for (char c : digits)
        value = value * 10 + (c - '0');
    return value;
}

std::string quoted(std::string_view s) {
    return "“" + std::string(s) + "”";
}

std::string oddRunProblem(std::string_view run) {
    if (run.size() == 1)
        return "号码 " + quoted(run) + " 只有一位，号码要写两位（如 0" + std::string(run) + "）";
    return quoted(run) + " 有 " + std::to_string(run.size()) + " 位数字，分不成两位一个的号码";
}

}  // namespace

ParsedLine parseHistoryLine(std::string_view line) {
    const std::vector<std::string_view> runs = digitRuns(line);
    const size_t firstNonBlank = line.find_first_not_of(" \t");
    const bool beginsWithRun = !runs.empty() && runs.front().data() == line.data() + firstNonBlank;

    ParsedLine parsed;
    if (!beginsWithRun || runs.front().size() != kIssueDigits) {
        size_t numbers = 0;
        for (std::string_view run : runs)
            numbers += numbersIn(run);
        if (numbers >= kPositions)
            parsed.problem = beginsWithRun ? "期号 " + quoted(runs.front()) + " 不是七位数字" : "行首没有七位期号";
        return parsed;
    }

    parsed.issue = decimal(runs.front());
    if (issueSequence(*parsed.issue) == 0) {
        parsed.problem = "期号 " + quoted(runs.front()) + " 的期数是 000";
        return parsed;
    }
    // The numbers stand apart, or all of them are written together as one run; a run of
    // four digits among separated numbers is more likely a date than two numbers.
    const bool writtenTogether = runs.size() == 2 && runs[1].size() >= 2 * std::size_t{kPositions};
    for (size_t r = 1; r < runs.size(); ++r) {
        const std::string_view run = runs[r];
        if (run.size() % 2 != 0) {
            parsed.problem = oddRunProblem(run);
            return parsed;
        }
        if (run.size() != 2 && !writtenTogether) {
            parsed.problem = quoted(run) + " 有 " + std::to_string(run.size()) +
                             " 位数字：号码要么两位一个分开写，要么八个号码连写成十六位";
            return parsed;
        }
        for (size_t i = 0; i < run.size() && parsed.numbers.size() < kPositions; i += 2)
            parsed.numbers.push_back(decimal(run.substr(i, 2)));
    }
    if (parsed.numbers.size() < kPositions)
        parsed.problem = "只有 " + std::to_string(parsed.numbers.size()) + " 个号码，一期要有 8 个";
    return parsed;
}

}  // namespace drawfollow
