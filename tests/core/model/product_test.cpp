#include "model/CHartbus.h"
#include "model/COrlaCommand.h"
#include "model/COrlaItem.h"
#include "model/COrlaNode.h"
#include "model/CProductTarn.h"

#include <gtest/gtest.h>

namespace korvan {
namespace {

TEST(Product, BuildsTheNetworkSideFirstThenTheChannelsByIndex) {
    const std::pair<GatewayModel, int> cases[] = {
        {GatewayModel::Vela1hTcp, 1}, {GatewayModel::Vela3hTcp, 3}, {GatewayModel::Vela3hRtu, 3}};
    for (const auto& [model, channels] : cases) {
        CProductTarn product;
        product.build(model);
        ASSERT_EQ(product.busCount(), channels + 1);
        EXPECT_TRUE(product.buses().at(0)->isKindOf(CProfilebus::classCProfilebus));
        EXPECT_FALSE(product.buses().at(0)->isKindOf(CHartbus::classCHartbus));
        for (int i = 0; i < channels; ++i) {
            const COrlaBus* bus = product.buses().at(static_cast<std::size_t>(i) + 1);
            ASSERT_TRUE(bus->isKindOf(CHartbus::classCHartbus));
            EXPECT_TRUE(bus->isKindOf(COrlaBus::classCOrlaBus));
            EXPECT_EQ(static_cast<const CHartbus*>(bus)->channelIndex(), i);
        }
        EXPECT_EQ(product.channelCount(), static_cast<unsigned>(channels));
    }
}

TEST(Product, RebuildStartsOverWithDefaultChannels) {
    CProductTarn product;
    product.build(GatewayModel::Vela3hTcp);
    product.channel(0)->addNode();
    product.rebuild(GatewayModel::Vela3hTcp);
    EXPECT_EQ(product.busCount(), 4);
    EXPECT_EQ(product.channelCount(), 3u);
    EXPECT_TRUE(product.channel(0)->pointToPointNodes().empty());
}

TEST(PtrList, PositionPastTheEndYieldsTheLastAndAnEmptyListNothing) {
    COrlaItem a, b, c;
    PtrList<COrlaItem> list;
    EXPECT_EQ(list.at(0), nullptr);
    list.append(&a);
    list.append(&b);
    list.append(&c);
    EXPECT_EQ(list.at(99), &c);
    list.remove(&c);
    EXPECT_EQ(list.at(2), &b);
}

TEST(GenericBus, ReleasingACommandOutsideItsListKeepsTheCountAndAnswersTrue) {
    ObjectRegistries registries;
    COrlaBus bus(registries);
    COrlaCommand* own = bus.addBusCommand(2);
    ASSERT_NE(own, nullptr);
    COrlaCommand stranger;
    EXPECT_TRUE(bus.releaseCommandCount(&stranger));
    EXPECT_EQ(bus.commandCount(), 1);
    EXPECT_TRUE(bus.releaseCommandCount(own));
    EXPECT_EQ(bus.commandCount(), 0);
    EXPECT_FALSE(bus.releaseCommandCount(nullptr));
    EXPECT_EQ(bus.addBusCommand(6), nullptr) << "Read Exception Status is not supported";
}

TEST(GenericBus, RemovingANodeLeavesTheLastPositionOnTheNewLastNode) {
    ObjectRegistries registries;
    COrlaBus bus(registries);
    COrlaNode* first = bus.addNode();
    COrlaNode* second = bus.addNode();
    COrlaNode* third = bus.addNode();
    EXPECT_EQ(third->nodeName(), "Node(2)");
    EXPECT_TRUE(bus.removeNode(third));
    EXPECT_EQ(bus.nodeAt(2), second);
    EXPECT_EQ(bus.nodeAt(0), first);
    // Names come from the count, so a bus that lost a node can repeat a name.
    EXPECT_EQ(bus.addNode()->nodeName(), "Node(2)");
}

TEST(Item, ChoiceIndexComparesExactlyAndSelectChoiceIgnoresBadIndexes) {
    COrlaItem item;
    item.setup("Parity", "", "none", Choice, 1);
    item.addChoice("None");
    item.addChoice("Odd");
    EXPECT_EQ(item.choiceIndex(), -1);
    EXPECT_FALSE(item.selectChoice(2));
    EXPECT_EQ(item.value(), "none");
    EXPECT_TRUE(item.selectChoice(1));
    EXPECT_EQ(item.choiceIndex(), 1);
    item.restoreSaved();
    EXPECT_EQ(item.value(), "none");
}

} // namespace
} // namespace korvan
