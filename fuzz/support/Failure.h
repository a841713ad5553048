#pragma once

#include <string_view>

namespace korvan::fuzz {

// A broken expectation: says what was expected, and aborts so that libFuzzer keeps the input.
// A check a known fault breaks carries its name, which the report shows as "[name]".
[[noreturn]] void fail(std::string_view what, std::string_view detail = {}, std::string_view check = {});

// Fails with both texts and where they first differ.
[[noreturn]] void failDifferent(std::string_view what, std::string_view expected, std::string_view actual,
                                std::string_view check = {});

inline void expect(bool condition, std::string_view what) {
    if (!condition)
        fail(what);
}

// Whether the named check is turned off because a known fault that breaks it is still open:
// scripts/fuzz.sh lists those checks in KORVAN_FUZZ_OPEN_FAULTS (see fuzz/known-faults).
[[nodiscard]] bool knownFaultOpen(std::string_view check);

// The expectation of a named check, unless a known fault has it turned off.
inline void expectNamed(std::string_view check, bool condition, std::string_view what) {
    if (!condition && !knownFaultOpen(check))
        fail(what, {}, check);
}

} // namespace korvan::fuzz
