#pragma once

#include "model/GatewayModel.h"

#include <string>

namespace tinyxml2 {
class XMLElement;
}

namespace korvan {

class CHartbus;
class COrlaItem;
class COrlaNode;
class CProfilebus;
class ObjectRegistries;

// Reads the elements of a parsed project document into fresh model objects. Elements are
// found by their position among their siblings or by their Value, never by their tag, and
// each step stops quietly at the first element it needs that is missing.
class ProjectFileReader {
public:
    // `fileVersion` is the document's format generation ("1.0.0.0" or "2.0.0.0").
    ProjectFileReader(ObjectRegistries& registries, std::string fileVersion);

    // The version text of a document: the fifth child of the root's first child.
    [[nodiscard]] static std::string versionOf(const tinyxml2::XMLElement& root);

    COrlaItem* readItem(const tinyxml2::XMLElement& element);
    COrlaNode* readNode(const tinyxml2::XMLElement& element);
    // Fills an empty channel from the root's child whose Value is the channel's name.
    void readChannel(const tinyxml2::XMLElement& root, CHartbus& channel);
    // Fills the network side, whose lists are emptied first, from the root's "Profibus" child.
    void readNetworkSide(const tinyxml2::XMLElement& root, CProfilebus& bus);

    // True once a command was read as a first-generation command.
    [[nodiscard]] bool readFirstGeneration() const { return readFirstGeneration_; }
    // What makes the file unfit to open, told in words ("the command ... lists 9 of its 11
    // items"); empty when nothing does.
    [[nodiscard]] const std::string& damage() const { return damage_; }

private:
    void readCommandItems(const tinyxml2::XMLElement& itemList, unsigned hartCommand,
                          class COrlaCommand& command);
    void readSegment(const tinyxml2::XMLElement& element, COrlaItem& record);

    ObjectRegistries& registries_;
    std::string fileVersion_;
    bool readFirstGeneration_ = false;
    std::string damage_;
};

} // namespace korvan
