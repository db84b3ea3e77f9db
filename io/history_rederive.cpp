#include "io/history_rederive.h"

#include "io/safety_copy.h"

namespace drawfollow {

RederiveSummary rederiveHistory(HistoryDb& db, const DerivationSettings& settings, const BatchProgress& progress) {
    RederiveSummary summary;
    WriteTransaction tx(db);
    summary.safetyCopy = writeSafetyCopy(db, CopyCause::Rederive);
    summary.draws = db.rederiveAll(settings, progress);
    tx.commit();
    return summary;
}

}  // namespace drawfollow
