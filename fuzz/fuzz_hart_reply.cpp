// HART reply decoding as the command I/O data window runs it. The input gives the HART
// command (byte 0), the node (byte 1), up to seven Advanced segments (a count byte, then
// start, length and swap per segment), the received reply as a slice, and then the texts an
// engineer types into the editable rows, one slice each (see support/FuzzInput.h). Besides
// the sanitizers' findings it fails when a decoded reply does not have the command's size,
// when the window shows other rows than the decoding gives, or when a write frame is
// malformed.
#include "hart/CodeTexts.h"
#include "hart/CommandIoData.h"
#include "hart/DecodedReply.h"
#include "hart/HartReply.h"
#include "hart/ResponseRows.h"
#include "link/PrivateFrame.h"
#include "support/Failure.h"
#include "support/FuzzInput.h"
#include "support/QuietPrompt.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace korvan::fuzz {
namespace {

// Fixed names, so that a run does not depend on the code-table libraries being there.
class FixedCodeTexts : public CodeTexts {
public:
    std::string unitText(int code) override { return "unit " + std::to_string(code); }
    std::string manufacturerText(int code) override { return code % 7 == 0 ? "(null)" : "maker"; }
};

std::vector<ResponseSegment> segmentsFrom(FuzzInput& input) {
    std::vector<ResponseSegment> segments(input.byte() % 8);
    for (ResponseSegment& segment : segments) {
        segment.startByte = input.byte();
        segment.length = input.byte();
        segment.swap = (input.byte() & 1) != 0;
    }
    return segments;
}

void decodeAlone(int command, std::span<const std::uint8_t> reply, std::span<const ResponseSegment> segments,
                 CodeTexts& texts) {
    static_cast<void>(withoutTunnelHeader(reply));
    const std::vector<std::uint8_t> payload = replyPayload(reply);
    if (!payload.empty())
        static_cast<void>(mapResponseCode(command, payload[0]));
    const DecodedReply decoded(command, payload);
    if (isCommandIoCommand(command))
        expect(decoded.bytes().size() == static_cast<std::size_t>(commandReplySize(command)),
               "a decoded reply has the command's size");
    static_cast<void>(decoded.dataBytes(0, 300));
    static_cast<void>(responseRows(decoded, segments, texts));
}

void showInWindow(int command, std::uint8_t node, std::span<const std::uint8_t> reply,
                  std::vector<ResponseSegment> segments, FuzzInput& input, CodeTexts& texts) {
    QuietPrompt prompt;
    CommandIoData window(texts, prompt);
    window.select(command, 0, node, segments);
    if (window.refreshNeedsReply()) {
        window.refreshFromReply(reply);
        if (!reply.empty()) {
            const DecodedReply decoded(command, replyPayload(reply));
            expect(window.rows() == responseRows(decoded, segments, texts),
                   "the window shows the rows of the decoded reply");
        }
    } else {
        window.refreshWithoutReply();
    }
    for (std::size_t row = 0; row < window.rows().size() && !input.empty(); ++row) {
        if (!window.canEditRow(static_cast<int>(row)))
            continue;
        const std::string before = window.rows()[row].value;
        if (!window.commitRow(static_cast<int>(row), input.text()))
            expect(window.rows()[row].value == before, "a refused edit leaves the row unchanged");
    }
    if (const auto write = window.writeFrame()) {
        expect(hasValidChecksum(write->frame) && !write->frame.empty() && write->frame[0] == 'G',
               "a write frame is a 'G' private frame");
        expect(!write->expectedAnswer.empty(), "a write frame has an acknowledgement");
    }
}

} // namespace
} // namespace korvan::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace korvan::fuzz;
    FuzzInput input(data, size);
    const int command = input.byte();
    const std::uint8_t node = input.byte();
    std::vector<korvan::ResponseSegment> segments = segmentsFrom(input);
    const auto reply = input.slice().bytes;
    FixedCodeTexts texts;
    decodeAlone(command, reply, segments, texts);
    showInWindow(command, node, reply, std::move(segments), input, texts);
    return 0;
}
