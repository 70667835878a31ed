// The hardest moves each shipped level asks for, tried in the level itself with the shipped
// scripts: a run of keys from a place before the obstacle must land the player beyond it,
// alive. A level change that puts one out of reach fails here.
#include "GameWorld.h"

#include "core/ComponentStore.h"
#include "core/Controller.h"
#include "core/GameObjectTable.h"
#include "core/InputManager.h"
#include "core/SystemManager.h"
#include "core/Transform.h"
#include "data/LevelManager.h"
#include "game/GameState.h"
#include "graphics/Camera.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// A key change and when it comes: once the player is at x, at the top of a jump, or a
// number of frames after the change before it.
struct Move {
    enum When { AtX, Apex, After } when;
    float value;
    std::uint8_t key;
    bool down;
};

struct Obstacle {
    const char* level;
    std::int32_t state;
    const char* what;
    float startX, startY;
    std::vector<Move> moves;
    float pastX;   // where the player must stand at the end: beyond this x,
    float standY;  // at this height
};

}  // namespace

TEST(LevelObstacles, TheHardestMovesOfEachLevelCanBeMade)
{
    using M = Move;
    const std::vector<Obstacle> obstacles = {
        {"Level 2", 4, "an eight-block chasm: jump, dash, an orb, dash again", 3700, 50,
         {{M::AtX, 4080, ' ', true}, {M::Apex, 0, 'K', true}, {M::After, 1, 'K', false}, {M::After, 13, 'K', true},
          {M::After, 1, 'K', false}, {M::After, 1, ' ', false}},
         4900, 50},
        {"Level 2", 4, "a ledge two blocks up: jump holding W, then a diagonal dash", 5500, 50,
         {{M::AtX, 5860, 'W', true}, {M::Apex, 0, 'K', true}, {M::After, 1, 'K', false}, {M::After, 20, 'W', false}},
         6050, 250},
        {"Level 3", 5, "a wall two blocks high: jump and kick", 800, 50,
         {{M::AtX, 1000, ' ', true}, {M::Apex, 0, 'L', true}, {M::After, 1, 'L', false}, {M::After, 30, ' ', false}},
         1150, 250},
        {"Level 4", 6, "from plank to plank three blocks up: a diagonal dash", 7230, 250,
         {{M::AtX, 7330, 'W', true}, {M::Apex, 0, 'K', true}, {M::After, 1, 'K', false}, {M::After, 13, 'D', false},
          {M::After, 7, 'W', false}},
         7700, 550},
    };
    ScriptTest::GameWorld world({}, {.sound = true, .shippedScripts = true, .levels = true});
    world.scripts.RegisterEveryFrame("ApplyGravity");
    world.scripts.RegisterEveryFrame("ApplyFriction");
    Engine::LevelManager& levels = Engine::LevelManager::Instance();
    levels.LoadLevelNames();
    Engine::InputManager& keys = Engine::InputManager::Instance();
    for (const Obstacle& obstacle : obstacles) {
        SCOPED_TRACE(std::string(obstacle.level) + ": " + obstacle.what);
        levels.LoadLevel(obstacle.level);
        GameStateIndex = obstacle.state;
        const std::uint32_t player = Engine::GameObjectTable::Instance().FindGameObject("Player");
        Engine::Camera::Instance()->followedObjectId = static_cast<std::int32_t>(player);
        auto& place = *Engine::ComponentStore::Instance().GetComponent<Engine::Transform>(player);
        auto& controller = *Engine::ComponentStore::Instance().GetComponent<Engine::Controller>(player);
        place.x_pos = obstacle.startX;
        place.y_pos = obstacle.startY;
        world.RunFrames(20);  // settle where it stands
        ASSERT_TRUE(controller.isGrounded);

        keys.KeyPressed('D');
        std::size_t next = 0;
        int since = 0;
        bool dead = false;
        for (int frame = 0; frame < 400 && !(next == obstacle.moves.size() && since > 60 && controller.isGrounded); ++frame) {
            ++since;
            if (next < obstacle.moves.size()) {
                const Move& move = obstacle.moves[next];
                const bool due = move.when == M::AtX    ? place.x_pos >= move.value
                                 : move.when == M::Apex ? !controller.isGrounded && controller.y_vel <= 0.0f
                                                        : since >= static_cast<int>(move.value);
                if (due) {
                    if (move.down)
                        keys.KeyPressed(move.key);
                    else
                        keys.KeyReleased(move.key);
                    ++next;
                    since = 0;
                }
            }
            world.RunFrames(1);
            dead = dead || controller.isDead;
        }
        for (std::uint8_t key : {'D', 'W', ' ', 'K', 'L'})
            keys.KeyReleased(key);
        EXPECT_EQ(next, obstacle.moves.size());
        EXPECT_FALSE(dead);
        EXPECT_GT(place.x_pos, obstacle.pastX);
        EXPECT_NEAR(place.y_pos, obstacle.standY, 2.0f);
        world.RunFrames(20);
    }
    GameStateIndex = 0;
}
