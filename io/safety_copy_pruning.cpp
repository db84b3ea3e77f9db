#include "io/safety_copy_pruning.h"

#include "io/safety_copy.h"

#include <algorithm>
#include <fstream>
#include <vector>

namespace drawfollow {

namespace fs = std::filesystem;

namespace {

// True when `longer` begins with every byte of `shorter`. Copies are written line by line
// in one canonical form, so this is "holds the same draws, perhaps followed by more". Copies
// of one history that was trimmed differ near their ends, so the comparison starts there.
bool beginsWith(const fs::path& longer, const fs::path& shorter) {
    std::error_code ec;
    const auto shortSize = fs::file_size(shorter, ec);
    if (ec)
        return false;
    const auto longSize = fs::file_size(longer, ec);
    if (ec || longSize < shortSize)
        return false;
    std::ifstream a(longer, std::ios::binary);
    std::ifstream b(shorter, std::ios::binary);
    constexpr std::streamoff kChunk = std::streamoff{64} * 1024;
    std::vector<char> bufA(kChunk), bufB(kChunk);
    for (auto end = static_cast<std::streamoff>(shortSize); end > 0;) {
        const std::streamoff start = std::max<std::streamoff>(0, end - kChunk);
        const auto n = static_cast<std::streamsize>(end - start);
        a.seekg(start);
        b.seekg(start);
        if (!a.read(bufA.data(), n) || !b.read(bufB.data(), n) ||
            !std::equal(bufA.begin(), bufA.begin() + n, bufB.begin()))
            return false;
        end = start;
    }
    return true;
}

}  // namespace

void pruneSafetyCopies(const fs::path& dataFolder, std::chrono::system_clock::time_point now,
                       const fs::path& justWritten) {
    // Newest first, the copy just written before all others.
    std::vector<SafetyCopy> copies;
    for (const fs::path& file : safetyCopies(dataFolder))
        if (file != justWritten)
            copies.push_back(*safetyCopyOf(file));
    std::reverse(copies.begin(), copies.end());
    if (const auto written = safetyCopyOf(justWritten))
        copies.insert(copies.begin(), *written);

    std::vector<fs::path> kept;
    for (size_t i = 0; i < copies.size(); ++i) {
        const SafetyCopy& copy = copies[i];
        const bool young = now - copy.made < kSafetyCopiesKeptByAge;
        if (i < kSafetyCopiesKeptByCount || young) {
            kept.push_back(copy.file);
            continue;
        }
        const bool recoverable = std::any_of(kept.begin(), kept.end(),
                                             [&copy](const fs::path& newer) { return beginsWith(newer, copy.file); });
        std::error_code ec;
        if (!recoverable || !fs::remove(copy.file, ec))
            kept.push_back(copy.file);
    }
}

}  // namespace drawfollow
