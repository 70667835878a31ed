// The copy through a component's table: every field it lists, the colour's four channels
// included, and nothing else; the members a copy names keep what the target holds.
#include "core/ComponentFields.h"

#include <gtest/gtest.h>

namespace {

using Engine::CopyFields;
using Engine::Range;
using Engine::RigidBody;
using Engine::Sprite;

TEST(ComponentFields, CopyFieldsTakesEveryFieldOfTheTableAndNothingOutsideIt)
{
    Sprite source;
    source.owner = 4;
    source.MeshIndex = 2;
    source.Color[0] = 0.1f;
    source.Color[3] = 0.4f;
    source.Texture = "Crate.png";
    Sprite copy;
    copy.owner = 9;
    CopyFields(source, copy);
    EXPECT_EQ(copy.MeshIndex, 2);
    EXPECT_FLOAT_EQ(copy.Color[0], 0.1f);
    EXPECT_FLOAT_EQ(copy.Color[1], 1.0f);
    EXPECT_FLOAT_EQ(copy.Color[3], 0.4f);
    EXPECT_EQ(copy.Texture, "Crate.png");
    EXPECT_EQ(copy.owner, 9u);  // the owner is the copy's own

    Range enemy;
    enemy.range = 300.0f;
    enemy.speed = 700.0f;
    enemy.fireInterval = 50;
    Range made;
    CopyFields(enemy, made);
    EXPECT_FLOAT_EQ(made.range, 300.0f);
    EXPECT_FLOAT_EQ(made.speed, 700.0f);
    EXPECT_EQ(made.fireInterval, 2000);  // not a field of the table
}

TEST(ComponentFields, MembersACopyKeepsStayAsTheTargetHoldsThem)
{
    RigidBody source;
    source.BodyType = 1;
    source.ColliderType = 1;
    source.left = -3.0f;
    source.top = 4.0f;
    source.right = 3.0f;
    source.bottom = -4.0f;
    source.Weight = 0.5f;
    source.Ghost = true;
    RigidBody copy;
    copy.Weight = 0.25f;
    CopyFields<&RigidBody::BodyType, &RigidBody::Weight>(source, copy);
    EXPECT_EQ(copy.BodyType, 0);
    EXPECT_FLOAT_EQ(copy.Weight, 0.25f);
    EXPECT_EQ(copy.ColliderType, 1);
    EXPECT_FLOAT_EQ(copy.left, -3.0f);
    EXPECT_FLOAT_EQ(copy.top, 4.0f);
    EXPECT_FLOAT_EQ(copy.right, 3.0f);
    EXPECT_FLOAT_EQ(copy.bottom, -4.0f);
    EXPECT_TRUE(copy.Ghost);
}

}  // namespace
