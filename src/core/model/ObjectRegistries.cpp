#include "model/ObjectRegistries.h"

#include "model/CHartbus.h"
#include "model/COrlaCommand.h"
#include "model/COrlaNode.h"

namespace korvan {

ObjectRegistries::ObjectRegistries()
    : channels_(std::make_unique<ObjectRegistry<CHartbus>>()), nodes_(std::make_unique<ObjectRegistry<COrlaNode>>()),
      commands_(std::make_unique<ObjectRegistry<COrlaCommand>>()) {}

ObjectRegistries::~ObjectRegistries() = default;

COrlaItem* ObjectRegistries::createItem(const ItemSpec& spec) {
    COrlaItem* item = items_.create();
    item->setup(spec.name, spec.help, spec.value, spec.kind, spec.enabled ? 1 : 0);
    for (std::string_view choice : spec.choices)
        item->addChoice(choice);
    return item;
}

} // namespace korvan
