#include "cli/helper_program.h"

#include "store/history_db.h"

#include <cerrno>
#include <cstring>
#include <iostream>
#include <string>

#ifdef _WIN32
#include <process.h>
#include <windows.h>
#include <cstdint>
#include <cstdlib>
#else
#include <unistd.h>
#endif

namespace drawfollow::cli {

namespace {

#ifdef _WIN32
constexpr std::string_view kProgramSuffix = ".exe";
#else
constexpr std::string_view kProgramSuffix = "";
#endif

std::filesystem::path ownFolder(const char* argv0) {
#if defined(_WIN32)
    std::wstring path(32768, L'\0');
    const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (length > 0 && length < path.size())
        return std::filesystem::path(path.substr(0, length)).parent_path();
#elif defined(__linux__)
    std::error_code error;
    const std::filesystem::path path = std::filesystem::read_symlink("/proc/self/exe", error);
    if (!error)
        return path.parent_path();
#endif
    return std::filesystem::absolute(argv0).parent_path();
}

#ifdef _WIN32
// _spawnv joins the arguments with blanks; quoted by the rules the C runtime reads them
// back with, each arrives whole.
std::string quotedArgument(std::string_view argument) {
    std::string quoted = "\"";
    size_t backslashes = 0;
    for (const char c : argument) {
        if (c == '\\') {
            ++backslashes;
            continue;
        }
        quoted.append(c == '"' ? 2 * backslashes + 1 : backslashes, '\\');
        backslashes = 0;
        quoted += c;
    }
    quoted.append(2 * backslashes, '\\');
    return quoted + '"';
}
#endif

[[noreturn]] void replaceProcess(const std::filesystem::path& program, int argc, char** argv) {
    std::cout.flush();
    std::cerr.flush();
    const std::string path = program.string();
#ifdef _WIN32
    // No exec keeps the console and hands back the exit status here: the helper runs as a
    // child and its status becomes this process's.
    std::vector<std::string> words{quotedArgument(path)};
    for (int i = 1; i < argc; ++i)
        words.push_back(quotedArgument(argv[i]));
    std::vector<const char*> arguments;
    for (const auto& word : words)
        arguments.push_back(word.c_str());
    arguments.push_back(nullptr);
    const intptr_t status = _spawnv(_P_WAIT, path.c_str(), arguments.data());
    if (status != -1)
        std::exit(static_cast<int>(status));
#else
    std::vector<char*> arguments(argv, argv + argc);
    arguments.push_back(nullptr);
    arguments[0] = const_cast<char*>(path.c_str());  // execv's signature; nothing is written
    execv(path.c_str(), arguments.data());
#endif
    throw StoreError("无法启动程序 " + path + "：" + std::strerror(errno));
}

}  // namespace

std::vector<std::filesystem::path> helperFolders(const std::filesystem::path& programFolder) {
    return {programFolder, (programFolder / DRAWFOLLOW_HELPER_FOLDER).lexically_normal()};
}

void runHelperProgram(std::string_view program, int argc, char** argv) {
    const std::string name = std::string(program) + std::string(kProgramSuffix);
    std::string placesLookedIn;
    for (const auto& folder : helperFolders(ownFolder(argv[0]))) {
        if (std::filesystem::is_regular_file(folder / name))
            replaceProcess(folder / name, argc, argv);
        placesLookedIn += (placesLookedIn.empty() ? "" : "、") + folder.string();
    }
    throw StoreError("找不到执行这个命令的程序 " + name + "（已在 " + placesLookedIn +
                     " 中查找），命令未执行。请重新安装 DrawFollow，或把 " + name + " 放回上述文件夹。");
}

}  // namespace drawfollow::cli
