#include "app/search/search_job.h"

#include "analysis/hit_tally.h"
#include "analysis/search_fields.h"
#include "app/search/search_panel_controller.h"
#include "app/shell/timing_log.h"
#include "store/cancel_guard.h"
#include "store/derivation_record.h"
#include "store/history_db.h"

#include <QElapsedTimer>

namespace drawfollow {

namespace {

// Whether `fresh`, read for `kinds` under the write lock, holds the history `answered` was
// built from: the same draws with the same values of those kinds, derived alike.
bool sameHistory(const HistorySnapshot& answered, const HistorySnapshot& fresh, const std::vector<Kind>& kinds) {
    if (answered.issues() != fresh.issues())
        return false;
    const DrawValues* before = answered.listedDrawBefore(0, 1);
    const DrawValues* freshBefore = fresh.listedDrawBefore(0, 1);
    if ((before == nullptr) != (freshBefore == nullptr))
        return false;
    const auto& derivation = answered.derivation();
    const auto& freshDerivation = fresh.derivation();
    if (derivation.has_value() != freshDerivation.has_value() ||
        (derivation && !derivesSameRows(*derivation, *freshDerivation)))
        return false;
    const auto sameValues = [&kinds](const DrawValues& a, const DrawValues& b) {
        for (Kind k : kinds)
            if (a[index(k)] != b[index(k)])
                return false;
        return true;
    };
    if (before && !sameValues(*before, *freshBefore))
        return false;
    for (size_t row = 0; row < fresh.size(); ++row)
        if (!sameValues(answered.draws()[row].own, fresh.draws()[row].own))
            return false;
    return true;
}

}  // namespace

SearchResult refusedSearch(const PanelSearch& search) {
    SearchResult refused;
    clearResultGrids(search.inputs, refused);
    refused.message = search.refusal;
    return refused;
}

SearchResult runPanelSearch(HistoryDb& db, SearchButton button, const PanelSearch& search) {
    if (!search.ready())
        return refusedSearch(search);
    QElapsedTimer timer;
    timer.start();
    SearchResult result =
        button == SearchButton::Follow ? runFollowSearch(db, search.inputs) : runCombinationSearch(db, search.inputs);
    qCInfo(lcTiming, "%s search: %.1f ms, %zu hits", button == SearchButton::Follow ? "follow" : "combination",
           timer.nsecsElapsed() / 1e6, result.hits.size());
    return result;
}

SearchOutcome answerPanelSearch(const HistorySnapshot& history, SearchButton button, const PanelSearch& search,
                                SearchAnswer& answer) {
    SearchOutcome outcome;
    if (!search.ready()) {
        outcome.result = refusedSearch(search);
        return outcome;
    }
    QElapsedTimer timer;
    timer.start();
    answer = answerSearch(history, search.inputs, button == SearchButton::Combination);
    outcome.result = std::move(answer.result);
    if (outcome.result.ran) {
        try {
            outcome.chance = chanceOf(history, search.inputs, outcome.result);
        } catch (const std::exception& e) {
            outcome.chanceProblem = failureText(e);
        }
    }
    qCInfo(lcTiming, "%s search answered: %.1f ms, %zu hits", button == SearchButton::Follow ? "follow" : "combination",
           timer.nsecsElapsed() / 1e6, outcome.result.hits.size());
    return outcome;
}

std::string keepPanelSearchFields(const std::filesystem::path& file, const HistorySnapshot& history,
                                  const SearchInputs& inputs, const SearchAnswer& answer,
                                  const std::atomic<bool>& cancelled) {
    if (!answer.marking)
        return {};
    try {
        HistoryDb db(file);
        const CancelGuard guard(db, cancelled);
        // The window's snapshot was read over another connection: the fields are kept only
        // where this one, holding the write lock, still reads the same history.
        WriteTransaction transaction(db);
        const std::vector<Kind> kinds = HistorySnapshot::kindsOf(inputs);
        const HistorySnapshot fresh = HistorySnapshot::read(db, kinds);
        if (!sameHistory(history, fresh, kinds))
            return kFieldsNotStoredChanged;
        std::string note = keepSearchFields(db, fresh, inputs, *answer.marking, answer.storedTally);
        if (note.empty())
            transaction.commit();
        return note;
    } catch (const std::exception& e) {
        if (cancelled.load())
            return "检索字段和统计表的保存已取消，历史数据库未作改动。";
        if (isReadOnlyHistory(e))
            return kFieldsNotStoredReadOnly;
        return "检索字段和统计表未能保存，历史数据库未作改动：" + failureText(e);
    }
}

}  // namespace drawfollow
