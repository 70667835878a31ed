// Mesh: the CPU copy of one of the renderer's three meshes (quad, triangle, disc), as
// Graphics uploads it into a vertex and an index buffer. Sprites pick one by MeshIndex.
#pragma once

#include <cstdint>
#include <vector>

struct Vertex {
    float x, y;        // object space, y up
    float r, g, b, a;  // every mesh vertex is white; the sprite colour tints
    float u, v;        // v = 0 is the top row of the image
};
static_assert(sizeof(Vertex) == 32, "the vertex layout is 32 bytes");

// Three indices into the mesh's vertices, clockwise when y points up (the front side).
struct Triangle {
    std::uint32_t indices[3];
};
static_assert(sizeof(Triangle) == 12, "index buffers hold 32-bit indices back to back");

struct Mesh {
    std::vector<Vertex> vertices;
    std::vector<Triangle> triangles;
};

// Mesh indices of Sprite::MeshIndex.
inline constexpr int QuadMesh = 0;
inline constexpr int TriangleMesh = 1;
inline constexpr int DiscMesh = 2;
inline constexpr int MeshCount = 3;

// The quad, the triangle and the disc, in mesh-index order.
std::vector<Mesh> BuildStandardMeshes();

// Triangles drawn for a mesh index: 2, 1 and 22 for the three meshes, 3 for any other value
// (which has no mesh and is never drawn).
std::uint32_t TriangleCount(int meshIndex);
