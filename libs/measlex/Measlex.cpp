#include "CodeTableRecord.h"

namespace {

// 355 records in two runs; only the codes 170-179 are found in the second.
constexpr CodeTableRecord records[] = {
#include "MeaslexRecords.inc"
};

constexpr char notFound[] = "(null)";

} // namespace

// The unit text of a HART engineering unit code, or "(null)" for a code without a record.
// The text is constant and stays valid while the library is loaded.
KORVAN_CODE_TABLE_EXPORT const char* GetEngineerUnitCodeStr(std::int32_t code) {
    for (const CodeTableRecord& record : records)
        if (record.code == code)
            return record.text;
    return notFound;
}
