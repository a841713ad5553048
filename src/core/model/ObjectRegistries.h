#pragma once

#include "model/COrlaItem.h"
#include "model/ObjectRegistry.h"

namespace korvan {

class CHartbus;
class COrlaNode;
class COrlaCommand;

// The program-wide registries, one per kind of model object.
class ObjectRegistries {
public:
    ObjectRegistries();
    ~ObjectRegistries();
    ObjectRegistries(const ObjectRegistries&) = delete;
    ObjectRegistries& operator=(const ObjectRegistries&) = delete;

    ObjectRegistry<CHartbus>& channels() { return *channels_; }
    ObjectRegistry<COrlaNode>& nodes() { return *nodes_; }
    ObjectRegistry<COrlaCommand>& commands() { return *commands_; }
    ObjectRegistry<COrlaItem>& items() { return items_; }

    // A registered item made from its description.
    COrlaItem* createItem(const ItemSpec& description);
    COrlaItem* createItem() { return items_.create(); }

private:
    std::unique_ptr<ObjectRegistry<CHartbus>> channels_;
    std::unique_ptr<ObjectRegistry<COrlaNode>> nodes_;
    std::unique_ptr<ObjectRegistry<COrlaCommand>> commands_;
    ObjectRegistry<COrlaItem> items_;
};

} // namespace korvan
