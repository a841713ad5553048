#include "os/FreedMemory.h"

#include <malloc.h>

namespace korvan::os {

void returnFreedMemory() {
#if defined(__GLIBC__)
    ::malloc_trim(0);
#endif
}

} // namespace korvan::os
