#pragma once

#include "model/TreeTag.h"

#include <string>
#include <vector>

namespace korvan {

class CProductTarn;

// One item of the project tree as the views show it: label, tag and children.
struct ProjectTreeItem {
    TreeTag tag;
    std::string label;
    std::vector<ProjectTreeItem> children;
};

// The tree of the product: "Fieldbus" first, then each HART channel with the nodes of its
// current network mode and their commands, all in list order.
[[nodiscard]] std::vector<ProjectTreeItem> buildProjectTree(CProductTarn& product);

// The first item, depth first, whose label equals the text; nothing when none has it.
[[nodiscard]] const ProjectTreeItem* findTreeItemByLabel(const std::vector<ProjectTreeItem>& tree,
                                                         const std::string& label);

} // namespace korvan
