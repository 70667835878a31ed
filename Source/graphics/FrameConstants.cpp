#include "graphics/FrameConstants.h"

#include <cmath>

glm::mat4 MatrixFromRows(const glm::vec4& row0, const glm::vec4& row1, const glm::vec4& row2, const glm::vec4& row3)
{
    glm::mat4 m;
    for (int column = 0; column < 4; ++column) {
        m[column][0] = row0[column];
        m[column][1] = row1[column];
        m[column][2] = row2[column];
        m[column][3] = row3[column];
    }
    return m;
}

glm::mat4 WorldMatrix(float x, float y, float z, float scaleX, float scaleY, float rotation)
{
    const float c = std::cos(rotation);
    const float s = std::sin(rotation);
    return MatrixFromRows({scaleX * c, scaleX * s, 0.0f, 0.0f}, {-scaleY * s, scaleY * c, 0.0f, 0.0f},
                          {0.0f, 0.0f, 1.0f, 0.0f}, {x, y, z, 1.0f});
}

glm::mat4 SheetCellTransform(std::uint32_t columns, std::uint32_t rows, float u, float v)
{
    return MatrixFromRows({1.0f / static_cast<float>(columns), 0.0f, 0.0f, 0.0f},
                          {0.0f, 1.0f / static_cast<float>(rows), 0.0f, 0.0f}, {0.0f, 0.0f, 1.0f, 0.0f},
                          {u, v, 0.0f, 1.0f});
}

SpriteInstance MakeSpriteInstance(const glm::mat4& world, const glm::mat4& textureTransform, const float colour[4])
{
    // glm indexes [column][row].
    return {{world[0][0], world[1][0], world[0][1], world[1][1]},
            {world[0][3], world[1][3], world[2][3], 0.0f},
            {textureTransform[0][0], textureTransform[1][1], textureTransform[0][3], textureTransform[1][3]},
            {colour[0], colour[1], colour[2], colour[3]}};
}
