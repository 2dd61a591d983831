// localtime_r on POSIX systems, localtime_s (the same call, arguments swapped) on Windows.
#include "platform/local_time.h"

namespace tavrel::platform {

std::tm localTime(std::time_t moment) noexcept {
    std::tm local{};
#ifdef _WIN32
    if (localtime_s(&local, &moment) != 0) {
        return std::tm{};
    }
#else
    if (localtime_r(&moment, &local) == nullptr) {
        return std::tm{};
    }
#endif
    return local;
}

} // namespace tavrel::platform
