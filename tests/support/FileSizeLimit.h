#pragma once

#include <csignal>
#include <sys/resource.h>

namespace q540::test {

// A full disk without root: while this lives, no file of this process grows
// past `bytes`. A write beyond fails with EFBIG instead of killing the process
// (SIGXFSZ is ignored meanwhile), just as one fails with ENOSPC on a full disk.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        getrlimit(RLIMIT_FSIZE, &old_);
        oldHandler_ = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit = old_;
        limit.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit()
    {
        setrlimit(RLIMIT_FSIZE, &old_);
        std::signal(SIGXFSZ, oldHandler_);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

    // The same in a child process before it starts its program (for
    // QProcess::setChildProcessModifier); the limit outlives the exec.
    static void applyInChild(rlim_t bytes)
    {
        std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit{};
        getrlimit(RLIMIT_FSIZE, &limit);
        limit.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limit);
    }

private:
    rlimit old_{};
    void (*oldHandler_)(int) = SIG_DFL;
};

} // namespace q540::test
