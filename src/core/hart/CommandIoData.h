#pragma once

#include "hart/CommandIoEditing.h"
#include "hart/ResponseRows.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

namespace korvan {

class CodeTexts;
class Prompt;

// The state of the "Command IO data" window without the window and without the exchange:
// the command shown, its rows, which of them can be edited, and the write frame made from
// them. The window fetches the reply through the link and hands the received bytes here.
class CommandIoData {
public:
    CommandIoData(CodeTexts& texts, Prompt& prompt) : texts_(texts), prompt_(prompt) {}

    // Shows a command of a node: the buttons follow the command, the rows are emptied.
    // Segments are given for a command in Advanced configuration, none otherwise.
    void select(int command, std::uint8_t channel, std::uint8_t node, std::vector<ResponseSegment> segments);

    [[nodiscard]] int command() const { return command_; }
    [[nodiscard]] std::uint8_t channel() const { return channel_; }
    [[nodiscard]] std::uint8_t node() const { return node_; }
    [[nodiscard]] const CommandIoButtons& buttons() const { return buttons_; }

    // True when a refresh asks the gateway; the write-only commands list an empty form
    // instead, and commands outside the window's set show nothing.
    [[nodiscard]] bool refreshNeedsReply() const;
    // Fills the rows from a received private reply (nothing received: the rows stay empty).
    void refreshFromReply(std::span<const std::uint8_t> reply);
    // Fills the rows from a reply's payload, as the exchange hands it over.
    void refreshFromPayload(std::span<const std::uint8_t> payload);
    // Nothing was received: the list stays empty.
    void clearRows() { rows_.clear(); }
    // Fills the rows of a write-only command as an all-zero reply, ready to be typed in.
    void refreshWithoutReply();

    [[nodiscard]] const std::vector<ResponseRow>& rows() const { return rows_; }
    [[nodiscard]] bool canEditRow(int row) const;
    // Commits an edited value into the row by the window's rules; false leaves it unchanged.
    bool commitRow(int row, std::string_view text);
    // The write frame of the values in the rows, or nothing when they cannot be sent.
    [[nodiscard]] std::optional<CommandIoFrame> writeFrame();

private:
    CodeTexts& texts_;
    Prompt& prompt_;
    int command_ = -1;
    std::uint8_t channel_ = 0;
    std::uint8_t node_ = 0;
    std::vector<ResponseSegment> segments_;
    CommandIoButtons buttons_;
    std::vector<ResponseRow> rows_;
};

} // namespace korvan
