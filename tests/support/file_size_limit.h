// Commits an atomic write while the process may write files of `bytes` at most: the system
// then refuses a write past that size half-way, as a full disk would.
#pragma once

#include "platform/atomic_file.h"

#include <csignal>

#include <sys/resource.h>

namespace tavrel::test {

inline WriteStatus commitUnderFileSizeLimit(platform::AtomicFile& file, rlim_t bytes) {
    rlimit saved{};
    if (::getrlimit(RLIMIT_FSIZE, &saved) != 0) {
        return {"getrlimit failed"};
    }
    std::signal(SIGXFSZ, SIG_IGN); // the refused write fails instead of ending the process
    rlimit limit = saved;
    limit.rlim_cur = bytes;
    if (::setrlimit(RLIMIT_FSIZE, &limit) != 0) {
        std::signal(SIGXFSZ, SIG_DFL);
        return {"setrlimit failed"};
    }
    WriteStatus status = file.commit();
    ::setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, SIG_DFL);
    return status;
}

} // namespace tavrel::test
