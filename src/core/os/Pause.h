#pragma once

namespace korvan::os {

// Blocks the calling thread: the gateway protocol's own waits between frames.
void pauseMilliseconds(int milliseconds);

} // namespace korvan::os
