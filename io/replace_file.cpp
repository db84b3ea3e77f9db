#include "io/replace_file.h"

#include "store/history_db.h"

#include <algorithm>
#include <system_error>

namespace drawfollow {

namespace fs = std::filesystem;

namespace {

constexpr int kMostLinksFollowed = 40;  // the kernel's own limit

// Only what a failed write left: anything else under that name is not ours to delete.
void removeTemporary(const fs::path& temporary) {
    std::error_code ignored;
    if (fs::is_regular_file(fs::symlink_status(temporary, ignored)))
        fs::remove(temporary, ignored);
}

// Whether `path` lies in `folder` once the links of the folders above it are followed; the
// last part of `path` is taken as named.
bool liesWithin(const fs::path& path, const fs::path& folder) {
    const fs::path where = fs::weakly_canonical(fs::absolute(path).parent_path());
    const fs::path within = fs::weakly_canonical(fs::absolute(folder));
    return std::mismatch(within.begin(), within.end(), where.begin(), where.end()).first == within.end();
}

void requireStaysWithin(const fs::path& target, const fs::path& file, const fs::path& dataFolder) {
    if (dataFolder.empty() || !liesWithin(target, dataFolder) || liesWithin(file, dataFolder))
        return;
    throw StoreError("“" + target.string() + "” 是指向数据文件夹以外的 “" + file.string() +
                     "” 的符号链接：为免改写别处的文件，程序不经由它写入，这次什么也没有改动。请删除这个链接后再试。");
}

// A link left under the temporary name would have the write go wherever it points.
void clearTemporaryName(const fs::path& temporary) {
    if (fs::is_symlink(fs::symlink_status(temporary)))
        fs::remove(temporary);
}

void keepPermissions(const fs::path& file, const fs::path& temporary) {
    std::error_code missing;
    const fs::file_status old = fs::status(file, missing);
    if (!missing && fs::is_regular_file(old))
        fs::permissions(temporary, old.permissions());
}

}  // namespace

fs::path linkTarget(const fs::path& path) {
    fs::path file = path;
    for (int followed = 0; fs::is_symlink(file); ++followed) {
        if (followed == kMostLinksFollowed)
            throw std::system_error(std::make_error_code(std::errc::too_many_symbolic_link_levels),
                                    "“" + path.string() + "” 的符号链接层数太多");
        const fs::path next = fs::read_symlink(file);
        file = next.is_absolute() ? next : file.parent_path() / next;
    }
    return file;
}

void replaceFile(const fs::path& target, const std::function<void(const fs::path& temporary)>& write,
                 const fs::path& dataFolder) {
    const fs::path file = linkTarget(target);
    requireStaysWithin(target, file, dataFolder);
    fs::path temporary = file;
    temporary += ".part";
    clearTemporaryName(temporary);
    try {
        write(temporary);
        keepPermissions(file, temporary);
        std::error_code renameError;
        fs::rename(temporary, file, renameError);
        if (renameError)
            throw std::system_error(renameError, "无法用新写的内容替换 “" + file.string() + "”");
    } catch (...) {
        removeTemporary(temporary);
        throw;
    }
}

}  // namespace drawfollow
