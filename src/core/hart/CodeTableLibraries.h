#pragma once

#include "hart/CodeTexts.h"

#include <memory>
#include <string>
#include <string_view>

namespace korvan {

class Prompt;
namespace os {
class DynamicLibrary;
}

// How binding the two code-table libraries ended.
enum class BindOutcome {
    Bound,         // both functions found
    MissingExport, // a library lacks its function: the lookups it serves stay empty
    LoadFailed,    // a library could not be loaded: the dialog that needs them closes
};

// The run-time binding of the code-table libraries "libMakerlex.so" and "libMeaslex.so",
// loaded by file name from the program's folder and kept loaded while this object lives.
// Either library can be replaced by a newer table without rebuilding the program.
class CodeTableLibraries : public CodeTexts {
public:
    static constexpr std::string_view MakerlexFile = "libMakerlex.so";
    static constexpr std::string_view MeaslexFile = "libMeaslex.so";

    explicit CodeTableLibraries(Prompt& prompt);
    ~CodeTableLibraries() override;

    // Binds Makerlex, then Measlex, from the folder (the program's folder by default). A
    // library that cannot be loaded shows "Failed loading <file>!" and ends the binding; a
    // missing function ends it silently.
    BindOutcome bind();
    BindOutcome bind(const std::string& directory);

    [[nodiscard]] bool hasUnitFunction() const { return unit_ != nullptr; }
    [[nodiscard]] bool hasManufacturerFunction() const { return manufacturer_ != nullptr; }

    // Without the unit function every call shows "Failed calling function in libMeaslex.so!".
    std::string unitText(int code) override;
    std::string manufacturerText(int code) override;

private:
    using Lookup = const char* (*)(int);

    Prompt& prompt_;
    std::unique_ptr<os::DynamicLibrary> makerlex_;
    std::unique_ptr<os::DynamicLibrary> measlex_;
    Lookup manufacturer_ = nullptr;
    Lookup unit_ = nullptr;
};

} // namespace korvan
