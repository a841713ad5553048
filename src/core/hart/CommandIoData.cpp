#include "hart/CommandIoData.h"

#include "hart/DecodedReply.h"
#include "hart/HartReply.h"

namespace korvan {
namespace {

bool isWriteOnly(int command) {
    return command >= 17 && command <= 19;
}

} // namespace

void CommandIoData::select(int command, std::uint8_t channel, std::uint8_t node,
                           std::vector<ResponseSegment> segments) {
    command_ = command;
    channel_ = channel;
    node_ = node;
    segments_ = std::move(segments);
    buttons_ = commandIoButtons(command);
    rows_.clear();
}

bool CommandIoData::refreshNeedsReply() const {
    return isCommandIoCommand(command_) && !isWriteOnly(command_);
}

void CommandIoData::refreshFromReply(std::span<const std::uint8_t> reply) {
    rows_.clear();
    if (reply.empty() || !refreshNeedsReply())
        return;
    rows_ = responseRows(DecodedReply(command_, replyPayload(reply)), segments_, texts_);
}

void CommandIoData::refreshFromPayload(std::span<const std::uint8_t> payload) {
    rows_.clear();
    if (refreshNeedsReply())
        rows_ = responseRows(DecodedReply(command_, payload), segments_, texts_);
}

void CommandIoData::refreshWithoutReply() {
    rows_.clear();
    if (isWriteOnly(command_))
        rows_ = responseRows(DecodedReply::zero(command_), {}, texts_);
}

bool CommandIoData::canEditRow(int row) const {
    return row >= 0 && static_cast<std::size_t>(row) < rows_.size() && isEditableRow(command_, row, buttons_);
}

bool CommandIoData::commitRow(int row, std::string_view text) {
    if (!canEditRow(row))
        return false;
    auto committed = commitCellText(command_, row, text, prompt_);
    if (!committed)
        return false;
    rows_[static_cast<std::size_t>(row)].value = std::move(*committed);
    return true;
}

std::optional<CommandIoFrame> CommandIoData::writeFrame() {
    if (!buttons_.edit)
        return std::nullopt;
    std::vector<std::string> cells;
    for (const ResponseRow& row : rows_)
        cells.push_back(row.value);
    return buildWriteFrame(command_, channel_, node_, cells, prompt_);
}

} // namespace korvan
