#include "app/AppState.h"
#include "app/ParameterGrid.h"
#include "app/ProjectDocument.h"
#include "app/ProjectTreeEditor.h"
#include "app/StartSequence.h"
#include "model/CHartbus.h"
#include "model/COrlaCommand.h"
#include "model/COrlaItem.h"
#include "model/COrlaNode.h"
#include "model/CProductTarn.h"
#include "model/CommandItems.h"
#include "projectfile/ProjectFile.h"
#include "support/SampleProjects.h"
#include "support/ScriptedPrompt.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

namespace korvan {
namespace {

using namespace command_item;

// The tree's selection and the grid's rows point into the open project. A New or an Open
// replaces the project under them before the views follow: what they show must stay alive
// until they let go of it, and be freed by the next replacement after that.
class ReplacedProject : public ::testing::Test {
protected:
    ReplacedProject()
        : document(product, state, prompt), editor(product, state, prompt),
          grid(product, state, prompt, document.advancedSelection()) {
        startProduct(state, product, GatewayModel::Vela3hTcp);
        EXPECT_TRUE(document.newProject());
        test::fillSampleProject(product);
    }

    // The views follow the new project.
    void followTheNewProject() {
        editor.resetSelection();
        grid.clear();
    }

    test::TempDir folder;
    AppState state;
    CProductTarn product;
    test::ScriptedPrompt prompt;
    ProjectDocument document;
    ProjectTreeEditor editor;
    ParameterGrid grid;
};

TEST_F(ReplacedProject, NewKeepsTheShownCommandUntilTheViewsLetGo) {
    CHartbus* channel = product.channel(0);
    COrlaNode* node = channel->currentNodes().front();
    COrlaCommand* command = node->commandAt(0);
    const TreeTag tag{TreeItemKind::Command, nullptr, channel, node, command};
    editor.select(tag, command->commandName());
    grid.show(tag, command->commandName());

    ASSERT_TRUE(document.newProject());
    EXPECT_TRUE(product.channel(0)->currentNodes().empty());
    ASSERT_EQ(editor.selection()->command, command);
    EXPECT_EQ(editor.selection()->channel->busName(), "Channel1");
    EXPECT_EQ(grid.rows().at(ReceiveLengthBytes).value, "24");
    ASSERT_EQ(grid.clickCell(static_cast<int>(ReceiveLengthBytes), 1), CellAction::EditText);
    EXPECT_EQ(grid.commitText("12"), ResultCode::Success);
    EXPECT_EQ(command->itemAt(ReceiveLengthWords)->value(), "6");

    followTheNewProject();
    prompt.answerNext(Answer::No); // the edit made the project dirty: it is not saved
    ASSERT_TRUE(document.newProject());
    CProductTarn fresh;
    fresh.build(GatewayModel::Vela3hTcp);
    EXPECT_EQ(product.registries().objectCount(), fresh.registries().objectCount());
}

TEST_F(ReplacedProject, OpenKeepsTheShownDeviceAndTheNetworkSideRowsUntilTheViewsLetGo) {
    const std::string path = folder.file("p.xml");
    ASSERT_TRUE(saveToFile(product, path).ok);
    ASSERT_TRUE(document.openProject(path));
    followTheNewProject();
    ASSERT_TRUE(document.openProject(path));
    const std::size_t oneProject = product.registries().objectCount();

    CHartbus* channel = product.channel(0);
    COrlaNode* device = channel->currentNodes().front();
    const TreeTag deviceTag{TreeItemKind::Node, nullptr, channel, device, nullptr};
    editor.select(deviceTag, device->nodeName());
    grid.show(deviceTag, device->nodeName());
    ParameterGrid networkGrid(product, state, prompt, document.advancedSelection());
    networkGrid.show({TreeItemKind::NetworkBus, &product.networkBus(), nullptr, nullptr, nullptr},
                     "Fieldbus");
    ASSERT_TRUE(document.openProject(path));
    EXPECT_NE(product.channel(0)->currentNodes().front(), device);
    EXPECT_EQ(editor.selection()->node, device);
    EXPECT_EQ(device->commandAt(1)->commandName(), "Command ID9");
    EXPECT_EQ(grid.rows().at(0).item->value(), "0");
    EXPECT_EQ(networkGrid.rows().at(2).item->value(), "10.1.2.3");

    followTheNewProject();
    networkGrid.clear();
    ASSERT_TRUE(document.openProject(path));
    EXPECT_EQ(product.registries().objectCount(), oneProject);
}

} // namespace
} // namespace korvan
