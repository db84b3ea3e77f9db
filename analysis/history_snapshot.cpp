#include "analysis/history_snapshot.h"

#include "store/derivation_record.h"

namespace drawfollow {

namespace {

// After the oldest draws were dropped, the first stored row still lists the draw before it
// (its previous-draw values and lists); the searches read it as every other row's lists.
std::optional<DrawValues> listedBeforeFirst(HistoryDb& db, const std::vector<StoredDraw>& draws) {
    if (draws.empty())
        return std::nullopt;
    const std::optional<DrawRow> first = db.rowOfIssue(draws.front().issue);
    if (!first || first->previousLists.plain.empty())
        return std::nullopt;
    return first->previous;
}

}  // namespace

std::vector<Kind> HistorySnapshot::kindsOf(const SearchSettings& settings) {
    return {settings.searchKind, settings.resultKind};
}

HistorySnapshot HistorySnapshot::read(HistoryDb& db, std::span<const Kind> kinds) {
    const ReadTransaction transaction(db);
    std::shared_ptr<const StoredHistory> stored = db.sharedDrawValues(kinds);
    std::optional<DrawValues> beforeFirst = listedBeforeFirst(db, stored->draws);
    return HistorySnapshot(std::move(stored), beforeFirst, readDerivationRecord(db.connection()), dataVersion(db));
}

HistorySnapshot HistorySnapshot::withDraws(HistoryDb& db, std::vector<StoredDraw> draws) {
    const ReadTransaction transaction(db);
    std::optional<DrawValues> beforeFirst = listedBeforeFirst(db, draws);
    return HistorySnapshot(std::move(draws), beforeFirst, readDerivationRecord(db.connection()), dataVersion(db));
}

HistorySnapshot::HistorySnapshot(std::vector<StoredDraw> draws, std::optional<DrawValues> beforeFirst,
                                 std::optional<DerivationSettings> derivation, long long version)
    : HistorySnapshot(std::make_shared<const StoredHistory>(StoredHistory::of(std::move(draws))), beforeFirst,
                      derivation, version) {}

HistorySnapshot::HistorySnapshot(std::shared_ptr<const StoredHistory> stored, std::optional<DrawValues> beforeFirst,
                                 std::optional<DerivationSettings> derivation, long long version)
    : stored_(std::move(stored)), beforeFirst_(beforeFirst), derivation_(derivation), version_(version) {}

PanelHistory HistorySnapshot::panelHistory() const {
    return {issues(), [this](size_t i) { return draws().at(i); }};
}

const DrawValues* HistorySnapshot::listedDrawBefore(size_t row, int back) const {
    const auto at = static_cast<long long>(row) - back;
    if (at >= 0)
        return &draws()[static_cast<size_t>(at)].own;
    if (at == -1 && beforeFirst_)
        return &*beforeFirst_;
    return nullptr;
}

}  // namespace drawfollow
