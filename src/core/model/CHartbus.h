#pragma once

#include "base/ResultCode.h"
#include "model/COrlaBus.h"

#include <optional>

namespace korvan {

class Prompt;

// The HART network modes a channel stores in its mode member.
constexpr int PointToPointMode = 5;
constexpr int MultiDropMode = 6;
constexpr int MaxMultiDropNodes = 15;
constexpr int MaxChannelCommands = 256;

// Positions of a channel's eight parameters.
namespace channel_item {
constexpr std::size_t MasterType = 0;
constexpr std::size_t NetworkMode = 1;
constexpr std::size_t MaximumRepetitions = 2;
constexpr std::size_t Polling = 3;
constexpr std::size_t DelayBetweenPolls = 4;
constexpr std::size_t ResponseTimeout = 5;
constexpr std::size_t TimeoutAction = 6;
constexpr std::size_t TimeoutCount = 7;
} // namespace channel_item

// One HART channel of the gateway, on which the gateway is the HART master. Its nodes live
// in two lists, one per network mode; only the current mode's list is shown, downloaded and
// counted, and a mode switch keeps both.
class CHartbus : public COrlaBus {
public:
    static const RuntimeClass classCHartbus;

    explicit CHartbus(ObjectRegistries& registries);

    [[nodiscard]] const RuntimeClass& runtimeClass() const override { return classCHartbus; }

    // Point-to-point: Node(0) at address 0; multi-drop: the lowest free address, none left
    // gives nothing. Callers check canAddNode() first.
    COrlaNode* addNode() override;
    bool removeNode(COrlaNode* node) override;
    [[nodiscard]] int commandCount() const override;
    [[nodiscard]] std::string busName() const override;
    [[nodiscard]] bool canAddNode() const override;
    [[nodiscard]] bool canAddCommand() const override;
    void initialise() override;
    // Both node lists, the one not shown too.
    void markReferences(ReachableObjects& reachable) const override;

    // After automatic mapping: reports an overflow of either memory and answers false.
    [[nodiscard]] bool checkMemoryBounds(int nextSend, int nextReceive, Prompt& prompt) const;

    [[nodiscard]] COrlaNode* pointToPointNodeAt(std::size_t i) const { return pointToPoint_.at(i); }
    [[nodiscard]] COrlaNode* multiDropNodeAt(std::size_t i) const { return multiDrop_.at(i); }
    [[nodiscard]] const PtrList<COrlaNode>& pointToPointNodes() const { return pointToPoint_; }
    [[nodiscard]] const PtrList<COrlaNode>& multiDropNodes() const { return multiDrop_; }
    // The list of the current network mode.
    [[nodiscard]] const PtrList<COrlaNode>& currentNodes() const;
    [[nodiscard]] bool isPointToPoint() const { return mode() == PointToPointMode; }

    // Puts an existing node into the list of the current mode (paste, reading a file).
    void appendPointToPointNode(COrlaNode* node) { pointToPoint_.append(node); }
    void appendMultiDropNode(COrlaNode* node) { multiDrop_.append(node); }

    [[nodiscard]] ResultCode setNodeAddress(COrlaNode* node, std::string_view text);
    [[nodiscard]] COrlaNode* findMultiDropNode(std::uint32_t address) const {
        return findNodeIn(multiDrop_, address);
    }
    [[nodiscard]] std::optional<std::uint32_t> lowestFreeAddress() const;

    // Command indexes 0, 1, 2 ... over the list's nodes in order.
    static void renumberCommands(const PtrList<COrlaNode>& list);
    void renumberChannelCommands() { renumberCommands(currentNodes()); }

    [[nodiscard]] int channelIndex() const { return channelIndex_; }
    void setChannelIndex(int index) { channelIndex_ = index; }

    // The channel's parameters, mode and both node lists become those of `other`, whose
    // lists are left with what this channel had.
    void swapContents(CHartbus& other);

    // The address item every HART node carries.
    [[nodiscard]] static COrlaItem* createAddressItem(ObjectRegistries& registries, std::uint32_t address);

private:
    COrlaNode* createNode(std::uint32_t address);

    PtrList<COrlaNode> pointToPoint_;
    PtrList<COrlaNode> multiDrop_;
    int channelIndex_ = 0;
};

inline const RuntimeClass CHartbus::classCHartbus{"CHartbus", &COrlaBus::classCOrlaBus};

} // namespace korvan
