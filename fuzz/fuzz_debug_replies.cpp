// The debug tools' reply parsers, alone and behind their exchanges. The first byte picks the
// parser, the second the link (bit 0: Ethernet) and the channel; a parser that takes reply
// bytes gets the rest of the input, an exchange answers from its slices (see
// support/FuzzInput.h). Node status reads run for a node whose uploaded commands the input
// lists. Besides the sanitizers' findings it fails when a parser's result breaks the shape
// its callers rely on.
#include "app/AppState.h"
#include "app/StartSequence.h"
#include "link/CommandRestore.h"
#include "model/CHartbus.h"
#include "model/COrlaNode.h"
#include "model/CProductTarn.h"
#include "support/Failure.h"
#include "support/FuzzInput.h"
#include "support/QuietPrompt.h"
#include "support/SlicedAnswerLink.h"
#include "tools/CommandDataExchange.h"
#include "tools/DiagnoseExchange.h"
#include "tools/MemoryExchange.h"
#include "tools/PassThroughExchange.h"

#include <cstddef>
#include <cstdint>
#include <string>

namespace korvan::fuzz {
namespace {

enum class Parser : std::uint8_t {
    ChannelStatusRows,
    NodeStatusRows,
    ReadChannelStatus,
    ReadNodeStatus,
    ClearChannelError,
    MemoryReply,
    ReadMemory,
    WriteMemory,
    ReadCommandData,
    WriteCommandData,
    PassThroughLine,
    PassThroughRequest,
    Count,
};

constexpr std::size_t maximumMemoryData = 89;

void expectChannelRows(const std::vector<DiagnoseRow>& rows) {
    expect(rows.size() == 4, "a channel status has four rows");
}

void expectNodeRows(const DiagnoseReading& reading, const COrlaNode& node) {
    expect(reading.rows.size() <= static_cast<std::size_t>(node.commandCount()),
           "a node status has at most a row per command");
    for (const DiagnoseRow& row : reading.rows)
        expect(row.commandNumber >= 0 && node.commandByNumber(static_cast<std::uint32_t>(row.commandNumber)),
               "a node status row names a command of the node");
}

// A node on the channel with up to 16 uploaded commands whose HART numbers the input gives,
// looked up by their position as the node status reply lists them (none: a node without
// commands).
const COrlaNode& uploadedNode(CProductTarn& product, std::uint8_t channelIndex, FuzzInput& input) {
    CHartbus& channel = *product.channel(channelIndex % product.channelCount());
    const std::size_t count = input.byte() % 17;
    for (std::size_t k = 0; k < count; ++k) {
        CommandFields record;
        record.channel = static_cast<std::uint8_t>(channel.channelIndex());
        record.sequence = static_cast<std::uint8_t>(k);
        record.slaveAddress = 1;
        record.hartCommand = input.byte();
        static_cast<void>(restoreBasicCommand(channel, product.registries(), record));
    }
    static const COrlaNode withoutCommands;
    const COrlaNode* node = COrlaBus::findNodeIn(channel.currentNodes(), 1);
    return node != nullptr ? *node : withoutCommands;
}

void parse(Parser parser, std::uint8_t channel, bool ethernet, FuzzInput& input) {
    AppState state;
    CProductTarn product;
    QuietPrompt prompt;
    startProduct(state, product, ethernet ? GatewayModel::Vela3hTcp : GatewayModel::Vela3hRtu);
    SlicedAnswerLink link(input, ethernet);
    switch (parser) {
    case Parser::ChannelStatusRows:
        if (const auto rows = channelStatusRows(input.rest()))
            expectChannelRows(*rows);
        break;
    case Parser::NodeStatusRows: {
        const COrlaNode& node = uploadedNode(product, channel, input);
        if (const auto reading = nodeStatusRows(input.rest(), node))
            expectNodeRows(*reading, node);
        break;
    }
    case Parser::ReadChannelStatus:
        if (const DiagnoseReading reading = readChannelStatus(link, channel, prompt); reading.ok)
            expectChannelRows(reading.rows);
        break;
    case Parser::ReadNodeStatus: {
        const COrlaNode& node = uploadedNode(product, channel, input);
        if (const DiagnoseReading reading = readNodeStatus(link, channel, node, prompt); reading.ok)
            expectNodeRows(reading, node);
        break;
    }
    case Parser::ClearChannelError:
        static_cast<void>(clearChannelError(link, channel, prompt));
        break;
    case Parser::MemoryReply:
        if (const auto block = decodeMemoryReply(input.rest()))
            expect(block->data.size() <= maximumMemoryData, "a memory block holds at most 89 bytes");
        break;
    case Parser::ReadMemory: {
        const std::uint16_t address = input.word();
        const MemoryOutcome outcome = readMemory(link, address, prompt);
        expect(outcome.ok == outcome.block.has_value(),
               "a memory read shows a block exactly when it succeeds");
        if (outcome.block)
            expect(outcome.block->data.size() <= maximumMemoryData, "a memory block holds at most 89 bytes");
        break;
    }
    case Parser::WriteMemory: {
        const std::uint16_t address = input.word();
        const auto data = input.slice().bytes;
        const MemoryOutcome outcome = writeMemory(link, address, data, prompt);
        expect(!(outcome.ok && outcome.closeWindow), "a successful write keeps the memory display");
        break;
    }
    case Parser::ReadCommandData:
        static_cast<void>(readCommandData(link, channel, input.byte(), prompt));
        break;
    case Parser::WriteCommandData: {
        const auto frame = input.slice().bytes;
        const auto expected = input.slice().bytes;
        static_cast<void>(writeCommandData(link, frame, expected));
        break;
    }
    case Parser::PassThroughLine:
        if (const auto line = passThroughLine(input.rest()))
            expect(line->size() % 3 == 2 && line->ends_with("\r\n"),
                   "a received line is byte texts and a line end");
        break;
    case Parser::PassThroughRequest: {
        const std::string head(input.text());
        const std::string data(input.text());
        const std::string check(input.text());
        if (const auto request = passThroughRequest(channel, head, data, check, &prompt)) {
            expect(hasValidChecksum(*request) && (*request)[0] == 0x4B && (*request)[2] == channel &&
                       (*request)[1] == ((request->size() - 3) & 0xFF),
                   "a pass-through request is a private frame");
        }
        if (const auto text = xorCheckText(data))
            expect(text->size() == 2, "a check is two digits");
        break;
    }
    case Parser::Count:
        break;
    }
}

} // namespace
} // namespace korvan::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace korvan::fuzz;
    FuzzInput input(data, size);
    const auto parser = static_cast<Parser>(input.byte() % static_cast<std::uint8_t>(Parser::Count));
    const std::uint8_t flags = input.byte();
    const auto channel = static_cast<std::uint8_t>((flags >> 1) % 3);
    parse(parser, channel, (flags & 1) != 0, input);
    return 0;
}
