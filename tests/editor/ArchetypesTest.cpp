#include "EditorFixture.h"

#include "TestSupport.h"
#include "core/ComponentStore.h"
#include "core/EventSet.h"
#include "core/GameObjectTable.h"
#include "core/Range.h"
#include "core/RigidBody.h"
#include "core/Sprite.h"
#include "core/Transform.h"
#include "data/LevelManager.h"
#include "editor/ViewMapping.h"
#include "graphics/Camera.h"

#include <nlohmann/json.hpp>

namespace EditorTest {

namespace {

using Engine::ComponentStore;
using Engine::GameObjectTable;

class ArchetypeCards : public EditorFixture {
protected:
    void SetUp() override
    {
        EditorFixture::SetUp();
        Engine::LevelManager& levels = Engine::LevelManager::Instance();
        file = TestSupport::TemporaryHome() / "Archetypes.json";
        std::filesystem::copy_file(Fixture("Archetypes.json"), file);
        levels.archetypePath = file;
        levels.LoadArchetypes();
        ASSERT_EQ(levels.archetypes.size(), 2u);
        MoveMouse(1000, 100);
        Cards();
    }

    void Cards()
    {
        Frame([this] { editor().ShowArchetypesWindow(); });
    }

    std::uint32_t CountObjects()
    {
        std::uint32_t count = 0;
        for (const auto& slot : GameObjectTable::Instance().slots)
            count += slot != nullptr ? 1 : 0;
        return count;
    }

    // The cards of "Enemy" and "Spike" in the window at (250, 620): 30-pixel squares from
    // (292.5, 645) and (352.5, 645); these points lie over one card each.
    inline static const ImVec2 EnemyCard{300, 650};
    inline static const ImVec2 SpikeCard{360, 650};

    std::filesystem::path file;
};

}  // namespace

TEST_F(ArchetypeCards, APressMakesOneObjectThatFollowsTheMouseUntilTheRelease)
{
    MoveMouse(EnemyCard.x, EnemyCard.y);
    PressLeft(true);
    for (int frame = 0; frame < 4; ++frame)
        Cards();
    ASSERT_EQ(CountObjects(), 1u);
    const std::uint32_t id = GameObjectTable::Instance().FindGameObject("Enemy(0)");
    ASSERT_NE(id, Engine::InvalidObjectId);
    ComponentStore& store = ComponentStore::Instance();
    const Engine::ViewMapping view = Engine::ViewMapping::Current();
    auto* transform = store.GetComponent<Engine::Transform>(id);
    auto* body = store.GetComponent<Engine::RigidBody>(id);
    ASSERT_TRUE(transform && body);
    EXPECT_FLOAT_EQ(transform->x_pos, view.WorldX(EnemyCard.x));
    EXPECT_FLOAT_EQ(transform->y_pos, view.WorldY(EnemyCard.y));
    EXPECT_FLOAT_EQ(transform->x_sca, 20.0f);
    EXPECT_FLOAT_EQ(transform->z_pos, -1.3f);  // the record has no depth: the play field's, before the sky
    EXPECT_TRUE(body->Ghost);
    EXPECT_EQ(body->BodyType, 1);
    EXPECT_EQ(store.GetComponent<Engine::Sprite>(id)->Texture, "Enemy.png");
    EXPECT_EQ(store.GetComponent<Engine::EventSet>(id)->events.at("InRange"), std::vector<std::string>{"Shoot"});
    EXPECT_FLOAT_EQ(store.GetComponent<Engine::Range>(id)->range, 300.0f);

    MoveMouse(EnemyCard.x + 100, EnemyCard.y - 200);
    Cards();
    PressLeft(false);
    Cards();
    EXPECT_FLOAT_EQ(transform->x_pos, view.WorldX(EnemyCard.x + 100));
    EXPECT_NEAR(transform->y_pos, view.WorldY(EnemyCard.y - 200), 1e-3);
    EXPECT_FALSE(body->Ghost);
    EXPECT_FALSE(editor().placingObject.has_value());
    EXPECT_EQ(Engine::LevelManager::Instance().archetypes[0]->instanceCount, 1u);

    // The next object of the same archetype counts on.
    MoveMouse(EnemyCard.x, EnemyCard.y);
    Click(EnemyCard.x, EnemyCard.y, [this] { editor().ShowArchetypesWindow(); });
    EXPECT_NE(GameObjectTable::Instance().FindGameObject("Enemy(1)"), Engine::InvalidObjectId);
}

// The made object takes its record's fields, but for its place, its mesh and its weight.
TEST_F(ArchetypeCards, APlacedObjectTakesTheRecordsFieldsButItsMeshAndWeight)
{
    ArchetypeRecord& record = *Engine::LevelManager::Instance().archetypes[0];
    record.transform.rot = 0.5f;
    record.transform.z_pos = 2.0f;
    record.sprite.MeshIndex = 2;
    record.rigidBody.ColliderType = 1;
    record.rigidBody.Weight = 0.5f;
    record.range.speed = 650.0f;

    MoveMouse(EnemyCard.x, EnemyCard.y);
    PressLeft(true);
    Cards();
    const std::uint32_t id = GameObjectTable::Instance().FindGameObject("Enemy(0)");
    ASSERT_NE(id, Engine::InvalidObjectId);
    ComponentStore& store = ComponentStore::Instance();
    const auto* transform = store.GetComponent<Engine::Transform>(id);
    const auto* sprite = store.GetComponent<Engine::Sprite>(id);
    const auto* body = store.GetComponent<Engine::RigidBody>(id);
    ASSERT_TRUE(transform && sprite && body);
    EXPECT_FLOAT_EQ(transform->rot, 0.5f);
    EXPECT_FLOAT_EQ(transform->z_pos, 2.0f);
    EXPECT_FLOAT_EQ(transform->y_sca, 20.0f);
    EXPECT_FLOAT_EQ(sprite->Color[1], 0.0f);
    EXPECT_EQ(sprite->MeshIndex, 0);
    EXPECT_FLOAT_EQ(body->left, -20.0f);
    EXPECT_FLOAT_EQ(body->bottom, -20.0f);
    EXPECT_EQ(body->ColliderType, 1);
    EXPECT_FLOAT_EQ(body->Weight, 0.0f);
    EXPECT_FLOAT_EQ(store.GetComponent<Engine::Range>(id)->speed, 650.0f);
    PressLeft(false);
    Cards();
}

TEST_F(ArchetypeCards, TheRightButtonCancelsThePlacing)
{
    MoveMouse(SpikeCard.x, SpikeCard.y);
    PressLeft(true);
    Cards();
    ASSERT_EQ(CountObjects(), 1u);
    PressRight(true);
    Cards();
    EXPECT_EQ(CountObjects(), 0u);
    EXPECT_FALSE(editor().placingObject.has_value());
    // The card under the right button is not deleted while the left one is down.
    EXPECT_EQ(Engine::LevelManager::Instance().archetypes.size(), 2u);
}

TEST_F(ArchetypeCards, APlacedObjectIsPartOfTheLevelAndACancelledOneIsNot)
{
    Engine::LevelManager& levels = Engine::LevelManager::Instance();
    const std::filesystem::path level = TestSupport::TemporaryHome() / "Empty.json";
    TestSupport::WriteFile(level, "{}");
    levels.levelNames = {"Level 1"};
    levels.levelPaths = {level.string()};
    levels.LoadLevel("Level 1");
    Engine::Camera::Instance()->followedObjectId = -1;  // no player

    MoveMouse(EnemyCard.x, EnemyCard.y);
    PressLeft(true);
    Cards();
    MoveMouse(EnemyCard.x + 100, EnemyCard.y - 200);
    Cards();
    PressLeft(false);
    Cards();
    PressRight(false);
    MoveMouse(SpikeCard.x, SpikeCard.y);
    PressLeft(true);
    Cards();
    PressRight(true);
    Cards();
    PressLeft(false);
    PressRight(false);
    Cards();
    ASSERT_EQ(CountObjects(), 1u);

    levels.SaveLevel();
    const auto saved = nlohmann::json::parse(TestSupport::ReadFile(level));
    ASSERT_EQ(saved.size(), 1u) << saved.dump(4);
    ASSERT_TRUE(saved.contains("Enemy(0)"));
    const Engine::ViewMapping view = Engine::ViewMapping::Current();
    EXPECT_FLOAT_EQ(saved["Enemy(0)"]["Transform"]["PosX"][0].get<float>(), view.WorldX(EnemyCard.x + 100));
    EXPECT_EQ(saved["Enemy(0)"]["RigidBody"]["Ghost"][0], false);
}

TEST_F(ArchetypeCards, ARightPressDeletesOneArchetypeFromTheFile)
{
    MoveMouse(SpikeCard.x, SpikeCard.y);
    PressRight(true);
    for (int frame = 0; frame < 3; ++frame)
        Cards();
    const auto& records = Engine::LevelManager::Instance().archetypes;
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(records[0]->name, "Enemy");
    EXPECT_EQ(TestSupport::ReadFile(file).find("Spike"), std::string::npos);
    EXPECT_NE(TestSupport::ReadFile(file).find("Enemy"), std::string::npos);
}

TEST_F(ArchetypeCards, TheWheelScrollsTheCardsAndStopsAtTheTop)
{
    MoveMouse(500, 680);
    Wheel(-1);
    Cards();
    EXPECT_FLOAT_EQ(editor().archetypeScroll, 60.0f);
    Wheel(3);
    Cards();
    EXPECT_FLOAT_EQ(editor().archetypeScroll, 0.0f);
}

}  // namespace EditorTest
