#pragma once

#include <cstdio>
#include <cstdlib>

// A broken invariant ends the run, so libFuzzer keeps the input that broke it.
[[noreturn]] inline void fuzzFail(const char* target, const char* what) {
    std::fprintf(stderr, "%s: %s\n", target, what);
    std::abort();
}
