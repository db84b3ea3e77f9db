#include "io/history_rederive.h"

#include "io/safety_copy.h"

namespace drawfollow {

RederiveSummary rederiveHistory(HistoryDb& db, const DerivationSettings& settings, const BatchProgress& progress) {
    RederiveSummary summary;
    summary.safetyCopy = writeSafetyCopy(db);
    summary.draws = db.rederiveAll(settings, progress);
    return summary;
}

}  // namespace drawfollow
