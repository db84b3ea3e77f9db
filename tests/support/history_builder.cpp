#include "support/history_builder.h"

#include <algorithm>
#include <numeric>
#include <random>

namespace drawfollow::test {

std::vector<DrawInput> seededDraws(int count, uint32_t seed, int firstIssue, int perYear) {
    std::mt19937 rng(seed);
    std::array<int, 30> pool;
    std::iota(pool.begin(), pool.end(), 1);
    std::vector<DrawInput> draws;
    int issue = firstIssue;
    for (int i = 0; i < count; ++i) {
        std::shuffle(pool.begin(), pool.end(), rng);
        DrawInput d{issue, {}};
        for (int p = 0; p < kPositions; ++p)
            d.numbers[p] = static_cast<int16_t>(pool[p]);
        draws.push_back(d);
        issue = issueSequence(issue) >= perYear ? (issueYear(issue) + 1) * 1000 + 1 : issue + 1;
    }
    return draws;
}

DrawInput draw(int issue, std::initializer_list<int> numbers) {
    DrawInput d{issue, {}};
    int p = 0;
    for (int n : numbers)
        d.numbers[p++] = static_cast<int16_t>(n);
    return d;
}

std::vector<DrawRow> everyRow(HistoryDb& db) {
    return db.newestRows(db.drawCount());
}

DerivationSettings settingsFor(int codeTableYear, int zodiacOffset, int segmentOffset, bool sequential) {
    return DerivationSettings{segmentOffset, ZodiacCodeTable::build(sequential, zodiacOffset, codeTableYear)};
}

}  // namespace drawfollow::test
