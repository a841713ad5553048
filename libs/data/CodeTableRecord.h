#pragma once

#include <cstdint>

// One record of a code-table library: a HART code and its NUL-terminated text of at most
// 99 characters. The tables are scanned in order and the first record with the code wins.
struct CodeTableRecord {
    std::int32_t code;
    char text[100];
};

#define KORVAN_CODE_TABLE_EXPORT extern "C" __attribute__((visibility("default")))
