#pragma once

#include "model/CObject.h"
#include "model/ObjectRegistries.h"
#include "model/PtrList.h"

namespace korvan {

class COrlaBus;

// The abstract product: its buses in order, and the registries that own every model object
// until nothing reaches it any more.
class COrlaProduct : public CObject {
public:
    COrlaProduct() = default;
    COrlaProduct(const COrlaProduct&) = delete;
    COrlaProduct& operator=(const COrlaProduct&) = delete;

    void addBus(COrlaBus* bus);
    [[nodiscard]] int busCount() const { return busCount_; }
    [[nodiscard]] const PtrList<COrlaBus>& buses() const { return busList_; }

    // Commands of every bus's generic node list and bus command list (HART channels keep
    // their nodes in lists of their own, so their commands are not counted here).
    [[nodiscard]] int totalCommandCount() const;
    void initialiseBuses();

    ObjectRegistries& registries() { return registries_; }

    // Frees every model object that neither the buses nor the registries' holders reach any
    // more; answers how many. Called where a new project, a load or an upload has replaced
    // the contents, so that a program kept open all day holds one project, not all of them.
    std::size_t releaseUnused();

protected:
    void removeAllBuses();

private:
    ObjectRegistries registries_;
    PtrList<COrlaBus> busList_;
    int busCount_ = 0;
};

} // namespace korvan
