// Seeded histories for tests: reproducible draws of eight distinct numbers in 1..30.
#pragma once

#include "store/draw_row.h"
#include "store/history_db.h"

#include <cstdint>
#include <filesystem>
#include <vector>

namespace drawfollow::test {

// `count` draws with issues rising from `firstIssue`, wrapping to the next year after
// sequence `perYear`.
std::vector<DrawInput> seededDraws(int count, uint32_t seed = 7, int firstIssue = 2013001, int perYear = 150);

DrawInput draw(int issue, std::initializer_list<int> numbers);

// Every stored row with every field, oldest first: what a test compares before and after a
// change, through the reads the program itself makes.
std::vector<DrawRow> everyRow(HistoryDb& db);

// Default settings: offsets 1, age mode, code table built for the given zodiac year.
DerivationSettings settingsFor(int codeTableYear, int zodiacOffset = 1, int segmentOffset = 1, bool sequential = false);

}  // namespace drawfollow::test
