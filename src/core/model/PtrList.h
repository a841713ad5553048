#pragma once

#include <algorithm>
#include <cstddef>
#include <vector>

namespace korvan {

// An ordered list of model objects it does not own: append at the tail, removal of a given
// object, traversal in order. The element at a position past the end is the last element,
// and nothing only for an empty list.
template <class T>
class PtrList {
public:
    using const_iterator = typename std::vector<T*>::const_iterator;

    void append(T* object) { objects_.push_back(object); }

    bool remove(const T* object) {
        const auto it = std::find(objects_.begin(), objects_.end(), object);
        if (it == objects_.end())
            return false;
        objects_.erase(it);
        return true;
    }

    void clear() { objects_.clear(); }

    [[nodiscard]] T* at(std::size_t position) const {
        if (objects_.empty())
            return nullptr;
        return objects_[std::min(position, objects_.size() - 1)];
    }

    // The object at the position, or nothing when the list is shorter.
    [[nodiscard]] T* exactlyAt(std::size_t position) const {
        return position < objects_.size() ? objects_[position] : nullptr;
    }

    [[nodiscard]] bool contains(const T* object) const {
        return std::find(objects_.begin(), objects_.end(), object) != objects_.end();
    }

    [[nodiscard]] std::size_t size() const { return objects_.size(); }
    [[nodiscard]] bool empty() const { return objects_.empty(); }
    [[nodiscard]] T* front() const { return objects_.empty() ? nullptr : objects_.front(); }
    [[nodiscard]] T* back() const { return objects_.empty() ? nullptr : objects_.back(); }
    [[nodiscard]] const_iterator begin() const { return objects_.begin(); }
    [[nodiscard]] const_iterator end() const { return objects_.end(); }

    void swap(PtrList& other) noexcept { objects_.swap(other.objects_); }
    void reserve(std::size_t count) { objects_.reserve(count); }

private:
    std::vector<T*> objects_;
};

} // namespace korvan
