#include "model/CProductTarn.h"

#include "model/CHartbus.h"

namespace korvan {

CProductTarn::CProductTarn() : networkBus_(registries()) {}

void CProductTarn::build(GatewayModel model) {
    model_ = model;
    networkBus_.setGatewayModel(model);
    networkBus_.initialise();
    addBus(&networkBus_);
    for (int index = 0; index < channelTotal(model); ++index) {
        CHartbus* channel = registries().channels().create(registries());
        channel->initialise();
        channel->setChannelIndex(index);
        currentChannel_ = channel;
        addBus(channel);
        ++channelCount_;
    }
}

void CProductTarn::rebuild(GatewayModel model) {
    removeAllBuses();
    channelCount_ = 0;
    currentChannel_ = nullptr;
    build(model);
    releaseUnused();
}

std::vector<CHartbus*> CProductTarn::channels() const {
    std::vector<CHartbus*> result;
    for (COrlaBus* bus : buses())
        if (bus->isKindOf(CHartbus::classCHartbus))
            result.push_back(static_cast<CHartbus*>(bus));
    return result;
}

CHartbus* CProductTarn::channel(std::size_t index) const {
    const auto all = channels();
    return index < all.size() ? all[index] : nullptr;
}

} // namespace korvan
