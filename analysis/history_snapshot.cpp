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
    std::vector<StoredDraw> draws = db.drawValues(kinds);
    std::optional<DrawValues> beforeFirst = listedBeforeFirst(db, draws);
    return HistorySnapshot(std::move(draws), beforeFirst, readDerivationRecord(db.connection()), dataVersion(db));
}

HistorySnapshot HistorySnapshot::withDraws(HistoryDb& db, std::vector<StoredDraw> draws) {
    const ReadTransaction transaction(db);
    std::optional<DrawValues> beforeFirst = listedBeforeFirst(db, draws);
    return HistorySnapshot(std::move(draws), beforeFirst, readDerivationRecord(db.connection()), dataVersion(db));
}

HistorySnapshot::HistorySnapshot(std::vector<StoredDraw> draws, std::optional<DrawValues> beforeFirst,
                                 std::optional<DerivationSettings> derivation, long long version)
    : draws_(std::move(draws)), beforeFirst_(beforeFirst), derivation_(derivation), version_(version) {
    issues_.reserve(draws_.size());
    for (const StoredDraw& d : draws_)
        issues_.push_back(d.issue);
}

PanelHistory HistorySnapshot::panelHistory() const {
    return {issues_, [this](size_t i) { return draws_.at(i); }};
}

const DrawValues* HistorySnapshot::listedDrawBefore(size_t row, int back) const {
    const auto at = static_cast<long long>(row) - back;
    if (at >= 0)
        return &draws_[static_cast<size_t>(at)].own;
    if (at == -1 && beforeFirst_)
        return &*beforeFirst_;
    return nullptr;
}

}  // namespace drawfollow
