// Engine::HeatMap: Tags the markers of the heat map; it has no fields.
#pragma once

#include "core/Component.h"

namespace Engine {

struct HeatMap : Component {
    static constexpr ComponentType Tag = ComponentType::HeatMap;
    static constexpr const char* DisplayName = "struct Engine::HeatMap";
    ComponentType GetType() const override { return Tag; }
};

}  // namespace Engine
