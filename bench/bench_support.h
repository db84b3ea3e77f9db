// Shared set-up of the benchmarks: the tests' scratch folders and seeded histories.
#pragma once

#include "store/draw_row.h"
#include "support/history_builder.h"
#include "support/temp_dir.h"

#include <vector>

namespace drawfollow::bench {

using ScratchFolder = test::TempDir;

// Reproducible draws of eight distinct numbers, issues from 2007001 with 153 a year.
inline std::vector<DrawInput> randomDraws(int count, unsigned seed = 42) {
    return test::seededDraws(count, seed, 2007001, 153);
}

inline DerivationSettings defaultSettings() {
    return test::settingsFor(2026);
}

}  // namespace drawfollow::bench
