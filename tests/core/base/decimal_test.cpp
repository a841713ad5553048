#include "base/Decimal.h"
#include "base/ResultCode.h"
#include "model/ItemRules.h"

#include <gtest/gtest.h>

namespace korvan {
namespace {

TEST(DecimalValue, TakesTheLeadingDigitsAndReadsTextWithoutDigitsAsZero) {
    const std::pair<const char*, int> cases[] = {
        {"3000", 3000}, {"015", 15},     {"12ab", 12},   {"abc", 0},  {"", 0},
        {" 7", 7},      {"-1", -1},      {"+5", 5},      {"1.5", 1},  {"99999999999999", 2147483647},
        {"-99999999999999", -2147483647 - 1},
    };
    for (const auto& [text, expected] : cases)
        EXPECT_EQ(decimalValue(text), expected) << '"' << text << '"';
}

TEST(CheckNumber, ReportsEmptyIllegalAndOutOfRangeInThatOrder) {
    const std::pair<const char*, ResultCode> cases[] = {
        {"", ResultCode::ItemEmpty},        {"1a", ResultCode::IllegalChar},
        {"-1", ResultCode::IllegalChar},    {" 1", ResultCode::IllegalChar},
        {"16", ResultCode::OutOfRange},     {"0", ResultCode::OutOfRange},
        {"015", ResultCode::Success},       {"99999999999", ResultCode::OutOfRange},
    };
    for (const auto& [text, expected] : cases)
        EXPECT_EQ(checkNumber(text, 1, 15), expected) << '"' << text << '"';
}

TEST(ResultMessage, GivesTheSharedTextsAndUnknownErrorOutsideTheTable) {
    EXPECT_EQ(resultMessage(ResultCode::Success), "Operation Success");
    EXPECT_EQ(resultMessage(ResultCode::ResponseTimeout), "Resonse timeout");
    EXPECT_EQ(resultMessage(ResultCode::NodeAddressRepeat), "Node address  repeat");
    EXPECT_EQ(resultMessage(ResultCode::TcpFailure), "Unknown Error!");
    EXPECT_EQ(resultMessage(ResultCode::IpFormatError), "IP format error");
    EXPECT_EQ(resultMessage(15), "Unknown Error!");
    EXPECT_EQ(resultMessage(-1), "Unknown Error!");
}

} // namespace
} // namespace korvan
