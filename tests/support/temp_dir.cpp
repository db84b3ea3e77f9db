#include "support/temp_dir.h"

#include <stdlib.h>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace drawfollow::test {

TempDir::TempDir() {
    std::string pattern = (std::filesystem::temp_directory_path() / "drawfollow-test-XXXXXX").string();
    if (!mkdtemp(pattern.data()))
        throw std::runtime_error("cannot create a temporary folder");
    path_ = pattern;
}

TempDir::~TempDir() {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
}

std::string readFile(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

void writeFile(const std::filesystem::path& file, const std::string& content) {
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out << content;
}

}  // namespace drawfollow::test
