// Shared set-up of the benchmarks: a scratch data folder and seeded draws.
#pragma once

#include "store/draw_row.h"

#include <filesystem>
#include <vector>

namespace drawfollow::bench {

class ScratchFolder {
public:
    ScratchFolder();
    ~ScratchFolder();
    const std::filesystem::path& path() const { return path_; }

private:
    std::filesystem::path path_;
};

// Reproducible draws of eight distinct numbers, issues from 2007001 with 153 a year.
std::vector<DrawInput> randomDraws(int count, unsigned seed = 42);

DerivationSettings defaultSettings();

}  // namespace drawfollow::bench
