// Graphics: the renderer, a member of Game. It owns the OpenGL context of the game window,
// the shaders, meshes and textures, draws every sprite and particle each frame, and runs
// the Dear ImGui SDL2 and OpenGL3 back-ends for the editor's UI.
#pragma once

#include "graphics/FrameConstants.h"
#include "graphics/Mesh.h"
#include "graphics/TextureRecord.h"

#include <cstdint>
#include <filesystem>
#include <string>
#include <unordered_map>
#include <vector>

struct SDL_Window;

class Graphics {
public:
    // Every start-up step answers Success or Failure.
    static constexpr std::int32_t Success = 0;
    static constexpr std::int32_t Failure = static_cast<std::int32_t>(0x80004005u);

    // Instances of one draw call; the shaders' constant block holds this many records, which
    // keeps it within the 16 KiB every OpenGL 3.3 implementation offers.
    static constexpr std::uint32_t BatchCapacity = 60;

    // Starts up with the game's own folders, "Resources/Shaders/" and "Resources/Images/".
    explicit Graphics(SDL_Window* window);
    // Starts up with the shader files and images read from other folders (tests, tools).
    Graphics(SDL_Window* window, std::filesystem::path shaderFolder, std::filesystem::path imageFolder);
    ~Graphics();

    Graphics(const Graphics&) = delete;
    Graphics& operator=(const Graphics&) = delete;

    void NewUiFrame();  // starts the editor UI frame (both back-ends, then ImGui)
    void Render();      // clears and draws the world
    void RenderUi();    // draws the editor UI over the frame
    void Present();     // shows the frame without waiting for the vertical blank

    bool IsReady() const { return ready; }
    // Draw calls of the last frame's sprite and particle passes.
    std::size_t DrawCallCount() const { return batches.size(); }

    // The window's full-screen state (SDL's desktop full-screen mode); the game flow reads and
    // toggles it for the options and F11.
    bool IsFullScreen() const;
    void SetFullScreen(bool fullScreen);

    // Start-up steps, in the order Initialize runs them.
    std::int32_t Initialize();
    std::int32_t InitDeviceAndSwapChain();
    std::int32_t InitViewport();
    std::int32_t InitShaders();
    std::int32_t InitMeshes();
    std::int32_t InitSampler();
    std::int32_t InitBlending();
    std::int32_t InitTextureList();
    void BuildMeshes();
    void BuildExpectedImageList();

    // The texture drawn for an image name: the first record of that name, or the fallback
    // ("debug.png", else the first image) with usePixelShader false; null without images.
    const TextureRecord* FindTexture(const std::string& name, bool& usePixelShader) const;

    SDL_Window* window = nullptr;
    void* context = nullptr;  // SDL_GLContext
    // The world is drawn into renderTarget at the camera's start-up size and scaled onto the
    // window's drawable when the frame is done, as the display scales a full-screen mode.
    unsigned int renderTarget = 0;        // framebuffer
    unsigned int colorBuffer = 0;         // renderbuffer, RGBA8
    unsigned int depthStencilBuffer = 0;  // renderbuffer, 24-bit depth + 8-bit stencil
    int targetWidth = 0;
    int targetHeight = 0;
    unsigned int vertexShader = 0;
    unsigned int pixelShader = 0;
    unsigned int pixelShader2 = 0;
    unsigned int spriteProgram = 0;    // vertexShader + pixelShader: texture x sprite colour
    unsigned int fallbackProgram = 0;  // vertexShader + pixelShader2: the image untinted
    std::vector<unsigned int> vertexArrays;  // one per mesh: the vertex layout over its buffers
    std::vector<unsigned int> vertexBuffers;
    std::vector<unsigned int> indexBuffers;
    unsigned int samplerState = 0;
    unsigned int constantBuffer = 0;  // uniform buffer of the frame's FrameConstants records
    std::vector<Mesh> meshes;
    std::vector<TextureRecord> textures;
    std::uint32_t debugTextureIndex = 0;
    std::vector<std::string> expectedImages;

    std::filesystem::path shaderFolder;
    std::filesystem::path imageFolder;

private:
    // Draws that share a mesh, a program and a texture and follow each other in draw order.
    struct Batch {
        int mesh = 0;
        unsigned int program = 0;
        unsigned int texture = 0;
        std::size_t firstByte = 0;  // of its records in frameRecords
        std::uint32_t count = 0;
    };

    void Start();
    void SetPipelineDefaults();
    std::int32_t CreateRenderTarget();
    unsigned int CompileStage(unsigned int stage, const char* fileName, const char* failureMessage);
    unsigned int LinkProgram(unsigned int pixelStage, const char* failureMessage);
    std::int32_t InitUiBackends();
    void QueueDraw(int mesh, const std::string& textureName, const glm::mat4& world, const glm::mat4& textureTransform,
                   const float colour[4]);
    void DrawBatches();
    void ShowTargetOnWindow();

    bool ready = false;       // every start-up step succeeded; nothing is drawn otherwise
    bool uiBackendsReady = false;
    std::size_t constantBufferBytes = 0;  // size of constantBuffer's store
    std::uint32_t recordAlignment = 16;  // offsets of bound constant ranges are multiples of this
    std::unordered_map<std::string, std::size_t> textureIndexByName;  // first record of each name
    FrameConstants frameDefaults{};  // view and projection of the frame being drawn
    std::vector<unsigned char> frameRecords;  // this frame's FrameConstants, batch by batch
    std::vector<Batch> batches;
};
