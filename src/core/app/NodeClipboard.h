#pragma once

#include <string>
#include <vector>

namespace korvan {

class COrlaNode;
class ObjectRegistries;

// The Copy Node clipboard: the copied node's number and, per command, the texts that recreate
// it. It lives for the whole run, so a node can be pasted into a later project.
class NodeClipboard {
public:
    struct Segment {
        std::string offset;
        std::string enabled; // "1" or "0"
        std::string swap;    // "1" or "0"
        std::string address;
        std::string length;
    };
    struct Command {
        unsigned number = 0;
        std::vector<std::string> basicValues; // items 0 to 10
        std::string segmentCount;
        std::vector<Segment> segments;
    };

    // The channel's command total beyond which a paste stops adding commands.
    static constexpr int PasteCommandLimit = 100;

    [[nodiscard]] bool hasNode() const { return copiedNode_ != -1; }
    [[nodiscard]] int copiedNode() const { return copiedNode_; }
    [[nodiscard]] const std::vector<Command>& commands() const { return commands_; }

    // Takes the number from the node's label ("Node(" and the address) and its commands.
    void copy(const COrlaNode& node, const std::string& label);
    // Recreates the copied commands on the new node while the channel's running total stays
    // within the limit; answers how many were pasted.
    int pasteInto(COrlaNode& node, ObjectRegistries& registries, int channelCommandTotal) const;

private:
    int copiedNode_ = -1;
    std::vector<Command> commands_;
};

} // namespace korvan
