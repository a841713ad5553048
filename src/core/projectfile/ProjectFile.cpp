#include "projectfile/ProjectFile.h"

#include "model/CHartbus.h"
#include "model/CProductTarn.h"
#include "model/CProfilebus.h"
#include "os/Clock.h"
#include "os/FileSystem.h"
#include "os/FreedMemory.h"
#include "projectfile/ProjectFileReader.h"
#include "projectfile/ProjectFileWriter.h"

#include <tinyxml2.h>
#include <vector>

namespace korvan {
namespace {

// A project of the largest size the gateway takes is a few megabytes; anything far larger
// is not a project file and is refused before it is parsed.
constexpr std::size_t maxProjectFileBytes = 64 * 1024 * 1024;

std::string parseFailureMessage(const std::string& path, const tinyxml2::XMLDocument& document) {
    std::string reason;
    switch (document.ErrorID()) {
    case tinyxml2::XML_ERROR_EMPTY_DOCUMENT:
        reason = "it is empty";
        break;
    case tinyxml2::XML_ELEMENT_DEPTH_EXCEEDED:
        reason = "its elements are nested too deeply (line " + std::to_string(document.ErrorLineNum()) + ")";
        break;
    default:
        reason = "it is not well-formed XML (line " + std::to_string(document.ErrorLineNum()) + ")";
        break;
    }
    return "Cannot open \"" + path + "\": " + reason + ".";
}

LoadResult failure(LoadStatus status, std::string message) {
    LoadResult result;
    result.status = status;
    result.message = std::move(message);
    return result;
}

// Everything is read into fresh objects; the product takes them over only once the whole
// file has been read and fits the model.
LoadResult readIntoProduct(CProductTarn& product, const tinyxml2::XMLElement& root) {
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

    product.networkBus().swapContents(networkSide);
    for (auto& [channel, staged] : channels)
        channel->swapContents(*staged);
    FileFormatState& format = product.fileFormat();
    format.fileVersion = ProjectFileReader::versionOf(root);
    if (reader.readFirstGeneration())
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
    const os::FileContents contents = os::readWholeFile(path, maxProjectFileBytes);
    if (!contents.error.empty())
        return failure(LoadStatus::Unreadable, "Cannot open \"" + path + "\": " + contents.error + ".");

    tinyxml2::XMLDocument document;
    document.Parse(contents.bytes.data(), contents.bytes.size());
    if (document.Error())
        return failure(LoadStatus::NotParsed, parseFailureMessage(path, document));
    const tinyxml2::XMLElement* root = document.RootElement();
    if (root == nullptr)
        return failure(LoadStatus::NotParsed, "Cannot open \"" + path + "\": it holds no XML element.");

    const LoadResult result = readIntoProduct(product, *root);
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
