#include "graphics/Camera.h"
#include "graphics/FrameConstants.h"

#include <gtest/gtest.h>

#include <glm/vec4.hpp>

#include <cmath>

namespace {

// A point through the row-vector matrices: p x world x view x projection.
glm::vec4 Clip(const glm::vec4& point, const glm::mat4& world, const Engine::Camera& camera)
{
    // glm's vector * matrix is the row-vector product.
    return point * world * camera.ViewMatrix() * camera.ProjectionMatrix();
}

void ExpectNear(const glm::vec4& actual, const glm::vec4& expected)
{
    for (int i = 0; i < 4; ++i)
        EXPECT_NEAR(actual[i], expected[i], 1e-5f) << "component " << i;
}

}  // namespace

TEST(Camera, StartsWithTheGamesDefaults)
{
    const Engine::Camera& camera = *Engine::Camera::Instance();
    EXPECT_EQ(camera.followedObjectId, 0);
    EXPECT_EQ(camera.eye[2], -10.0f);
    EXPECT_EQ(camera.up[1], 1.0f);
    EXPECT_EQ(camera.nearZ, 0.0f);
    EXPECT_EQ(camera.farZ, 100.0f);
    EXPECT_EQ(camera.viewWidth, 1280.0f);
    EXPECT_EQ(camera.viewHeight, 720.0f);
    EXPECT_EQ(camera.followEnabled, 1);
}

TEST(Camera, ShowsTheViewRectangleAroundTheEyeWithDepthFromZ)
{
    Engine::Camera& camera = *Engine::Camera::Instance();
    camera.eye[0] = 100.0f;
    camera.eye[1] = -50.0f;
    const glm::mat4 identity(1.0f);
    struct Case {
        glm::vec4 world;
        glm::vec4 clip;
    };
    const Case cases[] = {
        {{100.0f, -50.0f, -10.0f, 1.0f}, {0.0f, 0.0f, 0.0f, 1.0f}},   // the eye: screen centre, depth 0
        {{740.0f, 310.0f, 90.0f, 1.0f}, {1.0f, 1.0f, 1.0f, 1.0f}},    // top right corner, depth 1
        {{-540.0f, -410.0f, 40.0f, 1.0f}, {-1.0f, -1.0f, 0.5f, 1.0f}},  // bottom left, half way
    };
    for (const Case& c : cases)
        ExpectNear(Clip(c.world, identity, camera), c.clip);

    // Twice the view: the same point comes half as far from the centre.
    camera.viewWidth *= 2.0f;
    camera.viewHeight *= 2.0f;
    ExpectNear(Clip({740.0f, 310.0f, 90.0f, 1.0f}, identity, camera), {0.5f, 0.5f, 1.0f, 1.0f});
}

TEST(FrameConstants, WorldMatrixScalesThenTurnsCounterClockwiseThenMoves)
{
    const glm::mat4 world = WorldMatrix(10.0f, 20.0f, 3.0f, 2.0f, 4.0f, static_cast<float>(M_PI / 2.0));
    // (1, 0) scaled to (2, 0), turned a quarter counter-clockwise to (0, 2), moved by (10, 20).
    ExpectNear(glm::vec4(1.0f, 0.0f, 0.0f, 1.0f) * world, {10.0f, 22.0f, 3.0f, 1.0f});
    ExpectNear(glm::vec4(0.0f, 1.0f, 0.0f, 1.0f) * world, {6.0f, 20.0f, 3.0f, 1.0f});
    // Stored transposed: the first 16 bytes hold the matrix's first column.
    const float* stored = &world[0][0];
    EXPECT_NEAR(stored[3], 10.0f, 1e-6f);  // row 3, column 0: the x translation
}

TEST(FrameConstants, SheetCellTransformPicksOneCellOfAFourByTwoSheet)
{
    const glm::mat4 cell = SheetCellTransform(4, 2, 0.25f, 0.5f);
    ExpectNear(glm::vec4(0.0f, 0.0f, 0.0f, 1.0f) * cell, {0.25f, 0.5f, 0.0f, 1.0f});
    ExpectNear(glm::vec4(1.0f, 1.0f, 0.0f, 1.0f) * cell, {0.5f, 1.0f, 0.0f, 1.0f});
}
