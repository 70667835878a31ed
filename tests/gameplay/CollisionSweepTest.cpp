// The collision pass only tests the pairs its sweep along x finds. These tests hold it to the plain
// walk over every pair of bodies, kept here as the reference: on random scenes, frame after frame,
// both must give the same records (bit for bit) and raise the same events in the same order.
#include "GameplayScene.h"

#include "gameplay/CollisionUpdate.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <limits>
#include <random>

using namespace GameplayScene;

namespace {
constexpr std::int32_t Static = 0;
constexpr std::int32_t Dynamic = 1;
constexpr std::int32_t Kinematic = 2;

const char* const Detected = "Collision Detected";
const char* const Told = "OnCollision";

struct Outcome {
    std::vector<Engine::CollisionRecord> records;
    std::vector<Call> events;
};

// Every pair (i, j), i < j, of the bodies in id order, tested in full.
Outcome EveryPairWalk()
{
    struct Body {
        std::uint32_t id;
        const Engine::RigidBody* body;
        float x;
        float y;
    };
    std::vector<Body> bodies;
    for (std::uint32_t id = 0; id <= Engine::GameObjectTable::Instance().highestUsed; ++id) {
        const Engine::RigidBody* body = Get<Engine::RigidBody>(id);
        if (body == nullptr)
            continue;
        if (const Engine::Controller* controller = Get<Engine::Controller>(id))
            bodies.push_back({id, body, controller->next_x_pos, controller->next_y_pos});
        else if (const Engine::Transform* transform = Get<Engine::Transform>(id))
            bodies.push_back({id, body, transform->x_pos, transform->y_pos});
    }

    Outcome outcome;
    for (std::size_t i = 0; i < bodies.size(); ++i) {
        for (std::size_t j = i + 1; j < bodies.size(); ++j) {
            const Body& a = bodies[i];
            const Body& b = bodies[j];
            if (a.body->BodyType == Static && b.body->BodyType == Static)
                continue;
            if (a.body->ColliderType != 0 || b.body->ColliderType != 0)
                continue;
            const float aL = a.x + a.body->left, aR = a.x + a.body->right;
            const float aT = a.y + a.body->top, aB = a.y + a.body->bottom;
            const float bL = b.x + b.body->left, bR = b.x + b.body->right;
            const float bT = b.y + b.body->top, bB = b.y + b.body->bottom;
            if (!(bL <= aR && aL <= bR && bB <= aT && aB <= bT))
                continue;
            if (bL == aR || aL == bR || bB == aT || aB == bT) {  // only an edge line shared
                outcome.events.emplace_back(Detected, a.id);
                outcome.events.emplace_back(Detected, b.id);
                continue;
            }
            Engine::CollisionRecord record;
            record.ownerA = a.id;
            record.ownerB = b.id;
            if (aL < bR && bR < aR) {
                record.sides[2] = true;
                record.depthX = (bR - aL) + 0.1f;
            } else if (aL < bL && bL < aR) {
                record.sides[3] = true;
                record.depthX = (aR - bL) + 0.1f;
            }
            if (aB < bT && bT < aT) {
                record.sides[1] = true;
                record.depthY = (bT - aB) + 0.1f;
            } else if (aB < bB && bB < aT) {
                record.sides[0] = true;
                record.depthY = (aT - bB) + 0.1f;
            }
            outcome.events.emplace_back(Detected, a.id);
            outcome.events.emplace_back(Detected, b.id);
            if (record.sides[0] || record.sides[1] || record.sides[2] || record.sides[3]) {
                outcome.records.push_back(record);
                outcome.events.emplace_back(Told, a.id);
                outcome.events.emplace_back(Told, b.id);
            }
        }
    }
    return outcome;
}

std::string Describe(const Engine::CollisionRecord& r)
{
    return std::to_string(r.ownerA) + "-" + std::to_string(r.ownerB) + " kind " + std::to_string(r.kind) +
           " sides " + std::to_string(r.sides[0]) + std::to_string(r.sides[1]) + std::to_string(r.sides[2]) +
           std::to_string(r.sides[3]) + " depths " + std::to_string(r.depthX) + " " + std::to_string(r.depthY);
}

bool SameRecord(const Engine::CollisionRecord& a, const Engine::CollisionRecord& b)
{
    return a.ownerA == b.ownerA && a.ownerB == b.ownerB && a.kind == b.kind && a.sides[0] == b.sides[0] &&
           a.sides[1] == b.sides[1] && a.sides[2] == b.sides[2] && a.sides[3] == b.sides[3] &&
           std::bit_cast<std::uint32_t>(a.depthX) == std::bit_cast<std::uint32_t>(b.depthX) &&
           std::bit_cast<std::uint32_t>(a.depthY) == std::bit_cast<std::uint32_t>(b.depthY);
}

void ExpectSameAsEveryPairWalk()
{
    const Outcome expected = EveryPairWalk();
    ClearQueue();
    Step<Engine::CollisionUpdate>();
    const std::vector<Engine::CollisionRecord>& records = Engine::GetSystem<Engine::CollisionUpdate>()->records;

    ASSERT_EQ(records.size(), expected.records.size());
    for (std::size_t k = 0; k < records.size(); ++k)
        ASSERT_TRUE(SameRecord(records[k], expected.records[k]))
            << "record " << k << ": " << Describe(records[k]) << " against " << Describe(expected.records[k]);
    ASSERT_EQ(QueuedCalls(), expected.events);
}

// Scenes on a coarse grid, so that edges are often equal: boxes touch, share edges, nest and
// coincide. A few bodies sit at an undefined or infinite point or have their edges swapped.
class RandomScene {
public:
    RandomScene(std::uint32_t seed, float halfSide) : random(seed), extent(halfSide) {}

    void AddBodies(int count)
    {
        for (int made = 0; made < count; ++made)
            AddBody();
    }

    void AddBody()
    {
        const int shape = Pick(0, 19);
        const std::uint32_t id = shape == 0 ? Engine::GameObjectTable::Instance().CreateGameObject("Nowhere")
                                            : AddObject("Body", Coordinate(), Coordinate());
        ids.push_back(id);
        Listen(id, {Detected, Told});
        if (shape == 1)
            return;  // scenery: no body at all
        const std::int32_t types[3] = {Static, Dynamic, Kinematic};
        Engine::RigidBody& body = AddBox(id, types[Pick(0, 2)], HalfSize(), HalfSize());
        if (Pick(0, 9) == 0)
            body.ColliderType = 1;
        if (Pick(0, 9) == 0)
            body.Ghost = true;
        if (Pick(0, 29) == 0)
            std::swap(body.left, body.right);
        if (Pick(0, 1) == 0)
            AddMover(id, Coordinate(), Coordinate());
        if (shape == 2)
            PlaceAt(id, std::numeric_limits<float>::quiet_NaN(), Coordinate());
        if (shape == 3)
            PlaceAt(id, Coordinate(), std::numeric_limits<float>::quiet_NaN());
        if (shape == 4)
            PlaceAt(id, Pick(0, 1) == 0 ? std::numeric_limits<float>::infinity() : -1.0e30f, Coordinate());
        if (shape == 5 || shape == 6) {
            // A twin at the same point: the same box, or one nested inside (or around) it.
            const std::uint32_t twin = AddObject("Twin", 0.0f, 0.0f);
            ids.push_back(twin);
            Listen(twin, {Detected, Told});
            const float half = shape == 5 ? 0.0f : 4.0f * static_cast<float>(Pick(-2, 2));
            AddBox(twin, types[Pick(0, 2)], body.right + half, body.top + half);
            const auto [x, y] = PointOf(id);
            PlaceAt(twin, x, y);
        }
    }

    // Most bodies move a little, as in a running level; a few jump across the scene.
    void MoveBodies()
    {
        for (const std::uint32_t id : ids) {
            Engine::Controller* controller = Get<Engine::Controller>(id);
            if (controller == nullptr || std::isnan(controller->next_x_pos) || std::isinf(controller->next_x_pos))
                continue;
            if (Pick(0, 19) == 0) {
                controller->next_x_pos = Coordinate();
                controller->next_y_pos = Coordinate();
            } else {
                controller->next_x_pos += 2.0f * static_cast<float>(Pick(-2, 2));
                controller->next_y_pos += 2.0f * static_cast<float>(Pick(-2, 2));
            }
        }
    }

    // Frees some ids and fills them again with new bodies, as bullets and respawns do.
    void ReplaceSome(int count)
    {
        for (int removed = 0; removed < count && !ids.empty(); ++removed) {
            const std::size_t at = static_cast<std::size_t>(Pick(0, static_cast<int>(ids.size()) - 1));
            Engine::GameObjectTable::Instance().RemoveGameObject(ids[at]);
            ids.erase(ids.begin() + static_cast<std::ptrdiff_t>(at));
        }
        AddBodies(count);
    }

    void RemoveAll()
    {
        for (const std::uint32_t id : ids)
            Engine::GameObjectTable::Instance().RemoveGameObject(id);
        ids.clear();
    }

private:
    int Pick(int low, int high) { return std::uniform_int_distribution<int>(low, high)(random); }
    float Coordinate() { return 8.0f * static_cast<float>(Pick(-1, 1) * Pick(0, static_cast<int>(extent / 8.0f))); }
    float HalfSize()
    {
        const float sizes[5] = {4.0f, 8.0f, 16.0f, 32.0f, 12.5f};
        return sizes[Pick(0, 4)];
    }

    std::pair<float, float> PointOf(std::uint32_t id)
    {
        if (const Engine::Controller* controller = Get<Engine::Controller>(id))
            return {controller->next_x_pos, controller->next_y_pos};
        if (const Engine::Transform* transform = Get<Engine::Transform>(id))
            return {transform->x_pos, transform->y_pos};
        return {0.0f, 0.0f};
    }

    void PlaceAt(std::uint32_t id, float x, float y)
    {
        if (Engine::Controller* controller = Get<Engine::Controller>(id)) {
            controller->next_x_pos = x;
            controller->next_y_pos = y;
        } else if (Engine::Transform* transform = Get<Engine::Transform>(id)) {
            transform->x_pos = x;
            transform->y_pos = y;
        }
    }

    std::mt19937 random;
    float extent;
    std::vector<std::uint32_t> ids;
};
}  // namespace

TEST(CollisionSweep, GivesTheRecordsAndEventsOfEveryPairOnRandomScenes)
{
    struct Case {
        std::uint32_t seed;
        float extent;  // half the side of the square the bodies stand in
        int bodies;
    };
    const std::vector<Case> cases = {
        {1, 64.0f, 40},    {2, 64.0f, 120},  {3, 160.0f, 150}, {4, 160.0f, 60},  {5, 400.0f, 200},
        {6, 400.0f, 300},  {7, 1200.0f, 250}, {8, 1200.0f, 400}, {9, 48.0f, 200}, {10, 3000.0f, 300},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE("seed " + std::to_string(c.seed));
        RandomScene scene(c.seed, c.extent);
        scene.AddBodies(c.bodies);
        for (int frame = 0; frame < 12; ++frame) {
            SCOPED_TRACE("frame " + std::to_string(frame));
            ASSERT_NO_FATAL_FAILURE(ExpectSameAsEveryPairWalk());
            scene.MoveBodies();
            if (frame % 3 == 2)
                scene.ReplaceSome(c.bodies / 10 + 1);
        }
        // The next scene reuses the ids of this one, at other places: the sweep's order from the
        // last frame is stale throughout.
        scene.RemoveAll();
    }
}
