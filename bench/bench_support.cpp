#include "bench_support.h"

#include <algorithm>
#include <numeric>
#include <random>
#include <stdexcept>
#include <stdlib.h>

namespace drawfollow::bench {

ScratchFolder::ScratchFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "drawfollow-bench-XXXXXX").string();
    if (!mkdtemp(pattern.data()))
        throw std::runtime_error("cannot create a scratch folder");
    path_ = pattern;
}

ScratchFolder::~ScratchFolder() {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
}

std::vector<DrawInput> randomDraws(int count, unsigned seed) {
    std::mt19937 rng(seed);
    std::array<int, 30> pool;
    std::iota(pool.begin(), pool.end(), 1);
    std::vector<DrawInput> draws;
    draws.reserve(count);
    int issue = 2007001;
    for (int i = 0; i < count; ++i) {
        std::shuffle(pool.begin(), pool.end(), rng);
        DrawInput d{issue, {}};
        for (int p = 0; p < kPositions; ++p)
            d.numbers[p] = static_cast<int16_t>(pool[p]);
        draws.push_back(d);
        issue = issueSequence(issue) >= 153 ? (issueYear(issue) + 1) * 1000 + 1 : issue + 1;
    }
    return draws;
}

DerivationSettings defaultSettings() { return DerivationSettings{1, ZodiacCodeTable::build(false, 1, 2026)}; }

}  // namespace drawfollow::bench
