#include "model/ObjectRegistries.h"

#include "model/CHartbus.h"
#include "model/COrlaCommand.h"
#include "model/COrlaNode.h"
#include "model/ObjectHolder.h"

namespace korvan {

ObjectRegistries::ObjectRegistries()
    : channels_(std::make_unique<ObjectRegistry<CHartbus>>()), nodes_(std::make_unique<ObjectRegistry<COrlaNode>>()),
      commands_(std::make_unique<ObjectRegistry<COrlaCommand>>()) {}

ObjectRegistries::~ObjectRegistries() = default;

COrlaItem* ObjectRegistries::createItem(const ItemSpec& description) {
    COrlaItem* item = items_.create();
    item->setup(description.name, description.help, description.value, description.kind, description.enabled ? 1 : 0);
    for (std::string_view choice : description.choices)
        item->addChoice(choice);
    return item;
}

void ObjectRegistries::addHolder(const ObjectHolder& holder) {
    holders_.push_back(&holder);
}

void ObjectRegistries::removeHolder(const ObjectHolder& holder) {
    std::erase(holders_, &holder);
}

std::size_t ObjectRegistries::releaseUnreachable(ReachableObjects& reachable) {
    for (const ObjectHolder* holder : holders_)
        holder->markHeld(reachable);
    return channels_->releaseUnreachable(reachable) + nodes_->releaseUnreachable(reachable) +
           commands_->releaseUnreachable(reachable) + items_.releaseUnreachable(reachable);
}

std::size_t ObjectRegistries::objectCount() const {
    return channels_->size() + nodes_->size() + commands_->size() + items_.size();
}

} // namespace korvan
