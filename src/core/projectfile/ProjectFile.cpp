#include "projectfile/ProjectFile.h"

#include "model/CHartbus.h"
#include "model/COrlaNode.h"
#include "model/CProductTarn.h"
#include "model/CProfilebus.h"
#include "os/Clock.h"
#include "os/FileSystem.h"
#include "os/FreedMemory.h"
#include "projectfile/ProjectDocument.h"
#include "projectfile/ProjectFileReader.h"
#include "projectfile/ProjectFileWriter.h"

#include <algorithm>
#include <tinyxml2.h>
#include <vector>

namespace korvan {
namespace {

bool holdsCommands(const CHartbus& channel) {
    for (const PtrList<COrlaNode>* nodes : {&channel.pointToPointNodes(), &channel.multiDropNodes()})
        for (const COrlaNode* node : *nodes)
            if (node->commandCount() > 0)
                return true;
    return false;
}

LoadResult failure(LoadStatus status, std::string message) {
    LoadResult result;
    result.status = status;
    result.message = std::move(message);
    return result;
}

// Everything is read into fresh objects; the product takes them over only once the whole
// file has been read and fits the model.
LoadResult readIntoProduct(CProductTarn& product, const tinyxml2::XMLElement& root, const std::string& path) {
    ObjectRegistries& registries = product.registries();
    ProjectFileReader reader(registries, ProjectFileReader::versionOf(root));
    CProfilebus networkSide(registries);
    networkSide.setGatewayModel(product.gatewayModel());
    networkSide.initialise();
    networkSide.setMode(product.networkBus().mode());
    reader.readNetworkSide(root, networkSide);
    if (!protocolFitsModel(networkSide.mode(), product.gatewayModel())) {
        LoadResult mismatch = failure(LoadStatus::ModelMismatch, std::string(protocolMismatchMessage));
        if (isTcpModel(product.gatewayModel()))
            mismatch.linkKind = LinkKind::Ethernet;
        return mismatch;
    }

    std::vector<std::pair<CHartbus*, CHartbus*>> channels;
    for (CHartbus* channel : product.channels()) {
        CHartbus* staged = registries.channels().create(registries);
        staged->setChannelIndex(channel->channelIndex());
        staged->setMode(channel->mode());
        reader.readChannel(root, *staged);
        channels.emplace_back(channel, staged);
    }
    if (!reader.damage().empty())
        return failure(LoadStatus::Damaged, "Cannot open \"" + path + "\": " + reader.damage() + ".");

    product.networkBus().swapContents(networkSide);
    for (auto& [channel, staged] : channels)
        channel->swapContents(*staged);
    FileFormatState& format = product.fileFormat();
    format.fileVersion = ProjectFileReader::versionOf(root);
    // A first-generation command whose node the channel could not place was read but is not
    // kept: only the commands the project holds make it a first-generation project, or its
    // next save would say a generation that opening it again does not.
    if (reader.readFirstGeneration() && std::any_of(channels.begin(), channels.end(), [](const auto& pair) {
            return holdsCommands(*pair.first);
        }))
        format.generation = 1;
    LoadResult loaded;
    loaded.status = LoadStatus::Loaded;
    loaded.serialDebugAllowed = product.networkBus().mode() == ModbusSlaveMode;
    if (product.networkBus().mode() == ModbusTcpMode)
        loaded.linkKind = LinkKind::Ethernet;
    return loaded;
}

} // namespace

SaveResult saveToFile(const CProductTarn& product, const std::string& path) {
    const std::string document = writeProjectDocument(product, os::localDateTimeText());
    if (const std::string error = os::replaceFileAtomically(path, document); !error.empty())
        return SaveResult{false, "Cannot save the project to \"" + path + "\": " + error + "."};
    return SaveResult{true, {}};
}

namespace {

LoadResult readProjectFile(CProductTarn& product, const std::string& path) {
    tinyxml2::XMLDocument document;
    const ProjectDocumentRead read = readProjectDocument(path, document);
    if (read.root == nullptr)
        return failure(read.status, read.message);

    const LoadResult result = readIntoProduct(product, *read.root, path);
    // The contents a load replaced, or all it read when it was refused, are freed at once.
    product.releaseUnused();
    return result;
}

} // namespace

LoadResult loadFromFile(CProductTarn& product, Prompt&, const std::string& path) {
    LoadResult result = readProjectFile(product, path);
    // The file's text, its parsed document and the replaced project are gone by now.
    os::returnFreedMemory();
    return result;
}

} // namespace korvan
