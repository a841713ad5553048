#include "hart/HartCatalogueTable.h"

#include <array>

// The response fields of the HART universal and common-practice commands, revision 7
// layouts (command 0 with 22 data bytes, command 48 with 25). The texts are shown to the
// engineer as they stand, doubled blanks included.
namespace korvan::catalogue_table {
namespace {

constexpr std::array<RawField, 17> identifier{{
    {1, "254"},
    {1, "Manufacturer Identification Code"},
    {1, "Device Type"},
    {1, "Minimum number of Preambles required for the request message from the Master to the Slave. This "
        "number includes the two preambles used in asynchronous Physical Layers  to detect the start of "
        "message"},
    {1, "Universal Command Major Revision Number implemented by this device. For HART Revision 6, this value "
        "must be the number 6"},
    {1, "Device Revision Level"},
    {1, "Software Revision Level of this device. Levels 254 and 255 are reserved"},
    {1,
     "[Most Significant 5 Bits] Hardware Revision Level of the electronics in this particular device. Does "
     "Not Necessarily Trace Individual Component Changes. Level 31 is Reserved. [Least Significant 3 "
     "Bits] Physical Signaling Code"},
    {1, "Flags"},
    {3, "Device ID. This number must be different for every device manufactured with a given Manufacturer ID "
        "and Device Type"},
    {1, "Minimum number of preambles to be sent with the response message from the slave to the master"},
    {1, "Maximum Number of Device Variables. This indicates the last Device Variable code that a host "
        "application should expect to be found in the field device"},
    {2, "Configuration Change Counter"},
    {1, "Extended Field Device Status"},
    {2, "Manufacturer Identification Code"},
    {2, "Private Label Distributor Code"},
    {1, "Device Profile"},
}};

constexpr std::array<RawField, 2> c1{{{1, "Primary Variable Units"}, {4, "Primary Variable"}}};
constexpr std::array<RawField, 2> c2{
    {{4, "Primary Variable Loop Current"}, {4, "Primary Variable Percent of Range"}}};
constexpr std::array<RawField, 9> c3{{
    {4, "Primary Variable Loop Current"},
    {1, "Primary Variable Units Code"},
    {4, "Primary Variable"},
    {1, "Secondary Variable Units Code"},
    {4, "Secondary Variable"},
    {1, "Tertiary Variable Units Code"},
    {4, "Tertiary Variable"},
    {1, "Quaternary Variable Units Code"},
    {4, "Quaternary Variable"},
}};
constexpr std::array<RawField, 2> pollingAddress{
    {{1, "Polling Address of Device"}, {1, "Loop Current Mode"}}};
constexpr std::array<RawField, 4> c8{{
    {1, "Primary Variable Classification"},
    {1, "Secondary Variable Classification"},
    {1, "Tertiary Variable Classification"},
    {1, "Quaternary Variable Classification"},
}};
constexpr std::array<RawField, 5> slot0{{
    {1, "Slot 0: Device Variable Code"},
    {1, "Slot 0: Device Variable Classification"},
    {1, "Slot 0: Units Code"},
    {4, "Slot 0: Device Variable Value"},
    {1, "Slot 0: Device Variable Status"},
}};
constexpr std::array<RawField, 1> c12{{{24, "Message"}}};
constexpr std::array<RawField, 3> tagDescriptorDate{{{6, "Tag"}, {12, "Descriptor"}, {3, "Date Code"}}};
constexpr std::array<RawField, 5> c14{{
    {3, "Transducer Serial Number"},
    {1, "Transducer Limits and Minimum Span Units Code"},
    {4, "Upper Transducer Limit"},
    {4, "Lower Transducer Limit"},
    {4, "Minimum Span"},
}};
constexpr std::array<RawField, 9> c15{{
    {1, "PV Alarm Selection Code . The Alarm Selection Code indicates the action taken by the device under "
        "error conditions. For transmitters, the code indicates the action taken by the Loop Current. For "
        "Actuators, the action taken by the positioner is indicated"},
    {1, "PV Transfer Function Code . The Transfer Function Code must return 0, Linear, if transfer functions "
        "are not supported by the device"},
    {1, "PV Upper and Lower Range Values Units Code"},
    {4, "PV Upper Range Value"},
    {4, "PV Lower Range Value"},
    {4, "PV Damping Value"},
    {1, "Write Protect Code . The Write Protect Code must return 251, None, when write protect is not "
        "implemented by a device"},
    {1, "Private Label Distributor Code . The Private Label Distributor Code defaults to the Manufacturer ID "
        "of the device"},
    {1, "PV Analog Channel Flags"},
}};
constexpr std::array<RawField, 1> finalAssembly{{{3, "Final Assembly Number"}}};
constexpr std::array<RawField, 1> c17{{{24, "Message String"}}};
constexpr std::array<RawField, 1> longTag{{{32, "Long Tag"}}};
constexpr std::array<RawField, 12> c33{{
    {1, "Slot 0: Device Variable Code"},
    {1, "Slot 0: Units Code"},
    {4, "Slot 0: Device Variable Value"},
    {1, "Slot 1: Device Variable Code"},
    {1, "Slot 1: Units Code"},
    {4, "Slot 1: Device Variable Value"},
    {1, "Slot 2: Device Variable Code"},
    {1, "Slot 2: Units Code"},
    {4, "Slot 2: Device Variable Value"},
    {1, "Slot 3: Device Variable Code"},
    {1, "Slot 3: Units Code"},
    {4, "Slot 3: Device Variable Value"},
}};
constexpr std::array<RawField, 1> c34{{{4, "Actual Primary Variable Damping Value"}}};
constexpr std::array<RawField, 3> c35{
    {{1, "Upper and Lower Range Values Units Code"}, {4, "Upper Range Value"}, {4, "Lower Range Value"}}};
constexpr std::array<RawField, 1> c38{{{2, "Configuration Change Counter"}}};
// The control code and the EEPROM flag share byte 0; the last field spans bytes 2-249.
constexpr std::array<RawField, 4> c39{
    {{1, "EEPROM Control Code", 0}, {1, "EEPROM", 0}, {1, "Shadow RAM", 1}, {248, "", 2}}};
constexpr std::array<RawField, 1> c40{{{4, "Actual Current Level"}}};
constexpr std::array<RawField, 1> c44{{{1, "Primary Variable Units Code"}}};
constexpr std::array<RawField, 1> c45{{{4, "Actual Measured Loop Current Level, units of milliamperes"}}};
constexpr std::array<RawField, 1> c46{{{4, "Actual Measured Loop Current Level"}}};
constexpr std::array<RawField, 1> c47{{{1, "Transfer Function Code"}}};
constexpr std::array<RawField, 6> c48{{{6, "Only Device-Specific Status"},
                                       {1, "Extended Device Status"},
                                       {1, "Device Operating Mode"},
                                       {3, "Analog Channel Saturated"},
                                       {3, "Analog Channel Fixed"},
                                       {11, "Only Device-Specific Status"}}};
constexpr std::array<RawField, 1> c49{{{3, "Primary Variable Transducer Serial Number"}}};
constexpr std::array<RawField, 4> c50{{
    {1, "Device Variable assigned to the Primary Variable"},
    {1, "Device Variable assigned to the secondary variable"},
    {1, "Device Variable assigned to the tertiary variable"},
    {1, "Device variable assigned to the quaternary variable"},
}};
constexpr std::array<RawField, 4> c51{{
    {1, "Device Variable assigned to the Primary Variable"},
    {1, "Device Variable assigned to the Secondary Variable"},
    {1, "Device Variable assigned to the Tertiary Variable"},
    {1, "Device Variable assigned to the Quaternary Variable"},
}};
constexpr std::array<RawField, 1> c52{{{1, "Device Variable to be zeroed"}}};
constexpr std::array<RawField, 2> c53{{{1, "Device Variable Code"}, {1, "Device Variable Units Code"}}};
constexpr std::array<RawField, 9> c54{{
    {1, "Device Variable Code"},
    {3, "Device Variable Transducer Serial Number"},
    {1, "Device Variable Limits/Minimum Span Units Code"},
    {4, "Device Variable Upper Transducer Limit"},
    {4, "Device Variable Lower Transducer Limit"},
    {4, "Device Variable Damping Value"},
    {4, "Device Variable Minimum Span"},
    {1, "Device Variable Classification"},
    {1, "Device Variable Family"},
}};
constexpr std::array<RawField, 2> c55{{{1, "Device Variable Code"}, {4, "Device Variable Damping Value"}}};
constexpr std::array<RawField, 2> c56{
    {{1, "Device Variable Code"}, {3, "Device Variable Transducer Serial Number"}}};
constexpr std::array<RawField, 3> c57{{{6, "Unit Tag", 0}, {12, "Unit Descriptor", 6}, {3, "Unit Date", 18}}};
constexpr std::array<RawField, 3> c58{
    {{6, "Unit Tag", 0}, {12, "Unit Descriptor", 6}, {3, "Unit Date Code", 18}}};
constexpr std::array<RawField, 1> c59{
    {{1, "Number of preambles to be sent with the response message from the Slave to the Master"}}};
constexpr std::array<RawField, 4> c60{{{1, "Analog Channel Number Code"},
                                       {1, "Analog Channel Units Code"},
                                       {4, "Analog Channel Level"},
                                       {4, "Analog Channel Percent of Range"}}};
constexpr std::array<RawField, 10> c61{{
    {1, "Primary Variable Analog Channel Units Code"},
    {4, "Primary Variable Analog Level"},
    {1, "Primary Variable Units Code"},
    {4, "Primary Variable"},
    {1, "Secondary Variable Units"},
    {4, "Secondary Variable"},
    {1, "Tertiary Variable Units Code"},
    {4, "Tertiary Variable"},
    {1, "Quaternary Variable Units Code"},
    {4, "Quaternary Variable"},
}};
constexpr std::array<RawField, 12> c62{{
    {1, "Analog Channel Number Code in Slot 0"},
    {1, "Slot 0 Units Code"},
    {4, "Slot 0, Level of selected Analog Channel"},
    {1, "Analog Channel Number Code in Slot 1"},
    {1, "Slot 1 Units Code"},
    {4, "Slot 1, Level of selected Analog Channel"},
    {1, "Analog Channel Number Code in Slot 2"},
    {1, "Slot 2 Units Code"},
    {4, "Slot 2, Level of selected Analog Channel"},
    {1, "Analog Channel Number Code in Slot 3"},
    {1, "Slot 3 Units Code"},
    {4, "Slot 3, Level of selected Analog Channel"},
}};
constexpr std::array<RawField, 8> c63{{
    {1, "Analog Channel Number Code"},
    {1, "Analog Channel Alarm Selection Code"},
    {1, "Analog Channel Transfer Function Code"},
    {1, "Enum Analog Channel Upper and Lower Range Values Units Code"},
    {4, "Analog Channel Upper Range Value"},
    {4, "Analog Channel Lower Range Value"},
    {4, "Analog Channel Damping Value"},
    {1, "Analog Channel Flags"},
}};
constexpr std::array<RawField, 2> c64{
    {{1, "Analog Channel Number Code"}, {4, "Analog Channel Additional Damping Value"}}};
constexpr std::array<RawField, 4> c65{{{1, "Analog Channel Number Code"},
                                       {1, "Analog Channel Upper and Lower Range Values Units Codes"},
                                       {4, "Analog Channel Upper Range Value"},
                                       {4, "Analog Channel Lower Range Value"}}};
constexpr std::array<RawField, 3> c66{
    {{1, "Analog Channel Number Code"}, {1, "Analog Channel Units Code"}, {4, "Fixed Analog Channel Level"}}};
constexpr std::array<RawField, 3> externalLevel{{{1, "Analog Channel Number Code"},
                                                 {1, "Analog Channel Units Code"},
                                                 {4, "Externally Measured Analog Channel Level"}}};
constexpr std::array<RawField, 2> c69{
    {{1, "Analog Channel Number Code"}, {1, "Analog Channel Transfer Function Code"}}};
constexpr std::array<RawField, 4> c70{{{1, "Analog Channel Number Code"},
                                       {1, "Analog Channel Upper and Lower Endpoint Values Units Code"},
                                       {4, "Analog Channel Upper Endpoint Value"},
                                       {4, "Analog Channel Lower Endpoint Value"}}};
constexpr std::array<RawField, 1> c71{{{1, "Lock Code"}}};
constexpr std::array<RawField, 3> c74{{{1, "Maximum Number of I/O Cards"},
                                       {1, "Maximum Number of Channels per I/O Card"},
                                       {1, "Maximum Number of Sub-Devices Per Channel"}}};
constexpr std::array<RawField, 1> c76{{{1, "Lock Status"}}};
constexpr std::array<RawField, 5> c79{{{1, "Device Variable Code"},
                                       {1, "Write Device Variable Command Code"},
                                       {1, "Units Code"},
                                       {4, "Device Variable value"},
                                       {1, "Device Variable status"}}};
constexpr std::array<RawField, 4> c80{{{1, "Device Variable Code"},
                                       {1, "Trim Points Units Code"},
                                       {4, "Lower or Single Trim Point"},
                                       {4, "Upper Trim Point"}}};
constexpr std::array<RawField, 8> c81{{
    {1, "Device Variable guidelines to read"},
    {1, "Trim points supported"},
    {1, "Trim Points Units Code"},
    {4, "Minimum Lower Trim Point Value"},
    {4, "Maximum Lower Trim Point Value"},
    {4, "Minimum Upper Trim Point Value"},
    {4, "Maximum Upper Trim Point Value"},
    {4, "Minimum Differential"},
}};
constexpr std::array<RawField, 4> c82{{{1, "Device Variable to trim"},
                                       {1, "Trim Point"},
                                       {1, "Trim Point Units Code"},
                                       {4, "Trim Point Value"}}};
constexpr std::array<RawField, 1> c83{{{1, "Device Variable trim to reset"}}};
constexpr std::array<RawField, 6> c105{{
    {1, "Burst Mode Control Code"},
    {1, "Command Number of the response message to be transmitted"},
    {1, "Device Variable Code assigned to Slot 0"},
    {1, "Device Variable Code assigned to Slot 1"},
    {1, "Device Variable Code assigned to Slot 2"},
    {1, "Device Variable Code assigned to Slot 3"},
}};
constexpr std::array<RawField, 4> c107{{
    {1, "Device Variable Code assigned to Slot 0"},
    {1, "Device Variable Code assigned to Slot 1"},
    {1, "Device Variable Code assigned to Slot 2"},
    {1, "Device Variable Code assigned to Slot 3"},
}};
constexpr std::array<RawField, 1> c108{{{1, "Command Number of the response message to be transmitted"}}};
constexpr std::array<RawField, 1> c109{{{1, "Burst Mode Control Code"}}};
constexpr std::array<RawField, 8> c110{{
    {1, "Primary Variable Units Code"},
    {4, "Primary Variable"},
    {1, "Secondary Variable Units Code"},
    {4, "Secondary Variable"},
    {1, "Tertiary Variable Units Code"},
    {4, "Tertiary Variable"},
    {1, "Quaternary Variable Units Code"},
    {4, "Quaternary Variable"},
}};
constexpr std::array<RawField, 6> catchVariable{{
    {1, "Destination Device Variable"},
    {1, "Capture Mode Code"},
    {5, "Source Slave Address"},
    {1, "Source Command Number"},
    {1, "Source Slot Number"},
    {4, "Shed Time  for this mapping"},
}};

constexpr std::array<RawCommand, 66> commands{{
    {0, identifier},
    {1, c1},
    {2, c2},
    {3, c3},
    {6, pollingAddress},
    {7, pollingAddress},
    {8, c8},
    {11, identifier},
    {12, c12},
    {13, tagDescriptorDate},
    {14, c14},
    {15, c15},
    {16, finalAssembly},
    {17, c17},
    {18, tagDescriptorDate},
    {19, finalAssembly},
    {20, longTag},
    {22, longTag},
    {33, c33},
    {34, c34},
    {35, c35},
    {38, c38},
    {39, c39},
    {40, c40},
    {44, c44},
    {45, c45},
    {46, c46},
    {47, c47},
    {48, c48},
    {49, c49},
    {50, c50},
    {51, c51},
    {52, c52},
    {53, c53},
    {54, c54},
    {55, c55},
    {56, c56},
    {57, c57},
    {58, c58},
    {59, c59},
    {60, c60},
    {61, c61},
    {62, c62},
    {63, c63},
    {64, c64},
    {65, c65},
    {66, c66},
    {67, externalLevel},
    {68, externalLevel},
    {69, c69},
    {70, c70},
    {71, c71},
    {74, c74},
    {76, c76},
    {79, c79},
    {80, c80},
    {81, c81},
    {82, c82},
    {83, c83},
    {105, c105},
    {107, c107},
    {108, c108},
    {109, c109},
    {110, c110},
    {113, catchVariable},
    {114, catchVariable},
}};

constexpr std::array<RawDescription, 19> descriptions{{
    {0, "Read Unique Identifier:", "Returns Device Type, revision levels and Device ID."},
    {1, "Read Primary Variable (PV):", "Returns the value of the primary variable as a floating point type."},
    {2, "Read Loop Current and Percent of Range:",
     "Reads the Loop Current and percent of Range, the Loop current always matches the AO output current of "
     "the device. The percentage is not limited between 0-100%, if it exceeds the range of the main "
     "variable, "
     "it will track to the upper and lower limits of the sensor."},
    {3, "Read Dynamic Variables and Loop Current:",
     "Reads the loop current and up to four predefined Dynamic Variables. The Loop Current always matches "
     "the "
     "AO output current of the device. The Secondary, Tertiary and Quaternary variable is defined for each "
     "device type, e.g the Secondary variable is the sensor temperature, etc."},
    {4, "Reserved", ""},
    {5, "Reserved", ""},
    {6, "Write Polling address:",
     "This is a data link layer management command. This command writes the Polling address to the device, "
     "which is used to control the Primary Variable AO output and provide the Device ID."},
    {11, "Read Unique Identifier Associated with Tag:",
     "This is a data link layer management command. This command returns the extended type code, version and "
     "Device ID code of the device matching this tag. The command can be addressed with a long address or a "
     "broadcast address. The extension address in the response message is the same as in the request."},
    {12, "Read Message:", "Read the Message contained with the device."},
    {13, "Read Tag, Descriptor and Date:", "Read the Tag, Description and Date of the device."},
    {14, "Read Primary Variable Transducer Information:",
     "Read Transducer Serial Number, Limits/Minimum Span Units Code, Upper Transducer Limit, Lower "
     "Transducer "
     "Limit and Minimum Span. The Transducer Limit/Minimum Span unit is the same as the primary variable."},
    {15, "Read Device Information:",
     "Read the alarm selection code, transfer function code, range values units code, upper range value, "
     "lower range value, damping value, the write protection code and the private label distributor code ."},
    {16, "Read Final Assembly Number:", "Read the final assembly number of the device."},
    {17, "Write Message: ", "Write the Message into the device."},
    {18, "Write Tag, Descriptor, Date:", "Write the Tag, Descriptor and Date into the device."},
    {19, "Write Final Assembly Number:", "Write Final Assembly Number into the device."},
    {105, "Read Burst Mode Configuration", ""},
    {108, "Write Burst Command No:", "Configure the Burst Command No of the device."},
    {109, "Burst Mode Switch:", "Enable or disable the Burst Mode."},
}};

} // namespace

std::span<const RawCommand> describedCommands() {
    return commands;
}
std::span<const RawField> slotFields() {
    return slot0;
}
RawField slotLeadingField() {
    return {1, "Extended Field Device Status"};
}
RawField slotTrailingField() {
    return {4, "Slot 0 data time stamp"};
}
std::span<const RawDescription> commandDescriptions() {
    return descriptions;
}

} // namespace korvan::catalogue_table
