#include "io/history_text.h"

#include <array>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <system_error>

namespace drawfollow {

namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }

std::string_view trimSpaces(std::string_view s) {
    while (!s.empty() && s.front() == ' ')
        s.remove_prefix(1);
    while (!s.empty() && s.back() == ' ')
        s.remove_suffix(1);
    return s;
}

bool sevenDigits(std::string_view s) {
    if (s.size() < 7)
        return false;
    for (int i = 0; i < 7; ++i)
        if (!isDigit(s[i]))
            return false;
    return true;
}

}  // namespace

ParsedLine parseHistoryLine(std::string_view raw) {
    const std::string_view line = trimSpaces(raw);
    ParsedLine parsed;
    size_t pos = 1;  // a line without an issue is scanned from its second character
    if (sevenDigits(line)) {
        parsed.issue = std::stoi(std::string(line.substr(0, 7)));
        pos = 8;  // the eighth character separates, whatever it is
    }
    while (pos + 1 < line.size() && parsed.numbers.size() < kPositions) {
        if (isDigit(line[pos]) && isDigit(line[pos + 1])) {
            parsed.numbers.push_back((line[pos] - '0') * 10 + (line[pos + 1] - '0'));
            pos += 2;
        } else {
            ++pos;
        }
    }
    return parsed;
}

std::string HistoryText::problemSummary(size_t shown) const {
    std::string s;
    if (draws.empty() && problems.empty())
        return "文件中没有任何历史号码行。";
    for (size_t i = 0; i < problems.size() && i < shown; ++i)
        s += "第 " + std::to_string(problems[i].line) + " 行：" + problems[i].reason + "\n";
    if (problems.size() > shown)
        s += "……共 " + std::to_string(problems.size()) + " 行有误。\n";
    return s;
}

HistoryText readHistoryText(std::istream& in) {
    HistoryText result;
    Numbers carried{};  // positions a short line does not supply keep the previous line's numbers
    std::optional<int> lastIssue;
    std::string line;
    for (int lineNo = 1; std::getline(in, line); ++lineNo) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        const ParsedLine parsed = parseHistoryLine(line);
        if (!parsed.issue) {
            ++result.skippedLines;
            continue;
        }
        for (size_t p = 0; p < parsed.numbers.size(); ++p)
            carried[p] = static_cast<int16_t>(parsed.numbers[p]);
        std::string problem;
        if (lastIssue && *parsed.issue <= *lastIssue)
            problem = "期号 " + std::to_string(*parsed.issue) + " 不大于上一行的期号 " + std::to_string(*lastIssue);
        else
            problem = drawProblem(carried);
        if (!problem.empty())
            result.problems.push_back({lineNo, problem});
        else
            result.draws.push_back({*parsed.issue, carried});
        lastIssue = parsed.issue;
    }
    return result;
}

HistoryText readHistoryFile(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    if (!in) {
        HistoryText failed;
        failed.problems.push_back({0, "无法打开文件 “" + file.string() + "”"});
        return failed;
    }
    HistoryText text = readHistoryText(in);
    if (in.bad())
        text.problems.push_back({0, "读取文件 “" + file.string() + "” 时出错"});
    return text;
}

std::string canonicalLine(int issue, const Numbers& numbers) {
    char buf[8];
    // Seven digits always: an issue read from "0374888" must be written so it reads back.
    std::string line = issueText(issue);
    line += ' ';
    for (int n : numbers) {
        std::snprintf(buf, sizeof buf, "%02d ", n);
        line += buf;
    }
    return line;
}

void writeHistoryFile(const std::filesystem::path& file, std::span<const DrawInput> draws) {
    std::filesystem::path temp = file;
    temp += ".part";
    {
        std::ofstream out(temp, std::ios::binary | std::ios::trunc);
        for (const auto& d : draws)
            out << canonicalLine(d.issue, d.numbers) << "\r\n";
        out.flush();
        if (!out)
            throw std::system_error(errno, std::generic_category(), "无法写入文件 “" + file.string() + "”");
    }
    std::filesystem::rename(temp, file);
}

std::string exportFileName(std::optional<int> latestIssue) {
    return "更新至" + (latestIssue ? std::to_string(*latestIssue) : std::string()) + "期历史号码.txt";
}

}  // namespace drawfollow
