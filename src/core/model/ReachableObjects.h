#pragma once

#include "model/PtrList.h"

#include <cstddef>
#include <unordered_set>

namespace korvan {

class CObject;
class COrlaBus;
class COrlaCommand;
class COrlaItem;
class COrlaNode;
struct TreeTag;

// The model objects a sweep of the registries keeps: whatever the product and the holders
// outside it can still reach. Marking an object marks everything it refers to, once.
class ReachableObjects {
public:
    void mark(const COrlaBus* bus);
    void mark(const COrlaNode* node);
    void mark(const COrlaCommand* command);
    void mark(const COrlaItem* item);
    // The objects a tree item stands for and sits under.
    void mark(const TreeTag& tag);

    template <class T> void markAll(const PtrList<T>& list) {
        for (const T* object : list)
            mark(object);
    }

    [[nodiscard]] bool contains(const CObject* object) const { return objects_.contains(object); }
    [[nodiscard]] std::size_t size() const { return objects_.size(); }

private:
    // False for nothing and for an object marked already, whose references are marked too.
    bool add(const CObject* object);

    std::unordered_set<const CObject*> objects_;
};

} // namespace korvan
