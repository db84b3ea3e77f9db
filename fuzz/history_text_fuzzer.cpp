// Feeds arbitrary bytes to the history text reader and checks what it promises: every
// draw it takes is valid; a text without problem lines (the only kind an import accepts)
// has strictly rising issues, and its draws written back as canonical lines read back
// unchanged.
#include "io/history_text.h"

#include <cstddef>
#include <cstdint>
#include <sstream>
#include <string>

namespace {

void check(bool condition) {
    if (!condition)
        __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace drawfollow;
    std::istringstream in(std::string(reinterpret_cast<const char*>(data), size));
    const HistoryText text = readHistoryText(in);

    for (const DrawInput& d : text.draws)
        check(drawProblem(d.numbers).empty());
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
