#pragma once

#include "model/CObject.h"
#include "model/PtrList.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace korvan {

class COrlaCommand;
class COrlaItem;
class COrlaNode;
class ObjectRegistries;
class ReachableObjects;

// A generic bus: its own commands, nodes and parameter items. The HART channels and the
// network-side bus derive from it.
class COrlaBus : public CObject {
public:
    static const RuntimeClass classCOrlaBus;

    explicit COrlaBus(ObjectRegistries& registries) : registries_(&registries) {}

    [[nodiscard]] const RuntimeClass& runtimeClass() const override { return classCOrlaBus; }

    // A command bound to the Modbus function of the type index; nothing when unsupported.
    COrlaCommand* addBusCommand(int typeIndex);
    void addCommand(COrlaCommand* command);
    virtual COrlaNode* addNode();
    bool attachNode(COrlaNode* node);
    bool releaseCommandCount(const COrlaCommand* command);
    virtual bool removeNode(COrlaNode* node);
    void clearCommands() { busCommands_.clear(); }
    void clearNodes() { nodes_.clear(); }

    [[nodiscard]] virtual int commandCount() const { return static_cast<int>(commandCount_); }
    [[nodiscard]] int nodeCount() const { return static_cast<int>(nodeCount_); }
    [[nodiscard]] int spareCount() const { return static_cast<int>(spareCount_); }
    [[nodiscard]] COrlaCommand* commandAt(std::size_t position) const { return busCommands_.at(position); }
    [[nodiscard]] COrlaNode* nodeAt(std::size_t position) const { return nodes_.at(position); }
    [[nodiscard]] COrlaItem* itemAt(std::size_t position) const { return items_.at(position); }
    [[nodiscard]] const PtrList<COrlaCommand>& busCommands() const { return busCommands_; }
    [[nodiscard]] const PtrList<COrlaNode>& nodes() const { return nodes_; }
    [[nodiscard]] const PtrList<COrlaItem>& items() const { return items_; }

    [[nodiscard]] virtual std::string busName() const { return name_; }
    [[nodiscard]] virtual bool canAddNode() const { return true; }
    [[nodiscard]] virtual bool canAddCommand() const { return true; }
    void addItem(COrlaItem* item);

    [[nodiscard]] int mode() const { return mode_; }
    virtual void setMode(int code) { mode_ = code; }

    [[nodiscard]] virtual int itemChoiceIndex(std::size_t position) const;
    [[nodiscard]] int itemIntValue(std::size_t position) const;
    bool setItemChoice(std::size_t position, int index);
    bool setItemInt(std::size_t position, int value);

    virtual void initialise();

    // Marks every object of the bus's lists, for a sweep of the registries.
    virtual void markReferences(ReachableObjects& reachable) const;

    // The first node of the list with the address; the walk stops at a null entry.
    [[nodiscard]] static COrlaNode* findNodeIn(const PtrList<COrlaNode>& list, std::uint32_t address);
    [[nodiscard]] COrlaNode* findNode(std::uint32_t address) const { return findNodeIn(nodes_, address); }

protected:
    ObjectRegistries& registries() const { return *registries_; }
    PtrList<COrlaItem>& mutableItems() { return items_; }
    void setBusName(std::string_view name) { name_ = name; }

private:
    ObjectRegistries* registries_;
    PtrList<COrlaCommand> busCommands_;
    PtrList<COrlaNode> nodes_;
    PtrList<COrlaItem> items_;
    std::string name_;
    std::uint32_t nodeCount_ = 0;
    std::uint32_t spareCount_ = 0;
    std::uint32_t commandCount_ = 0;
    int mode_ = 4;
};

inline const RuntimeClass COrlaBus::classCOrlaBus{"COrlaBus", &CObject::classCObject};

} // namespace korvan
