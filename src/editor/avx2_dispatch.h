// Whether the highlighting scans may take their AVX2 ways: the processor must have AVX2
// (asked once, at run time, so the program still runs on any x86-64), and tests may turn
// them off to check the SSE2 ways on a processor that has it.
#pragma once

namespace tavrel {

// True when the processor has AVX2 and it is allowed.
[[nodiscard]] bool useAvx2() noexcept;
// Allowed by default.
void allowAvx2(bool allowed) noexcept;

} // namespace tavrel
