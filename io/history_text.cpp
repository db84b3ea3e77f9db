#include "io/history_text.h"

#include "io/replace_file.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <fstream>
#include <istream>
#include <system_error>

namespace drawfollow {

namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
constexpr size_t kUtf16Sample = 512;

std::string readAll(std::istream& in) {
    std::string text;
    char chunk[1 << 16];
    while (in.read(chunk, sizeof chunk) || in.gcount() > 0)
        text.append(chunk, static_cast<size_t>(in.gcount()));
    return text;
}

// Calls take(lineNumber, line) for every line; CR LF, LF and CR each end one, so files
// from any system (and files mixing them) count their lines as an editor shows them.
template <typename Take>
void forEachLine(std::string_view text, Take take) {
    for (int lineNumber = 1; !text.empty(); ++lineNumber) {
        const size_t end = text.find_first_of("\r\n");
        take(lineNumber, text.substr(0, end));
        if (end == std::string_view::npos)
            break;
        const bool crLf = text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n';
        text.remove_prefix(end + (crLf ? 2 : 1));
    }
}

// A UTF-16 file read byte by byte shows every line as bad; it is told as a whole instead.
// Without a byte-order mark it still gives itself away: the digits, spaces and line ends of
// a history are ASCII, whose other byte is zero, all on the odd bytes or all on the even,
// while a UTF-8 or GBK text holds no zero byte at all. A heading in Chinese takes a few.
bool looksLikeUtf16(std::string_view text) {
    if (text.starts_with("\xFF\xFE") || text.starts_with("\xFE\xFF"))
        return true;
    const std::string_view start = text.substr(0, kUtf16Sample);
    size_t zeros[2] = {0, 0};
    for (size_t i = 0; i < start.size(); ++i)
        zeros[i % 2] += start[i] == '\0';
    const size_t half = start.size() / 2;
    return half > 0 && std::max(zeros[0], zeros[1]) * 4 >= half;
}

}  // namespace

void HistoryText::addProblem(int line, std::string reason) {
    ++problemCount;
    if (problems.size() < kProblemsListed)
        problems.push_back({line, std::move(reason)});
}

std::string HistoryText::problemSummary(size_t shown) const {
    std::string s;
    if (draws.empty() && problems.empty())
        return "文件中没有任何历史号码行。";
    for (size_t i = 0; i < problems.size() && i < shown; ++i) {
        if (problems[i].line > 0)  // line 0: the file as a whole
            s += "第 " + std::to_string(problems[i].line) + " 行：";
        s += problems[i].reason + "\n";
    }
    if (problemCount > shown)
        s += "……共 " + std::to_string(problemCount) + " 行有误。\n";
    return s;
}

HistoryText readHistoryText(std::istream& in) {
    const std::string content = readAll(in);
    std::string_view text = content;
    if (text.starts_with(kByteOrderMark))
        text.remove_prefix(kByteOrderMark.size());

    HistoryText result;
    if (looksLikeUtf16(text)) {
        result.addProblem(0, "文件是 UTF-16 编码的，不能读入：请把它另存为 UTF-8 或 GBK 编码的文本文件后再读入。");
        return result;
    }
    std::optional<int> lastIssue;
    forEachLine(text, [&](int lineNumber, std::string_view line) {
        const ParsedLine parsed = parseHistoryLine(line);
        if (parsed.isHeading()) {
            ++result.skippedLines;
            return;
        }
        std::string problem = parsed.problem;
        Numbers numbers{};
        if (problem.empty()) {
            std::copy(parsed.numbers.begin(), parsed.numbers.end(), numbers.begin());
            if (lastIssue && *parsed.issue <= *lastIssue)
                problem = "期号 " + std::to_string(*parsed.issue) + " 不大于上一行的期号 " + std::to_string(*lastIssue);
            else
                problem = drawProblem(numbers);
        }
        if (parsed.issue)
            lastIssue = parsed.issue;
        if (!problem.empty()) {
            result.addProblem(lineNumber, std::move(problem));
            return;
        }
        result.draws.push_back({*parsed.issue, numbers});
        result.drawLines.push_back(lineNumber);
    });
    return result;
}

HistoryText readHistoryFile(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    if (!in) {
        HistoryText failed;
        failed.addProblem(0, "无法打开文件 “" + file.string() + "”");
        return failed;
    }
    HistoryText text = readHistoryText(in);
    if (in.bad())
        text.addProblem(0, "读取文件 “" + file.string() + "” 时出错");
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

void writeHistoryFile(const std::filesystem::path& file, std::span<const DrawInput> draws,
                      const std::filesystem::path& dataFolder) {
    replaceFile(
        file,
        [&](const std::filesystem::path& temporary) {
            std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
            for (const auto& d : draws)
                out << canonicalLine(d.issue, d.numbers) << "\r\n";
            out.close();
            if (!out)
                throw std::system_error(errno, std::generic_category(), "无法写入文件 “" + file.string() + "”");
        },
        dataFolder);
}

std::string exportFileName(std::optional<int> latestIssue) {
    return "更新至" + (latestIssue ? std::to_string(*latestIssue) : std::string()) + "期历史号码.txt";
}

}  // namespace drawfollow
