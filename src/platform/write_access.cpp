// The write-access test: faccessat with AT_EACCESS on POSIX systems; on Windows the path's
// security descriptor weighed against this thread's token with AccessCheck, which is what the
// system itself does when the file is opened for writing (the read-only attribute, which a
// folder's writes ignore, plays no part).
#include "platform/write_access.h"

#ifdef _WIN32
#include "platform/utf16_text.h"

#include <windows.h>

#include <memory>
#else
#include <fcntl.h>
#include <unistd.h>
#endif

namespace tavrel::platform {

#ifdef _WIN32

namespace {

struct HandleCloser {
    void operator()(HANDLE handle) const noexcept { CloseHandle(handle); }
};

// The thread's own impersonation token, given up again when this goes out of scope.
class SelfImpersonation {
public:
    SelfImpersonation() : active_(ImpersonateSelf(SecurityImpersonation) != FALSE) {}
    ~SelfImpersonation() {
        if (active_) {
            RevertToSelf();
        }
    }
    SelfImpersonation(const SelfImpersonation&) = delete; // one impersonation, reverted once
    SelfImpersonation& operator=(const SelfImpersonation&) = delete;

    [[nodiscard]] bool active() const noexcept { return active_; }

private:
    bool active_;
};

} // namespace

bool canWrite(const std::string& path) {
    const std::optional<std::u16string> name = utf16FromUtf8(path);
    if (!name) {
        return false;
    }
    const auto* wide = reinterpret_cast<const wchar_t*>(name->c_str());
    constexpr SECURITY_INFORMATION kWhat =
        OWNER_SECURITY_INFORMATION | GROUP_SECURITY_INFORMATION | DACL_SECURITY_INFORMATION;
    DWORD needed = 0;
    if (GetFileSecurityW(wide, kWhat, nullptr, 0, &needed) ||
        GetLastError() != ERROR_INSUFFICIENT_BUFFER) {
        return false; // no such path, or no right to read its descriptor
    }
    auto descriptor = std::make_unique<unsigned char[]>(needed);
    if (!GetFileSecurityW(wide, kWhat, descriptor.get(), needed, &needed)) {
        return false;
    }
    const SelfImpersonation impersonation;
    HANDLE rawToken = nullptr;
    if (!impersonation.active() ||
        !OpenThreadToken(GetCurrentThread(), TOKEN_IMPERSONATE | TOKEN_QUERY | TOKEN_DUPLICATE,
                         FALSE, &rawToken)) {
        return false;
    }
    const std::unique_ptr<void, HandleCloser> token(rawToken);
    GENERIC_MAPPING mapping{FILE_GENERIC_READ, FILE_GENERIC_WRITE, FILE_GENERIC_EXECUTE,
                            FILE_ALL_ACCESS};
    DWORD wanted = GENERIC_WRITE;
    MapGenericMask(&wanted, &mapping);
    // Room for the privileges a backup operator's token could bring along.
    alignas(PRIVILEGE_SET) unsigned char
        privileges[sizeof(PRIVILEGE_SET) + 8 * sizeof(LUID_AND_ATTRIBUTES)]{};
    DWORD privilegesSize = sizeof privileges;
    DWORD granted = 0;
    BOOL allowed = FALSE;
    return AccessCheck(descriptor.get(), token.get(), wanted, &mapping,
                       reinterpret_cast<PRIVILEGE_SET*>(privileges), &privilegesSize, &granted,
                       &allowed) != FALSE &&
           allowed != FALSE;
}

#else

bool canWrite(const std::string& path) {
    return ::faccessat(AT_FDCWD, path.c_str(), W_OK, AT_EACCESS) == 0;
}

#endif

} // namespace tavrel::platform
