// The start of each shipped level, drawn offscreen with the game's own images and shaders
// through the play view: the player, the ground under the player and every parallax depth
// each show on screen. "Shows" means hiding the object changes pixels where it stands, so
// anything drawn over it by mistake (scenery in front of the floor, say) fails the test.
#include "RenderFixture.h"

#include "core/ComponentStore.h"
#include "core/GameObjectTable.h"
#include "core/Parallax.h"
#include "core/RigidBody.h"
#include "core/Sprite.h"
#include "core/SystemManager.h"
#include "core/Transform.h"
#include "data/LevelManager.h"
#include "gameplay/ParallaxSystem.h"
#include "graphics/Camera.h"

#include <filesystem>
#include <functional>
#include <vector>

using namespace RenderTest;
using Engine::ComponentStore;
using Engine::GameObjectTable;

namespace {

constexpr int Width = 1280, Height = 720;
constexpr float ViewWidth = 1920.0f, ViewHeight = 1080.0f;  // the play view

template <typename T>
T* Get(std::uint32_t id)
{
    return ComponentStore::Instance().GetComponent<T>(id);
}

struct Box {
    int left, bottom, right, top;  // pixels, bottom row 0
};

}  // namespace

class ShippedLevelPixels : public RenderFixture {
protected:
    void SetUp() override
    {
        RenderFixture::SetUp();
        StartGraphics(GameShaderFolder(), std::filesystem::path(VANTREL_SOURCE_DIR) / "Resources" / "Images");
        Engine::LevelManager::Instance().LoadLevelNames();
    }

    std::vector<std::uint8_t> Frame()
    {
        RenderFrame();
        return ReadWorldFrame();
    }

    // The pixel box of an object's sprite in the play view, clipped to the screen.
    Box ScreenBox(std::uint32_t id) const
    {
        const Engine::Camera& camera = *Engine::Camera::Instance();
        const Engine::Transform& t = *Get<Engine::Transform>(id);
        const float scale = Width / ViewWidth;
        const auto px = [&](float x) { return std::clamp(static_cast<int>((x - camera.eye[0]) * scale + Width / 2), 0, Width); };
        const auto py = [&](float y) { return std::clamp(static_cast<int>((y - camera.eye[1]) * scale + Height / 2), 0, Height); };
        return {px(t.x_pos - std::abs(t.x_sca)), py(t.y_pos - std::abs(t.y_sca)), px(t.x_pos + std::abs(t.x_sca)),
                py(t.y_pos + std::abs(t.y_sca))};
    }

    // How many pixels of the box change when the objects are hidden.
    int ChangedWhenHidden(const std::vector<std::uint32_t>& ids, const Box& box)
    {
        const std::vector<std::uint8_t> shown = Frame();
        std::vector<float> alphas;
        for (std::uint32_t id : ids) {
            alphas.push_back(Get<Engine::Sprite>(id)->Color[3]);
            Get<Engine::Sprite>(id)->Color[3] = 0.0f;
        }
        const std::vector<std::uint8_t> hidden = Frame();
        for (std::size_t i = 0; i < ids.size(); ++i)
            Get<Engine::Sprite>(ids[i])->Color[3] = alphas[i];
        int changed = 0;
        for (int y = box.bottom; y < box.top; ++y)
            for (int x = box.left; x < box.right; ++x) {
                const std::size_t at = static_cast<std::size_t>((y * Width + x) * 4);
                for (std::size_t c = 0; c < 3; ++c)
                    if (std::abs(shown[at + c] - hidden[at + c]) > 8) {
                        ++changed;
                        break;
                    }
            }
        return changed;
    }
};

TEST_F(ShippedLevelPixels, PlayerGroundAndEveryParallaxDepthShowAtTheStart)
{
    const Box screen = {0, 0, Width, Height};
    for (const char* level : {"Level 1", "Level 2", "Level 3", "Level 4"}) {
        SCOPED_TRACE(level);
        Engine::LevelManager::Instance().LoadLevel(level);
        GameObjectTable& table = GameObjectTable::Instance();
        const std::uint32_t player = table.FindGameObject("Player");
        ASSERT_NE(player, Engine::InvalidObjectId);
        // The game's play view: centred on the player, 1920 x 1080, the scenery placed from it.
        Engine::Camera& camera = *Engine::Camera::Instance();
        camera.followedObjectId = static_cast<std::int32_t>(player);
        camera.eye[0] = Get<Engine::Transform>(player)->x_pos;
        camera.eye[1] = Get<Engine::Transform>(player)->y_pos;
        camera.viewWidth = ViewWidth;
        camera.viewHeight = ViewHeight;
        Engine::GetSystem<Engine::ParallaxSystem>()->Update();

        const Box playerBox = ScreenBox(player);
        const int playerArea = (playerBox.right - playerBox.left) * (playerBox.top - playerBox.bottom);
        EXPECT_GT(ChangedWhenHidden({player}, playerBox), playerArea / 4) << "player";

        // The ground right under the player's feet.
        std::uint32_t ground = Engine::InvalidObjectId;
        const Engine::Transform& feet = *Get<Engine::Transform>(player);
        for (std::uint32_t id = 0; id <= table.highestUsed; ++id) {
            const Engine::Transform* t = Get<Engine::Transform>(id);
            if (id == player || t == nullptr || Get<Engine::RigidBody>(id) == nullptr || Get<Engine::Sprite>(id) == nullptr)
                continue;
            if (std::abs(t->x_pos - feet.x_pos) <= t->x_sca && std::abs(t->y_pos + t->y_sca - (feet.y_pos - feet.y_sca)) < 1.0f)
                ground = id;
        }
        ASSERT_NE(ground, Engine::InvalidObjectId) << "nothing to stand on";
        const Box groundBox = ScreenBox(ground);
        EXPECT_GT(ChangedWhenHidden({ground}, groundBox),
                  (groundBox.right - groundBox.left) * (groundBox.top - groundBox.bottom) / 2)
            << "ground";

        for (std::int32_t depth = 1; depth <= 4; ++depth) {
            std::vector<std::uint32_t> layer;
            for (std::uint32_t id = 0; id <= table.highestUsed; ++id)
                if (const Engine::Parallax* p = Get<Engine::Parallax>(id); p != nullptr && p->Level == depth)
                    layer.push_back(id);
            ASSERT_FALSE(layer.empty()) << "depth " << depth;
            EXPECT_GT(ChangedWhenHidden(layer, screen), Width * Height / 50) << "parallax depth " << depth;
        }
    }
}
