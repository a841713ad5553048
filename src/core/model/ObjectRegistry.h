#pragma once

#include "model/ReachableObjects.h"

#include <memory>
#include <utility>
#include <vector>

namespace korvan {

// Owner of every model object of one kind. Objects are registered when created and freed
// when a sweep finds that nothing reaches them any more, or when the registry goes; an
// object removed from the tree stays valid until then.
template <class T>
class ObjectRegistry {
public:
    template <class... Args>
    T* create(Args&&... args) {
        objects_.push_back(std::make_unique<T>(std::forward<Args>(args)...));
        return objects_.back().get();
    }

    // Frees every object the sweep did not reach; answers how many.
    std::size_t releaseUnreachable(const ReachableObjects& reachable) {
        return std::erase_if(
            objects_, [&](const std::unique_ptr<T>& object) { return !reachable.contains(object.get()); });
    }

    [[nodiscard]] std::size_t size() const { return objects_.size(); }

private:
    std::vector<std::unique_ptr<T>> objects_;
};

} // namespace korvan
