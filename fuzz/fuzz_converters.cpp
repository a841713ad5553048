// The text converters: hexadecimal byte text, packed ASCII and IEEE 754 single precision,
// and both directions of the two converter windows. The first byte picks the converter; the
// rest is the text typed (or, for the byte directions, the bytes). Besides the sanitizers'
// findings it fails when a conversion does not read back as it was written, or when the float
// field takes a text that is not a decimal number.
#include "base/HexByteText.h"
#include "base/Ieee754.h"
#include "base/PackedAscii.h"
#include "support/Failure.h"
#include "support/FuzzInput.h"
#include "support/QuietPrompt.h"
#include "tools/FloatConverter.h"
#include "tools/PackedAsciiConverter.h"

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

namespace korvan::fuzz {
namespace {

enum class Converter : std::uint8_t {
    ParseHexText,
    WriteHexText,
    PackText,
    UnpackBytes,
    PackFixed,
    PackWindow,
    UnpackWindow,
    FloatField,
    HexField,
    FloatTexts,
    Count,
};

std::string_view asText(std::span<const std::uint8_t> bytes) {
    return {reinterpret_cast<const char*>(bytes.data()), bytes.size()};
}

std::uint32_t bitsOf(float value) {
    std::uint32_t bits = 0;
    std::memcpy(&bits, &value, sizeof bits);
    return bits;
}

// The text padded with blanks to a multiple of four characters, as packing reads it.
std::string paddedToGroups(std::string text) {
    text.resize((text.size() + 3) / 4 * 4, ' ');
    return text;
}

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// A decimal number as an engineer types one: blanks, one optional sign, digits with an
// optional point (or a point and digits), an optional exponent, blanks.
bool isDecimalNumber(std::string_view text) {
    std::size_t i = 0;
    const auto skipBlanks = [&] {
        while (i < text.size() && (text[i] == ' ' || text[i] == '\t'))
            ++i;
    };
    const auto digits = [&] {
        const std::size_t from = i;
        while (i < text.size() && isDigit(text[i]))
            ++i;
        return i - from;
    };
    skipBlanks();
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        ++i;
    std::size_t mantissa = digits();
    if (i < text.size() && text[i] == '.') {
        ++i;
        mantissa += digits();
    }
    if (mantissa == 0)
        return false;
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        ++i;
        if (i < text.size() && (text[i] == '+' || text[i] == '-'))
            ++i;
        if (digits() == 0)
            return false;
    }
    skipBlanks();
    return i == text.size();
}

void parseHexText(std::string_view text) {
    if (const auto bytes = parseHexByteText(text))
        expect(hexByteText(*bytes) == upperCased(text), "a hexadecimal byte text reads back as it was typed");
}

void writeHexText(std::span<const std::uint8_t> bytes) {
    const std::string text = hexByteText(bytes);
    const auto again = parseHexByteText(text);
    expect(again && std::equal(again->begin(), again->end(), bytes.begin(), bytes.end()),
           "bytes written as hexadecimal byte text read back");
}

void packText(std::string_view text) {
    if (const auto bytes = packAscii(text)) {
        expect(bytes->size() == (text.size() + 3) / 4 * 3, "four characters pack into three bytes");
        expect(unpackAscii(*bytes) == paddedToGroups(upperCased(text)),
               "packed text unpacks as it was typed");
    }
}

void unpackBytes(std::span<const std::uint8_t> bytes) {
    const std::string text = unpackAscii(bytes);
    if (bytes.size() % 3 != 0)
        return;
    const auto again = packAscii(text);
    expect(again && std::equal(again->begin(), again->end(), bytes.begin(), bytes.end()),
           "unpacked bytes pack again into the same bytes");
}

void packFixed(std::size_t characters, std::string_view text) {
    if (const auto bytes = packAsciiFixed(text, characters))
        expect(bytes->size() == characters * 3 / 4,
               "a fixed field packs into three bytes per four characters");
}

void packWindow(std::string_view text) {
    QuietPrompt prompt;
    const auto hex = packTextToHex(text, prompt);
    expect(hex.has_value() || prompt.messages > 0, "a refused text says why");
    if (hex)
        expect(parseHexByteText(*hex).has_value(), "the packed field shows hexadecimal byte text");
}

void unpackWindow(std::string_view text) {
    QuietPrompt prompt;
    const auto unpacked = unpackHexToText(text, prompt);
    expect(unpacked.has_value() || prompt.messages > 0, "a refused text says why");
    if (unpacked) {
        const auto again = packTextToHex(*unpacked, prompt);
        expect(again && *again == upperCased(text), "unpacked text packs again into the same bytes");
    }
}

void floatField(std::string_view text) {
    QuietPrompt prompt;
    const auto value = parseFloatText(text, prompt);
    if (!value) {
        expect(prompt.messages > 0, "a refused number says why");
        return;
    }
    expect(std::isfinite(*value), "the float field takes finite numbers only");
    expectNamed("float-decimal-number", isDecimalNumber(text), "the float field takes decimal numbers only");
    const auto again = hexTextToFloat(floatToHexText(*value), prompt);
    expect(again && bitsOf(*again) == bitsOf(*value), "a float's bytes read back as the float");
}

void hexField(std::string_view text) {
    QuietPrompt prompt;
    const auto value = hexTextToFloat(text, prompt);
    if (!value) {
        expect(prompt.messages > 0, "refused bytes say why");
        return;
    }
    expect(floatToHexText(*value) == upperCased(text),
           "four bytes read as a float write back as they were typed");
}

void floatTexts(std::span<const std::uint8_t> bytes) {
    const float value = floatFromBytes(bytes);
    static_cast<void>(fixedFloatText(value));
    const std::string shown = shortFloatText(value);
    if (!std::isfinite(value))
        return;
    QuietPrompt prompt;
    expect(parseFloatText(shown, prompt).has_value(), "the float field takes the numbers it shows");
}

} // namespace
} // namespace korvan::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace korvan::fuzz;
    FuzzInput input(data, size);
    const auto converter = static_cast<Converter>(input.byte() % static_cast<std::uint8_t>(Converter::Count));
    switch (converter) {
    case Converter::ParseHexText:
        parseHexText(asText(input.rest()));
        break;
    case Converter::WriteHexText:
        writeHexText(input.rest());
        break;
    case Converter::PackText:
        packText(asText(input.rest()));
        break;
    case Converter::UnpackBytes:
        unpackBytes(input.rest());
        break;
    case Converter::PackFixed: {
        const std::size_t characters = input.byte();
        packFixed(characters, asText(input.rest()));
        break;
    }
    case Converter::PackWindow:
        packWindow(asText(input.rest()));
        break;
    case Converter::UnpackWindow:
        unpackWindow(asText(input.rest()));
        break;
    case Converter::FloatField:
        floatField(asText(input.rest()));
        break;
    case Converter::HexField:
        hexField(asText(input.rest()));
        break;
    case Converter::FloatTexts:
        floatTexts(input.rest());
        break;
    case Converter::Count:
        break;
    }
    return 0;
}
