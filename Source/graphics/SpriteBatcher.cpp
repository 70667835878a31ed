#include "graphics/SpriteBatcher.h"

#include "core/Log.h"
#include "graphics/GlSupport.h"

#include <epoxy/gl.h>

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <limits>

namespace {

std::size_t RoundUp(std::size_t value, std::size_t multiple) { return (value + multiple - 1) / multiple * multiple; }

}  // namespace

bool SpriteBatcher::Create(std::uint32_t uniformOffsetAlignment)
{
    recordAlignment = uniformOffsetAlignment;
    Render::NoGlError();
    for (const Mesh& mesh : meshes) {
        // The buffers hold BatchCapacity copies of the mesh back to back, each vertex with the
        // number of its copy: the sprites of a batch are copies 0, 1, ... of one plain draw,
        // which Mesa's draw module takes in one go rather than once per instance.
        const auto vertexCount = static_cast<std::uint32_t>(mesh.vertices.size());
        std::vector<Vertex> vertices;
        std::vector<std::int32_t> copies;
        std::vector<Triangle> triangles;
        vertices.reserve(BatchCapacity * mesh.vertices.size());
        copies.reserve(vertices.capacity());
        triangles.reserve(BatchCapacity * mesh.triangles.size());
        for (std::uint32_t copy = 0; copy < BatchCapacity; ++copy) {
            vertices.insert(vertices.end(), mesh.vertices.begin(), mesh.vertices.end());
            copies.insert(copies.end(), mesh.vertices.size(), static_cast<std::int32_t>(copy));
            for (Triangle triangle : mesh.triangles) {
                for (std::uint32_t& index : triangle.indices)
                    index += copy * vertexCount;
                triangles.push_back(triangle);
            }
        }

        GLuint vertexArray = 0;
        glGenVertexArrays(1, &vertexArray);
        vertexArrays.push_back(vertexArray);
        glBindVertexArray(vertexArray);

        GLuint vertexBuffer = 0;
        glGenBuffers(1, &vertexBuffer);
        glBindBuffer(GL_ARRAY_BUFFER, vertexBuffer);
        glBufferData(GL_ARRAY_BUFFER, static_cast<GLsizeiptr>(sizeof(Vertex) * vertices.size()), vertices.data(),
                     GL_STATIC_DRAW);
        if (!Render::NoGlError()) {
            glDeleteBuffers(1, &vertexBuffer);
            LogError("Failed to initialize vertex buffer!");
            return false;
        }
        vertexBuffers.push_back(vertexBuffer);
        glEnableVertexAttribArray(0);
        glVertexAttribPointer(0, 2, GL_FLOAT, GL_FALSE, sizeof(Vertex), reinterpret_cast<const void*>(offsetof(Vertex, x)));
        glEnableVertexAttribArray(1);
        glVertexAttribPointer(1, 4, GL_FLOAT, GL_FALSE, sizeof(Vertex), reinterpret_cast<const void*>(offsetof(Vertex, r)));
        glEnableVertexAttribArray(2);
        glVertexAttribPointer(2, 2, GL_FLOAT, GL_FALSE, sizeof(Vertex), reinterpret_cast<const void*>(offsetof(Vertex, u)));

        GLuint copyBuffer = 0;
        glGenBuffers(1, &copyBuffer);
        glBindBuffer(GL_ARRAY_BUFFER, copyBuffer);
        glBufferData(GL_ARRAY_BUFFER, static_cast<GLsizeiptr>(sizeof(std::int32_t) * copies.size()), copies.data(),
                     GL_STATIC_DRAW);
        if (!Render::NoGlError()) {
            glDeleteBuffers(1, &copyBuffer);
            LogError("Failed to initialize vertex buffer!");
            return false;
        }
        copyBuffers.push_back(copyBuffer);
        glEnableVertexAttribArray(SpriteCopyAttribute);
        glVertexAttribIPointer(SpriteCopyAttribute, 1, GL_INT, sizeof(std::int32_t), nullptr);

        GLuint indexBuffer = 0;
        glGenBuffers(1, &indexBuffer);
        glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, indexBuffer);
        glBufferData(GL_ELEMENT_ARRAY_BUFFER, static_cast<GLsizeiptr>(sizeof(Triangle) * triangles.size()),
                     triangles.data(), GL_STATIC_DRAW);
        if (!Render::NoGlError()) {
            glDeleteBuffers(1, &indexBuffer);
            LogError("Failed to initialize index buffer!");
            return false;
        }
        indexBuffers.push_back(indexBuffer);
    }
    glBindVertexArray(vertexArrays[QuadMesh]);

    ReserveFrameStorage();
    glGenBuffers(1, &constantBuffer);
    glBindBuffer(GL_UNIFORM_BUFFER, constantBuffer);
    constantBufferBytes = frameRecords.capacity();
    glBufferData(GL_UNIFORM_BUFFER, static_cast<GLsizeiptr>(constantBufferBytes), nullptr, GL_DYNAMIC_DRAW);
    glGenBuffers(1, &frameBuffer);
    glBindBuffer(GL_UNIFORM_BUFFER, frameBuffer);
    glBufferData(GL_UNIFORM_BUFFER, sizeof(FrameConstants), nullptr, GL_DYNAMIC_DRAW);
    if (!Render::NoGlError()) {
        LogError("Failed to initialize constant buffer!");
        return false;
    }
    return true;
}

void SpriteBatcher::ReserveFrameStorage()
{
    draws.reserve(FrameCapacity);
    order.reserve(FrameCapacity);
    batches.reserve(FrameCapacity);
    hidden.Reserve(FrameCapacity);
    // Pieces are cut to at most MaxPieces, from one more box at a time.
    pieces.reserve(2 * HiddenPixels::MaxPieces);
    gapPieces.reserve(2 * HiddenPixels::MaxPieces);
    // Each batch's records start on an aligned offset, and the last is padded to a whole block.
    frameRecords.reserve(FrameCapacity * RoundUp(sizeof(SpriteInstance), recordAlignment) +
                         BatchCapacity * sizeof(SpriteInstance));
}

std::size_t SpriteBatcher::FrameStorageBytes() const
{
    return draws.capacity() * sizeof(Draw) + order.capacity() * sizeof(std::uint32_t) +
           batches.capacity() * sizeof(Batch) + hidden.CapacityBytes() +
           (pieces.capacity() + gapPieces.capacity()) * sizeof(PixelRect) + frameRecords.capacity() +
           constantBufferBytes;
}

void SpriteBatcher::ReleaseConstantBuffer()
{
    glDeleteBuffers(1, &frameBuffer);
    glDeleteBuffers(1, &constantBuffer);
    constantBuffer = frameBuffer = 0;
}

void SpriteBatcher::ReleaseMeshBuffers()
{
    glDeleteBuffers(static_cast<GLsizei>(indexBuffers.size()), indexBuffers.data());
    glDeleteBuffers(static_cast<GLsizei>(copyBuffers.size()), copyBuffers.data());
    glDeleteBuffers(static_cast<GLsizei>(vertexBuffers.size()), vertexBuffers.data());
    glDeleteVertexArrays(static_cast<GLsizei>(vertexArrays.size()), vertexArrays.data());
    indexBuffers.clear();
    copyBuffers.clear();
    vertexBuffers.clear();
    vertexArrays.clear();
}

void SpriteBatcher::BeginFrame(const glm::mat4& view, const glm::mat4& projection, int targetWidth, int targetHeight)
{
    wholeTarget = {0, 0, targetWidth, targetHeight};
    frameConstants.view = view;
    frameConstants.projection = projection;
    draws.clear();
}

void SpriteBatcher::QueueDraw(int mesh, unsigned int program, unsigned int texture, const glm::mat4& world,
                              const glm::mat4& textureTransform, const float colour[4], const DrawReach& reach)
{
    Draw draw{mesh, program, texture, reach, MakeSpriteInstance(world, textureTransform, colour)};
    draw.reach.visible = reach.visible.Intersection(wholeTarget);
    draw.reach.solid = reach.solid.Intersection(draw.reach.visible);
    if (draw.reach.visible.Empty())
        return;  // every pixel of it would be dropped
    draws.push_back(draw);
}

namespace {

// Whether `opaque`, drawn just after `earlier`, may be drawn just before it with the same
// picture. Where they share no pixel the order does not matter. Where they do, an opaque
// draw that is nearer replaces whatever `earlier` left and leaves a depth that `earlier`
// fails afterwards, so both orders end in its colour and depth; and where it fails the
// depth test, `earlier`, farther still, fails as well.
bool MayGoFirst(const DrawReach& opaque, const DrawReach& earlier)
{
    if (opaque.visible.Intersection(earlier.visible).Empty())
        return true;
    return opaque.depthKnown && earlier.depthKnown && opaque.depth + HiddenPixels::DepthMargin < earlier.depth;
}

}  // namespace

void SpriteBatcher::OrderDraws()
{
    order.clear();
    for (std::uint32_t i = 0; i < draws.size(); ++i) {
        const DrawReach& reach = draws[i].reach;
        std::size_t at = order.size();
        if (reach.solid.Area() >= MovedCoverPixels) {
            const std::size_t farthest = at > MostMovedPast ? at - MostMovedPast : 0;
            while (at > farthest && MayGoFirst(reach, draws[order[at - 1]].reach))
                --at;
        }
        order.insert(order.begin() + static_cast<std::ptrdiff_t>(at), i);
    }
}

void SpriteBatcher::MakeBatches()
{
    frameRecords.clear();
    batches.clear();
    for (const std::uint32_t index : order) {
        const Draw& draw = draws[index];
        // A draw joins the previous batch only when nothing would change between them, so the
        // instances of a batch keep the draw order that depth test and blending depend on.
        if (batches.empty() || batches.back().mesh != draw.mesh || batches.back().program != draw.program ||
            batches.back().texture != draw.texture || batches.back().fullSizeOnly != draw.reach.fullSizeOnly ||
            batches.back().opaque != draw.reach.opaque || batches.back().count == BatchCapacity) {
            const std::size_t firstByte = RoundUp(frameRecords.size(), recordAlignment);
            batches.push_back({draw.mesh, draw.program, draw.texture, draw.reach.fullSizeOnly, draw.reach.opaque,
                               firstByte, 0, {}, true, draw.reach.depth});
            frameRecords.resize(firstByte);
        }
        Batch& batch = batches.back();
        batch.visible = batch.visible.Union(draw.reach.visible);
        batch.depthKnown = batch.depthKnown && draw.reach.depthKnown;
        batch.nearest = std::min(batch.nearest, draw.reach.depth);
        const std::size_t at = frameRecords.size();
        frameRecords.resize(at + sizeof(SpriteInstance));
        std::memcpy(frameRecords.data() + at, &draw.record, sizeof(SpriteInstance));
        ++batch.count;
    }
}

void SpriteBatcher::DrawBatches(unsigned int sampler, unsigned int fullSizeSampler)
{
    drawCalls = 0;
    OrderDraws();
    MakeBatches();
    if (batches.empty())
        return;
    SubmitBatches(sampler, fullSizeSampler);
}

void SpriteBatcher::CutGaps(std::size_t first, std::size_t count)
{
    if (count > MostGapsCut)
        return;
    for (std::size_t i = first; i < first + count && !pieces.empty(); ++i) {
        const PixelRect& gap = draws[order[i]].reach.gap;
        if (gap.Empty())
            continue;
        // The gap shows nothing of this draw; it may be cut only where no other draw of the
        // batch reaches.
        gapPieces.assign(1, gap);
        for (std::size_t j = first; j < first + count && !gapPieces.empty(); ++j)
            if (j != i && !HiddenPixels::Subtract(draws[order[j]].reach.visible, gapPieces))
                gapPieces.clear();
        for (const PixelRect& piece : gapPieces)
            HiddenPixels::Subtract(piece, pieces);
    }
}

void SpriteBatcher::SubmitBatches(unsigned int sampler, unsigned int fullSizeSampler)
{
    // Every batch binds a whole block's worth of records, so the last one is padded out.
    constexpr std::size_t blockBytes = BatchCapacity * sizeof(SpriteInstance);
    frameRecords.resize(std::max(frameRecords.size(), batches.back().firstByte + blockBytes));
    glBindBuffer(GL_UNIFORM_BUFFER, constantBuffer);
    // The store was made for FrameCapacity draws at start-up, so every frame writes into memory
    // the driver already has; only a frame with more draws grows it (and the records), once.
    if (frameRecords.size() > constantBufferBytes) {
        constantBufferBytes = frameRecords.capacity();
        glBufferData(GL_UNIFORM_BUFFER, static_cast<GLsizeiptr>(constantBufferBytes), nullptr, GL_DYNAMIC_DRAW);
    }
    glBufferSubData(GL_UNIFORM_BUFFER, 0, static_cast<GLsizeiptr>(frameRecords.size()), frameRecords.data());
    glBindBuffer(GL_UNIFORM_BUFFER, frameBuffer);
    glBufferSubData(GL_UNIFORM_BUFFER, 0, sizeof(FrameConstants), &frameConstants);
    glBindBufferBase(GL_UNIFORM_BUFFER, FrameBlockBinding, frameBuffer);
    int boundMesh = -1;
    GLuint boundProgram = 0;
    GLuint boundTexture = std::numeric_limits<GLuint>::max();
    GLuint boundSampler = std::numeric_limits<GLuint>::max();
    bool scissored = false;
    bool blending = true;
    glActiveTexture(GL_TEXTURE0);
    // Handing work over in slices lets the driver draw the first sprites while later ones
    // are still being submitted (Mesa's software rasteriser draws nothing before a flush).
    // Each slice costs every rasteriser thread a pass over the target and a meeting with
    // the others, so slices are large: a busy frame gets two or three, a level none.
    std::uint32_t sinceFlush = 0;
    hidden.Clear();
    std::size_t nextDraw = 0;  // in order: the first draw of the batch being drawn
    for (const Batch& batch : batches) {
        // Pixels that an earlier opaque draw covers nearer than every draw of the batch fail
        // the depth test anyway.
        if (batch.depthKnown)
            hidden.Uncovered(batch.visible, batch.nearest, pieces);
        else
            pieces.assign(1, batch.visible);
        CutGaps(nextDraw, batch.count);
        for (std::size_t i = nextDraw; i < nextDraw + batch.count; ++i) {
            const DrawReach& reach = draws[order[i]].reach;
            if (reach.depthKnown)
                hidden.AddCover(reach.solid, reach.depth);
        }
        nextDraw += batch.count;
        if (pieces.empty())
            continue;
        if (batch.mesh != boundMesh) {
            glBindVertexArray(vertexArrays[static_cast<std::size_t>(batch.mesh)]);
            boundMesh = batch.mesh;
        }
        if (batch.program != boundProgram) {
            glUseProgram(batch.program);
            boundProgram = batch.program;
        }
        if (batch.texture != boundTexture) {
            glBindTexture(GL_TEXTURE_2D, batch.texture);
            boundTexture = batch.texture;
        }
        if (batch.opaque == blending) {
            batch.opaque ? glDisable(GL_BLEND) : glEnable(GL_BLEND);
            blending = !batch.opaque;
        }
        const GLuint batchSampler = batch.fullSizeOnly ? fullSizeSampler : sampler;
        if (batchSampler != boundSampler) {
            glBindSampler(0, batchSampler);
            boundSampler = batchSampler;
        }
        // Records past the batch's count are bound but never read.
        glBindBufferRange(GL_UNIFORM_BUFFER, InstanceBlockBinding, constantBuffer,
                          static_cast<GLintptr>(batch.firstByte), static_cast<GLsizeiptr>(blockBytes));
        for (const PixelRect& piece : pieces) {
            const bool cut = !piece.Contains(wholeTarget);
            if (cut != scissored) {
                cut ? glEnable(GL_SCISSOR_TEST) : glDisable(GL_SCISSOR_TEST);
                scissored = cut;
            }
            if (cut)
                glScissor(piece.left, piece.bottom, piece.right - piece.left, piece.top - piece.bottom);
            // The batch's first `count` copies of the mesh, in the order their records lie.
            glDrawElements(GL_TRIANGLES, static_cast<GLsizei>(3 * TriangleCount(batch.mesh) * batch.count),
                           GL_UNSIGNED_INT, nullptr);
            ++drawCalls;
            sinceFlush += batch.count;
            if (sinceFlush >= SpritesPerFlush) {
                glFlush();
                sinceFlush = 0;
            }
        }
    }
    glDisable(GL_SCISSOR_TEST);  // the clears and the letterbox's copy reach the whole buffer
    glEnable(GL_BLEND);
    glBindSampler(0, sampler);
}
