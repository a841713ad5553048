#include "hart/HartCommandCatalogue.h"

#include <gtest/gtest.h>
#include <string>

namespace korvan {
namespace {

const HartCommandCatalogue& catalogue() {
    return HartCommandCatalogue::instance();
}

TEST(HartCommandCatalogue, FieldCountsOfDescribedAndUndescribedCommands) {
    struct Case {
        int command;
        int count;
    };
    for (const Case& c : {Case{0, 17}, Case{1, 2}, Case{3, 9}, Case{9, 42}, Case{11, 17}, Case{39, 4},
                          Case{48, 6}, Case{114, 6}, Case{4, 0}, Case{5, 0}, Case{10, 0}, Case{254, 0},
                          Case{255, 0}, Case{-1, 0}, Case{1000, 0}})
        EXPECT_EQ(catalogue().fieldCount(c.command), c.count) << "command " << c.command;

    int described = 0;
    for (int command = 0; command <= 254; ++command)
        described += catalogue().fieldCount(command) > 0 ? 1 : 0;
    EXPECT_EQ(described, 67);
}

// Fields follow each other from byte 0 (except 39, 57 and 58), lengths match the range
// texts, and no field starts at the status byte 63.
TEST(HartCommandCatalogue, LayoutInvariantsHoldForEveryCommand) {
    for (int command = 0; command <= 254; ++command) {
        int next = 0;
        for (const HartFieldInfo& field : catalogue().fields(command)) {
            if (command != 39 && command != 57 && command != 58) {
                EXPECT_EQ(field.startByte, next) << "command " << command << " " << field.description;
            }
            const std::string expected = field.length == 1
                                             ? std::to_string(field.startByte)
                                             : std::to_string(field.startByte) + "-" +
                                                   std::to_string(field.startByte + field.length - 1);
            EXPECT_EQ(field.rangeText, expected);
            EXPECT_NE(field.startByte, StatusEntryStartByte);
            next = field.startByte + field.length;
        }
    }
    EXPECT_EQ(catalogue().fieldAt(0, 16).startByte + catalogue().fieldAt(0, 16).length, 22);
    EXPECT_EQ(catalogue().fieldAt(48, 5).startByte + catalogue().fieldAt(48, 5).length, 25);
}

TEST(HartCommandCatalogue, LookupsByRangeText) {
    EXPECT_EQ(catalogue().findFieldByRange(0, "9-11"), FieldRef::field(9));
    EXPECT_EQ(catalogue().findFieldByRange(0, "9"), std::nullopt);
    EXPECT_EQ(catalogue().findFieldByRange(39, "0"), FieldRef::field(0));
    EXPECT_EQ(catalogue().fieldAt(39, 0).description, "EEPROM Control Code");
    EXPECT_EQ(catalogue().findFieldByRange(39, "2-249"), FieldRef::field(3));
    EXPECT_EQ(catalogue().findFieldByRange(57, "6-17"), FieldRef::field(1));
    EXPECT_EQ(catalogue().fieldAt(57, 1).description, "Unit Descriptor");
    EXPECT_EQ(catalogue().findFieldByRange(12, "0-23"), FieldRef::field(0));
    EXPECT_EQ(catalogue().findFieldByRange(1, "1-4 "), std::nullopt) << "compared exactly";
    for (int command : {0, 4, 9, 200, 254})
        EXPECT_EQ(catalogue().findFieldByRange(command, "Command Status"), FieldRef::status());
}

TEST(HartCommandCatalogue, LookupsByStartByte) {
    EXPECT_EQ(catalogue().fieldAt(9, 40).rangeText, "64");
    EXPECT_EQ(catalogue().fieldAt(9, 40).description, "Slot 7: Device Variable Status");
    EXPECT_EQ(catalogue().fieldAt(9, 41).rangeText, "65-68");
    EXPECT_EQ(catalogue().fieldAt(9, 41).description, "Slot 0 data time stamp");
    EXPECT_EQ(catalogue().findFieldByStart(9, 63), FieldRef::status());
    EXPECT_EQ(catalogue().findFieldByStart(9, 60), FieldRef::field(39));
    EXPECT_EQ(catalogue().fieldAt(9, 39).description, "Slot 7: Device Variable Value");
    EXPECT_EQ(catalogue().findFieldByStart(0, 63), FieldRef::status());
    EXPECT_EQ(catalogue().findFieldByStart(0, 22), std::nullopt);
    EXPECT_EQ(catalogue().findFieldByStart(57, 12), std::nullopt);
    EXPECT_EQ(catalogue().findFieldByStart(39, 0), FieldRef::field(0));
    EXPECT_EQ(catalogue().findFieldByStart(4, 63), FieldRef::status()) << "undescribed commands too";

    const HartFieldInfo& status = catalogue().statusEntry(100);
    EXPECT_EQ(status.startByte, 63);
    EXPECT_EQ(status.length, 2);
    EXPECT_EQ(status.rangeText, "Command Status");
    EXPECT_EQ(status.description, "Communication Status And Response Code ");
}

TEST(HartCommandCatalogue, TextsStandAsWritten) {
    EXPECT_EQ(catalogue().fieldAt(113, 5).description, "Shed Time  for this mapping");
    EXPECT_EQ(catalogue().fieldAt(0, 0).description, "254");
    EXPECT_EQ(catalogue().fieldAt(11, 9).description, catalogue().fieldAt(0, 9).description);
    EXPECT_EQ(
        catalogue().commandDescription(1),
        "Read Primary Variable (PV):\r\nReturns the value of the primary variable as a floating point type.");
    EXPECT_EQ(catalogue().commandDescription(17), "Write Message: \r\nWrite the Message into the device.");
    EXPECT_EQ(catalogue().commandDescription(4), "Reserved");
    EXPECT_EQ(catalogue().commandDescription(7), "");
    EXPECT_EQ(catalogue().commandDescription(255), "");
}

TEST(HartCommandCatalogue, FloatFieldsAreTheFourByteFieldsButTimeStamps) {
    EXPECT_TRUE(isFloatField(1, catalogue().fieldAt(1, 1)));
    EXPECT_FALSE(isFloatField(1, catalogue().fieldAt(1, 0)));
    EXPECT_TRUE(isFloatField(9, catalogue().fieldAt(9, 39)));
    EXPECT_FALSE(isFloatField(9, catalogue().fieldAt(9, 41)));
    EXPECT_FALSE(isFloatField(113, catalogue().fieldAt(113, 5)));
    EXPECT_FALSE(isFloatField(114, catalogue().fieldAt(114, 5)));
}

TEST(HartCommandCatalogue, BuildingTwiceGivesTheSameTable) {
    const HartCommandCatalogue second;
    for (int command = 0; command <= 255; ++command) {
        ASSERT_EQ(second.fieldCount(command), catalogue().fieldCount(command));
        for (int i = 0; i < second.fieldCount(command); ++i) {
            EXPECT_EQ(second.fieldAt(command, i).startByte, catalogue().fieldAt(command, i).startByte);
            EXPECT_EQ(second.fieldAt(command, i).rangeText, catalogue().fieldAt(command, i).rangeText);
            EXPECT_EQ(second.fieldAt(command, i).description, catalogue().fieldAt(command, i).description);
        }
        EXPECT_EQ(second.commandDescription(command), catalogue().commandDescription(command));
    }
}

} // namespace
} // namespace korvan
