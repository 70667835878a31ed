#include "data/LevelOrder.h"

#include <array>

namespace Engine {

namespace {

// "Level 2" plays the music and stinger of the third track: the sound banks number them so.
const std::array<LevelInfo, 4> Levels = {{
    {3, "Level 1", "Level1_LevelMusic", "Level1_WinStinger", "Level1Complete.png", 7750.0f, 0.0f, 16524.0f, 9295.0f},
    {4, "Level 2", "Level3_LevelMusic", "Level3_WinStinger", "Level2Complete.png", 8300.0f, 0.0f, 17350.0f, 9759.0f},
    {5, "Level 3", "Level4_LevelMusic", "Level4_WinStinger", "Level3Complete.png", 8800.0f, -1000.0f, 18360.0f, 10328.0f},
    {6, "Level 4", "Level5_LevelMusic", "Level5_WinStinger", "Level4Complete.png", 8350.0f, -1000.0f, 17400.0f, 9789.0f},
}};

}  // namespace

std::span<const LevelInfo> LevelOrder() { return Levels; }

const LevelInfo* LevelOfState(std::int32_t state)
{
    for (const LevelInfo& level : Levels) {
        if (level.state == state)
            return &level;
    }
    return nullptr;
}

}  // namespace Engine
