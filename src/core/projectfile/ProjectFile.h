#pragma once

#include "model/GatewayModel.h"

#include <optional>
#include <string>

namespace korvan {

class CProductTarn;
class Prompt;

struct SaveResult {
    bool ok = false;
    std::string message; // on failure: the message to show, naming the file and the reason
};

enum class LoadStatus {
    Loaded,
    Unreadable,    // the file cannot be read at all
    NotParsed,     // the file is not well-formed XML, or has no root element
    ModelMismatch, // the network side's protocol does not fit the model
    Damaged,       // well-formed, but a command's item list is cut short
};

struct LoadResult {
    LoadStatus status = LoadStatus::Unreadable;
    std::string message; // on failure: the message to show
    // What the file says about the link: an Ethernet project (or, for a TCP model, a file of
    // the other protocol) makes the link Ethernet; a loaded network side in mode 0 allows
    // serial debugging.
    std::optional<LinkKind> linkKind;
    std::optional<bool> serialDebugAllowed;

    [[nodiscard]] bool ok() const { return status == LoadStatus::Loaded; }
};

// Writes the project file. The file is replaced only once the whole document is on disk, so
// a failed save leaves the previous file as it was.
[[nodiscard]] SaveResult saveToFile(const CProductTarn& product, const std::string& path);

// Reads a project or template file into the product's existing buses. The file is read into
// fresh objects first and taken over only when the whole load succeeded: a failed load
// leaves the open project as it was. The objects the load leaves unused are freed.
// "Unknown bus type!" would go through the prompt.
[[nodiscard]] LoadResult loadFromFile(CProductTarn& product, Prompt& prompt, const std::string& path);

} // namespace korvan
