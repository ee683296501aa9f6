#pragma once
// A disk that fills part-way, for tests of writers that must keep the old file: a file-size
// limit makes every write past it fail with EFBIG, deterministically and even as root. SIGXFSZ
// is ignored meanwhile, so the write returns the error instead of ending the process. The old
// limit and handler come back at the end of the scope. POSIX only.

#include <sys/resource.h>

#include <csignal>
#include <stdexcept>

namespace leeb {

class FileSizeLimit {
  public:
    explicit FileSizeLimit(rlim_t bytes) {
        if (getrlimit(RLIMIT_FSIZE, &saved_) != 0)
            throw std::runtime_error("getrlimit(RLIMIT_FSIZE) failed");
        previous_ = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit = saved_;
        limit.rlim_cur = bytes;
        if (setrlimit(RLIMIT_FSIZE, &limit) != 0) {
            std::signal(SIGXFSZ, previous_);
            throw std::runtime_error("setrlimit(RLIMIT_FSIZE) failed");
        }
    }
    ~FileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &saved_);
        std::signal(SIGXFSZ, previous_);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

  private:
    rlimit saved_{};
    void (*previous_)(int) = SIG_DFL;
};

}  // namespace leeb
