#pragma once

#include "link/ConfigurationFrames.h"
#include "link/SegmentTable.h"

namespace korvan {

class CHartbus;
class COrlaCommand;
class ObjectRegistries;

// Rebuilds one uploaded command in the channel: the node with the record's address in the
// current mode's list (created when missing), then a new HART command appended to it with
// the record's values and its sequence number as lookup key. A channel in neither network
// mode rebuilds nothing and answers null.
COrlaCommand* restoreBasicCommand(CHartbus& channel, ObjectRegistries& registries,
                                  const CommandFields& record);
// The same, then the configuration mode and the segment records: "Advanced" with n above 0,
// "Basic" otherwise.
COrlaCommand* restoreAdvancedCommand(CHartbus& channel, ObjectRegistries& registries,
                                     const CommandFields& record, std::span<const SegmentRecord> segments);

} // namespace korvan
