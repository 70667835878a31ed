#include "LevelAutopilot.h"

#include "TestSupport.h"
#include "core/ComponentStore.h"
#include "core/Controller.h"
#include "core/GameObjectTable.h"
#include "core/RigidBody.h"
#include "core/Transform.h"
#include "graphics/Camera.h"

#include <fstream>
#include <sstream>

namespace EndToEnd {

namespace {

constexpr int JumpHoldFrames = 32;  // a full jump

template <typename T>
T* Get(std::uint32_t id)
{
    return Engine::ComponentStore::Instance().GetComponent<T>(id);
}

// Whether a solid (not ghost, not moving) collider other than the player covers the point.
bool Solid(float x, float y, std::uint32_t player)
{
    const Engine::GameObjectTable& table = Engine::GameObjectTable::Instance();
    for (std::uint32_t id = 0; id <= table.highestUsed; ++id) {
        const Engine::RigidBody* body = Get<Engine::RigidBody>(id);
        const Engine::Transform* at = Get<Engine::Transform>(id);
        if (id == player || body == nullptr || at == nullptr || body->Ghost || body->BodyType != 0)
            continue;
        if (x >= at->x_pos + body->left && x <= at->x_pos + body->right && y >= at->y_pos + body->bottom &&
            y <= at->y_pos + body->top)
            return true;
    }
    return false;
}

const char* KeyName(SDL_Keycode key) { return key == SDLK_SPACE ? "Space" : "Right"; }

}  // namespace

std::vector<KeyEvent> ReadRecording(const std::filesystem::path& path)
{
    std::vector<KeyEvent> events;
    std::istringstream text(TestSupport::ReadFile(path));
    for (std::string line; std::getline(text, line);) {
        if (line.empty() || line[0] == '#')
            continue;
        std::istringstream words(line);
        KeyEvent event{};
        std::string key, change;
        words >> event.frame >> key >> change;
        event.key = key == "Space" ? SDLK_SPACE : SDLK_RIGHT;
        event.down = change == "down";
        events.push_back(event);
    }
    return events;
}

void WriteRecording(const std::filesystem::path& path, const std::vector<KeyEvent>& events)
{
    std::ostringstream text;
    text << "# Level 1 played to its end, with one death in lava: FRAME KEY down|up, frames counted\n"
            "# from the level's first frame. Written by scripts/record-level-run; see README.md.\n";
    for (const KeyEvent& event : events)
        text << event.frame << ' ' << KeyName(event.key) << ' ' << (event.down ? "down" : "up") << '\n';
    TestSupport::WriteFile(path, text.str());
}

LevelAutopilot::LevelAutopilot(float dieAfter) : dieAfterX(dieAfter) {}

void LevelAutopilot::Press(GameDriver& driver, SDL_Keycode key, bool down)
{
    if (down)
        driver.Down(key);
    else
        driver.Up(key);
    events.push_back({driver.frame - start, key, down});
}

void LevelAutopilot::Step(GameDriver& driver)
{
    if (start < 0)
        start = driver.frame;
    const std::uint32_t player = Engine::GameObjectTable::Instance().FindGameObject("Player");
    const Engine::Transform* at = Get<Engine::Transform>(player);
    const Engine::Controller* controller = Get<Engine::Controller>(player);
    const Engine::RigidBody* body = Get<Engine::RigidBody>(player);
    if (at == nullptr || controller == nullptr || body == nullptr)
        return;
    if (controller->isDead && !wasDead) {
        ++deaths;
        skipping = false;
    }
    wasDead = controller->isDead;

    if (!rightHeld) {
        Press(driver, SDLK_RIGHT, true);
        rightHeld = true;
    }
    if (jumpFrames > 0 && --jumpFrames == 0)
        Press(driver, SDLK_SPACE, false);
    if (jumpFrames > 0 || !controller->isGrounded || controller->isDead)
        return;

    const float front = at->x_pos + body->right;
    const float feet = at->y_pos + body->bottom;
    // A wall: solid just above the feet a little ahead. A pit: no ground just ahead.
    bool wall = false;
    for (float ahead = 100.0f; ahead <= 160.0f && !wall; ahead += 20.0f)
        wall = Solid(front + ahead, feet + 20.0f, player);
    const bool pit = !Solid(front + 30.0f, feet - 5.0f, player);
    if (pit && deaths == 0 && at->x_pos > dieAfterX) {
        skipping = true;  // this one is taken feet first
        return;
    }
    if ((wall || pit) && !skipping) {
        Press(driver, SDLK_SPACE, true);
        jumpFrames = JumpHoldFrames;
    }
}

}  // namespace EndToEnd
