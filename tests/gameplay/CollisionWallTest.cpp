// The player dashing and kicking through the air into walls and tall blocks, run frame by frame
// through the collision steps of the game's own frame (prediction, detection, resolution,
// commit), with the velocities the player's scripts set in between.
#include "GameplayScene.h"

#include "gameplay/CollisionResolution.h"
#include "gameplay/CollisionUpdate.h"
#include "gameplay/PhysicsUpdate.h"
#include "gameplay/PositionUpdate.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <sstream>

using namespace GameplayScene;

namespace {
constexpr std::int32_t Static = 0;
constexpr std::int32_t Dynamic = 1;
constexpr float FrameSeconds = 1.0f / 60.0f;  // the game loop's fixed step

// The player's motion as its scripts drive it (RunRight/RunLeft held, ApplyFriction,
// ApplyGravity, AirDash, WaterSkill), with the Controller's own constants.
constexpr float RunStep = 8.0f * 5.625f;       // RunRight: 8 x_acc a frame, up to maxvelx
constexpr float FrictionStep = 4.0f * 5.625f;  // ApplyFriction: 4 fric a frame
constexpr float DashSpeed = 2.5f * 450.0f;     // AirDash: 2.5 maxvelx
constexpr float Diagonal = 0.7071f;            // AirDash with Up held: that share on each axis
constexpr int DashFrames = 12;                 // AirDash lasts 0.2 s
constexpr float RiseAfterDash = 400.0f;

struct Block {
    float left, right, bottom, top;
};

struct Scene {
    std::vector<Block> blocks;
    float faceX;  // the left face the player flies at (mirrored for leftward flights)
};

// Around the tall block of "Level 3" that follows the lower floor (x 3200..4200, top 0): the
// block rises to 100 from x 4200 and to 200 over its first 400 units, with the deep fill below.
const Scene TallBlock = {{
                             {3200.0f, 4200.0f, -100.0f, 0.0f},     // the lower floor
                             {3200.0f, 6000.0f, -300.0f, -100.0f},  // the fill under it
                             {4200.0f, 6000.0f, -100.0f, 100.0f},   // the tall block
                             {4200.0f, 4600.0f, 100.0f, 200.0f},    // its top step
                             {4600.0f, 6000.0f, 100.0f, 300.0f},    // and the next one
                         },
                         4200.0f};
// A plain wall, one body from the floor up, standing on a floor of its own.
const Scene Wall = {{{3000.0f, 4200.0f, -100.0f, 0.0f}, {4200.0f, 4400.0f, -100.0f, 400.0f}}, 4200.0f};

struct Start {
    const char* what;
    const Scene* scene;
    float gapX;     // from the player's front to the block's face, at the start
    float bottomY;  // the player's feet at the start (in the air)
    float yVel;     // rising or falling at the start; the run is at full speed
    int dashAt;     // the frame of the dash (-1: none)
    bool diagonal;  // Up held with the dash
    int kickAt;     // the frame of the water kick (-1: none): the Controller's jumpvel up
};

// One flight's variant: how far, which way, the phase in the frame and the id order.
struct Variant {
    float extraGap;
    int facing;    // +1 right, -1 left: the scene mirrored about x = 0
    float phase;   // the start shifted by this share of one frame's run
    bool playerLast;
};

float Overlap(float aLow, float aHigh, float bLow, float bHigh)
{
    return std::min(aHigh, bHigh) - std::max(aLow, bLow);
}

// The scripts' velocity changes before frame `frame` (the run key held throughout).
void DriveThePlayer(const Start& start, int facing, int frame, int& dashLeft, Engine::Controller& c)
{
    const auto forward = [facing](float speed) { return speed * static_cast<float>(facing); };
    if (frame == start.dashAt) {
        const float speed = start.diagonal ? DashSpeed * Diagonal : DashSpeed;
        c.x_vel = forward(speed);
        c.y_vel = start.diagonal ? speed : 0.0f;
        dashLeft = DashFrames;
    } else if (dashLeft > 0 && --dashLeft == 0) {
        c.x_vel = forward(c.maxvelx);
        c.y_vel = std::min(c.y_vel, RiseAfterDash);
    }
    if (dashLeft == 0) {
        c.y_vel = std::max(c.y_vel + c.y_acc, c.maxvely);
        const float speed = std::fabs(c.x_vel);
        const float slowed = speed > FrictionStep ? speed - FrictionStep : 0.0f;
        c.x_vel = forward(std::min(slowed + RunStep, c.maxvelx));
    }
    if (frame == start.kickAt)
        c.y_vel = c.jumpvel;
}

// Flies the player for 1.5 s; the first frame that ends with it inside a block, described, or "".
std::string FirstFrameInsideABlock(const Start& start, const Variant& variant, float tolerance)
{
    const auto mirror = [&variant](float x) { return variant.facing > 0 ? x : -x; };
    std::vector<std::uint32_t> blockIds;
    const auto makeBlocks = [&] {
        for (const Block& block : start.scene->blocks) {
            const float left = std::min(mirror(block.left), mirror(block.right));
            const float right = std::max(mirror(block.left), mirror(block.right));
            const std::uint32_t id = AddObject("Block", (left + right) / 2.0f, (block.bottom + block.top) / 2.0f);
            AddBox(id, Static, (right - left) / 2.0f, (block.top - block.bottom) / 2.0f);
            blockIds.push_back(id);
        }
    };
    std::uint32_t player = 0;
    const auto makePlayer = [&] {
        const float front = start.scene->faceX - start.gapX - variant.extraGap - variant.phase * 450.0f * FrameSeconds;
        player = AddObject("Player", mirror(front - 40.0f), start.bottomY + 50.0f);
        AddBox(player, Dynamic, 40.0f, 50.0f);  // 80 by 100, as in every level
        Engine::Controller& controller = Add<Engine::Controller>(player);
        controller.x_vel = controller.maxvelx * static_cast<float>(variant.facing);
        controller.y_vel = start.yVel;
    };
    if (variant.playerLast) {
        makeBlocks();
        makePlayer();
    } else {
        makePlayer();
        makeBlocks();
    }
    FrameDeltaTime = FrameSeconds;

    std::string inside;
    Engine::Controller& controller = *Get<Engine::Controller>(player);
    int dashLeft = 0;
    for (int frame = 0; frame < 90 && inside.empty(); ++frame) {
        DriveThePlayer(start, variant.facing, frame, dashLeft, controller);
        Step<Engine::PhysicsUpdate>();
        Step<Engine::CollisionUpdate>();
        Step<Engine::CollisionResolution>();
        Step<Engine::PositionUpdate>();

        const Engine::Transform& at = *Get<Engine::Transform>(player);
        for (const std::uint32_t blockId : blockIds) {
            const Engine::Transform& blockAt = *Get<Engine::Transform>(blockId);
            const Engine::RigidBody& body = *Get<Engine::RigidBody>(blockId);
            const float left = blockAt.x_pos + body.left;
            const float right = blockAt.x_pos + body.right;
            const float bottom = blockAt.y_pos + body.bottom;
            const float top = blockAt.y_pos + body.top;
            const float x = Overlap(at.x_pos - 40.0f, at.x_pos + 40.0f, left, right);
            const float y = Overlap(at.y_pos - 50.0f, at.y_pos + 50.0f, bottom, top);
            if (x > tolerance && y > tolerance && inside.empty()) {
                std::ostringstream text;
                text << "frame " << frame << ": player at (" << at.x_pos << ", " << at.y_pos << ") inside the block x "
                     << left << ".." << right << ", y " << bottom << ".." << top << " by " << x << " by " << y;
                inside = text.str();
            }
        }
    }

    Engine::GameObjectTable::Instance().RemoveGameObject(player);
    for (const std::uint32_t blockId : blockIds)
        Engine::GameObjectTable::Instance().RemoveGameObject(blockId);
    ClearQueue();
    return inside;
}

}  // namespace

// A table of flights into a wall or the tall block: heights, the dash (level or diagonal) and
// the kick at the player's real speeds, four distances, left and right, four phases within the
// frame, and the player made after the blocks (the higher id: resolution then reads it as the
// second body of each pair) as well as before them. No frame ends with the player in a block.
TEST(CollisionResolution, DashAndKickIntoAWallNeverEndAFrameInsideIt)
{
    const std::vector<Start> starts = {
        // As reported: the jump from the lower floor with Right held, the diagonal dash 0.35 s
        // into it and the kick 0.35 s after that.
        {"jump, diagonal dash, kick into the tall block", &TallBlock, 300.0f, 0.1f, 520.0f, 21, true, 42},
        {"jump, level dash, kick into the tall block", &TallBlock, 300.0f, 0.1f, 520.0f, 21, false, 42},
        {"diagonal dash low into the tall block's side", &TallBlock, 150.0f, 10.0f, 0.0f, 0, true, 18},
        {"level dash into the tall block's side", &TallBlock, 150.0f, 30.0f, 0.0f, 0, false, 12},
        {"level dash at the height of its top step", &TallBlock, 150.0f, 150.0f, 0.0f, 0, false, 12},
        {"falling onto the tall block's edge", &TallBlock, 10.0f, 260.0f, -300.0f, -1, false, -1},
        {"kick rising along the tall block's face", &TallBlock, 0.0f, 20.0f, 0.0f, -1, false, 0},
        {"diagonal dash into a wall", &Wall, 200.0f, 40.0f, 100.0f, 3, true, 15},
        {"level dash into a wall, then the kick", &Wall, 100.0f, 120.0f, 0.0f, 0, false, 6},
        {"falling dash into a wall's foot", &Wall, 100.0f, 20.0f, -400.0f, 0, false, -1},
    };
    // Every push leaves the body 0.1 clear; this is only room for float rounding at these
    // coordinates (a step of about 0.0005 near x 4000), far below that 0.1.
    constexpr float Tolerance = 0.01f;

    for (const Start& start : starts) {
        for (const float extraGap : {0.0f, 30.0f, 60.0f, 90.0f}) {
            for (const bool playerLast : {true, false}) {
                for (const int facing : {1, -1}) {
                    for (const float phase : {0.0f, 0.25f, 0.5f, 0.75f}) {
                        std::ostringstream what;
                        what << start.what << ", " << start.gapX + extraGap << " away"
                             << (facing > 0 ? ", rightward" : ", leftward") << ", phase " << phase
                             << (playerLast ? ", player made last" : ", player made first");
                        EXPECT_EQ(FirstFrameInsideABlock(start, {extraGap, facing, phase, playerLast}, Tolerance), "")
                            << what.str();
                    }
                }
            }
        }
    }
}
