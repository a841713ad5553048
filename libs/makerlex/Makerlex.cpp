#include "CodeTableRecord.h"

namespace {

// 170 records in ascending code order: 1-166 and the reserved codes 250-253.
constexpr CodeTableRecord records[] = {
#include "MakerlexRecords.inc"
};

} // namespace

// The company name of a HART manufacturer identification code, or a null pointer for a code
// without a record. The argument is a code value, not a position in the table, whatever the
// export's name says; the name is spelled as callers look it up.
KORVAN_CODE_TABLE_EXPORT const char* GetHartCommanyNameByIndex(std::int32_t code) {
    for (const CodeTableRecord& record : records)
        if (record.code == code)
            return record.text;
    return nullptr;
}
