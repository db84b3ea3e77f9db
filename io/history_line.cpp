#include "io/history_line.h"

#include "io/utf8_text.h"
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

bool inRange(char c, unsigned char low, unsigned char high) {
    const auto u = static_cast<unsigned char>(c);
    return u >= low && u <= high;
}

// The line with its full-width digits (０..９) written as ASCII ones: U+FF10..U+FF19 in a
// line that is UTF-8, the GBK pairs A3 B0..A3 B9 in one that is not.
std::string withAsciiDigits(std::string_view line) {
    std::string out;
    out.reserve(line.size());
    const bool utf8 = isValidUtf8(line);
    for (size_t i = 0; i < line.size();) {
        if (utf8 && i + 2 < line.size() && line[i] == '\xEF' && line[i + 1] == '\xBC' &&
            inRange(line[i + 2], 0x90, 0x99)) {
            out += static_cast<char>('0' + (static_cast<unsigned char>(line[i + 2]) - 0x90));
            i += 3;
        } else if (!utf8 && i + 1 < line.size() && inRange(line[i], 0x81, 0xFE)) {
            // A GBK character of two bytes: its second byte is never a character of its own.
            if (line[i] == '\xA3' && inRange(line[i + 1], 0xB0, 0xB9))
                out += static_cast<char>('0' + (static_cast<unsigned char>(line[i + 1]) - 0xB0));
            else
                out.append(line.substr(i, 2));
            i += 2;
        } else {
            out += line[i++];
        }
    }
    return out;
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

ParsedLine parseHistoryLine(std::string_view original) {
    const std::string ascii = withAsciiDigits(original);
    const std::string_view line = ascii;
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
