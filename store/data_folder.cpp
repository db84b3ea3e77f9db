#include "store/data_folder.h"

#include "store/history_db.h"

#include <cstdlib>
#include <fstream>
#include <system_error>

#ifdef _WIN32
#include <windows.h>
#else
#include <grp.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstring>
#endif

namespace drawfollow {

namespace fs = std::filesystem;

fs::path programDirectory() {
#ifdef _WIN32
    wchar_t buf[MAX_PATH];
    const DWORD n = GetModuleFileNameW(nullptr, buf, MAX_PATH);
    return fs::path(std::wstring(buf, n)).parent_path();
#else
    std::error_code ec;
    const fs::path exe = fs::read_symlink("/proc/self/exe", ec);
    return ec ? fs::current_path() : exe.parent_path();
#endif
}

namespace {

// Without a home, the user's folder in the shared temporary folder: made for the user alone,
// and refused below when someone else made it first.
fs::path temporaryFallback() {
    return fs::temp_directory_path() / "DrawFollow";
}

}  // namespace

fs::path userDataDirectory() {
#ifdef _WIN32
    if (const char* appData = std::getenv("APPDATA"))
        return fs::path(appData) / "DrawFollow";
#else
    if (const char* xdg = std::getenv("XDG_DATA_HOME"); xdg && *xdg)
        return fs::path(xdg) / "DrawFollow";
    if (const char* home = std::getenv("HOME"); home && *home)
        return fs::path(home) / ".local" / "share" / "DrawFollow";
#endif
    return temporaryFallback();
}

namespace {

bool writable(const fs::path& dir) {
#ifdef _WIN32
    const fs::path probe = dir / ".drawfollow-write-test";
    std::ofstream out(probe);
    const bool ok = out.good();
    out.close();
    std::error_code ec;
    fs::remove(probe, ec);
    return ok;
#else
    return ::access(dir.c_str(), W_OK) == 0;
#endif
}

// An installed bin/ has the command line's helper folder beside it; the build tree keeps the
// helpers next to the programs instead. Relative, so that a package built for another prefix
// than the build's is recognised too.
bool isInstalledBinFolder(const fs::path& folder) {
    std::error_code ec;
    return fs::is_directory(folder / DRAWFOLLOW_HELPER_FOLDER_FROM_BIN, ec);
}

#ifndef _WIN32
// A group-writable folder is the user's own only under the user's private group, which lists
// no one else.
bool groupIsUsersAlone(gid_t group) {
    if (group != getegid())
        return false;
    const struct group* entry = getgrgid(group);
    if (!entry)
        return false;
    const struct passwd* user = getpwuid(geteuid());
    for (char** member = entry->gr_mem; member && *member; ++member)
        if (!user || std::strcmp(*member, user->pw_name) != 0)
            return false;
    return true;
}
#endif

}  // namespace

std::string foreignFolderReason(const fs::path& folder) {
#ifdef _WIN32
    (void)folder;
    return {};
#else
    struct stat info {};
    if (::stat(folder.c_str(), &info) != 0)
        return {};
    if (info.st_uid != geteuid())
        return "它属于另一个用户";
    if (info.st_mode & S_IWOTH)
        return "所有用户都能写入它";
    if ((info.st_mode & S_IWGRP) && !groupIsUsersAlone(info.st_gid))
        return "同组的其他用户也能写入它";
    return {};
#endif
}

bool isInstalledProgramFolder(const fs::path& folder) {
    return isInstalledBinFolder(folder) || isInstalledBinFolder(folder / DRAWFOLLOW_BIN_FOLDER_FROM_HELPER);
}

fs::path resolveDataFolder(const std::optional<fs::path>& explicitChoice) {
    fs::path dir;
    if (explicitChoice && !explicitChoice->empty())
        dir = *explicitChoice;
    else if (const char* env = std::getenv(kDataDirEnv); env && *env)
        dir = env;
    else if (const fs::path program = programDirectory();
             writable(program) && !isInstalledProgramFolder(program) && foreignFolderReason(program).empty())
        dir = program;
    else
        dir = userDataDirectory();
    if (dir == temporaryFallback() && fs::create_directory(dir))
        fs::permissions(dir, fs::perms::owner_all);
    fs::create_directories(dir);
    if (const std::string reason = foreignFolderReason(dir); !reason.empty())
        throw StoreError("数据文件夹 “" + fs::absolute(dir).string() + "” 不是你自己的文件夹（" + reason +
                         "）：别人可以在里面放进链接或替换文件，程序不使用它。请用 --data-dir 指定一个属于你、"
                         "只有你能写入的文件夹。");
    return fs::absolute(dir);
}

}  // namespace drawfollow
