// The handoff's object names.
#include "platform/handoff_names.h"

#include <algorithm>

namespace tavrel::platform {

HandoffNames handoffNames(std::string_view instanceKey) {
    std::string suffix;
    if (!instanceKey.empty()) {
        suffix = "-" + std::string(instanceKey);
        std::replace(suffix.begin(), suffix.end(), '\\', '_');
    }
    return {"Tavrel" + suffix,
            "TavrelShareMem" + suffix,
            "TavrelShareMemGuard" + suffix,
            "TavrelNewFile",
            "TTavrelF",
            "Tavrel" + suffix};
}

} // namespace tavrel::platform
