#pragma once

#include <string_view>

namespace korvan::link_text {

// The link's own messages, shown where the failure happens.
inline constexpr std::string_view connectFails =
    "Connection fails, make sure the IP address and port number are correct!";
inline constexpr std::string_view readFails =
    "Reads the configuration fails, verify the IP address and port number are correct!";
inline constexpr std::string_view commandReadFails =
    "Reads the configuration fails, verify that the IP address is correct!";
inline constexpr std::string_view commandFailed = "The %d command failed to download!";
inline constexpr std::string_view resetConnectFailed =
    "Connection failed, please confirm the IP address and port number is correct!";
inline constexpr std::string_view acceptDataPacketsFail = "Accept data packets fail!";
inline constexpr std::string_view acceptPacketsFail = "Accept packets fail!";
inline constexpr std::string_view writeConfigurationFailed = "Write configuration failed!";
inline constexpr std::string_view readingConfigurationFailed = "Reading configuration failed!";
inline constexpr std::string_view unknownBusType = "Unknown bus type!";
inline constexpr std::string_view remoteResetQuestion =
    "Download succeeded, whether to conduct remote reset?";
inline constexpr std::string_view mappingConflicts = "Memory mapping has conflicts!";
inline constexpr std::string_view dhcpQuestion = "The current Assign IP Mode is DHCP and the gateway need to "
                                                 "connect to a DHCP server or switch to get valid "
                                                 "IP address, do you want to continue downloading?";
inline constexpr std::string_view openPortFailed = "Failed openning serial port";
inline constexpr std::string_view deviceTypeMismatch = "Device's type not match";
inline constexpr std::string_view uploadSucceeded = "Upload successfully";

} // namespace korvan::link_text
