#include "app/AppState.h"
#include "app/TransferRun.h"
#include "link/ConfigurationDownload.h"
#include "link/SerialGatewayLink.h"
#include "link/TcpGatewayLink.h"
#include "model/CProductTarn.h"
#include "model/ProjectTreeItem.h"
#include "projectfile/ProjectFileWriter.h"
#include "support/LinkProjects.h"
#include "support/ProductDescription.h"
#include "support/SampleProjects.h"
#include "support/ScriptedPrompt.h"
#include "support/SimulatorRun.h"

#include <memory>

namespace korvan {
namespace {

enum class Line { Tcp, Pty };

enum class Fault { SilentFrom, BadChecksum, Truncated, Rubbish, EarlyClose, LateAnswer, Refused, NoSuchPort };

// An upload the gateway breaks off: the fault, the exchange of the upload it hits (counted
// from the upload's first) and the result the upload ends with.
struct FailedUpload {
    const char* name;
    Line line;
    Fault fault;
    int at;
    ResultCode code;
};

GatewayModel modelOn(Line line) {
    return line == Line::Tcp ? GatewayModel::Vela3hTcp : GatewayModel::Vela3hRtu;
}

sim::SimOptions simulatorOn(Line line) {
    sim::SimOptions options;
    options.model = modelOn(line);
    options.pseudoTerminal = line == Line::Pty;
    return options;
}

std::unique_ptr<GatewayLink> linkTo(const test::SimulatorRun& run, Line line) {
    if (line == Line::Pty)
        return std::make_unique<SerialGatewayLink>(run.ptyPath());
    return std::make_unique<TcpGatewayLink>(run.settings());
}

// Writes the gateway's configuration, the round-trip project, into the simulator; answers
// how many exchanges the simulator has counted since it started. The download goes over TCP
// whatever line the upload then takes: the simulator keeps what it was given on either.
int downloadConfiguration(test::SimulatorRun& run, Line line) {
    CProductTarn configuration;
    configuration.build(modelOn(line));
    test::fillRoundTripProject(configuration);
    test::ScriptedPrompt prompt;
    TcpGatewayLink link(run.settings());
    EXPECT_EQ(ConfigurationDownload(configuration, link, prompt).downloadAll().code, ResultCode::Success);
    return static_cast<int>(run.simulator().frames().size());
}

// The exchanges the download takes, counted on a simulator without faults, so that a fault
// can be placed on an exchange of the upload that follows it.
int downloadExchanges(Line line) {
    test::SimulatorRun clean(simulatorOn(line));
    return downloadConfiguration(clean, line);
}

sim::FaultPlan faultsFor(const FailedUpload& upload, int downloaded) {
    sim::FaultPlan faults;
    const int exchange = downloaded + upload.at;
    switch (upload.fault) {
    case Fault::SilentFrom:
        faults.silentFrom = exchange;
        break;
    case Fault::BadChecksum:
        faults.badChecksumAt = exchange;
        break;
    case Fault::Truncated:
        faults.truncateAt = exchange;
        break;
    case Fault::Rubbish:
        faults.garbageAt = exchange;
        break;
    case Fault::EarlyClose:
        faults.closeAt = exchange;
        break;
    case Fault::LateAnswer:
        faults.lateAt = exchange;
        break;
    case Fault::Refused:
        faults.refuseConnections = true;
        break;
    case Fault::NoSuchPort:
        break;
    }
    return faults;
}

void collectTags(const std::vector<ProjectTreeItem>& items, std::vector<TreeTag>& tags) {
    for (const ProjectTreeItem& item : items) {
        tags.push_back(item.tag);
        collectTags(item.children, tags);
    }
}

// The open project as far as anyone can tell: its saved file, every stored detail, the
// objects the tree shows (so that a selection in it stays valid), and how many objects its
// registries hold.
struct ProjectSnapshot {
    std::string file;
    std::string description;
    std::vector<TreeTag> tags;
    std::size_t objects = 0;
};

ProjectSnapshot snapshotOf(CProductTarn& product) {
    ProjectSnapshot snapshot;
    snapshot.file = writeProjectDocument(product, "2026-01-01 00:00:00");
    snapshot.description = test::describeProduct(product);
    collectTags(buildProjectTree(product), snapshot.tags);
    snapshot.objects = product.registries().objectCount();
    return snapshot;
}

class FailedUploadKeepsTheProject : public testing::TestWithParam<FailedUpload> {};

// The engineer's unsaved project is open while the gateway holds another configuration; the
// gateway breaks the upload off somewhere along the way.
TEST_P(FailedUploadKeepsTheProject, AsItWas) {
    const FailedUpload& upload = GetParam();
    const bool answering = upload.fault != Fault::Refused && upload.fault != Fault::NoSuchPort;
    const int downloaded = answering ? downloadExchanges(upload.line) : 0;
    sim::SimOptions options = simulatorOn(upload.line);
    options.faults = faultsFor(upload, downloaded);
    test::SimulatorRun run(options);
    if (answering) {
        ASSERT_EQ(downloadConfiguration(run, upload.line), downloaded);
    }

    CProductTarn product;
    product.build(modelOn(upload.line));
    test::fillSampleProject(product);
    AppState state;
    state.model = modelOn(upload.line);
    state.projectDirty = true;
    const ProjectSnapshot before = snapshotOf(product);

    const std::unique_ptr<GatewayLink> link =
        upload.fault == Fault::NoSuchPort ? std::make_unique<SerialGatewayLink>("/dev/korvan-no-such-port")
                                          : linkTo(run, upload.line);
    test::ScriptedPrompt prompt;
    const TransferOutcome outcome = runUpload(product, state, *link, prompt);
    EXPECT_NE(outcome.end, TransferEnd::Done);
    EXPECT_EQ(outcome.code, upload.code);

    const ProjectSnapshot after = snapshotOf(product);
    EXPECT_EQ(after.file, before.file);
    EXPECT_EQ(after.description, before.description);
    EXPECT_TRUE(after.tags == before.tags);
    EXPECT_EQ(after.objects, before.objects); // what the upload had read is freed
    EXPECT_TRUE(state.projectDirty);
}

// The upload of the round-trip project over TCP: 1 the network side on the management port,
// 2 channel 1's record, 3-7 its commands (4 Advanced, 5 and 6 its table entry), 8 channel 2's
// record, 9 channel 3's record, 10-14 its commands (12 Advanced, 13 and 14 its table entry).
// Over the pseudo-terminal 1 is the identification and every later exchange one further on.
INSTANTIATE_TEST_SUITE_P(
    Faults, FailedUploadKeepsTheProject,
    testing::Values(
        FailedUpload{"TcpSilentAtTheNetworkSide", Line::Tcp, Fault::SilentFrom, 1, ResultCode::TcpFailure},
        FailedUpload{"TcpSilentFromTheLastChannel", Line::Tcp, Fault::SilentFrom, 9, ResultCode::TcpFailure},
        FailedUpload{"TcpBadChecksumOfAChannelRecord", Line::Tcp, Fault::BadChecksum, 2,
                     ResultCode::UploadCheckError},
        FailedUpload{"TcpBadChecksumOfTheLastAdvancedRecord", Line::Tcp, Fault::BadChecksum, 12,
                     ResultCode::UploadCheckError},
        FailedUpload{"TcpTruncatedTableEntry", Line::Tcp, Fault::Truncated, 14, ResultCode::UploadCheckError},
        FailedUpload{"TcpRubbishForAChannelRecord", Line::Tcp, Fault::Rubbish, 8,
                     ResultCode::UploadCheckError},
        FailedUpload{"TcpEarlyCloseAtACommandRecord", Line::Tcp, Fault::EarlyClose, 11,
                     ResultCode::TcpFailure},
        FailedUpload{"TcpLateChannelRecord", Line::Tcp, Fault::LateAnswer, 8, ResultCode::TcpFailure},
        FailedUpload{"TcpRefusedConnection", Line::Tcp, Fault::Refused, 0, ResultCode::TcpFailure},
        FailedUpload{"PtySilentAtTheNetworkSide", Line::Pty, Fault::SilentFrom, 2,
                     ResultCode::SerialReadFailed},
        FailedUpload{"PtySilentFromTheLastChannel", Line::Pty, Fault::SilentFrom, 10,
                     ResultCode::SerialReadFailed},
        FailedUpload{"PtyRubbishForTheNetworkSide", Line::Pty, Fault::Rubbish, 2,
                     ResultCode::UploadCheckError},
        FailedUpload{"PtyBadChecksumOfAChannelRecord", Line::Pty, Fault::BadChecksum, 3,
                     ResultCode::UploadCheckError},
        FailedUpload{"PtyTruncatedAdvancedRecord", Line::Pty, Fault::Truncated, 13,
                     ResultCode::UploadCheckError},
        FailedUpload{"PtyRubbishForAChannelRecord", Line::Pty, Fault::Rubbish, 9,
                     ResultCode::UploadCheckError},
        FailedUpload{"PtyLateCommandRecord", Line::Pty, Fault::LateAnswer, 4, ResultCode::SerialReadFailed},
        FailedUpload{"PtyNoSuchPort", Line::Pty, Fault::NoSuchPort, 0, ResultCode::OpenPortFailed}),
    [](const testing::TestParamInfo<FailedUpload>& param) { return std::string(param.param.name); });

class UploadOverAFilledProject : public testing::TestWithParam<Line> {};

// The project an upload replaces leaves nothing behind: neither in what the product holds
// nor in its registries.
TEST_P(UploadOverAFilledProject, GivesWhatItGivesOverAnEmptyOne) {
    const Line line = GetParam();
    test::SimulatorRun run(simulatorOn(line));
    downloadConfiguration(run, line);
    const auto uploadInto = [&](CProductTarn& product) {
        AppState state;
        state.model = modelOn(line);
        test::ScriptedPrompt prompt;
        const std::unique_ptr<GatewayLink> link = linkTo(run, line);
        EXPECT_EQ(runUpload(product, state, *link, prompt).end, TransferEnd::Done);
        EXPECT_TRUE(state.projectDirty);
    };
    CProductTarn empty;
    empty.build(modelOn(line));
    uploadInto(empty);
    CProductTarn filled;
    filled.build(modelOn(line));
    test::fillSampleProject(filled);
    uploadInto(filled);
    EXPECT_EQ(test::describeProduct(filled), test::describeProduct(empty));
    EXPECT_EQ(filled.registries().objectCount(), empty.registries().objectCount());
}

INSTANTIATE_TEST_SUITE_P(Lines, UploadOverAFilledProject, testing::Values(Line::Tcp, Line::Pty),
                         [](const testing::TestParamInfo<Line>& param) {
                             return std::string(param.param == Line::Tcp ? "OverTcp" : "OverPty");
                         });

} // namespace
} // namespace korvan
