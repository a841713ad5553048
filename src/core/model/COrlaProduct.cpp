#include "model/COrlaProduct.h"

#include "model/COrlaBus.h"
#include "model/COrlaNode.h"
#include "model/ReachableObjects.h"

namespace korvan {

void COrlaProduct::addBus(COrlaBus* bus) {
    if (bus == nullptr)
        return;
    busList_.append(bus);
    ++busCount_;
}

int COrlaProduct::totalCommandCount() const {
    int total = 0;
    for (const COrlaBus* bus : busList_) {
        for (const COrlaNode* node : bus->nodes())
            total += node->commandCount();
        total += static_cast<int>(bus->busCommands().size());
    }
    return total;
}

void COrlaProduct::initialiseBuses() {
    for (COrlaBus* bus : busList_)
        bus->initialise();
}

std::size_t COrlaProduct::releaseUnused() {
    ReachableObjects reachable;
    reachable.markAll(busList_);
    return registries_.releaseUnreachable(reachable);
}

void COrlaProduct::removeAllBuses() {
    busList_.clear();
    busCount_ = 0;
}

} // namespace korvan
