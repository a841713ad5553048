#include "os/Pause.h"

#include <chrono>
#include <thread>

namespace korvan::os {

void pauseMilliseconds(int milliseconds) {
    if (milliseconds > 0)
        std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

} // namespace korvan::os
