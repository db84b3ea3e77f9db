#include "app/search/search_job.h"

#include "analysis/hit_tally.h"
#include "app/search/search_panel_controller.h"
#include "app/shell/timing_log.h"
#include "store/cancel_guard.h"
#include "store/history_db.h"

#include <QElapsedTimer>

namespace drawfollow {

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

SearchOutcome runPanelSearchInFile(const std::filesystem::path& file, SearchButton button, const PanelSearch& search,
                                   const std::atomic<bool>& cancelled) {
    SearchOutcome outcome;
    try {
        HistoryDb db(file);
        const CancelGuard guard(db, cancelled);
        outcome.result = runPanelSearch(db, button, search);
    } catch (const std::exception& e) {
        clearResultGrids(search.inputs, outcome.result);
        outcome.result.message = "检索失败，历史数据库未作改动：" + failureText(e);
    }
    // A search that finished before the cancel reached it stands, and is shown.
    if (!outcome.result.ran && cancelled.load()) {
        outcome.cancelled = true;
        outcome.result.message = "检索已取消，历史数据库未作改动。";
    }
    return outcome;
}

}  // namespace drawfollow
