// An upload from a gateway that answers with the fuzzer's bytes. The first byte picks the
// model (over Ethernet for the TCP models, the serial line for the RTU); every exchange then
// takes the next slice as its answer (see support/FuzzInput.h). The open project is the
// model's template. Besides the sanitizers' findings it fails when a failed upload changes
// the open project, and when an uploaded project, saved and reopened, does not save the same
// bytes.
#include "app/AppState.h"
#include "app/StartSequence.h"
#include "app/TransferRun.h"
#include "model/CProductTarn.h"
#include "support/Failure.h"
#include "support/FuzzInput.h"
#include "support/ProjectChecks.h"
#include "support/QuietPrompt.h"
#include "support/SlicedAnswerLink.h"

#include <cstddef>
#include <cstdint>
#include <string>

namespace korvan::fuzz {
namespace {

void uploadInto(GatewayModel model, FuzzInput& input) {
    AppState state;
    CProductTarn product;
    QuietPrompt prompt;
    startProduct(state, product, model);
    const std::string templatePath = programFile(templateFileName(model));
    if (!loadModelTemplate(product, state, prompt, templatePath))
        fail("the model's template opens", templatePath);
    const std::string open = projectText(product);

    SlicedAnswerLink link(input, isTcpModel(model));
    const TransferOutcome outcome = runUpload(product, state, link, prompt);
    if (outcome.end != TransferEnd::Done) {
        expect(!state.projectDirty, "a failed upload leaves the project unchanged");
        const std::string after = projectText(product);
        if (after != open)
            failDifferent("a failed upload keeps the open project", open, after);
        return;
    }
    expect(state.projectDirty, "an uploaded project is marked changed");
    expectSameAfterReopen(product, "uploaded project");
}

} // namespace
} // namespace korvan::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    korvan::fuzz::FuzzInput input(data, size);
    const korvan::GatewayModel model = korvan::fuzz::modelFromByte(input.byte());
    korvan::fuzz::uploadInto(model, input);
    return 0;
}
