// What every fuzz target shares: messages collected instead of printed, and
// a stop with the reason when an input breaks a promise of the code.
#pragma once

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "platform/capture.h"

// Runs once before the first input: messages go to a list that every input
// empties, so a refusal costs no output.
inline void StartQuietly() {
    static const bool started = (StartCapturingMessages(), true);
    (void)started;
    TakeCapturedMessages();
}

// Ends the run as a crash, so that the fuzzer keeps the input.
[[noreturn]] inline void Broken(const std::string& what) {
    std::fprintf(stderr, "broken: %s\n", what.c_str());
    std::abort();
}

inline std::string Bytes(const uint8_t* data, size_t size) {
    return std::string(reinterpret_cast<const char*>(data), size);
}
