// SpriteBatcher: the meshes on the GPU, the uniform buffers of the frame's constants and of
// the per-draw records, and the batching of one frame's draws: consecutive draws of the same
// mesh, program and texture become one draw call over copies of the mesh, in draw order.
// The sprite pass queues into it; Graphics makes it at start-up and has it draw once the
// passes are done.
#pragma once

#include "graphics/FrameConstants.h"
#include "graphics/HiddenPixels.h"
#include "graphics/Mesh.h"
#include "graphics/PixelRect.h"

#include <cstddef>
#include <cstdint>
#include <vector>

// What the sprite pass knows of a draw's pixels beyond its mesh.
struct DrawReach {
    // Every pixel outside this box would be dropped by the pixel shader (a clear texel), so the
    // draw may be cut to it; and so would every pixel inside `gap`.
    PixelRect visible;
    PixelRect gap;
    // The draw never reads a texture's smaller levels (TextureList::ReadsSmallerLevels), so the
    // sampler without them gives the same pixels with less work.
    bool fullSizeOnly = false;
    // The depth of every pixel of the draw (a sprite is flat and faces the camera), when the
    // camera's depth depends on world z alone; else the draw is never moved or cut for depth.
    bool depthKnown = false;
    float depth = 0.0f;
    // Every pixel of the draw has alpha 1 (a fully opaque image at full colour alpha), so
    // blending would only copy it: it is drawn without.
    bool opaque = false;
    // Pixels the draw surely writes with alpha 1 wherever it passes the depth test: an opaque
    // draw on an upright quad. Empty for every other draw.
    PixelRect solid;
};

class SpriteBatcher {
public:
    std::vector<Mesh> meshes;
    std::vector<unsigned int> vertexArrays;  // one per mesh: the vertex layout over its buffers
    // One per mesh, each holding BatchCapacity copies of it; copyBuffers give each vertex the
    // number of its copy, which picks its sprite's record.
    std::vector<unsigned int> vertexBuffers;
    std::vector<unsigned int> copyBuffers;
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

    // A new frame whose draws share this view and projection, into a target of this size.
    void BeginFrame(const glm::mat4& view, const glm::mat4& projection, int targetWidth, int targetHeight);
    void QueueDraw(int mesh, unsigned int program, unsigned int texture, const glm::mat4& world,
                   const glm::mat4& textureTransform, const float colour[4], const DrawReach& reach);
    // Hands the frame's batches to OpenGL with one of these samplers on texture unit 0: the
    // one with smaller levels, or the one without for batches that never read them.
    void DrawBatches(unsigned int sampler, unsigned int fullSizeSampler);

    // Draw calls of the last frame.
    std::size_t DrawCallCount() const { return drawCalls; }
    // Bytes of the per-frame storage on both sides of OpenGL (the draws, their order, the
    // batches, the records and the constant buffer's store). Made once by Create for
    // FrameCapacity draws; only a frame with more ever adds to it.
    std::size_t FrameStorageBytes() const;

    // An opaque draw is moved ahead of earlier draws only when it covers at least this many
    // pixels: smaller ones save too little fill to be worth the search.
    static constexpr int MovedCoverPixels = 4096;
    // How many earlier draws it is moved past at most.
    static constexpr std::size_t MostMovedPast = 256;
    // Draws of one frame whose storage Create makes at start-up, so that frames up to it never
    // take memory from the heap or give it back: as many sprites as the game has objects at
    // most (MaxGameObjects), and as many particles again.
    static constexpr std::size_t FrameCapacity = 32768;
    // Sprites drawn between the flushes that hand the frame to the rasteriser in slices.
    static constexpr std::uint32_t SpritesPerFlush = 4096;

private:
    struct Draw {
        int mesh = 0;
        unsigned int program = 0;
        unsigned int texture = 0;
        DrawReach reach;
        SpriteInstance record;
    };
    struct Batch {
        int mesh = 0;
        unsigned int program = 0;
        unsigned int texture = 0;
        bool fullSizeOnly = false;
        bool opaque = false;
        std::size_t firstByte = 0;  // of its records in frameRecords
        std::uint32_t count = 0;
        PixelRect visible;  // the union of its draws' visible boxes
        bool depthKnown = true;
        float nearest = 0.0f;  // the least depth of its draws
    };

    // Reserves the per-frame storage for FrameCapacity draws, each possibly a batch of its own.
    void ReserveFrameStorage();
    // Puts the queued draws in drawing order: the order queued, except that large opaque
    // draws go ahead of earlier draws that cannot tell (OrderDraws in the source).
    void OrderDraws();
    void MakeBatches();
    // Cuts from pieces the gaps of the draws of a batch (DrawReach::gap) that no other of its
    // draws reaches into; batches of more than MostGapsCut draws are left whole.
    void CutGaps(std::size_t first, std::size_t count);
    static constexpr std::size_t MostGapsCut = 8;
    // Draws every batch, scissored to the pieces of it that are not hidden.
    void SubmitBatches(unsigned int sampler, unsigned int fullSizeSampler);

    std::vector<Draw> draws;             // this frame's, in the order queued
    std::vector<std::uint32_t> order;    // indices into draws, in drawing order
    HiddenPixels hidden;
    std::vector<PixelRect> pieces;
    std::vector<PixelRect> gapPieces;
    std::size_t drawCalls = 0;

    std::size_t constantBufferBytes = 0;  // size of constantBuffer's store
    std::uint32_t recordAlignment = 16;   // offsets of bound constant ranges are multiples of this
    FrameConstants frameConstants{};      // view and projection of the frame being drawn
    PixelRect wholeTarget;
    std::vector<unsigned char> frameRecords;  // this frame's SpriteInstance records, batch by batch
    std::vector<Batch> batches;
};
