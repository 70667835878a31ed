// Graphics: the renderer, a member of Game. It starts up in fixed steps (the device with its
// target, shaders, meshes, sampler, blending, the texture list, then the UI layer), draws
// every sprite and particle each frame into the target and shows it on the window, and shuts
// everything down in the reverse order. The parts live in RenderDevice, ShaderPrograms,
// SpriteBatcher, TextureList, SpritePass and Platform::UiLayer.
#pragma once

#include "graphics/RenderDevice.h"
#include "graphics/ShaderPrograms.h"
#include "graphics/SpriteBatcher.h"
#include "graphics/TextureList.h"
#include "platform/UiLayer.h"

#include <cstdint>
#include <filesystem>
#include <string>

struct SDL_Window;

namespace Render {
class ImageDecoder;
}

class Graphics {
public:
    // Every start-up step answers Success or Failure.
    static constexpr std::int32_t Success = 0;
    static constexpr std::int32_t Failure = static_cast<std::int32_t>(0x80004005u);

    static constexpr const char* GameShaderFolder = "Resources/Shaders/";
    static constexpr const char* GameImageFolder = "Resources/Images/";

    // Starts up with the game's own folders.
    explicit Graphics(SDL_Window* window);
    // Starts up with the game's own shaders and the images of a decoder started earlier
    // (the game starts one over GameImageFolder before anything else); it must outlive this.
    Graphics(SDL_Window* window, Render::ImageDecoder& images);
    // Starts up with the shader files and images read from other folders (tests, tools).
    Graphics(SDL_Window* window, std::filesystem::path shaderFolder, std::filesystem::path imageFolder);
    ~Graphics();

    Graphics(const Graphics&) = delete;
    Graphics& operator=(const Graphics&) = delete;

    void NewUiFrame();  // starts the UI frame
    void Render();      // clears and draws the world, then shows it on the window
    void RenderUi();    // draws the UI over the frame
    void Present();     // shows the frame without waiting for the vertical blank

    bool IsReady() const { return ready; }
    // The line of the start-up step that failed; empty while none did.
    const std::string& StartupFailure() const { return startupFailure; }
    // Draw calls of the last frame's sprite and particle passes.
    std::size_t DrawCallCount() const { return batcher.DrawCallCount(); }

    // The window's full-screen state (SDL's desktop full-screen mode); the game flow reads and
    // toggles it for the options and F11.
    bool IsFullScreen() const { return device.IsFullScreen(); }
    void SetFullScreen(bool fullScreen) { device.SetFullScreen(fullScreen); }

    // Start-up steps, in the order Initialize runs them.
    std::int32_t Initialize();
    std::int32_t InitDeviceAndSwapChain();
    std::int32_t InitViewport();
    std::int32_t InitShaders();
    std::int32_t InitMeshes();
    std::int32_t InitSampler();
    std::int32_t InitBlending();
    std::int32_t InitTextureList();
    std::int32_t InitUi();

    // The texture drawn for an image name (TextureList::Find).
    const TextureRecord* FindTexture(const std::string& name, bool& usePixelShader) const
    {
        return textures.Find(name, usePixelShader);
    }

    SDL_Window* window = nullptr;
    RenderDevice device;
    ShaderPrograms shaders;
    SpriteBatcher batcher;
    unsigned int samplerState = 0;
    // samplerState without the smaller levels, for draws that never read them: cheaper for a
    // software rasteriser, the same pixels.
    unsigned int fullSizeSampler = 0;
    TextureList textures;
    Platform::UiLayer ui;

    std::filesystem::path shaderFolder;
    std::filesystem::path imageFolder;

    // Textures given their pixels after each presented frame (TextureList): the images not
    // drawn at start-up are all uploaded within a second. Smaller levels are built only for
    // the textures that a draw shrinks, as a third more storage for every image is not free.
    static constexpr std::size_t UploadsPerFrame = 4;

private:
    void Start();

    bool ready = false;  // every start-up step succeeded; nothing is drawn otherwise
    Render::ImageDecoder* startedImages = nullptr;  // read by the texture list's step only
    std::string startupFailure;
};
