// Running out of memory on purpose: a test runs a child (a death test), lowers the child's
// memory limit a little above what it already uses, and checks that the code under test fails
// cleanly and keeps its data. On POSIX systems the limit is the address space (setrlimit); on
// Windows it is the committed memory of a job object holding the process.
#pragma once

#include <cstddef>
#include <cstdio>

#ifdef _WIN32
#include <windows.h>
// After windows.h, which it needs.
#include <psapi.h>
#else
#include <sys/resource.h>
#include <unistd.h>
#endif

namespace tavrel::test {

[[nodiscard]] constexpr bool addressSpaceLimitUsable() {
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
    return false;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer) || __has_feature(thread_sanitizer) ||                         \
    __has_feature(memory_sanitizer)
    return false;
#else
    return true;
#endif
#else
    return true;
#endif
}

// Why a memory limit cannot be tested here, or nothing when it can. Sanitizer builds reserve
// terabytes of shadow memory; Wine accepts a job object's memory limit but never holds a
// process to it.
[[nodiscard]] inline const char* memoryLimitSkipReason() {
    if (!addressSpaceLimitUsable()) {
        return "sanitizer builds cannot run under an address-space limit";
    }
#ifdef _WIN32
    const HMODULE ntdll = ::GetModuleHandleW(L"ntdll.dll");
    if (ntdll != nullptr && ::GetProcAddress(ntdll, "wine_get_version") != nullptr) {
        return "Wine does not hold a process to its job object's memory limit";
    }
#endif
    return nullptr;
}

#ifdef _WIN32

// The memory the process has committed now, in bytes: what a job's process limit counts.
[[nodiscard]] inline std::size_t committedMemory() {
    PROCESS_MEMORY_COUNTERS_EX counters{};
    counters.cb = sizeof counters;
    if (!::K32GetProcessMemoryInfo(::GetCurrentProcess(),
                                   reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters),
                                   sizeof counters)) {
        return 0;
    }
    return counters.PrivateUsage;
}

// The job the process is put in; a process stays in its job, so the limit is changed on it.
[[nodiscard]] inline HANDLE memoryJob() {
    static const HANDLE job = [] {
        const HANDLE made = ::CreateJobObjectW(nullptr, nullptr);
        if (made != nullptr && !::AssignProcessToJobObject(made, ::GetCurrentProcess())) {
            ::CloseHandle(made);
            return HANDLE(nullptr);
        }
        return made;
    }();
    return job;
}

inline bool setJobMemoryLimit(std::size_t bytes) {
    const HANDLE job = memoryJob();
    if (job == nullptr) {
        return false;
    }
    JOBOBJECT_EXTENDED_LIMIT_INFORMATION info{};
    if (bytes > 0) {
        info.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_PROCESS_MEMORY;
        info.ProcessMemoryLimit = bytes;
    }
    return ::SetInformationJobObject(job, JobObjectExtendedLimitInformation, &info, sizeof info) !=
           0;
}

// Lets the process commit at most `headroom` bytes more than it has now.
inline bool limitAddressSpace(std::size_t headroom) {
    return setJobMemoryLimit(committedMemory() + headroom);
}

// Memory is back: the job's limit is lifted.
inline bool liftAddressSpaceLimit() {
    return setJobMemoryLimit(0);
}

#else

// The process's mapped address space now, in bytes (the first field of /proc/self/statm).
[[nodiscard]] inline std::size_t addressSpaceInUse() {
    std::FILE* file = std::fopen("/proc/self/statm", "r");
    if (file == nullptr) {
        return 0;
    }
    unsigned long pages = 0;
    const int read = std::fscanf(file, "%lu", &pages);
    std::fclose(file);
    return read == 1 ? pages * static_cast<std::size_t>(::sysconf(_SC_PAGESIZE)) : 0;
}

// Lets the process map at most `headroom` bytes more than it maps now (the soft limit, so
// that liftAddressSpaceLimit can take it back).
inline bool limitAddressSpace(std::size_t headroom) {
    rlimit limit{};
    if (::getrlimit(RLIMIT_AS, &limit) != 0) {
        return false;
    }
    limit.rlim_cur = addressSpaceInUse() + headroom;
    return ::setrlimit(RLIMIT_AS, &limit) == 0;
}

// Memory is back: the soft limit returns to the hard one.
inline bool liftAddressSpaceLimit() {
    rlimit limit{};
    if (::getrlimit(RLIMIT_AS, &limit) != 0) {
        return false;
    }
    limit.rlim_cur = limit.rlim_max;
    return ::setrlimit(RLIMIT_AS, &limit) == 0;
}

#endif

} // namespace tavrel::test
