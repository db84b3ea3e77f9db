// The one way from the search panel as the user left it to the inputs of a search, or to
// the reason the search must not run. The window and the command line describe their
// panel and both call buildSearchInputs, so that both search on the same base, over the
// same range, and refuse alike.
#pragma once

#include "analysis/search.h"
#include "store/draw_row.h"

#include <cstddef>
#include <functional>
#include <optional>
#include <span>
#include <string>

namespace drawfollow {

// The position tabs: where the base values come from.
enum class BaseSource {
    LatestDraw,    // 自动历史位: the newest draw (上期) or the gap-th newest (前期)
    Manual,        // 手动输入号: the values as typed
    Verification,  // 验证指定期: the draw before the verified issue
};

struct SearchPanel {
    SearchSettings options;
    bool combination = false;  // 组合检索: the whole pool needs values, not the ticked positions
    BaseSource source = BaseSource::LatestDraw;
    std::array<std::optional<int>, kPositions> manualValues{};  // position 1 first; none where the box is empty
    std::string verifiedIssue;                                  // the verified issue as typed
    bool onlyBeforeVerified = false;  // 仅检索该期前: the default range end is the draw before it
    // The range's 起 and 止 as typed; none: the default range of the history.
    std::optional<std::string> firstIssue;
    std::optional<std::string> lastIssue;
};

// What the builder reads of the history: every stored issue in rising order, and the draw
// at one index of them, asked only for the draw that becomes the base.
struct PanelHistory {
    std::span<const int> issues;
    std::function<StoredDraw(size_t index)> drawAt;
};

struct PanelSearch {
    // As far as the panel gives them: `values` is empty when the panel has no base.
    SearchInputs inputs;
    std::string refusal;  // why the search must not run, for the user; empty when it may

    bool ready() const { return refusal.empty(); }
};

PanelSearch buildSearchInputs(const SearchPanel& panel, const PanelHistory& history);

// Why a search must not run on these inputs (a range box that is not a number, a 前期
// gap outside 1..9, no base values); empty when it may. The searches keep it as their
// own guard.
std::string searchRefusal(const SearchInputs& inputs);

}  // namespace drawfollow
