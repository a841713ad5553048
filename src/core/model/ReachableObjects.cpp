#include "model/ReachableObjects.h"

#include "model/CHartbus.h"
#include "model/COrlaBus.h"
#include "model/COrlaCommand.h"
#include "model/COrlaItem.h"
#include "model/COrlaNode.h"
#include "model/CProfilebus.h"
#include "model/TreeTag.h"

namespace korvan {

bool ReachableObjects::add(const CObject* object) {
    return object != nullptr && objects_.insert(object).second;
}

void ReachableObjects::mark(const COrlaBus* bus) {
    if (add(bus))
        bus->markReferences(*this);
}

void ReachableObjects::mark(const COrlaNode* node) {
    if (add(node))
        node->markReferences(*this);
}

void ReachableObjects::mark(const COrlaCommand* command) {
    if (add(command))
        command->markReferences(*this);
}

void ReachableObjects::mark(const COrlaItem* item) {
    add(item);
}

void ReachableObjects::mark(const TreeTag& tag) {
    mark(tag.network);
    mark(tag.channel);
    mark(tag.node);
    mark(tag.command);
}

} // namespace korvan
