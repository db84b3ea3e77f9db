#include "io/leftover_parts.h"

#include "io/safety_copy.h"

namespace drawfollow {

namespace fs = std::filesystem;

namespace {

size_t removeIn(const fs::path& folder, fs::file_time_type now) {
    size_t removed = 0;
    std::error_code ec;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        const fs::path& file = it->path();
        std::error_code fileError;
        if (file.extension() != ".part" || !it->is_regular_file(fileError) || it->is_symlink(fileError))
            continue;
        const fs::file_time_type written = fs::last_write_time(file, fileError);
        if (fileError || now - written < kLeftoverPartAge)
            continue;
        if (fs::remove(file, fileError))
            ++removed;
    }
    return removed;
}

}  // namespace

size_t removeLeftoverParts(const fs::path& dataFolder, fs::file_time_type now) {
    return removeIn(dataFolder, now) + removeIn(dataFolder / kSafetyCopyFolder, now);
}

}  // namespace drawfollow
