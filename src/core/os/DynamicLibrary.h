#pragma once

#include <memory>
#include <string>

namespace korvan::os {

// A shared library loaded by file path and kept loaded as long as this object lives.
class DynamicLibrary {
public:
    using Function = void (*)();

    // The loaded library, or nothing when the file is missing or cannot be loaded.
    [[nodiscard]] static std::unique_ptr<DynamicLibrary> load(const std::string& path);

    ~DynamicLibrary();
    DynamicLibrary(const DynamicLibrary&) = delete;
    DynamicLibrary& operator=(const DynamicLibrary&) = delete;

    // The exported function of that exact name, or null when the library has none.
    [[nodiscard]] Function function(const char* name) const;

private:
    explicit DynamicLibrary(void* handle) : handle_(handle) {}
    void* handle_;
};

} // namespace korvan::os
