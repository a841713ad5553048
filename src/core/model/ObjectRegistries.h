#pragma once

#include "model/COrlaItem.h"
#include "model/ObjectRegistry.h"

#include <vector>

namespace korvan {

class CHartbus;
class COrlaNode;
class COrlaCommand;
class ObjectHolder;

// The product's registries, one per kind of model object, and the holders whose objects a
// sweep keeps besides those the product reaches.
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

    // An ObjectHolder registers itself for as long as it exists.
    void addHolder(const ObjectHolder& holder);
    void removeHolder(const ObjectHolder& holder);

    // Marks what the holders hold, then frees every registered object neither they nor the
    // caller's marks reach; answers how many were freed.
    std::size_t releaseUnreachable(ReachableObjects& reachable);
    // The registered objects of every kind.
    [[nodiscard]] std::size_t objectCount() const;

private:
    std::unique_ptr<ObjectRegistry<CHartbus>> channels_;
    std::unique_ptr<ObjectRegistry<COrlaNode>> nodes_;
    std::unique_ptr<ObjectRegistry<COrlaCommand>> commands_;
    ObjectRegistry<COrlaItem> items_;
    std::vector<const ObjectHolder*> holders_;
};

} // namespace korvan
