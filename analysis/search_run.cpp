#include "analysis/hit_tally.h"
#include "analysis/search_answer.h"
#include "analysis/search_fields.h"
#include "analysis/search_panel.h"

#include <algorithm>

namespace drawfollow {

SearchAnswer answerSearch(const HistorySnapshot& history, const SearchInputs& inputs, bool combination) {
    SearchAnswer answer;
    SearchResult& result = answer.result;
    result.message = searchRefusal(inputs);
    if (!result.message.empty()) {
        clearResultGrids(inputs, result);
        return answer;
    }
    const int first = *readIssueBox(inputs.firstIssue);
    const int last = *readIssueBox(inputs.lastIssue);
    result.firstIssue = first;
    result.lastIssue = last;
    const SearchMarking& marking = answer.marking.emplace(inputs, combination);
    const std::vector<int>& issues = history.issues();
    const auto from = static_cast<size_t>(std::lower_bound(issues.begin(), issues.end(), first) - issues.begin());
    const auto to = static_cast<size_t>(std::upper_bound(issues.begin(), issues.end(), last) - issues.begin());
    const std::vector<size_t> rows = from < to ? marking.markedRows(history, from, to) : std::vector<size_t>{};
    answer.storedTally = tallyHits(history, inputs, rows, result);
    result.conditions = marking.conditions();
    result.message = marking.note();
    if (first > last)
        result.message +=
            "起始期号 " + std::to_string(first) + " 大于截止期号 " + std::to_string(last) + "，范围内没有任何一期。";
    result.ran = true;
    return answer;
}

SearchResult runSearch(HistoryDb& db, const SearchInputs& inputs, bool combination) {
    SearchResult result;
    result.message = searchRefusal(inputs);
    if (!result.message.empty()) {  // refused before the history is read
        clearResultGrids(inputs, result);
        return result;
    }
    try {
        const HistorySnapshot history = HistorySnapshot::read(db, HistorySnapshot::kindsOf(inputs));
        SearchAnswer answer = answerSearch(history, inputs, combination);
        if (!answer.marking)
            return answer.result;
        const std::string note = keepSearchFields(db, history, inputs, *answer.marking, answer.storedTally);
        result = std::move(answer.result);
        if (!note.empty())
            result.message += (result.message.empty() ? "" : "\n") + note;
    } catch (const std::exception& e) {
        clearResultGrids(inputs, result);
        result.ran = false;
        result.message = "检索失败，历史数据库未作改动：" + failureText(e);
    }
    return result;
}

SearchResult runFollowSearch(HistoryDb& db, const SearchInputs& inputs) {
    return runSearch(db, inputs, false);
}

SearchResult runCombinationSearch(HistoryDb& db, const SearchInputs& inputs) {
    return runSearch(db, inputs, true);
}

}  // namespace drawfollow
