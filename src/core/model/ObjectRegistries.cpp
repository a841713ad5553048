#include "model/ObjectRegistries.h"

#include "model/CHartbus.h"
#include "model/COrlaCommand.h"
#include "model/COrlaNode.h"

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

} // namespace korvan
