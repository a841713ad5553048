#include "projectfile/ProjectDocument.h"

#include "os/FileSystem.h"

#include <cstring>
#include <tinyxml2.h>

namespace korvan {
namespace {

// A project of the largest size the gateway takes is a few megabytes; anything far larger
// is not a project file and is refused before it is parsed.
constexpr std::size_t maxProjectFileBytes = 64 * 1024 * 1024;

constexpr const char* projectRootName = "TREVLINK";

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

ProjectDocumentRead refused(LoadStatus status, std::string message) {
    ProjectDocumentRead read;
    read.status = status;
    read.message = std::move(message);
    return read;
}

} // namespace

bool isProjectRoot(const tinyxml2::XMLElement& root) {
    const char* value = root.Attribute("Value");
    return (value != nullptr && std::strcmp(value, projectRootName) == 0) ||
           std::strcmp(root.Name(), projectRootName) == 0;
}

ProjectDocumentRead readProjectDocument(const std::string& path, tinyxml2::XMLDocument& document) {
    const os::FileContents contents = os::readWholeFile(path, maxProjectFileBytes);
    if (!contents.error.empty())
        return refused(LoadStatus::Unreadable, "Cannot open \"" + path + "\": " + contents.error + ".");
    document.Parse(contents.bytes.data(), contents.bytes.size());
    if (document.Error())
        return refused(LoadStatus::NotParsed, parseFailureMessage(path, document));
    const tinyxml2::XMLElement* root = document.RootElement();
    if (root == nullptr)
        return refused(LoadStatus::NotParsed, "Cannot open \"" + path + "\": it holds no XML element.");
    if (!isProjectRoot(*root))
        return refused(LoadStatus::NotParsed,
                       "Cannot open \"" + path + "\": it holds no Korvan project (its root element is <" +
                           std::string(root->Name()) + ">, a project's is <" + projectRootName + ">).");
    ProjectDocumentRead read;
    read.root = root;
    read.status = LoadStatus::Loaded;
    return read;
}

} // namespace korvan
