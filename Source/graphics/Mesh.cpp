#include "graphics/Mesh.h"

#include <cmath>

namespace {

Vertex White(float x, float y, float u, float v) { return Vertex{x, y, 1.0f, 1.0f, 1.0f, 1.0f, u, v}; }

Mesh Quad()
{
    Mesh quad;
    quad.vertices = {White(1, 1, 1, 0), White(1, -1, 1, 1), White(-1, -1, 0, 1), White(-1, 1, 0, 0)};
    quad.triangles = {{{0, 1, 2}}, {{0, 2, 3}}};
    return quad;
}

Mesh Wedge()
{
    Mesh triangle;
    triangle.vertices = {White(0, 1, 0, 0), White(1, -1, 0, 0), White(-1, -1, 0, 0)};
    triangle.triangles = {{{0, 1, 2}}};
    return triangle;
}

// A regular 24-gon of radius 1 as a fan from vertex 0. The angles run downwards from 375
// degrees to 15 degrees, so vertex 0 and vertex 24 coincide and vertex 24 is never used.
// The angle is single precision and its cosine and sine double precision; changing either
// moves the rim vertices by an ulp.
Mesh Disc()
{
    Mesh disc;
    for (int i = 25; i >= 1; --i) {
        const float angle = (static_cast<float>(i) / 24.0f + static_cast<float>(i) / 24.0f) * 3.1415927f;
        const float x = static_cast<float>(std::cos(static_cast<double>(angle)));
        const float y = static_cast<float>(std::sin(static_cast<double>(angle)));
        disc.vertices.push_back(White(x, y, 0, 0));
    }
    for (std::uint32_t k = 1; k <= 22; ++k)
        disc.triangles.push_back({{0, k, k + 1}});
    return disc;
}

}  // namespace

std::vector<Mesh> BuildStandardMeshes() { return {Quad(), Wedge(), Disc()}; }

std::uint32_t TriangleCount(int meshIndex)
{
    switch (meshIndex) {
    case QuadMesh: return 2;
    case TriangleMesh: return 1;
    case DiscMesh: return 22;
    default: return 3;
    }
}
