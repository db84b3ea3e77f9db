#include "analysis/hit_tally.h"
#include "analysis/search_panel.h"
#include "analysis/search_steps.h"

#include <algorithm>

namespace drawfollow::search_steps {

Marking MarkingUpdate::run(HistoryDb& db) const {
    return {update.run(db, marker, markedValue), conditions, note};
}

SearchResult runMarkedSearch(HistoryDb& db, const SearchInputs& inputs, const MarkRows& mark) {
    SearchResult result;
    result.message = searchRefusal(inputs);
    if (!result.message.empty()) {
        clearResultGrids(inputs, result);
        return result;
    }
    const int first = *readIssueBox(inputs.firstIssue);
    const int last = *readIssueBox(inputs.lastIssue);
    result.firstIssue = first;
    result.lastIssue = last;
    try {
        // The write lock first: a transaction that has read cannot wait for the lock at its
        // first write (SQLite refuses at once rather than risk a deadlock), so the search
        // would fail whenever another program is changing the history.
        WriteTransaction transaction(db);
        const Marking marking = mark(db, inputs);
        const auto from = std::lower_bound(marking.marked.begin(), marking.marked.end(), first);
        const auto to = std::upper_bound(from, marking.marked.end(), last);
        tallyHits(db, inputs, std::span<const int>(from, to), result);
        transaction.commit();
        result.conditions = marking.conditions;
        result.message = marking.note;
        if (first > last)
            result.message += "起始期号 " + std::to_string(first) + " 大于截止期号 " + std::to_string(last) +
                              "，范围内没有任何一期。";
        result.ran = true;
    } catch (const std::exception& e) {
        clearResultGrids(inputs, result);
        result.message = "检索失败，历史数据库未作改动：" + failureText(e);
    }
    return result;
}

}  // namespace drawfollow::search_steps
