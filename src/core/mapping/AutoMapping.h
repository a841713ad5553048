#pragma once

namespace korvan {

class CHartbus;
class COrlaCommand;
class COrlaNode;
class CProductTarn;
class Prompt;

// The running addresses of one automatic mapping run, shared by all channels.
struct MappingCounters {
    int nextSend = 3000;
    int nextReceive = 0;
};

// Tool / Auto Mapping: asks "Whether auto mapping address?" and, on Yes only, lays out every
// command of every HART channel one after another in both memories, then reports
// "Automatic mapping is done!". Answers whether the mapping ran. The caller first takes the
// view back to its first layout so that no edit is pending; the dirty flag is not set.
bool autoMapAddresses(CProductTarn& product, Prompt& prompt);

// Channel mapping: every node of the current network mode, then the overflow checks on the
// running counters. False after an overflow message.
bool mapChannel(CHartbus& channel, MappingCounters& counters, Prompt& prompt);

// Command mapping of every command of the node in list order.
void mapCommands(COrlaNode& node, MappingCounters& counters, Prompt& prompt);

// Command mapping: writes the counters as the command's start addresses with their register
// starts and word lengths, then moves the counters on by its data. No alignment: an odd
// length makes the next command start at an odd address.
void mapAddresses(COrlaCommand& command, MappingCounters& counters, Prompt& prompt);

} // namespace korvan
