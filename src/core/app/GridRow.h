#pragma once

#include <string>

namespace korvan {

class COrlaItem;

// One drawn row of the parameter grid: name, value, the grey background of an item that is
// not enabled, and the item the row edits (none for the rows of the Advanced layout).
struct GridRow {
    std::string name;
    std::string value;
    bool grey = false;
    COrlaItem* item = nullptr;
};

// What a click on a value cell opens.
enum class CellAction {
    None,
    EditText,       // the edit box over the cell, filled with the value
    ChooseFromList, // the drop-down list with the item's choices
    OpenAdvanced,   // the Advanced Configuration of the command (row 6 in Advanced layout)
};

// What a committed list choice asks the views to do.
struct ListCommitEffect {
    bool accepted = false;
    bool rebuildTree = false; // the channel's network mode changed
    bool redrawGrid = false;
};

} // namespace korvan
