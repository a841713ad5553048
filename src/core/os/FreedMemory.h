#pragma once

namespace korvan::os {

// Gives the memory the allocator holds free back to the system. A load or an upload frees a
// whole project at once; without this the process keeps the peak of every load for the rest
// of the run, although nothing uses it.
void returnFreedMemory();

} // namespace korvan::os
