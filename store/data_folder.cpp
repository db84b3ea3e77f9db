#include "store/data_folder.h"

#include <cstdlib>
#include <fstream>
#include <system_error>

#ifdef _WIN32
#include <windows.h>
#else
#include <unistd.h>
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
    return fs::temp_directory_path() / "DrawFollow";
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

}  // namespace

bool isInstalledProgramFolder(const fs::path& folder) {
    return isInstalledBinFolder(folder) || isInstalledBinFolder(folder / DRAWFOLLOW_BIN_FOLDER_FROM_HELPER);
}

fs::path resolveDataFolder(const std::optional<fs::path>& explicitChoice) {
    fs::path dir;
    if (explicitChoice && !explicitChoice->empty())
        dir = *explicitChoice;
    else if (const char* env = std::getenv(kDataDirEnv); env && *env)
        dir = env;
    else if (const fs::path program = programDirectory(); writable(program) && !isInstalledProgramFolder(program))
        dir = program;
    else
        dir = userDataDirectory();
    fs::create_directories(dir);
    return fs::absolute(dir);
}

}  // namespace drawfollow
