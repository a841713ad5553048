#pragma once

namespace korvan {

// A class's run-time identity: its name and the identity of its base class.
struct RuntimeClass {
    const char* name;
    const RuntimeClass* base;
};

// The root of the model's classes. Buses are told apart by their run-time class, compared
// along the base chain.
class CObject {
public:
    static const RuntimeClass classCObject;

    virtual ~CObject() = default;
    [[nodiscard]] virtual const RuntimeClass& runtimeClass() const { return classCObject; }
    virtual void serialise() {}

    [[nodiscard]] bool isKindOf(const RuntimeClass& cls) const {
        for (const RuntimeClass* c = &runtimeClass(); c != nullptr; c = c->base)
            if (c == &cls)
                return true;
        return false;
    }

protected:
    CObject() = default;
    CObject(const CObject&) = default;
    CObject& operator=(const CObject&) = default;
};

inline const RuntimeClass CObject::classCObject{"CObject", nullptr};

} // namespace korvan
