#include "EditorOnScreen.h"

#include "core/ComponentStore.h"
#include "core/GameObjectTable.h"
#include "core/RigidBody.h"
#include "core/Transform.h"
#include "data/LevelManager.h"
#include "editor/Editor.h"
#include "graphics/Camera.h"

#include <algorithm>
#include <iterator>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace EditorTest {

namespace {

struct PixelBox {
    int left, top, right, bottom;  // inclusive window pixels
};

// The pure white squares (the shipped cards' colour) in a window area of the frame: each
// four-connected patch of white pixels at least 10 pixels high and about a card wide.
std::vector<PixelBox> WhiteCards(const EditorOnScreen& screen, const std::vector<Rgba>& pixels, int width, PixelBox area)
{
    (void)screen;
    auto white = [&](int x, int y) {
        const Rgba& p = pixels[static_cast<std::size_t>(y * width + x)];
        return p[0] == 255 && p[1] == 255 && p[2] == 255;
    };
    std::vector<PixelBox> cards;
    std::set<std::pair<int, int>> seen;
    for (int y = area.top; y <= area.bottom; ++y) {
        for (int x = area.left; x <= area.right; ++x) {
            if (!white(x, y) || seen.count({x, y}) != 0)
                continue;
            PixelBox box{x, y, x, y};
            std::vector<std::pair<int, int>> open{{x, y}};
            seen.insert({x, y});
            while (!open.empty()) {
                const auto [px, py] = open.back();
                open.pop_back();
                box = {std::min(box.left, px), std::min(box.top, py), std::max(box.right, px), std::max(box.bottom, py)};
                for (const auto& [nx, ny] : {std::pair{px + 1, py}, std::pair{px - 1, py}, std::pair{px, py + 1}, std::pair{px, py - 1}}) {
                    if (nx < area.left || nx > area.right || ny < area.top || ny > area.bottom)
                        continue;
                    if (white(nx, ny) && seen.insert({nx, ny}).second)
                        open.push_back({nx, ny});
                }
            }
            const int w = box.right - box.left + 1;
            const int h = box.bottom - box.top + 1;
            if (w >= 26 && w <= 32 && h >= 10)
                cards.push_back(box);
        }
    }
    return cards;
}

// The ids of the live objects, ascending.
std::vector<std::uint32_t> LiveIds()
{
    std::vector<std::uint32_t> ids;
    const auto& slots = Engine::GameObjectTable::Instance().slots;
    for (std::uint32_t id = 0; id < slots.size(); ++id)
        if (slots[id] != nullptr)
            ids.push_back(id);
    return ids;
}

}  // namespace

// Every shipped archetype card, found in the picture, is pressed and its object dragged into
// the game view over "Level 1": each lands under the cursor at its record's depth, shows in
// the frame there, and keeps its record's Ghost flag once dropped.
TEST_F(EditorOnScreen, EveryShippedArchetypeCardPlacesAVisibleObjectUnderTheCursor)
{
    Open(1280, 720);
    Engine::LevelManager& levels = Engine::LevelManager::Instance();
    levels.LoadLevelNames();
    levels.LoadArchetypes();
    levels.LoadLevel("Level 1");
    std::map<std::string, const ArchetypeRecord*> records;
    for (const auto& record : levels.archetypes)
        if (record != nullptr)
            records[record->name] = record.get();
    ASSERT_EQ(records.size(), 8u);

    MoveMouse(5, 5);
    for (int frame = 0; frame < 3; ++frame)
        Frame();
    ASSERT_EQ(width, 1280);
    const std::vector<PixelBox> cards = WhiteCards(*this, pixels, width, {250, 620, 779, 719});
    ASSERT_EQ(cards.size(), records.size()) << "every card is drawn inside the window";

    Engine::GameObjectTable& table = Engine::GameObjectTable::Instance();
    Engine::ComponentStore& store = Engine::ComponentStore::Instance();
    const Engine::Camera* camera = Engine::Camera::Instance();
    const int dropX = 400;
    const int dropY = 170;  // open sky left of the first tree
    std::set<std::string> placed;
    for (const PixelBox& card : cards) {
        const std::vector<Rgba> before = Frame();
        const std::vector<std::uint32_t> liveBefore = LiveIds();
        MoveMouse((card.left + card.right) / 2, (card.top + card.bottom) / 2);
        Frame();
        Button(true);
        Frame();
        MoveMouse(dropX, dropY);
        Frame();
        Button(false);
        Frame();
        Frame();
        std::vector<std::uint32_t> made;
        std::ranges::set_difference(LiveIds(), liveBefore, std::back_inserter(made));
        ASSERT_EQ(made.size(), 1u) << "one object from the card at x " << card.left;
        const std::uint32_t id = made[0];
        const std::string name = table.Get(id)->name;
        const std::string archetype = name.substr(0, name.find('('));
        ASSERT_EQ(records.count(archetype), 1u) << name;
        EXPECT_TRUE(placed.insert(archetype).second) << archetype << " placed twice";
        const ArchetypeRecord& record = *records[archetype];

        const auto* transform = store.GetComponent<Engine::Transform>(id);
        ASSERT_NE(transform, nullptr) << name;
        // The world point under the drop pixel: the view spans the 1280 x 720 display.
        const float worldX = camera->eye[0] + (static_cast<float>(dropX) - 640.0f) * camera->viewWidth / 1280.0f;
        const float worldY = camera->eye[1] - (static_cast<float>(dropY) - 360.0f) * camera->viewHeight / 720.0f;
        EXPECT_NEAR(transform->x_pos, worldX, 1.0f) << name;
        EXPECT_NEAR(transform->y_pos, worldY, 1.0f) << name;
        EXPECT_FLOAT_EQ(transform->z_pos, record.transform.z_pos) << name;
        const auto* body = store.GetComponent<Engine::RigidBody>(id);
        ASSERT_NE(body, nullptr) << name;
        EXPECT_EQ(body->Ghost, record.rigidBody.Ghost) << name;

        // The picture changed around the drop point, within the object's box, and nowhere else.
        const float pixelsPerUnitX = 1280.0f / camera->viewWidth;
        const float pixelsPerUnitY = 720.0f / camera->viewHeight;
        const int halfW = static_cast<int>(transform->x_sca * pixelsPerUnitX) + 2;
        const int halfH = static_cast<int>(transform->y_sca * pixelsPerUnitY) + 2;
        int inside = 0;
        int outside = 0;
        for (int y = 20; y < 620; ++y)
            for (int x = 250; x < 780; ++x) {
                const std::size_t at = static_cast<std::size_t>(y * width + x);
                if (before[at] == pixels[at])
                    continue;
                const bool within = std::abs(x - dropX) <= halfW && std::abs(y - dropY) <= halfH;
                ++(within ? inside : outside);
            }
        EXPECT_GT(inside, 0) << name << " is drawn at the drop point";
        EXPECT_EQ(outside, 0) << name;

        table.RemoveGameObject(id);
    }
    EXPECT_EQ(placed.size(), records.size());
    const std::set<std::string> ghosts = {"CheckPoint", "DashOrb", "Goal", "KillZone"};
    for (const std::string& ghost : ghosts)
        EXPECT_TRUE(records[ghost]->rigidBody.Ghost) << ghost << " is shipped as a ghost";
}

}  // namespace EditorTest
