#include "model/ObjectHolder.h"

#include "model/ObjectRegistries.h"

namespace korvan {

ObjectHolder::ObjectHolder(ObjectRegistries& registries) : registries_(registries) {
    registries_.addHolder(*this);
}

ObjectHolder::~ObjectHolder() {
    registries_.removeHolder(*this);
}

} // namespace korvan
