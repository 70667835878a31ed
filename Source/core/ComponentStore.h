// Engine::ComponentStore: owns every component, in ten rows (one per component type) of
// 16384 slots (one per game-object id). Lookups read the slot and yield nothing when it is
// empty or holds another type. Ids of 16384 or more find nothing and change nothing.
#pragma once

#include "core/Component.h"
#include "core/FamilyId.h"
#include "core/GameObjectTable.h"
#include "core/Log.h"

#include <array>
#include <cassert>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace Engine {

class ComponentStore {
public:
    static constexpr std::uint32_t RowCount = 10;
    using Row = std::vector<std::unique_ptr<Component>>;

    static ComponentStore& Instance();

    // Puts a new T with its defaults on the object, replacing (silently) any T it had.
    template <typename T>
    void AddComponent(std::uint32_t objectId)
    {
        if (objectId >= MaxGameObjects) {
            LogWarn(std::string("Cannot add ") + T::DisplayName + " component to gameobject " + std::to_string(objectId)
                    + ": no such slot");
            return;
        }
        auto component = std::make_unique<T>();
        component->owner = objectId;
        RowOf<T>()[objectId] = std::move(component);
        LogInfo(std::string("Added ") + T::DisplayName + " component to gameobject " + std::to_string(objectId));
    }

    template <typename T>
    void RemoveComponent(std::uint32_t objectId)
    {
        if (objectId >= MaxGameObjects) {
            LogWarn(std::string("Cannot remove ") + T::DisplayName + " component from gameobject "
                    + std::to_string(objectId) + ": no such slot");
            return;
        }
        RowOf<T>()[objectId].reset();
        LogInfo(std::string("Removed ") + T::DisplayName + " component from gameobject " + std::to_string(objectId));
    }

    template <typename T>
    T* GetComponent(std::uint32_t objectId)
    {
        if (objectId >= MaxGameObjects)
            return nullptr;
        Component* component = RowOf<T>()[objectId].get();
        if (component == nullptr || component->GetType() != T::Tag)
            return nullptr;
        return static_cast<T*>(component);
    }

    // Empties the object's slot in every row (used when the object is removed).
    void RemoveAllComponents(std::uint32_t objectId);

    std::array<Row, RowCount> rows;

    ComponentStore(const ComponentStore&) = delete;
    ComponentStore& operator=(const ComponentStore&) = delete;

private:
    ComponentStore();
    ~ComponentStore();

    template <typename T>
    Row& RowOf()
    {
        const std::uint32_t family = FamilyId<ComponentStore>::Of<T>();
        assert(family < RowCount && "more component types than rows");
        return rows[family];
    }
};

}  // namespace Engine
