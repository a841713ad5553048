#include "ProjectChecks.h"

#include "Failure.h"
#include "QuietPrompt.h"
#include "WorkFolder.h"
#include "app/AppState.h"
#include "app/ProjectLoad.h"
#include "app/StartSequence.h"
#include "model/CProductTarn.h"
#include "projectfile/ProjectFile.h"
#include "projectfile/ProjectFileWriter.h"

namespace korvan::fuzz {
namespace {

constexpr std::string_view reopenCheck = "reopen-same-bytes";

} // namespace

GatewayModel modelFromByte(std::uint8_t byte) {
    return fuzzModels[byte % std::size(fuzzModels)];
}

std::string projectText(const CProductTarn& product) {
    return writeProjectDocument(product, "2026-01-01 00:00:00");
}

void expectSameAfterReopen(const CProductTarn& product, std::string_view what) {
    const WorkFolder& folder = WorkFolder::instance();
    folder.empty();
    const std::string path = folder.file("saved.xml");
    if (const SaveResult saved = saveToFile(product, path); !saved.ok)
        fail(std::string(what) + ": the project saves", saved.message);
    if (const std::string files = folder.listing(); files != "saved.xml\n")
        failDifferent(std::string(what) + ": a save leaves the project file and nothing else", "saved.xml\n",
                      files);

    AppState state;
    CProductTarn reopened;
    QuietPrompt prompt;
    startProduct(state, reopened, product.gatewayModel());
    if (const LoadResult loaded = loadProject(reopened, state, prompt, path); !loaded.ok())
        fail(std::string(what) + ": the saved project opens again", loaded.message);
    const std::string before = projectText(product);
    const std::string after = projectText(reopened);
    if (before != after && !knownFaultOpen(reopenCheck))
        failDifferent(std::string(what) + ": a saved and reopened project saves the same bytes", before,
                      after, reopenCheck);
}

} // namespace korvan::fuzz
