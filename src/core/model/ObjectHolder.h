#pragma once

namespace korvan {

class ObjectRegistries;
class ReachableObjects;

// Something outside the product that keeps pointers into the model from one operation to
// the next (the tree's selection, the grid's rows). While it exists, a sweep of the
// registries keeps what it marks, so that a project replaced under it leaves nothing it
// holds dangling; what it lets go of is freed by the next sweep. It must not outlive the
// registries it registers with.
class ObjectHolder {
public:
    ObjectHolder(const ObjectHolder&) = delete;
    ObjectHolder& operator=(const ObjectHolder&) = delete;

    virtual void markHeld(ReachableObjects& reachable) const = 0;

protected:
    explicit ObjectHolder(ObjectRegistries& registries);
    virtual ~ObjectHolder();

private:
    ObjectRegistries& registries_;
};

} // namespace korvan
