#include "LevelAutopilot.h"

#include "TestSupport.h"
#include "core/ComponentStore.h"
#include "core/Controller.h"
#include "core/GameObjectTable.h"
#include "core/RigidBody.h"
#include "core/Transform.h"

#include <algorithm>
#include <array>
#include <sstream>
#include <utility>

namespace EndToEnd {

namespace {

constexpr int JumpHoldFrames = 32;  // a full jump
constexpr float FrameSeconds = 1.0f / 60.0f;
constexpr float Deadly = -110.0f;  // feet below this are in lava or falling out of the world
constexpr float LowestGround = -50.0f;  // every top lower than this is a fill or a pit's floor

using Box = LevelAutopilot::Box;

template <typename T>
T* Get(std::uint32_t id)
{
    return Engine::ComponentStore::Instance().GetComponent<T>(id);
}

// The solid (not ghost, not moving) colliders other than the player's.
std::vector<Box> SolidBoxes(std::uint32_t player)
{
    std::vector<Box> boxes;
    const Engine::GameObjectTable& table = Engine::GameObjectTable::Instance();
    for (std::uint32_t id = 0; id <= table.highestUsed; ++id) {
        const Engine::RigidBody* body = Get<Engine::RigidBody>(id);
        const Engine::Transform* at = Get<Engine::Transform>(id);
        if (id == player || body == nullptr || at == nullptr || body->Ghost || body->BodyType != 0)
            continue;
        boxes.push_back({at->x_pos + body->left, at->x_pos + body->right, at->y_pos + body->bottom, at->y_pos + body->top});
    }
    return boxes;
}

bool Solid(const std::vector<Box>& solids, float x, float y)
{
    return std::any_of(solids.begin(), solids.end(), [&](const Box& box) {
        return x >= box.left && x <= box.right && y >= box.bottom && y <= box.top;
    });
}

const std::array<std::pair<SDL_Keycode, const char*>, 5> KeyNames = {{
    {SDLK_RIGHT, "Right"},
    {SDLK_SPACE, "Space"},
    {SDLK_UP, "Up"},
    {SDLK_x, "X"},
    {SDLK_c, "C"},
}};

using Move = LevelAutopilot::Move;
using Plan = LevelAutopilot::Plan;

struct Flight {
    bool landed = false;
    bool dead = false;
    bool blocked = false;  // stopped by a wall and come down at its foot
    float top = 0.0f;  // of what it landed on
    float x = 0.0f;  // where
    float margin = 0.0f;  // how far the player's box reaches onto what it landed on
    int frames = 0;  // until it landed or died
};

// The player's flight from now on with the run key held, `move` made this frame and the
// plan's skills at the tops of the jump, one frame at a time as the game moves it: motion,
// then the push out of what it hits, then gravity, friction and the run key (or the dash,
// which leaves the player to itself). A skill at a top is pressed a frame after the top is
// seen, two after a jump's top, where the jump key is let go first.
Flight Fly(float x, float y, float xVel, float yVel, const Engine::RigidBody& body, const std::vector<Box>& solids,
           Move move, Plan plan = {})
{
    const Engine::Controller constants;
    constexpr float DashSpeed = 2.5f;
    constexpr float Diagonal = 0.7071f;
    constexpr int DashFrames = 12;
    constexpr float RiseAfterDash = 400.0f;
    Flight flight;
    int dashFrames = 0;
    float wallX = -1.0e9f;
    int due = -1;  // the frame of the next planned skill
    bool fromJump = move == Move::Jump;
    for (int frame = 0; frame < 300; ++frame) {
        const float wasBottom = y + body.bottom;
        const float wasTop = y + body.top;
        x += xVel * FrameSeconds;
        if (!(frame == 0 && move == Move::Jump))
            y += yVel * FrameSeconds;
        for (const Box& box : solids) {
            const bool overlaps = x + body.left < box.right && box.left < x + body.right && y + body.bottom < box.top &&
                                  box.bottom < y + body.top;
            if (!overlaps)
                continue;
            if (wasBottom >= box.top - 1.0f && yVel <= 0.0f) {
                flight.landed = box.top >= LowestGround;
                flight.dead = !flight.landed;
                flight.top = box.top;
                flight.x = x;
                flight.margin = std::min(x + body.right - box.left, box.right - (x + body.left));
                flight.frames = frame;
                flight.blocked = x <= wallX + 1.0f;
                return flight;
            }
            if (wasTop <= box.bottom + 1.0f && yVel > 0.0f) {
                y = box.bottom - body.top - 0.1f;
                yVel = 0.0f;
            } else {
                x = xVel >= 0.0f ? box.left - body.right - 0.1f : box.right - body.left + 0.1f;
                wallX = x;
            }
        }
        if (y + body.bottom < Deadly) {
            flight.dead = true;
            flight.x = x;
            flight.frames = frame;
            return flight;
        }
        // The every-frame scripts (gravity, friction) and the run key come first, then the
        // scripts of the keys pressed for this frame.
        if (dashFrames > 0) {
            if (--dashFrames == 0) {
                xVel = constants.maxvelx;
                yVel = std::min(yVel, RiseAfterDash);
            }
        } else {
            yVel = std::max(yVel + constants.y_acc, constants.maxvely);
            const float step = constants.fric * 4.0f;
            xVel = xVel > step ? xVel - step : (xVel < -step ? xVel + step : 0.0f);
            if (frame >= plan.coastFrames)
                xVel = std::min(xVel + constants.x_acc * 8.0f, constants.maxvelx);
        }
        Move now = frame == 0 ? move : Move::None;
        if (frame == due) {
            if (plan.kick) {
                now = Move::Kick;
                plan.kick = false;
            } else {
                now = plan.dash;
                plan.dash = Move::None;
            }
            due = -1;
        }
        if (now == Move::Jump || now == Move::Kick) {
            yVel = constants.jumpvel;
        } else if (now != Move::None) {
            const float speed = constants.maxvelx * DashSpeed;
            xVel = now == Move::Dash ? speed : speed * Diagonal;
            yVel = now == Move::Dash ? 0.0f : speed * Diagonal;
            dashFrames = DashFrames;
        }
        if (due < 0 && dashFrames == 0 && yVel <= 0.0f && (plan.kick || plan.dash != Move::None)) {
            due = frame + (fromJump ? 2 : 1);
            fromJump = false;
        }
    }
    flight.dead = true;  // still in the air after five seconds: gone
    return flight;
}

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
        event.key = SDLK_UNKNOWN;
        for (const auto& [code, name] : KeyNames)
            if (key == name)
                event.key = code;
        event.down = change == "down";
        if (event.key != SDLK_UNKNOWN)
            events.push_back(event);
    }
    return events;
}

void WriteRecording(const std::filesystem::path& path, const std::string& title, const std::vector<KeyEvent>& events)
{
    std::ostringstream text;
    text << "# " << title << ": FRAME KEY down|up, frames counted from the level's first frame.\n"
            "# Written by scripts/record-level-run; see README.md.\n";
    for (const KeyEvent& event : events) {
        const char* name = "?";
        for (const auto& [code, keyName] : KeyNames)
            if (event.key == code)
                name = keyName;
        text << event.frame << ' ' << name << ' ' << (event.down ? "down" : "up") << '\n';
    }
    TestSupport::WriteFile(path, text.str());
}

LevelAutopilot::LevelAutopilot(float dieAfter, std::vector<PilotJump> pilotJumps)
    : dieAfterX(dieAfter), jumps(std::move(pilotJumps))
{
}

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
    const std::uint32_t player = Engine::GameObjectTable::Instance().FindGameObject("Player");
    if (start < 0) {
        start = driver.frame;
        solids = SolidBoxes(player);
    }
    for (SDL_Keycode key : releaseNext)
        Press(driver, key, false);
    releaseNext.clear();
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

    if (coastFrames > 0)
        --coastFrames;
    if (!rightHeld && coastFrames == 0) {
        Press(driver, SDLK_RIGHT, true);
        rightHeld = true;
    }
    if (jumpFrames > 0 && (--jumpFrames == 0 || controller->y_vel <= 0.0f)) {
        jumpFrames = 0;  // let go at the top, so that a kick after it is not cut short
        Press(driver, SDLK_SPACE, false);
        return;
    }
    if (actionWait > 0)
        --actionWait;
    if (jumpFrames > 0 || controller->isDead || actionWait > 0)
        return;
    const Box box{at->x_pos + body->left, at->x_pos + body->right, at->y_pos + body->bottom, at->y_pos + body->top};
    if (controller->isGrounded)
        OnGround(driver, box);
    else if (!skipping && !controller->airSkillActive)
        InTheAir(driver);
}

void LevelAutopilot::OnGround(GameDriver& driver, const Box& player)
{
    const float x = (player.left + player.right) * 0.5f;
    planned = false;
    // A wall: solid just above the feet a little ahead. A pit: no ground just ahead.
    bool wall = false;
    for (float ahead = 100.0f; ahead <= 160.0f && !wall; ahead += 20.0f)
        wall = Solid(solids, player.right + ahead, player.bottom + 20.0f);
    const bool pit = !Solid(solids, player.right + 30.0f, player.bottom - 5.0f);
    if (pit && deaths == 0 && x > dieAfterX) {
        skipping = true;  // this one is taken feet first
        return;
    }
    if (skipping)
        return;
    for (const PilotJump& jump : jumps) {
        if (x < jump.x || x >= jump.x + jump.range || player.bottom >= jump.top - 1.0f)
            continue;
        // The first plan that lands well on top from here; none: a step further on.
        const std::uint32_t id = Engine::GameObjectTable::Instance().FindGameObject("Player");
        const Engine::Transform* at = Get<Engine::Transform>(id);
        const Engine::Controller* controller = Get<Engine::Controller>(id);
        const Engine::RigidBody* body = Get<Engine::RigidBody>(id);
        std::vector<Plan> plans;
        for (const int coast : {0, 8, 16, 24, 32, 48, 64})
            for (const Plan skills : {Plan{false, Move::None}, Plan{true, Move::None}, Plan{false, Move::DiagonalDash},
                                      Plan{true, Move::DiagonalDash}, Plan{true, Move::Dash}})
                plans.push_back({skills.kick, skills.dash, coast});
        for (const Plan& plan : plans) {
            const Flight flight =
                Fly(at->x_pos, at->y_pos, controller->x_vel, controller->y_vel, *body, solids, Move::Jump, plan);
            if (flight.landed && !flight.blocked && flight.top >= jump.top - 1.0f && flight.margin >= 50.0f) {
                planned = true;
                plan_ = plan;
                Press(driver, SDLK_SPACE, true);
                jumpFrames = JumpHoldFrames;
                if (plan.coastFrames > 0) {
                    Press(driver, SDLK_RIGHT, false);
                    rightHeld = false;
                    coastFrames = plan.coastFrames;
                }
                return;
            }
        }
        return;
    }
    if (wall || pit) {
        Press(driver, SDLK_SPACE, true);
        jumpFrames = JumpHoldFrames;
    }
}

void LevelAutopilot::InTheAir(GameDriver& driver)
{
    const std::uint32_t id = Engine::GameObjectTable::Instance().FindGameObject("Player");
    const Engine::Transform* at = Get<Engine::Transform>(id);
    const Engine::Controller* controller = Get<Engine::Controller>(id);
    const Engine::RigidBody* body = Get<Engine::RigidBody>(id);
    const auto fly = [&](Move move) {
        return Fly(at->x_pos, at->y_pos, controller->x_vel, controller->y_vel, *body, solids, move);
    };
    const auto good = [&](const Flight& flight) {
        return flight.landed && !flight.blocked;
    };
    const auto score = [&](const Flight& flight) {
        if (flight.dead)
            return -1.0e6f + flight.x;
        return (flight.blocked ? -1.0e4f : 0.0f) + flight.top * 10.0f + flight.x * 0.01f;
    };
    const auto make = [&](Move move) {
        if (move == Move::Kick) {
            Press(driver, SDLK_c, true);
            releaseNext.push_back(SDLK_c);
        } else {
            if (move == Move::DiagonalDash) {
                Press(driver, SDLK_UP, true);
                releaseNext.push_back(SDLK_UP);
            }
            Press(driver, SDLK_x, true);
            releaseNext.push_back(SDLK_x);
        }
        actionWait = 2;
    };

    if (planned) {
        if (controller->y_vel > 0.0f)
            return;
        if (plan_.kick) {
            make(Move::Kick);
            plan_.kick = false;
        } else if (plan_.dash != Move::None) {
            make(plan_.dash);
            plan_.dash = Move::None;
        }
        return;
    }
    const Flight asItGoes = fly(Move::None);
    if (good(asItGoes) || controller->y_vel > 0.0f)
        return;  // fine as it is, or still rising: a skill counts most from the top
    const bool kick = !controller->waterSkillSpent;
    const bool dash = !controller->airSkillSpent;
    for (const Move move : {Move::Kick, Move::Dash, Move::DiagonalDash}) {
        if ((move == Move::Kick ? kick : dash) && good(fly(move))) {
            make(move);
            return;
        }
    }
    // Nothing is enough alone: wait while waiting may yet make it enough, then the kick first,
    // which leaves the dash for later. At a wall the moment is now, for the height.
    const bool lastMoment = asItGoes.blocked || (asItGoes.dead && asItGoes.frames < 20);
    if (!lastMoment)
        return;
    if (kick) {
        make(Move::Kick);
        return;
    }
    if (!dash)
        return;
    const Flight level = fly(Move::Dash);
    const Flight diagonal = fly(Move::DiagonalDash);
    if (std::max(score(level), score(diagonal)) > score(asItGoes))
        make(score(diagonal) >= score(level) ? Move::DiagonalDash : Move::Dash);
}

}  // namespace EndToEnd
