#include "Failure.h"

#include "WorkFolder.h"

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

void fail(std::string_view what, std::string_view detail, std::string_view check) {
    const std::string name = check.empty() ? std::string() : " [" + std::string(check) + "]";
    std::fprintf(stderr, "\n==fuzz== broken expectation%s: %.*s\n", name.c_str(),
                 static_cast<int>(what.size()), what.data());
    if (!detail.empty())
        std::fprintf(stderr, "%.*s\n", static_cast<int>(detail.size()), detail.data());
    std::fflush(stderr);
    if (const WorkFolder* folder = WorkFolder::existing())
        folder->remove();
    std::abort();
}

void failDifferent(std::string_view what, std::string_view expected, std::string_view actual,
                   std::string_view check) {
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
    fail(what, detail, check);
}

bool knownFaultOpen(std::string_view check) {
    const char* open = std::getenv("KORVAN_FUZZ_OPEN_FAULTS");
    if (open == nullptr)
        return false;
    std::string_view list(open);
    while (!list.empty()) {
        const std::size_t comma = list.find(',');
        if (list.substr(0, comma) == check)
            return true;
        if (comma == std::string_view::npos)
            break;
        list.remove_prefix(comma + 1);
    }
    return false;
}

} // namespace korvan::fuzz

// A sanitizer report ends the run, also when a target runs by hand: the fuzz build lets the
// undefined-behaviour checks recover only so that fuzz/known-faults can suppress a known one.
extern "C" const char* __ubsan_default_options() {
    return "halt_on_error=1:print_stacktrace=1";
}
