// Feeds arbitrary bytes to the history text reader and checks what it promises: every
// draw it takes is valid and is what its own line says (the line begins with the issue and
// the first sixteen digits after it are the eight numbers); a text without problem lines
// (the only kind an import accepts) has strictly rising issues, and its draws written back
// as canonical lines read back unchanged.
#include "io/history_text.h"

#include <cstddef>
#include <cstdint>
#include <sstream>
#include <string>
#include <vector>

namespace {

void check(bool condition) {
    if (!condition)
        __builtin_trap();
}

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// The lines as an editor shows them, written independently of the reader.
std::vector<std::string> linesOf(std::string text) {
    if (text.rfind("\xEF\xBB\xBF", 0) == 0)
        text.erase(0, 3);
    std::vector<std::string> lines(1);
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' || text[i] == '\n') {
            if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
                ++i;
            lines.emplace_back();
        } else {
            lines.back() += text[i];
        }
    }
    return lines;
}

void checkDrawIsItsLine(const drawfollow::DrawInput& d, const std::string& line) {
    const size_t start = line.find_first_not_of(" \t");
    const std::string issue = drawfollow::issueText(d.issue);
    check(start != std::string::npos && line.compare(start, issue.size(), issue) == 0);
    const size_t afterIssue = start + issue.size();
    check(afterIssue == line.size() || !isDigit(line[afterIssue]));
    std::string digits;
    for (size_t i = afterIssue; i < line.size(); ++i)
        if (isDigit(line[i]))
            digits += line[i];
    std::string expected;
    for (int n : d.numbers)
        expected += std::string(1, static_cast<char>('0' + n / 10)) + static_cast<char>('0' + n % 10);
    check(digits.compare(0, expected.size(), expected) == 0);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace drawfollow;
    const std::string input(reinterpret_cast<const char*>(data), size);
    std::istringstream in(input);
    const HistoryText text = readHistoryText(in);

    const std::vector<std::string> lines = linesOf(input);
    check(text.drawLines.size() == text.draws.size());
    for (size_t i = 0; i < text.draws.size(); ++i) {
        check(drawProblem(text.draws[i].numbers).empty());
        const int line = text.drawLines[i];
        check(line >= 1 && static_cast<size_t>(line) <= lines.size());
        checkDrawIsItsLine(text.draws[i], lines[line - 1]);
    }
    if (!text.problems.empty())
        return 0;

    std::string canonical;
    int previous = -1;
    for (const DrawInput& d : text.draws) {
        check(d.issue > previous);
        previous = d.issue;
        canonical += canonicalLine(d.issue, d.numbers) + "\r\n";
    }
    std::istringstream again(canonical);
    const HistoryText reread = readHistoryText(again);
    check(reread.problems.empty() && reread.skippedLines == 0);
    check(reread.draws == text.draws);
    return 0;
}
