#include "os/DynamicLibrary.h"

#include <cstring>
#include <dlfcn.h>

namespace korvan::os {

std::unique_ptr<DynamicLibrary> DynamicLibrary::load(const std::string& path) {
    void* handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (handle == nullptr)
        return nullptr;
    return std::unique_ptr<DynamicLibrary>(new DynamicLibrary(handle));
}

DynamicLibrary::~DynamicLibrary() {
    dlclose(handle_);
}

DynamicLibrary::Function DynamicLibrary::function(const char* name) const {
    void* symbol = dlsym(handle_, name);
    Function found = nullptr;
    // dlsym answers an object pointer; the platform guarantees it converts to a function pointer.
    static_assert(sizeof found == sizeof symbol);
    std::memcpy(&found, &symbol, sizeof found);
    return found;
}

} // namespace korvan::os
