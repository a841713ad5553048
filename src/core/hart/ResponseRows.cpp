#include "hart/ResponseRows.h"

#include "base/Ieee754.h"
#include "base/PackedAscii.h"
#include "hart/CodeTexts.h"
#include "hart/DecodedReply.h"
#include "hart/HartCommandCatalogue.h"
#include "hart/HartReply.h"
#include "hart/ResponseTexts.h"

#include <array>
#include <cstdio>

namespace korvan {
namespace {

enum class Format {
    Decimal,
    Number24,
    Float,
    Unit,
    Manufacturer,
    PackedText,
    Date,
    Alarm,
    Transfer,
    YesNo,
    Empty
};

// A data row: the catalogue field it shows (none for the typed-in tag of command 11).
struct RowSpec {
    int field;
    std::string_view label;
    Format format;
};

constexpr int NoField = -1;

constexpr std::array<RowSpec, 9> identifierRows{{{1, "Manufactory", Format::Manufacturer},
                                                 {2, "Device Type", Format::Decimal},
                                                 {3, "Preamble Number", Format::Decimal},
                                                 {4, "Hart Revision", Format::Decimal},
                                                 {5, "Device Revision", Format::Decimal},
                                                 {6, "Software Revision", Format::Decimal},
                                                 {7, "Hardware Revision", Format::Decimal},
                                                 {8, "Flags", Format::Decimal},
                                                 {9, "Device ID", Format::Number24}}};
constexpr std::array<RowSpec, 10> identifierWithTagRows{{identifierRows[0],
                                                         identifierRows[1],
                                                         identifierRows[2],
                                                         identifierRows[3],
                                                         identifierRows[4],
                                                         identifierRows[5],
                                                         identifierRows[6],
                                                         identifierRows[7],
                                                         identifierRows[8],
                                                         {NoField, "Tag", Format::Empty}}};
constexpr std::array<RowSpec, 2> c1Rows{
    {{0, "Primary Variable Units Code", Format::Unit}, {1, "Primary Variable", Format::Float}}};
constexpr std::array<RowSpec, 2> c2Rows{{{0, "Primary Variable Current", Format::Float},
                                         {1, "Primary Variable Percent of Range", Format::Float}}};
constexpr std::array<RowSpec, 9> c3Rows{{{0, "Primary Variable Current", Format::Float},
                                         {1, "Primary Variable Units Code", Format::Unit},
                                         {2, "Primary Variable", Format::Float},
                                         {3, "Secondary Variable Units", Format::Unit},
                                         {4, "Secondary Variable", Format::Float},
                                         {5, "Tertiary Variable Units Code", Format::Unit},
                                         {6, "Tertiary Variable", Format::Float},
                                         {7, "4th Variable Units Code", Format::Unit},
                                         {8, "4th Variable", Format::Float}}};
constexpr std::array<RowSpec, 2> c6Rows{
    {{0, "Short Addr", Format::Empty}, {1, "Current Mode", Format::Empty}}};
constexpr std::array<RowSpec, 1> messageRows{{{0, "Message", Format::PackedText}}};
constexpr std::array<RowSpec, 3> tagRows{{{0, "Tag", Format::PackedText},
                                          {1, "Descriptor", Format::PackedText},
                                          {2, "Date/day-month-year(xx-xx-xxxx)", Format::Date}}};
constexpr std::array<RowSpec, 5> c14Rows{{{0, "Transducer", Format::Number24},
                                          {1, "EngineeringCode", Format::Unit},
                                          {2, "UperTransducer", Format::Float},
                                          {3, "LowerTransducer", Format::Float},
                                          {4, "MinSpan", Format::Float}}};
constexpr std::array<RowSpec, 9> c15Rows{{{0, "PVAlarmCode", Format::Alarm},
                                          {1, "TransferFuncCode", Format::Transfer},
                                          {2, "PVUnit", Format::Unit},
                                          {3, "UperPVRang", Format::Float},
                                          {4, "LowerPVRang", Format::Float},
                                          {5, "PVDamp", Format::Float},
                                          {6, "WriteProtectCode", Format::YesNo},
                                          {7, "Manufactory", Format::Decimal},
                                          {8, "PVAnalogChannelFlg", Format::Decimal}}};
constexpr std::array<RowSpec, 1> assemblyRows{{{0, "Final Assembly Number", Format::Number24}}};

std::span<const RowSpec> rowsOf(int command) {
    switch (command) {
    case 0:
        return identifierRows;
    case 11:
        return identifierWithTagRows;
    case 1:
        return c1Rows;
    case 2:
        return c2Rows;
    case 3:
        return c3Rows;
    case 6:
        return c6Rows;
    case 12:
    case 17:
        return messageRows;
    case 13:
    case 18:
        return tagRows;
    case 14:
        return c14Rows;
    case 15:
        return c15Rows;
    case 16:
    case 19:
        return assemblyRows;
    default:
        return {};
    }
}

// The write-only commands list their text rows empty, ready to be typed in.
bool isWriteOnly(int command) {
    return command >= 17 && command <= 19;
}

std::string dateText(std::uint8_t day, std::uint8_t month, std::uint8_t yearSince1900) {
    char text[16];
    std::snprintf(text, sizeof text, "%2.2d-%2.2d-%4.4d", day, month, yearSince1900 + 1900);
    return text;
}

std::string valueText(const DecodedReply& reply, const RowSpec& row, bool swap, CodeTexts& texts) {
    if (row.field == NoField)
        return {};
    const HartFieldInfo& field = HartCommandCatalogue::instance().fieldAt(reply.command(), row.field);
    const int start = field.startByte;
    const std::uint8_t first = reply.data(start);
    switch (row.format) {
    case Format::Decimal:
        return std::to_string(first);
    case Format::Number24:
        return std::to_string((first << 16) | (reply.data(start + 1) << 8) | reply.data(start + 2));
    case Format::Float: {
        auto bytes = reply.dataBytes(start, 4);
        // A swapped float holds its 16-bit halves exchanged: bytes 3, 4, 1, 2 of the value.
        if (swap)
            bytes = {bytes[2], bytes[3], bytes[0], bytes[1]};
        return fixedFloatText(floatFromBytes(bytes));
    }
    case Format::Unit:
        return texts.unitText(first);
    case Format::Manufacturer:
        return texts.manufacturerText(first);
    case Format::PackedText:
        return isWriteOnly(reply.command()) ? std::string()
                                            : unpackAscii(reply.dataBytes(start, field.length));
    case Format::Date:
        return dateText(first, reply.data(start + 1), reply.data(start + 2));
    case Format::Alarm:
        return std::string(alarmSelectionText(first));
    case Format::Transfer:
        return std::string(transferFunctionText(first));
    case Format::YesNo:
        return first != 0 ? "yes" : "no";
    case Format::Empty:
        return {};
    }
    return {};
}

void addStatusRows(const DecodedReply& reply, std::vector<ResponseRow>& rows) {
    rows.push_back(
        {"Communication_Status", std::string(communicationStatusText(reply.communicationStatus()))});
    rows.push_back({"Response Code", std::string(responseCodeText(reply.responseCodeIndex()))});
}

const RowSpec* rowOfField(int command, int field) {
    for (const RowSpec& row : rowsOf(command))
        if (row.field == field)
            return &row;
    return nullptr;
}

} // namespace

std::vector<ResponseRow> responseRows(const DecodedReply& reply, std::span<const ResponseSegment> segments,
                                      CodeTexts& texts) {
    std::vector<ResponseRow> rows;
    const int command = reply.command();
    if (!isCommandIoCommand(command))
        return rows;
    if (segments.empty()) {
        addStatusRows(reply, rows);
        for (const RowSpec& row : rowsOf(command))
            rows.push_back({std::string(row.label), valueText(reply, row, false, texts)});
        return rows;
    }
    for (const ResponseSegment& segment : segments) {
        const FieldLookup found =
            HartCommandCatalogue::instance().findFieldByStart(command, segment.startByte);
        if (!found)
            continue;
        if (found->isStatus()) {
            addStatusRows(reply, rows);
        } else if (const RowSpec* row = rowOfField(command, found->index);
                   row != nullptr && row->field != NoField) {
            rows.push_back({std::string(row->label), valueText(reply, *row, segment.swap, texts)});
        }
    }
    return rows;
}

} // namespace korvan
