#include "graphics/Mesh.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

// Twice the signed area of a triangle: negative when its corners run clockwise (y up).
float SignedArea(const Mesh& mesh, const Triangle& triangle)
{
    const Vertex& a = mesh.vertices[triangle.indices[0]];
    const Vertex& b = mesh.vertices[triangle.indices[1]];
    const Vertex& c = mesh.vertices[triangle.indices[2]];
    return (b.x - a.x) * (c.y - a.y) - (c.x - a.x) * (b.y - a.y);
}

}  // namespace

TEST(Mesh, ShapesHaveTheirVertexAndIndexCountsAndFaceFront)
{
    struct Case {
        int meshIndex;
        std::size_t vertices;
        std::size_t indices;
    };
    const Case cases[] = {{QuadMesh, 4, 6}, {TriangleMesh, 3, 3}, {DiscMesh, 25, 66}};
    const std::vector<Mesh> meshes = BuildStandardMeshes();
    ASSERT_EQ(meshes.size(), 3u);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.meshIndex);
        const Mesh& mesh = meshes[static_cast<std::size_t>(c.meshIndex)];
        EXPECT_EQ(mesh.vertices.size(), c.vertices);
        EXPECT_EQ(3 * mesh.triangles.size(), c.indices);
        EXPECT_EQ(3 * TriangleCount(c.meshIndex), c.indices);
        for (const Triangle& triangle : mesh.triangles) {
            for (std::uint32_t index : triangle.indices)
                EXPECT_LT(index, mesh.vertices.size());
            EXPECT_LT(SignedArea(mesh, triangle), 0.0f) << "every triangle is clockwise, the front side";
        }
        for (const Vertex& vertex : mesh.vertices)
            EXPECT_EQ(vertex.r + vertex.g + vertex.b + vertex.a, 4.0f) << "mesh vertices are white";
    }
    EXPECT_EQ(TriangleCount(3), 3u);
    EXPECT_EQ(TriangleCount(-1), 3u);
}

TEST(Mesh, QuadMapsTheWholeImageWithVZeroAtTheTop)
{
    const Mesh quad = BuildStandardMeshes()[QuadMesh];
    for (const Vertex& vertex : quad.vertices) {
        EXPECT_EQ(vertex.u, vertex.x > 0 ? 1.0f : 0.0f);
        EXPECT_EQ(vertex.v, vertex.y > 0 ? 0.0f : 1.0f);
    }
}

TEST(Mesh, DiscIsAFanOverTheWholeTwentyFourGon)
{
    const Mesh disc = BuildStandardMeshes()[DiscMesh];
    // Vertex 0 lies at 375 degrees and vertex 24 at 15: the same point, and 24 is unused.
    EXPECT_FLOAT_EQ(disc.vertices[0].x, disc.vertices[24].x);
    EXPECT_FLOAT_EQ(disc.vertices[0].y, disc.vertices[24].y);
    EXPECT_NEAR(std::atan2(disc.vertices[0].y, disc.vertices[0].x), 15.0 * M_PI / 180.0, 1e-6);
    for (const Vertex& vertex : disc.vertices)
        EXPECT_NEAR(std::hypot(vertex.x, vertex.y), 1.0, 1e-6);
    float area = 0.0f;
    for (const Triangle& triangle : disc.triangles) {
        EXPECT_EQ(triangle.indices[0], 0u);
        EXPECT_NE(triangle.indices[2], 24u);
        area += -0.5f * SignedArea(disc, triangle);
    }
    // A regular 24-gon of radius 1 has area 12 sin(15 degrees) x 2 = 3.1058...
    EXPECT_NEAR(area, 12.0 * std::sin(2.0 * M_PI / 24.0), 1e-4);
}
