// FrameConstants: the shader constants of one frame (the camera's view and projection, once
// per frame) and the 64-byte SpriteInstance record of each sprite or particle drawn in it,
// as Graphics::Render writes them for the vertex shader; and the row-vector matrices that
// fill them.
#pragma once

#include <glm/mat4x4.hpp>
#include <glm/vec4.hpp>

#include <cstdint>

// Matrices act on row vectors (p' = p x M). glm keeps a matrix column by column, so a
// matrix stored as it is here reaches the shader transposed, which is what its std140
// block expects; the shader multiplies vector * matrix.
struct FrameConstants {
    glm::mat4 view;
    glm::mat4 projection;
};
static_assert(sizeof(FrameConstants) == 128, "the frame's constants are 128 bytes");

// One draw. The world matrix of a sprite only ever has Scale x RotationZ in its upper 2 x 2
// and a translation in its last row, and the texture transform only a scale and an offset,
// so those are all that is kept; the shader rebuilds both matrices with the same zeros and
// ones, and computes exactly what it would from the whole matrices.
struct SpriteInstance {
    glm::vec4 turn;      // world rows 0 and 1, first two columns: m00, m01, m10, m11
    glm::vec4 position;  // world row 3: x, y, z; w unused
    glm::vec4 cell;      // texture transform: s scale, t scale, s offset, t offset
    glm::vec4 colour;    // r, g, b, a
};
static_assert(sizeof(SpriteInstance) == 64, "one draw's record is 64 bytes");

// The record of a draw with this world matrix, texture transform and colour, which must be
// of the shapes WorldMatrix and SheetCellTransform make (or the identity).
SpriteInstance MakeSpriteInstance(const glm::mat4& world, const glm::mat4& textureTransform, const float colour[4]);

// Sprites of one draw call: the vertex shader's block "SpriteInstanceBlock" holds this
// many records at uniform-buffer binding InstanceBlockBinding, which keeps it within the
// 16 KiB every OpenGL 3.3 implementation offers; "FrameConstantsBlock" is at
// FrameBlockBinding.
inline constexpr std::uint32_t BatchCapacity = 256;
inline constexpr unsigned int InstanceBlockBinding = 0;
inline constexpr unsigned int FrameBlockBinding = 1;
// The vertex attribute "SPRITE": which copy of the mesh a vertex belongs to, that is which
// record of the block holds its sprite's.
inline constexpr unsigned int SpriteCopyAttribute = 3;

// The matrix with these rows.
glm::mat4 MatrixFromRows(const glm::vec4& row0, const glm::vec4& row1, const glm::vec4& row2, const glm::vec4& row3);

// Scale(scaleX, scaleY, 1) x RotationZ(rotation) x Translation(x, y, z); a positive rotation
// (radians) turns counter-clockwise on screen.
glm::mat4 WorldMatrix(float x, float y, float z, float scaleX, float scaleY, float rotation);

// Maps a texture coordinate (s, t) to (s / columns + u, t / rows + v): one cell of a sheet.
glm::mat4 SheetCellTransform(std::uint32_t columns, std::uint32_t rows, float u, float v);
