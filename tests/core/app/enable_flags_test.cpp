#include "app/AppState.h"
#include "app/EnableFlags.h"

#include <gtest/gtest.h>

namespace korvan {
namespace {

using namespace enable_flags;

struct Offered {
    int download, upload, memory, diagnose, serialDebug;
    bool operator==(const Offered&) const = default;
};

Offered offered(const AppState& state) {
    return {state.canDownload, state.canUpload, state.canShowMemory, state.canDiagnose, state.canSerialDebug};
}

TEST(EnableFlags, ConfigOffersTransfersAndDebugOffersTheTools) {
    AppState state;
    newProjectCreated(state);
    projectTreeReset(state);
    EXPECT_EQ(offered(state), (Offered{1, 1, 0, 0, 0}));
    EXPECT_EQ(state.mode, WorkMode::Config);

    debugModeChosen(state);
    EXPECT_EQ(state.mode, WorkMode::Debug);
    EXPECT_EQ(offered(state), (Offered{0, 0, 1, 1, 0}));
    state.serialDebugAllowed = 1;
    debugModeChosen(state);
    EXPECT_EQ(offered(state), (Offered{0, 0, 1, 1, 1}));

    configModeChosen(state);
    EXPECT_EQ(offered(state), (Offered{1, 1, 0, 0, 0}));
}

TEST(EnableFlags, AnOpenToolClosesTheOthersAndOnlyOpensWhenOffered) {
    AppState state;
    state.serialDebugAllowed = 1;
    debugModeChosen(state);
    EXPECT_TRUE(openDiagnose(state));
    EXPECT_EQ(offered(state), (Offered{0, 0, 0, 1, 0}));
    EXPECT_FALSE(openMemoryDisplay(state));
    EXPECT_FALSE(openSerialDebug(state));

    debugModeChosen(state);
    EXPECT_TRUE(openSerialDebug(state));
    EXPECT_EQ(offered(state), (Offered{0, 0, 0, 0, 1}));
}

TEST(EnableFlags, TheDownloadDialogRestoresConfigOnlyInConfigMode) {
    AppState state;
    debugModeChosen(state);
    downloadDialogClosed(state);
    EXPECT_EQ(offered(state), (Offered{0, 0, 1, 1, 0}));
    configModeChosen(state);
    state.canDownload = 0;
    downloadDialogClosed(state);
    EXPECT_EQ(offered(state), (Offered{1, 1, 0, 0, 0}));
}

TEST(EnableFlags, UploadOverEthernetLocksTheModeSwitchAndTreeSelectionGoesSerial) {
    AppState state;
    state.canSelectMode = 1;
    state.canDiagnose = 1;
    state.linkKind = LinkKind::Ethernet;
    uploadStarted(state);
    EXPECT_EQ(state.canSelectMode, 0);
    EXPECT_EQ(state.canDiagnose, 0);
    treeSelectionChanged(state);
    EXPECT_EQ(state.linkKind, LinkKind::Serial);
    uploadStarted(state);
    EXPECT_EQ(state.canSelectMode, 1);
}

TEST(EnableFlags, ClosingADebugToolOffersTheOthersAgainInDebugMode) {
    AppState state;
    state.serialDebugAllowed = 1;
    debugModeChosen(state);
    EXPECT_TRUE(openMemoryDisplay(state));
    memoryDisplayClosed(state);
    EXPECT_EQ(offered(state), (Offered{0, 0, 1, 1, 1}));
    EXPECT_TRUE(openSerialDebug(state));
    serialDebugClosed(state);
    EXPECT_EQ(offered(state), (Offered{0, 0, 1, 1, 1}));

    configModeChosen(state);
    memoryDisplayClosed(state);
    serialDebugClosed(state);
    EXPECT_EQ(offered(state), (Offered{1, 1, 0, 0, 0}));

    state.canSelectMode = 0;
    memoryDisplaySearchCancelled(state);
    EXPECT_EQ(state.canSelectMode, 1);
    EXPECT_EQ(offered(state), (Offered{1, 1, 1, 1, 1}));
}

} // namespace
} // namespace korvan
