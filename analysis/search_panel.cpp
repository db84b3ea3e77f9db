#include "analysis/search_panel.h"

#include "analysis/panel_defaults.h"
#include "analysis/panel_values.h"
#include "analysis/verification_base.h"

namespace drawfollow {

namespace {

constexpr const char* kNotRun = "检索未进行。";

std::string gapRefusal(const SearchSettings& options) {
    if (options.previousIssue || (options.gap >= kMinGap && options.gap <= kMaxGap))
        return {};
    return "前期间隔 " + std::to_string(options.gap) + " 无效，请输入 1～9 的期数，" + kNotRun;
}

// The values the search reads: the ticked positions (follow search) or the whole pool
// (combination search).
bool needed(const SearchPanel& panel, int position) {
    const int pool = panel.options.combinationRegularOnly ? kRegularPositions : kPositions;
    return panel.combination ? position <= pool : panel.options.ticked[position - 1];
}

// The base values the panel's source gives, or why there are none.
std::string fillBase(const SearchPanel& panel, const PanelHistory& history, SearchInputs& in) {
    const SearchSettings& o = panel.options;
    std::optional<size_t> baseIndex;
    switch (panel.source) {
        case BaseSource::Manual: {
            PositionValues values{};
            for (int p = 1; p <= kPositions; ++p) {
                if (const auto value = panel.manualValues[p - 1])
                    values[p - 1] = *value;
                else if (needed(panel, p))
                    return "手动输入号的第 " + std::to_string(p) + " 位（" + positionLabel(p) + "）没有数值。";
            }
            in.values = values;
            return {};
        }
        case BaseSource::LatestDraw: {
            const BaseLookup base = referenceDraw(history.issues.size(), o.previousIssue, o.gap);
            if (!base.found())
                return base.problem;
            baseIndex = base.index;
            break;
        }
        case BaseSource::Verification: {
            const VerificationLookup lookup =
                verificationLookup(history.issues, panel.verifiedIssue, o.previousIssue, o.gap);
            if (!lookup.base)
                return lookup.problem;
            baseIndex = lookup.base->baseIndex;
            break;
        }
    }
    in.values = valuesOf(history.drawAt(*baseIndex), o.searchKind);
    return {};
}

// The range end when the panel leaves it to the history.
std::optional<int> defaultRangeEnd(const SearchPanel& panel, std::span<const int> issues) {
    if (panel.source == BaseSource::Verification && panel.onlyBeforeVerified)
        if (const auto x = parseIssue(panel.verifiedIssue))
            return rangeEndBefore(issues, *x);
    return rangeEnd(issues);
}

}  // namespace

std::string searchRefusal(const SearchInputs& inputs) {
    if (!readIssueBox(inputs.firstIssue))
        return "起始期号“" + inputs.firstIssue + "”不是数字，" + kNotRun;
    if (!readIssueBox(inputs.lastIssue))
        return "截止期号“" + inputs.lastIssue + "”不是数字，" + kNotRun;
    if (std::string gap = gapRefusal(inputs); !gap.empty())
        return gap;
    if (!inputs.values)
        return std::string("没有基准号码，") + kNotRun;
    return {};
}

PanelSearch buildSearchInputs(const SearchPanel& panel, const PanelHistory& history) {
    PanelSearch built;
    SearchInputs& in = built.inputs;
    static_cast<SearchSettings&>(in) = panel.options;
    // A gap outside 1..9 leaves the automatic tabs without a base; its own words are clearer.
    built.refusal = gapRefusal(panel.options);
    if (!built.ready())
        return built;

    const auto start = rangeStart(history.issues, panel.options.previousIssue, panel.options.gap);
    const auto end = defaultRangeEnd(panel, history.issues);
    if ((!panel.firstIssue && !start) || (!panel.lastIssue && !end)) {
        // Only a caller that leaves the range unset meets this: the command line.
        built.refusal = "历史号码为空，无法确定检索范围：请先导入历史号码，或用 --first 和 --last 指定。";
        return built;
    }
    in.firstIssue = panel.firstIssue ? *panel.firstIssue : std::to_string(*start);
    in.lastIssue = panel.lastIssue ? *panel.lastIssue : std::to_string(*end);

    if (std::string problem = fillBase(panel, history, in); !problem.empty()) {
        built.refusal = problem + kNotRun;
        return built;
    }
    built.refusal = searchRefusal(in);
    return built;
}

}  // namespace drawfollow
