// A project file as the engineer opens it, in each model, followed by what they do next: the
// checks of korvanctl's `check`, the frames a download would send, the Conflict Detection
// window, the automatic mapping, the parameter grid of every tree item with every value
// committed as it stands, the export's workbook, the download's frames again, and the save. Besides the
// sanitizers' findings it fails when a refused file changes the open project, when the fast overlap check and
// its quadratic reference disagree, when the conflict window does not restore its cells, when a frame is
// malformed or the download's frame count is wrong, and when a saved and reopened project does not save the
// same bytes.
#include "app/AppState.h"
#include "app/ParameterGrid.h"
#include "app/ProjectLoad.h"
#include "app/StartSequence.h"
#include "export/WorkbookContent.h"
#include "hart/AdvancedSelectionTable.h"
#include "link/ConfigurationDownload.h"
#include "link/ConfigurationFrames.h"
#include "link/SegmentTable.h"
#include "link/TunnelFrame.h"
#include "link/UploadFrames.h"
#include "mapping/AutoMapping.h"
#include "mapping/ConflictCheck.h"
#include "mapping/ConflictDetection.h"
#include "mapping/MappingCollector.h"
#include "model/CHartbus.h"
#include "model/COrlaCommand.h"
#include "model/COrlaNode.h"
#include "model/CProductTarn.h"
#include "model/CommandItems.h"
#include "model/ProjectTreeItem.h"
#include "network/NetworkBlocks.h"
#include "support/Failure.h"
#include "support/ProjectChecks.h"
#include "support/QuietPrompt.h"
#include "support/WorkFolder.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace korvan::fuzz {
namespace {

// Beyond this many ranges the quadratic reference check would take most of the run.
constexpr std::size_t pairwiseLimit = 2000;

// What korvanctl's `check` does after opening: every node of the current modes, then the
// download's pre-check, which must answer as the quadratic reference does.
void checkProject(const CProductTarn& product, Prompt& prompt) {
    for (const CHartbus* channel : product.channels())
        for (const COrlaNode* node : channel->currentNodes())
            static_cast<void>(node->validate(prompt));
    const MappingLists lists = collectMappings(product);
    const bool send = rangesOverlap(lists.send);
    const bool receive = rangesOverlap(lists.receive);
    if (lists.send.size() <= pairwiseLimit)
        expect(send == rangesOverlapPairwise(lists.send), "the send overlap check agrees with its reference");
    if (lists.receive.size() <= pairwiseLimit)
        expect(receive == rangesOverlapPairwise(lists.receive),
               "the receive overlap check agrees with its reference");
    expect(hasMappingConflict(product) == (send || receive), "the pre-check is the overlap of either memory");
}

std::vector<Rgb> allCells(const ConflictDetection& detection) {
    std::vector<Rgb> cells;
    for (UsageGrid grid : {UsageGrid::Send, UsageGrid::Receive})
        for (int i = 0; i < UsageGridCells; ++i)
            cells.push_back(detection.cellColourAt(grid, i));
    return cells;
}

void clickEveryLabel(ConflictDetection& detection, const std::vector<ProjectTreeItem>& items) {
    for (const ProjectTreeItem& item : items) {
        detection.clickLabel(item);
        clickEveryLabel(detection, item.children);
    }
}

// The Conflict Detection window: every channel checked, then every label clicked; clicking
// the empty space gives back the cells as they were before the first highlight. The address
// ranges of every command are what the window's cells stand for.
void detectConflicts(CProductTarn& product) {
    for (const CHartbus* channel : product.channels())
        for (const COrlaNode* node : channel->currentNodes())
            for (const COrlaCommand* command : node->commands())
                static_cast<void>(command->addressRanges());
    ConflictDetection detection(product);
    for (const ProjectTreeItem& item : detection.tree())
        detection.clickCheckBox(item);
    const std::vector<Rgb> drawn = allCells(detection);
    clickEveryLabel(detection, detection.tree());
    detection.clickEmptySpace();
    expect(allCells(detection) == drawn, "the conflict window restores the highlighted cells");
}

// Clicks every value cell of the item and commits the value it shows, as an engineer who
// opens each editor and leaves it unchanged. Answers whether the tree must be built again.
bool commitEveryRow(ParameterGrid& grid) {
    bool rebuildTree = false;
    for (std::size_t row = 0; row < grid.rows().size(); ++row) {
        const std::string value = grid.rows()[row].value;
        switch (grid.clickCell(static_cast<int>(row), 1)) {
        case CellAction::EditText:
            static_cast<void>(grid.commitText(value));
            break;
        case CellAction::ChooseFromList:
            rebuildTree = grid.commitChoice(value).rebuildTree || rebuildTree;
            break;
        case CellAction::OpenAdvanced:
            grid.openAdvancedConfiguration([](AdvancedConfiguration&) {});
            break;
        case CellAction::None:
            break;
        }
    }
    return rebuildTree;
}

bool showEveryItem(ParameterGrid& grid, const std::vector<ProjectTreeItem>& items, bool commit) {
    for (const ProjectTreeItem& item : items) {
        grid.show(item.tag, item.label);
        if (commit && commitEveryRow(grid))
            return true;
        if (showEveryItem(grid, item.children, commit))
            return true;
    }
    return false;
}

// The parameter grid of every tree item. A committed network mode rebuilds the tree, whose
// items are then shown once more without edits.
void showGrid(CProductTarn& product, AppState& state, Prompt& prompt) {
    AdvancedSelectionTable selection;
    ParameterGrid grid(product, state, prompt, selection);
    if (showEveryItem(grid, buildProjectTree(product), true))
        showEveryItem(grid, buildProjectTree(product), false);
    grid.clear();
}

void exportWorkbook(const CProductTarn& product) {
    expect(buildWorkbookContent(product).size() == 8, "the workbook has its eight sheets");
}

// A private frame whose length byte counts the bytes between it and the checksum.
void expectWellFormed(const Bytes& frame, std::string_view what) {
    expect(hasValidChecksum(frame), std::string(what) + " carries its checksum");
    expect(frame.size() >= 3 && frame[1] == frame.size() - 3, std::string(what) + " gives its own length");
}

const PtrList<COrlaNode>* downloadedNodes(const CHartbus& channel) {
    if (channel.mode() == PointToPointMode)
        return &channel.pointToPointNodes();
    if (channel.mode() == MultiDropMode)
        return &channel.multiDropNodes();
    return nullptr;
}

// A command's 'D' frame, which an upload reads back as its record.
Bytes commandFrameOf(const COrlaCommand& command, std::uint32_t address, std::uint8_t channel,
                     std::uint8_t sequence, SegmentTable& table, bool ethernet) {
    CommandFields fields = commandFields(command, channel, sequence, address);
    if (command.isAdvanced()) {
        fields.advanced = true;
        fields.tableOffset = table.addCommand(commandSegments(command));
    }
    Bytes frame = commandFrame(fields, !ethernet);
    expect(frame.size() == commandRecordLength && hasValidChecksum(frame), "a command frame has 17 bytes");
    const std::optional<CommandFields> record = decodeCommandRecord(frame);
    expect(record && record->hartCommand == fields.hartCommand && record->sendStart == fields.sendStart &&
               record->advanced == fields.advanced &&
               (!fields.advanced || record->tableOffset == fields.tableOffset),
           "a command frame reads back as its record");
    return frame;
}

// The frames of one channel, in the order the download sends them.
void channelFrames(const CHartbus& channel, bool ethernet, std::vector<Bytes>& frames) {
    const auto index = static_cast<std::uint8_t>(channel.channelIndex());
    frames.push_back(channelFrame(channel, index));
    expectWellFormed(frames.back(), "a channel frame");
    const PtrList<COrlaNode>* nodes = downloadedNodes(channel);
    if (nodes == nullptr)
        return;
    SegmentTable table;
    std::uint8_t sequence = 0;
    for (const COrlaNode* node : *nodes)
        for (const COrlaCommand* command : node->commands())
            frames.push_back(commandFrameOf(*command, node->address(), index, sequence++, table, ethernet));
    for (const SegmentTable::Piece& piece : table.pieces()) {
        const Bytes frame = tableFrame(index, piece.offset, piece.data);
        expectWellFormed(frame, "a table frame");
        if (ethernet) {
            frames.push_back(frame);
            continue;
        }
        for (const Bytes& block : serialBlocks(frame)) {
            expectWellFormed(block, "a serial table block");
            expect(block.size() <= 7 + serialBlockData, "a serial table block holds at most 56 bytes");
            frames.push_back(block);
        }
    }
}

// The frames a download sends before the reset question, built as the download builds them:
// their number is the count the download's progress counts to, and on TCP each travels in a
// tunnel frame that reads back as it.
void downloadFrames(const CProductTarn& product, bool ethernet) {
    std::vector<Bytes> frames;
    if (ethernet) {
        const auto request = encodeEthernetWriteRequest(product.networkBus());
        expect(isManagementReply(request, 0x06), "the Ethernet parameters go in a write request");
    } else {
        const auto block = encodeSerialBlock(product.networkBus());
        expect(hasValidChecksum(block), "the serial block carries its checksum");
    }
    frames.emplace_back(); // the network side's block
    for (const CHartbus* channel : product.channels())
        channelFrames(*channel, ethernet, frames);
    expect(static_cast<int>(frames.size()) == ConfigurationDownload::frameTotal(product, ethernet),
           "the download's progress counts its frames");
    if (!ethernet)
        return;
    for (std::size_t i = 1; i < frames.size(); ++i) {
        const Bytes tunnelled = tunnelFrame(static_cast<std::uint16_t>(i), 0x11, frames[i]);
        const std::optional<TunnelFields> fields = parseTunnelFrame(tunnelled);
        expect(fields && fields->transaction == i && fields->frameType == 0x11 &&
                   std::equal(fields->privateFrame.begin(), fields->privateFrame.end(), frames[i].begin(),
                              frames[i].end()),
               "a tunnel frame reads back as the frame it carries");
    }
}

void downloadOnBothLinks(const CProductTarn& product) {
    downloadFrames(product, false);
    downloadFrames(product, true);
}

// The project downloaded as it was opened, then edited and downloaded again.
void workOn(CProductTarn& product, AppState& state, Prompt& prompt) {
    checkProject(product, prompt);
    downloadOnBothLinks(product);
    detectConflicts(product);
    static_cast<void>(autoMapAddresses(product, prompt));
    showGrid(product, state, prompt);
    exportWorkbook(product);
    downloadOnBothLinks(product);
}

void openInModel(GatewayModel model, std::string_view file) {
    const WorkFolder& folder = WorkFolder::instance();
    folder.empty();
    const std::string path = folder.file("opened.xml");
    writeWholeFile(path, file);

    AppState state;
    CProductTarn product;
    QuietPrompt prompt;
    startProduct(state, product, model);
    const std::string untouched = projectText(product);
    if (const LoadResult loaded = loadProject(product, state, prompt, path); !loaded.ok()) {
        expect(!loaded.message.empty(), "a refused file says why");
        const std::string after = projectText(product);
        if (after != untouched)
            failDifferent("a refused file keeps the open project", untouched, after);
        return;
    }
    expectSameAfterReopen(product, "opened file");
    workOn(product, state, prompt);
    expectSameAfterReopen(product, "edited project");
}

} // namespace
} // namespace korvan::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view file(reinterpret_cast<const char*>(data), size);
    for (const korvan::GatewayModel model : korvan::fuzz::fuzzModels)
        korvan::fuzz::openInModel(model, file);
    return 0;
}
