#include "base/HexByteText.h"
#include "base/Ieee754.h"
#include "base/PackedAscii.h"
#include "support/ScriptedPrompt.h"
#include "tools/FloatConverter.h"
#include "tools/PackedAsciiConverter.h"

#include <cmath>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace korvan {
namespace {

using Messages = std::vector<std::string>;

TEST(HexByteText, AcceptsOnlyPairsJoinedByOneSpace) {
    struct Case {
        const char* text;
        std::optional<std::vector<std::uint8_t>> bytes;
    };
    const std::vector<Case> cases{
        {"4D 3C 1B", std::vector<std::uint8_t>{0x4D, 0x3C, 0x1B}},
        {"3f 80 00 00", std::vector<std::uint8_t>{0x3F, 0x80, 0x00, 0x00}},
        {"", std::vector<std::uint8_t>{}},
        {"3F800000", std::nullopt},
        {"3F  80", std::nullopt},
        {" 3F 80", std::nullopt},
        {"3F 80 ", std::nullopt},
        {"3", std::nullopt},
        {"3G", std::nullopt},
        {"3F,80", std::nullopt},
    };
    for (const Case& c : cases)
        EXPECT_EQ(parseHexByteText(c.text), c.bytes) << '"' << c.text << '"';
    const std::vector<std::uint8_t> bytes{0x00, 0xAB, 0x0F};
    EXPECT_EQ(hexByteText(bytes), "00 AB 0F");
}

TEST(PackedAscii, PacksAndUnpacksByTheHartRule) {
    struct Case {
        const char* text;
        const char* hex;
    };
    for (const Case& c : {Case{"ABCD", "04 20 C4"}, Case{"AB", "04 28 20"}, Case{"abc", "04 20 E0"},
                          Case{"ABC", "04 20 E0"}, Case{"@_ ?", "01 F8 3F"}}) {
        test::ScriptedPrompt prompt;
        EXPECT_EQ(packTextToHex(c.text, prompt), c.hex) << c.text;
        EXPECT_TRUE(prompt.shown.empty());
    }
    test::ScriptedPrompt prompt;
    EXPECT_EQ(unpackHexToText("04 28 20", prompt), "AB  ");
    EXPECT_EQ(unpackHexToText("01 f8 3f", prompt), "@_ ?");
    EXPECT_TRUE(prompt.shown.empty());

    // Every code 0-63 comes back as the character it was packed from.
    std::string all;
    for (int code = 0; code < 64; ++code)
        all += packedCharacter(static_cast<std::uint8_t>(code));
    const auto packed = packAscii(all);
    ASSERT_TRUE(packed);
    EXPECT_EQ(packed->size(), 48u);
    EXPECT_EQ(unpackAscii(*packed), all);
}

TEST(PackedAscii, RefusesBadInputWithTheWindowsMessages) {
    struct Case {
        bool pack;
        const char* input;
        Messages messages;
    };
    const std::vector<Case> cases{
        {true, "A~", {"Has Illegal char", "Illegal data"}},
        {true, "a\xe9", {"Has Illegal char", "Illegal data"}},
        {true, "", {"Illegal data"}},
        {false, "04 20", {"Incorrect data length"}},
        {false, "", {"Incorrect data length"}},
        {false, "0420C4", {"Illegal data"}},
        {false, "04 2X C4", {"Illegal data"}},
    };
    for (const Case& c : cases) {
        test::ScriptedPrompt prompt;
        const auto result = c.pack ? packTextToHex(c.input, prompt) : unpackHexToText(c.input, prompt);
        EXPECT_FALSE(result) << c.input;
        EXPECT_EQ(prompt.shown, c.messages) << c.input;
    }
}

TEST(PackedAscii, FixedWidthPackingPadsAndCuts) {
    EXPECT_EQ(packAsciiFixed("tag", 8), packAscii("TAG     "));
    EXPECT_EQ(packAsciiFixed("ABCDEFGHIJ", 8), packAscii("ABCDEFGH"));
    EXPECT_EQ(packAsciiFixed("", 32)->size(), 24u);
    EXPECT_FALSE(packAsciiFixed("A~", 8));
}

TEST(Ieee754, ConvertsBothWaysWithKnownAnswers) {
    struct Case {
        float value;
        const char* hex;
        const char* shown;
    };
    for (const Case& c : {Case{1.0f, "3F 80 00 00", "1"}, Case{3.14159274f, "40 49 0F DB", "3.14159"},
                          Case{-2.0f, "C0 00 00 00", "-2"}, Case{100.0f, "42 C8 00 00", "100"},
                          Case{0.0f, "00 00 00 00", "0"}}) {
        EXPECT_EQ(floatToHexText(c.value), c.hex);
        test::ScriptedPrompt prompt;
        const auto back = hexTextToFloat(c.hex, prompt);
        ASSERT_TRUE(back);
        EXPECT_EQ(*back, c.value);
        EXPECT_EQ(shortFloatText(*back), c.shown);
    }
    test::ScriptedPrompt prompt;
    EXPECT_EQ(hexTextToFloat("3f 80 00 00", prompt), 1.0f);
    EXPECT_EQ(fixedFloatText(100.0f), "100.000000");
    EXPECT_EQ(fixedFloatText(-3.4028235e38f).size(), 47u) << "the widest float fits";
    const std::vector<std::uint8_t> shortBytes{0x3F, 0x80};
    EXPECT_EQ(floatFromBytes(shortBytes), 1.0f) << "missing bytes read as 0";
}

TEST(Ieee754, RefusesWhatIsNotANumberOrNotFourBytes) {
    for (const char* hex : {"3F800000", "3F 80 00", "3F 80 00 00 00", "", "3F 80 00 0G"}) {
        test::ScriptedPrompt prompt;
        EXPECT_FALSE(hexTextToFloat(hex, prompt)) << hex;
        EXPECT_EQ(prompt.shown, Messages{"Illegal input data"});
    }
    for (const char* text : {"", "abc", "1.5x", "1e39", "nan", "inf", "--1"}) {
        test::ScriptedPrompt prompt;
        EXPECT_FALSE(parseFloatText(text, prompt)) << text;
        EXPECT_EQ(prompt.shown, Messages{"Enter a number."});
    }
    test::ScriptedPrompt prompt;
    EXPECT_EQ(parseFloatText(" -1.5 ", prompt), -1.5f);
    EXPECT_EQ(parseFloatText("+2", prompt), 2.0f);
    EXPECT_EQ(parseFloatText("1e-50", prompt), 0.0f);
    EXPECT_TRUE(prompt.shown.empty());
    // A not-a-number pattern decodes without trouble and prints as the C library writes it.
    EXPECT_TRUE(std::isnan(*hexTextToFloat("7F C0 00 00", prompt)));
}

// One sign at most, before the digits: a text that is not a number gets the converter's
// message, however a number might be read out of it.
TEST(Ieee754, TakesOneSignAtMost) {
    struct Case {
        const char* text;
        std::optional<float> value;
    };
    for (const Case& c : {Case{"+-1", std::nullopt}, Case{"++1", std::nullopt}, Case{"-+1", std::nullopt},
                          Case{"+-", std::nullopt}, Case{"+", std::nullopt}, Case{"-", std::nullopt},
                          Case{" +-1 ", std::nullopt}, Case{"+ 1", std::nullopt}, Case{"- 1", std::nullopt},
                          Case{"1-", std::nullopt}, Case{"1e+-5", std::nullopt}, Case{"+inf", std::nullopt},
                          Case{"0x10", std::nullopt}, Case{"1,5", std::nullopt}, Case{"+1", 1.0f},
                          Case{"-1", -1.0f}, Case{"+.5", 0.5f}, Case{"-1e+2", -100.0f}, Case{"+0", 0.0f}}) {
        test::ScriptedPrompt prompt;
        EXPECT_EQ(parseFloatText(c.text, prompt), c.value) << '"' << c.text << '"';
        EXPECT_EQ(prompt.shown, c.value ? Messages{} : Messages{"Enter a number."}) << '"' << c.text << '"';
    }
}

} // namespace
} // namespace korvan
