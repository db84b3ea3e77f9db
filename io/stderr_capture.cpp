#include "io/stderr_capture.h"

#include <cstdio>
#include <mutex>

#include <sys/mman.h>
#include <unistd.h>

namespace drawfollow {

namespace {

std::mutex captureLock;

class Redirection {
public:
    explicit Redirection(int memory) : memory_(memory), saved_(dup(STDERR_FILENO)) {
        std::fflush(stderr);
        active_ = saved_ >= 0 && dup2(memory_, STDERR_FILENO) >= 0;
    }
    ~Redirection() {
        std::fflush(stderr);
        if (active_)
            dup2(saved_, STDERR_FILENO);
        if (saved_ >= 0)
            close(saved_);
    }
    Redirection(const Redirection&) = delete;
    Redirection& operator=(const Redirection&) = delete;

private:
    int memory_;
    int saved_;
    bool active_ = false;
};

std::string contentOf(int memory) {
    std::string text;
    char buffer[4096];
    for (off_t offset = 0;;) {
        const ssize_t n = pread(memory, buffer, sizeof buffer, offset);
        if (n <= 0)
            return text;
        text.append(buffer, static_cast<size_t>(n));
        offset += n;
    }
}

}  // namespace

std::string captureStandardError(const std::function<void()>& run) {
    const std::lock_guard<std::mutex> one(captureLock);
    const int memory = memfd_create("drawfollow-stderr", MFD_CLOEXEC);
    if (memory < 0) {
        run();
        return {};
    }
    try {
        {
            const Redirection redirection(memory);
            run();
        }
        std::string text = contentOf(memory);
        close(memory);
        return text;
    } catch (...) {
        close(memory);
        throw;
    }
}

}  // namespace drawfollow
