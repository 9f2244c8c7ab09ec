#pragma once

#include <cstdio>
#include <cstdlib>

// Ends the run as a finding when `holds` is false: libFuzzer keeps the input
// that broke the invariant and reports it.
inline void require(bool holds, const char* invariant) {
    if (holds) return;
    std::fprintf(stderr, "invariant broken: %s\n", invariant);
    std::abort();
}
