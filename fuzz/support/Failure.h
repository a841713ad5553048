#pragma once

#include <string_view>

namespace korvan::fuzz {

// A broken expectation: says what was expected, and aborts so that libFuzzer keeps the input.
[[noreturn]] void fail(std::string_view what, std::string_view detail = {});

// Fails with both texts and where they first differ.
[[noreturn]] void failDifferent(std::string_view what, std::string_view expected, std::string_view actual);

inline void expect(bool condition, std::string_view what) {
    if (!condition)
        fail(what);
}

} // namespace korvan::fuzz
