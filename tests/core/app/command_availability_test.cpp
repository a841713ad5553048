#include "app/AppState.h"
#include "app/CommandAvailability.h"
#include "app/EnableFlags.h"

#include <gtest/gtest.h>

namespace korvan {
namespace {

struct Offered {
    bool serialSetting, ethernetConfig, upload, download, selectMode, showMemory, diagnose, serialDebug;
    bool operator==(const Offered&) const = default;
};

Offered offered(const CommandAvailability& a) {
    return {a.serialSetting, a.ethernetConfig, a.upload,   a.download,
            a.selectMode,    a.showMemory,     a.diagnose, a.serialDebug};
}

TEST(CommandAvailability, FollowsTheModelTheModeAndTheFlags) {
    const struct {
        GatewayModel model;
        WorkMode mode;
        Offered expected;
    } cases[] = {
        {GatewayModel::Vela3hRtu, WorkMode::Config, {1, 0, 1, 1, 1, 0, 0, 0}},
        {GatewayModel::Vela3hRtu, WorkMode::Debug, {1, 0, 0, 0, 1, 1, 1, 1}},
        {GatewayModel::Vela3hTcp, WorkMode::Config, {0, 1, 1, 1, 1, 0, 0, 0}},
        // The serial debugging assistant is for the serial model only, even in Debug mode.
        {GatewayModel::Vela3hTcp, WorkMode::Debug, {0, 1, 0, 0, 1, 1, 1, 0}},
        {GatewayModel::Vela1hTcp, WorkMode::Config, {0, 1, 1, 1, 1, 0, 0, 0}},
        {GatewayModel::Vela1hTcp, WorkMode::Debug, {0, 1, 0, 0, 1, 1, 1, 0}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(modelName(c.model)) + (c.mode == WorkMode::Debug ? " Debug" : " Config"));
        AppState state;
        state.model = c.model;
        state.serialDebugAllowed = true;
        enable_flags::newProjectCreated(state);
        enable_flags::projectTreeReset(state);
        if (c.mode == WorkMode::Debug)
            enable_flags::debugModeChosen(state);
        EXPECT_EQ(offered(commandAvailability(state, {})), c.expected);
    }
}

TEST(CommandAvailability, SerialDebuggingNeedsTheFlagAndTheTreeCommandsPassThrough) {
    AppState state;
    state.model = GatewayModel::Vela3hRtu;
    state.serialDebugAllowed = false;
    enable_flags::debugModeChosen(state);
    EXPECT_FALSE(commandAvailability(state, {}).serialDebug);

    TreeEnableFlags tree;
    tree.addCommand = true;
    tree.pasteNode = true;
    EXPECT_EQ(commandAvailability(state, tree).tree, tree);
}

TEST(CommandAvailability, NothingConditionalIsOfferedBeforeTheFirstProject) {
    AppState state;
    state.model = GatewayModel::Vela1hTcp;
    EXPECT_EQ(offered(commandAvailability(state, {})), (Offered{0, 1, 0, 0, 0, 0, 0, 0}));
}

} // namespace
} // namespace korvan
