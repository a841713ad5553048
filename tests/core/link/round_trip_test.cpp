#include "link/ConfigurationDownload.h"
#include "link/ConfigurationUpload.h"
#include "link/SerialGatewayLink.h"
#include "link/TcpGatewayLink.h"
#include "model/CProductTarn.h"
#include "support/LinkProjects.h"
#include "support/ScriptedPrompt.h"
#include "support/SimulatorRun.h"

#include <memory>

namespace korvan {
namespace {

struct RoundTrip {
    GatewayModel model;
    bool serial;
};

std::string caseName(const testing::TestParamInfo<RoundTrip>& info) {
    std::string name(modelName(info.param.model));
    std::erase(name, '-');
    return name + (info.param.serial ? "OverPty" : "OverTcp");
}

class DownloadThenUpload : public testing::TestWithParam<RoundTrip> {};

TEST_P(DownloadThenUpload, GivesBackTheProject) {
    const RoundTrip param = GetParam();
    sim::SimOptions options;
    options.model = param.model;
    options.pseudoTerminal = param.serial;
    test::SimulatorRun run(options);
    auto makeLink = [&]() -> std::unique_ptr<GatewayLink> {
        if (param.serial)
            return std::make_unique<SerialGatewayLink>(run.ptyPath());
        return std::make_unique<TcpGatewayLink>(run.settings());
    };

    CProductTarn original;
    original.build(param.model);
    test::fillRoundTripProject(original);
    test::ScriptedPrompt prompt;
    {
        auto link = makeLink();
        ASSERT_EQ(link->open(), ResultCode::Success);
        ConfigurationDownload download(original, *link, prompt);
        ASSERT_EQ(download.downloadAll().code, ResultCode::Success);
    }
    CProductTarn uploaded;
    uploaded.build(param.model);
    {
        auto link = makeLink();
        ASSERT_EQ(link->open(), ResultCode::Success);
        ConfigurationUpload upload(uploaded, *link, prompt);
        ASSERT_EQ(upload.uploadAll().code, ResultCode::Success);
    }
    // The network side travels as its own link's block: Ethernet parameters over TCP on the
    // TCP models, the serial block on the serial model's line.
    const bool nativeLink = param.serial == (param.model == GatewayModel::Vela3hRtu);
    EXPECT_EQ(test::describeDownloaded(uploaded, nativeLink), test::describeDownloaded(original, nativeLink));
    EXPECT_NE(test::describeDownloaded(uploaded, false).find("segment offset=2 length=2"), std::string::npos);
    EXPECT_EQ(prompt.shown,
              (std::vector<std::string>{"Download succeeded, whether to conduct remote reset?"}));
}

INSTANTIATE_TEST_SUITE_P(
    AllModelsAndLinks, DownloadThenUpload,
    // The serial model over TCP is not here: the Ethernet block is Modbus TCP, which that model
    // cannot open, so its upload is refused (upload_test.cpp, OtherProtocolIsRefused).
    testing::Values(RoundTrip{GatewayModel::Vela1hTcp, false}, RoundTrip{GatewayModel::Vela3hTcp, false},
                    RoundTrip{GatewayModel::Vela1hTcp, true}, RoundTrip{GatewayModel::Vela3hTcp, true},
                    RoundTrip{GatewayModel::Vela3hRtu, true}),
    caseName);

} // namespace
} // namespace korvan
