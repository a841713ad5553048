#pragma once

#include <memory>
#include <utility>
#include <vector>

namespace korvan {

// Owner of every model object of one kind. Objects are registered when created and freed
// only when the registry goes, at the end of the run, so an object removed from the tree
// stays valid for anyone who still holds it.
template <class T>
class ObjectRegistry {
public:
    template <class... Args>
    T* create(Args&&... args) {
        objects_.push_back(std::make_unique<T>(std::forward<Args>(args)...));
        return objects_.back().get();
    }

    [[nodiscard]] std::size_t size() const { return objects_.size(); }

private:
    std::vector<std::unique_ptr<T>> objects_;
};

} // namespace korvan
