#include "model/CHartbus.h"
#include "model/COrlaCommand.h"
#include "model/COrlaNode.h"
#include "model/CProductTarn.h"
#include "model/ObjectHolder.h"
#include "model/ReachableObjects.h"
#include "support/ProductDescription.h"
#include "support/SampleProjects.h"

#include <gtest/gtest.h>

namespace korvan {
namespace {

// A holder outside the product, as a view that still shows a node.
class HeldNode : private ObjectHolder {
public:
    explicit HeldNode(CProductTarn& product) : ObjectHolder(product.registries()) {}
    void hold(COrlaNode* node) { node_ = node; }

private:
    void markHeld(ReachableObjects& reachable) const override { reachable.mark(node_); }

    COrlaNode* node_ = nullptr;
};

constexpr std::size_t itemsPerCommand = 41;

class Sweep : public testing::TestWithParam<GatewayModel> {};

// Both node lists of a channel, every list of the network side and every command's items are
// reached, the ones not shown included.
TEST_P(Sweep, KeepsEverythingTheProductReaches) {
    CProductTarn product;
    product.build(GetParam());
    test::fillSampleProject(product);
    const std::string before = test::describeProduct(product);
    const std::size_t objects = product.registries().objectCount();
    EXPECT_EQ(product.releaseUnused(), 0u);
    EXPECT_EQ(product.registries().objectCount(), objects);
    EXPECT_EQ(test::describeProduct(product), before);
}

TEST_P(Sweep, NewProjectsInARowHoldOneProject) {
    CProductTarn product;
    product.build(GetParam());
    const std::size_t empty = product.registries().objectCount();
    for (int i = 0; i < 3; ++i) {
        test::fillSampleProject(product);
        product.rebuild(GetParam());
        EXPECT_EQ(product.registries().objectCount(), empty);
    }
}

INSTANTIATE_TEST_SUITE_P(AllModels, Sweep,
                         testing::Values(GatewayModel::Vela1hTcp, GatewayModel::Vela3hTcp,
                                         GatewayModel::Vela3hRtu),
                         [](const testing::TestParamInfo<GatewayModel>& param) {
                             std::string name(modelName(param.param));
                             std::erase(name, '-');
                             return name;
                         });

TEST(SweepOfRemovedObjects, FreesANodeWithItsCommandsOnceNothingHoldsIt) {
    CProductTarn product;
    product.build(GatewayModel::Vela1hTcp);
    CHartbus& channel = *product.channel(0);
    COrlaNode* node = channel.addNode();
    node->addHartCommand(product.registries(), 3);
    COrlaCommand* dropped = node->addHartCommand(product.registries(), 48);
    ASSERT_TRUE(node->removeCommand(dropped));
    EXPECT_EQ(product.releaseUnused(), 1 + itemsPerCommand);

    ASSERT_TRUE(channel.removeNode(node));
    {
        HeldNode view(product);
        view.hold(node);
        EXPECT_EQ(product.releaseUnused(), 0u);
        EXPECT_EQ(node->commandAt(0)->commandName(), "Command ID3");
    }
    // The node, its address item and its command with the command's items.
    EXPECT_EQ(product.releaseUnused(), 1 + 1 + 1 + itemsPerCommand);
}

} // namespace
} // namespace korvan
