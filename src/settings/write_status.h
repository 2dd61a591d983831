// The outcome of writing settings or a file: success, or a message a person can read.
#pragma once

#include <string>

namespace tavrel {

struct WriteStatus {
    std::string error; // empty on success

    [[nodiscard]] bool ok() const noexcept { return error.empty(); }
};

} // namespace tavrel
