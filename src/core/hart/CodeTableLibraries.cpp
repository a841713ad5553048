#include "hart/CodeTableLibraries.h"

#include "base/Prompt.h"
#include "os/DynamicLibrary.h"
#include "os/FileSystem.h"

namespace korvan {
namespace {

constexpr std::string_view nullText = "(null)";

// The exports take a 32-bit code and answer a constant text owned by the library.
const char* (*lookupOf(const os::DynamicLibrary& library, const char* name))(int) {
    return reinterpret_cast<const char* (*)(int)>(library.function(name));
}

std::string loadFailedText(std::string_view file) {
    return "Failed loading " + std::string(file) + "!";
}

} // namespace

CodeTableLibraries::CodeTableLibraries(Prompt& prompt) : prompt_(prompt) {}

CodeTableLibraries::~CodeTableLibraries() = default;

BindOutcome CodeTableLibraries::bind() {
    return bind(os::programDirectory());
}

BindOutcome CodeTableLibraries::bind(const std::string& directory) {
    makerlex_ = os::DynamicLibrary::load(os::joinPath(directory, MakerlexFile));
    if (!makerlex_) {
        prompt_.message(loadFailedText(MakerlexFile));
        return BindOutcome::LoadFailed;
    }
    manufacturer_ = lookupOf(*makerlex_, "GetHartCommanyNameByIndex");
    if (manufacturer_ == nullptr)
        return BindOutcome::MissingExport;
    measlex_ = os::DynamicLibrary::load(os::joinPath(directory, MeaslexFile));
    if (!measlex_) {
        prompt_.message(loadFailedText(MeaslexFile));
        return BindOutcome::LoadFailed;
    }
    unit_ = lookupOf(*measlex_, "GetEngineerUnitCodeStr");
    return unit_ == nullptr ? BindOutcome::MissingExport : BindOutcome::Bound;
}

std::string CodeTableLibraries::unitText(int code) {
    if (unit_ == nullptr) {
        prompt_.message("Failed calling function in " + std::string(MeaslexFile) + "!");
        return {};
    }
    const char* text = unit_(code);
    return std::string(text != nullptr ? std::string_view(text) : nullText);
}

std::string CodeTableLibraries::manufacturerText(int code) {
    if (manufacturer_ == nullptr)
        return {};
    // The name is shown through "%s", which prints a null pointer as "(null)".
    const char* text = manufacturer_(code);
    return std::string(text != nullptr ? std::string_view(text) : nullText);
}

} // namespace korvan
