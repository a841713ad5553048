#pragma once

#include "link/ConfigurationFrames.h"
#include "link/SegmentTable.h"

#include <string>
#include <vector>

namespace korvan {

class CHartbus;
class COrlaCommand;
class ObjectRegistries;

// Rebuilds one uploaded command in the channel: the node with the record's address (created
// when missing), then a new HART command appended to it with the record's values and its
// sequence number as lookup key. The node lives in the list that holds its address, address
// 0 point-to-point and every other multi-drop, whatever the channel's mode: a node outside
// the current mode's list is one the upload reports (misplacedNodes). A command without
// request data gets send length 0, as the loader gives it. A channel in neither network
// mode rebuilds nothing and answers null.
COrlaCommand* restoreBasicCommand(CHartbus& channel, ObjectRegistries& registries,
                                  const CommandFields& record);
// The same, then the configuration mode and the segment records: "Advanced" with n above 0,
// "Basic" otherwise.
COrlaCommand* restoreAdvancedCommand(CHartbus& channel, ObjectRegistries& registries,
                                     const CommandFields& record, std::span<const SegmentRecord> segments);

// The messages for the nodes an upload put outside the channel's current mode: one per node,
// naming the channel, the node and its address. Empty when every node fits the mode.
[[nodiscard]] std::vector<std::string> misplacedNodes(const CHartbus& channel);

} // namespace korvan
