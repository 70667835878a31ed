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
        GLuint vertexArray = 0;
        glGenVertexArrays(1, &vertexArray);
        vertexArrays.push_back(vertexArray);
        glBindVertexArray(vertexArray);

        GLuint vertexBuffer = 0;
        glGenBuffers(1, &vertexBuffer);
        glBindBuffer(GL_ARRAY_BUFFER, vertexBuffer);
        glBufferData(GL_ARRAY_BUFFER, static_cast<GLsizeiptr>(sizeof(Vertex) * mesh.vertices.size()), nullptr,
                     GL_DYNAMIC_DRAW);
        if (!Render::NoGlError()) {
            glDeleteBuffers(1, &vertexBuffer);
            LogError("Failed to initialize vertex buffer!");
            return false;
        }
        vertexBuffers.push_back(vertexBuffer);
        glBufferSubData(GL_ARRAY_BUFFER, 0, static_cast<GLsizeiptr>(sizeof(Vertex) * mesh.vertices.size()),
                        mesh.vertices.data());

        GLuint indexBuffer = 0;
        glGenBuffers(1, &indexBuffer);
        glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, indexBuffer);
        glBufferData(GL_ELEMENT_ARRAY_BUFFER, static_cast<GLsizeiptr>(sizeof(Triangle) * mesh.triangles.size()),
                     mesh.triangles.data(), GL_STATIC_DRAW);
        if (!Render::NoGlError()) {
            glDeleteBuffers(1, &indexBuffer);
            LogError("Failed to initialize index buffer!");
            return false;
        }
        indexBuffers.push_back(indexBuffer);

        glEnableVertexAttribArray(0);
        glVertexAttribPointer(0, 2, GL_FLOAT, GL_FALSE, sizeof(Vertex), reinterpret_cast<const void*>(offsetof(Vertex, x)));
        glEnableVertexAttribArray(1);
        glVertexAttribPointer(1, 4, GL_FLOAT, GL_FALSE, sizeof(Vertex), reinterpret_cast<const void*>(offsetof(Vertex, r)));
        glEnableVertexAttribArray(2);
        glVertexAttribPointer(2, 2, GL_FLOAT, GL_FALSE, sizeof(Vertex), reinterpret_cast<const void*>(offsetof(Vertex, u)));
    }
    glBindVertexArray(vertexArrays[QuadMesh]);

    glGenBuffers(1, &constantBuffer);
    glBindBuffer(GL_UNIFORM_BUFFER, constantBuffer);
    constantBufferBytes = BatchCapacity * sizeof(SpriteInstance);
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

void SpriteBatcher::ReleaseConstantBuffer()
{
    glDeleteBuffers(1, &frameBuffer);
    glDeleteBuffers(1, &constantBuffer);
    constantBuffer = frameBuffer = 0;
}

void SpriteBatcher::ReleaseMeshBuffers()
{
    glDeleteBuffers(static_cast<GLsizei>(indexBuffers.size()), indexBuffers.data());
    glDeleteBuffers(static_cast<GLsizei>(vertexBuffers.size()), vertexBuffers.data());
    glDeleteVertexArrays(static_cast<GLsizei>(vertexArrays.size()), vertexArrays.data());
    indexBuffers.clear();
    vertexBuffers.clear();
    vertexArrays.clear();
}

void SpriteBatcher::BeginFrame(const glm::mat4& view, const glm::mat4& projection, int targetWidth, int targetHeight)
{
    wholeTarget = {0, 0, targetWidth, targetHeight};
    frameConstants.view = view;
    frameConstants.projection = projection;
    frameRecords.clear();
    batches.clear();
}

void SpriteBatcher::QueueDraw(int mesh, unsigned int program, unsigned int texture, const glm::mat4& world,
                              const glm::mat4& textureTransform, const float colour[4], const DrawReach& reach)
{
    const PixelRect visible = {std::max(reach.visible.left, 0), std::max(reach.visible.bottom, 0),
                               std::min(reach.visible.right, wholeTarget.right),
                               std::min(reach.visible.top, wholeTarget.top)};
    if (visible.Empty())
        return;  // every pixel of it would be dropped
    // A draw joins the previous batch only when nothing would change between them, so the
    // instances of a batch keep the draw order that depth test and blending depend on.
    if (batches.empty() || batches.back().mesh != mesh || batches.back().program != program ||
        batches.back().texture != texture || batches.back().fullSizeOnly != reach.fullSizeOnly ||
        batches.back().count == BatchCapacity) {
        const std::size_t firstByte = RoundUp(frameRecords.size(), recordAlignment);
        batches.push_back({mesh, program, texture, reach.fullSizeOnly, firstByte, 0, visible});
        frameRecords.resize(firstByte);
    }
    PixelRect& reached = batches.back().visible;
    reached = {std::min(reached.left, visible.left), std::min(reached.bottom, visible.bottom),
               std::max(reached.right, visible.right), std::max(reached.top, visible.top)};
    const SpriteInstance record = MakeSpriteInstance(world, textureTransform, colour);
    const std::size_t at = frameRecords.size();
    frameRecords.resize(at + sizeof(SpriteInstance));
    std::memcpy(frameRecords.data() + at, &record, sizeof(SpriteInstance));
    ++batches.back().count;
}

void SpriteBatcher::DrawBatches(unsigned int sampler, unsigned int fullSizeSampler)
{
    if (batches.empty())
        return;
    // Every batch binds a whole block's worth of records, so the last one is padded out.
    constexpr std::size_t blockBytes = BatchCapacity * sizeof(SpriteInstance);
    frameRecords.resize(std::max(frameRecords.size(), batches.back().firstByte + blockBytes));
    glBindBuffer(GL_UNIFORM_BUFFER, constantBuffer);
    // The store only grows, so a steady frame writes into memory the driver already has.
    if (frameRecords.size() > constantBufferBytes) {
        constantBufferBytes = frameRecords.size() + frameRecords.size() / 2;
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
    glActiveTexture(GL_TEXTURE0);
    // Handing work over in slices lets the driver draw the first sprites while later ones
    // are still being submitted (Mesa's software rasteriser draws nothing before a flush).
    constexpr int FlushInterval = 32;
    int sinceFlush = 0;
    for (const Batch& batch : batches) {
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
        const GLuint batchSampler = batch.fullSizeOnly ? fullSizeSampler : sampler;
        if (batchSampler != boundSampler) {
            glBindSampler(0, batchSampler);
            boundSampler = batchSampler;
        }
        const bool cut = batch.visible.left > 0 || batch.visible.bottom > 0 || batch.visible.right < wholeTarget.right ||
                         batch.visible.top < wholeTarget.top;
        if (cut != scissored) {
            cut ? glEnable(GL_SCISSOR_TEST) : glDisable(GL_SCISSOR_TEST);
            scissored = cut;
        }
        if (cut)
            glScissor(batch.visible.left, batch.visible.bottom, batch.visible.right - batch.visible.left,
                      batch.visible.top - batch.visible.bottom);
        // Records past the batch's count are bound but never read.
        glBindBufferRange(GL_UNIFORM_BUFFER, InstanceBlockBinding, constantBuffer,
                          static_cast<GLintptr>(batch.firstByte), static_cast<GLsizeiptr>(blockBytes));
        glDrawElementsInstanced(GL_TRIANGLES, static_cast<GLsizei>(3 * TriangleCount(batch.mesh)), GL_UNSIGNED_INT,
                                nullptr, static_cast<GLsizei>(batch.count));
        if (++sinceFlush == FlushInterval) {
            glFlush();
            sinceFlush = 0;
        }
    }
    glDisable(GL_SCISSOR_TEST);  // the clears and the letterbox's copy reach the whole buffer
    glBindSampler(0, sampler);
}
