#pragma once

#include <csignal>

#include <sys/resource.h>

// A full disk, for as long as this object lives: the process may not make a
// file larger than so many bytes. SIGXFSZ is ignored meanwhile, so a write
// past the limit fails (EFBIG) instead of ending the process. Both are as
// they were once it goes.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) {
        getrlimit(RLIMIT_FSIZE, &before_);
        signalBefore_ = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit = before_;
        limit.rlim_cur = bytes;
        set_ = setrlimit(RLIMIT_FSIZE, &limit) == 0;
    }
    ~FileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &before_);
        std::signal(SIGXFSZ, signalBefore_);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;
    bool set() const { return set_; }

private:
    rlimit before_{};
    void (*signalBefore_)(int) = SIG_DFL;
    bool set_ = false;
};
