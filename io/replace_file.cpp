#include "io/replace_file.h"

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

void replaceFile(const fs::path& target, const std::function<void(const fs::path& temporary)>& write) {
    const fs::path file = linkTarget(target);
    fs::path temporary = file;
    temporary += ".part";
    try {
        write(temporary);
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
