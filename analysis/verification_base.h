// The base draw of the verification tab (验证指定期): the draw a search would have been
// run on just before issue X was drawn.
//
// The base is the stored draw immediately before X in issue order (X itself need not be
// stored), in 前期 mode N − 1 more rows back. Looking for "X − 1, or issue 154 of the year
// before for a year's first issue" would miss every year that ended at another issue
// (they end anywhere from 135 to 154) and leave the panel on stale values. When there is
// no base (X at or before the first stored draw, too few draws before it, a gap outside
// 1..9 in 前期 mode) the search must refuse to run.
#pragma once

#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace drawfollow {

struct VerificationBase {
    int issue = 0;         // X, the verified issue
    size_t baseIndex = 0;  // index of the base draw in the ordered history
    int baseIssue = 0;     // its SQQH
};

// The base of issue x, or when there is none, why not in plain words.
// `issues`: every stored issue in rising order.
struct VerificationLookup {
    std::optional<VerificationBase> base;
    std::string problem;
};
VerificationLookup verificationLookup(std::span<const int> issues, int x, bool previousIssue, int gap);

// The same for the issue as typed in the verification box: a text that is not an issue
// (analysis/panel_values.h parseIssue) has no base either.
VerificationLookup verificationLookup(std::span<const int> issues, std::string_view issueText, bool previousIssue,
                                      int gap);

// The issue before x by arithmetic: x - 1, or for a year's first issue
// the previous year's issue 154, whatever that year's real last issue was.
int issueBeforeByRule(int x);

// The range end that 仅检索该期前 sets: the stored draw immediately before x, as the
// verification base has it; by the arithmetic rule only when no draw is stored before x.
// For a year's first issue that is the previous year's real last draw (years end at 135
// to 154); both select the same rows.
int rangeEndBefore(std::span<const int> issues, int x);

}  // namespace drawfollow
