// The history as every question of one command (or of the window, between two changes of
// the history) is answered from: the stored draws' own values in issue order, read once in
// one read transaction together with the derivation record, so that an answer never mixes
// two histories. Read-only once built; threads may share it.
#pragma once

#include "analysis/search_panel.h"
#include "store/history_db.h"

#include <memory>
#include <optional>
#include <span>
#include <vector>

namespace drawfollow {

class HistorySnapshot {
public:
    // Everything in one read transaction: another program's change either came before it
    // whole, or waits until it is done. The values are derived from the stored numbers;
    // where they cannot be (store/history_db.h, drawValues), only the values of `kinds` are
    // read (the numbers always, for the lists) and the other kinds hold 0.
    static HistorySnapshot read(HistoryDb& db, std::span<const Kind> kinds = kAllKinds);
    // The draws a caller holds already (every kind), as `db` stores them; the rest is read
    // in one read transaction.
    static HistorySnapshot withDraws(HistoryDb& db, std::vector<StoredDraw> draws);
    // The kinds a search on these settings reads: its search kind and its result kind.
    static std::vector<Kind> kindsOf(const SearchSettings& settings);

    HistorySnapshot(std::vector<StoredDraw> draws, std::optional<DrawValues> beforeFirst,
                    std::optional<DerivationSettings> derivation, long long version);
    HistorySnapshot(std::shared_ptr<const StoredHistory> stored, std::optional<DrawValues> beforeFirst,
                    std::optional<DerivationSettings> derivation, long long version);

    size_t size() const { return stored_->draws.size(); }
    const std::vector<int>& issues() const { return stored_->issues; }
    const std::vector<StoredDraw>& draws() const { return stored_->draws; }
    // What the search panel's rules read of the history.
    PanelHistory panelHistory() const;

    // The draw whose lists row `row` holds as the draw `back` rows before it: the stored
    // draw there, or, one row before the first, the draw a trimmed history's first row still
    // lists as its predecessor; none where the row lists nothing.
    const DrawValues* listedDrawBefore(size_t row, int back) const;

    // The settings the rows were derived with, as recorded in the same transaction.
    const std::optional<DerivationSettings>& derivation() const { return derivation_; }
    // The file's data version when the snapshot was read (store/history_db.h, dataVersion).
    long long version() const { return version_; }

private:
    std::shared_ptr<const StoredHistory> stored_;
    std::optional<DrawValues> beforeFirst_;
    std::optional<DerivationSettings> derivation_;
    long long version_ = 0;
};

}  // namespace drawfollow
