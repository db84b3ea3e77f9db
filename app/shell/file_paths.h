// File paths between the store (std::filesystem) and the window (QString), without a
// detour through the local 8-bit encoding that would garble the Chinese file names.
#pragma once

#include <QString>

#include <filesystem>

namespace drawfollow {

inline QString pathText(const std::filesystem::path& path) {
    return QString::fromStdU16String(path.u16string());
}

inline std::filesystem::path localPath(const QString& text) {
    return std::filesystem::path(text.toStdU16String());
}

}  // namespace drawfollow
