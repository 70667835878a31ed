// SpriteBatcher: the meshes on the GPU, the uniform buffers of the frame's constants and of
// the per-draw records, and the batching of one frame's draws: consecutive draws of the same mesh, program and texture
// become one instanced draw call, in draw order. The sprite pass queues into it; Graphics
// makes it at start-up and has it draw once the passes are done.
#pragma once

#include "graphics/FrameConstants.h"
#include "graphics/Mesh.h"

#include <cstddef>
#include <cstdint>
#include <vector>

class SpriteBatcher {
public:
    std::vector<Mesh> meshes;
    std::vector<unsigned int> vertexArrays;  // one per mesh: the vertex layout over its buffers
    std::vector<unsigned int> vertexBuffers;
    std::vector<unsigned int> indexBuffers;
    unsigned int constantBuffer = 0;  // uniform buffer of the frame's SpriteInstance records
    unsigned int frameBuffer = 0;     // uniform buffer of the frame's FrameConstants

    // Uploads the meshes (already in meshes) and makes the constant buffers; logs the failing
    // buffer's line and answers false.
    bool Create(std::uint32_t uniformOffsetAlignment);
    // Deletes the constant buffers, then the meshes' index, vertex and layout objects (the
    // renderer's shutdown frees the CPU copies in meshes before either).
    void ReleaseConstantBuffer();
    void ReleaseMeshBuffers();

    // A new frame whose draws share this view and projection.
    void BeginFrame(const glm::mat4& view, const glm::mat4& projection);
    void QueueDraw(int mesh, unsigned int program, unsigned int texture, const glm::mat4& world,
                   const glm::mat4& textureTransform, const float colour[4]);
    // Hands the frame's batches to OpenGL with this sampler on texture unit 0.
    void DrawBatches(unsigned int sampler);

    // Draw calls of the last frame.
    std::size_t DrawCallCount() const { return batches.size(); }

private:
    struct Batch {
        int mesh = 0;
        unsigned int program = 0;
        unsigned int texture = 0;
        std::size_t firstByte = 0;  // of its records in frameRecords
        std::uint32_t count = 0;
    };

    std::size_t constantBufferBytes = 0;  // size of constantBuffer's store
    std::uint32_t recordAlignment = 16;   // offsets of bound constant ranges are multiples of this
    FrameConstants frameConstants{};      // view and projection of the frame being drawn
    std::vector<unsigned char> frameRecords;  // this frame's SpriteInstance records, batch by batch
    std::vector<Batch> batches;
};
