#pragma once

namespace korvan {

// Which of the six tree commands the current selection allows.
struct TreeEnableFlags {
    bool addNode = false;
    bool deleteNode = false;
    bool copyNode = false;
    bool pasteNode = false;
    bool addCommand = false;
    bool deleteCommand = false;

    friend bool operator==(const TreeEnableFlags&, const TreeEnableFlags&) = default;
};

} // namespace korvan
