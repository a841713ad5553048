#include "Failure.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

namespace korvan::fuzz {
namespace {

// Some lines of a long text around a position, so that a report stays readable.
std::string around(std::string_view text, std::size_t at) {
    const std::size_t from = at > 300 ? at - 300 : 0;
    return std::string(text.substr(from, 600));
}

} // namespace

void fail(std::string_view what, std::string_view detail) {
    std::fprintf(stderr, "\n==fuzz== broken expectation: %.*s\n", static_cast<int>(what.size()), what.data());
    if (!detail.empty())
        std::fprintf(stderr, "%.*s\n", static_cast<int>(detail.size()), detail.data());
    std::fflush(stderr);
    std::abort();
}

void failDifferent(std::string_view what, std::string_view expected, std::string_view actual) {
    // KORVAN_FUZZ_DUMP=DIR keeps both texts whole, for a diff.
    if (const char* dump = std::getenv("KORVAN_FUZZ_DUMP"); dump != nullptr && *dump != '\0') {
        std::ofstream(std::string(dump) + "/expected.txt", std::ios::binary) << expected;
        std::ofstream(std::string(dump) + "/actual.txt", std::ios::binary) << actual;
    }
    const auto mismatch = std::mismatch(expected.begin(), expected.end(), actual.begin(), actual.end());
    const auto at = static_cast<std::size_t>(mismatch.first - expected.begin());
    const std::string detail = "first difference at byte " + std::to_string(at) + " (lengths " +
                               std::to_string(expected.size()) + " and " + std::to_string(actual.size()) +
                               ")\n--- expected:\n" + around(expected, at) + "\n--- actual:\n" +
                               around(actual, at);
    fail(what, detail);
}

} // namespace korvan::fuzz
