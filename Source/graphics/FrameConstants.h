// FrameConstants: the 272 bytes of shader constants of one draw (world, view, projection,
// texture transform, colour), as Graphics::Render writes them for the vertex shader, and
// the row-vector matrices that fill them.
#pragma once

#include <glm/mat4x4.hpp>
#include <glm/vec4.hpp>

#include <cstdint>

// Matrices act on row vectors (p' = p x M). glm keeps a matrix column by column, so a
// matrix stored as it is here reaches the shader transposed, which is what its std140
// block expects; the shader multiplies vector * matrix.
struct FrameConstants {
    glm::mat4 world;
    glm::mat4 view;
    glm::mat4 projection;
    glm::mat4 textureTransform;
    glm::vec4 colour;  // r, g, b, a
};
static_assert(sizeof(FrameConstants) == 272, "one draw's constants are 272 bytes");

// Instances of one draw call: the vertex shader's constant block "FrameConstantsBlock" holds
// this many records at uniform-buffer binding ConstantBlockBinding, which keeps it within the
// 16 KiB every OpenGL 3.3 implementation offers.
inline constexpr std::uint32_t BatchCapacity = 60;
inline constexpr unsigned int ConstantBlockBinding = 0;

// The matrix with these rows.
glm::mat4 MatrixFromRows(const glm::vec4& row0, const glm::vec4& row1, const glm::vec4& row2, const glm::vec4& row3);

// Scale(scaleX, scaleY, 1) x RotationZ(rotation) x Translation(x, y, z); a positive rotation
// (radians) turns counter-clockwise on screen.
glm::mat4 WorldMatrix(float x, float y, float z, float scaleX, float scaleY, float rotation);

// Maps a texture coordinate (s, t) to (s / columns + u, t / rows + v): one cell of a sheet.
glm::mat4 SheetCellTransform(std::uint32_t columns, std::uint32_t rows, float u, float v);
