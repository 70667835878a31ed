#include "graphics/Graphics.h"

#include "core/Log.h"
#include "graphics/Camera.h"
#include "graphics/GlSupport.h"
#include "graphics/ImageDecoder.h"
#include "graphics/SpritePass.h"

#include <SDL.h>
#include <epoxy/gl.h>

#include <limits>
#include <utility>

Graphics::Graphics(SDL_Window* gameWindow) : Graphics(gameWindow, GameShaderFolder, GameImageFolder) {}

Graphics::Graphics(SDL_Window* gameWindow, Render::ImageDecoder& images)
    : window(gameWindow), shaderFolder(GameShaderFolder), imageFolder(images.Folder()), startedImages(&images)
{
    Start();
}

Graphics::Graphics(SDL_Window* gameWindow, std::filesystem::path shaderPath, std::filesystem::path imagePath)
    : window(gameWindow), shaderFolder(std::move(shaderPath)), imageFolder(std::move(imagePath))
{
    Start();
}

void Graphics::Start()
{
    LogInfo("Initializing Graphics...");
    if (Initialize() != Success) {
        LogError("Failed to initialize Graphics!");
        SDL_Event quit{};
        quit.type = SDL_QUIT;
        SDL_PushEvent(&quit);
        return;
    }
    ready = true;
    LogInfo("Graphics Initialized");
}

std::int32_t Graphics::Initialize()
{
    struct Step {
        std::int32_t (Graphics::*run)();
        const char* failureMessage;
    };
    static constexpr Step steps[] = {
        {&Graphics::InitDeviceAndSwapChain, "Failed to initialize swap chain and/or device!"},
        {&Graphics::InitViewport, "Failed to initialize viewport!"},
        {&Graphics::InitShaders, "Failed to initialize shaders!"},
        {&Graphics::InitMeshes, "Failed to initialize meshes!"},
        {&Graphics::InitSampler, "Failed to initialize sampler!"},
        {&Graphics::InitBlending, "Failed to initialize alpha blending!"},
        {&Graphics::InitTextureList, "Failed to initialize texture list!"},
    };
    for (const Step& step : steps) {
        if ((this->*step.run)() != Success) {
            LogError(step.failureMessage);
            startupFailure = step.failureMessage;
            return Failure;
        }
    }
    return InitUi();
}

std::int32_t Graphics::InitDeviceAndSwapChain()
{
    const Engine::Camera& camera = *Engine::Camera::Instance();
    return device.Create(window, static_cast<int>(camera.viewWidth), static_cast<int>(camera.viewHeight)) ? Success
                                                                                                           : Failure;
}

std::int32_t Graphics::InitViewport()
{
    // Set once: the target keeps its start-up size when the camera's view size changes.
    glViewport(0, 0, static_cast<GLsizei>(Engine::Camera::Instance()->viewWidth),
               static_cast<GLsizei>(Engine::Camera::Instance()->viewHeight));
    glDepthRange(0.0, 1.0);
    return Success;
}

std::int32_t Graphics::InitShaders() { return shaders.Build(shaderFolder) ? Success : Failure; }

std::int32_t Graphics::InitMeshes()
{
    for (Mesh& mesh : BuildStandardMeshes())
        batcher.meshes.push_back(std::move(mesh));
    return batcher.Create(device.uniformOffsetAlignment) ? Success : Failure;
}

std::int32_t Graphics::InitSampler()
{
    Render::NoGlError();
    glGenSamplers(1, &samplerState);
    glGenSamplers(1, &fullSizeSampler);
    for (const GLuint sampler : {samplerState, fullSizeSampler}) {
        glSamplerParameteri(sampler, GL_TEXTURE_MIN_FILTER, sampler == samplerState ? GL_LINEAR_MIPMAP_LINEAR : GL_LINEAR);
        glSamplerParameteri(sampler, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
        glSamplerParameteri(sampler, GL_TEXTURE_WRAP_S, GL_REPEAT);
        glSamplerParameteri(sampler, GL_TEXTURE_WRAP_T, GL_REPEAT);
        glSamplerParameteri(sampler, GL_TEXTURE_WRAP_R, GL_REPEAT);
        glSamplerParameterf(sampler, GL_TEXTURE_LOD_BIAS, 0.0f);
        glSamplerParameterf(sampler, GL_TEXTURE_MIN_LOD, 0.0f);
        glSamplerParameterf(sampler, GL_TEXTURE_MAX_LOD, std::numeric_limits<float>::max());
        const GLfloat border[4] = {0.0f, 0.0f, 0.0f, 0.0f};
        glSamplerParameterfv(sampler, GL_TEXTURE_BORDER_COLOR, border);
    }
    glBindSampler(0, samplerState);
    if (!Render::NoGlError()) {
        LogError("Failed to initialize sampler state!");
        return Failure;
    }
    return Success;
}

std::int32_t Graphics::InitBlending()
{
    Render::NoGlError();
    glDisable(GL_SAMPLE_ALPHA_TO_COVERAGE);
    glEnable(GL_BLEND);
    glBlendEquationSeparate(GL_FUNC_ADD, GL_FUNC_ADD);
    glBlendFuncSeparate(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA, GL_ONE, GL_ZERO);
    glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
    if (!Render::NoGlError()) {
        LogError("Failed to initialize alpha blending!");
        return Failure;
    }
    return Success;
}

std::int32_t Graphics::InitTextureList()
{
    const bool loaded = startedImages != nullptr ? textures.Load(*startedImages) : textures.Load(imageFolder);
    return loaded ? Success : Failure;
}

std::int32_t Graphics::InitUi()
{
    if (!ui.Start(window, device.context, device.targetWidth, device.targetHeight))
        LogWarn("The UI could not be started: the editor's windows will not show");
    return Success;
}

Graphics::~Graphics()
{
    if (device.context != nullptr)
        SDL_GL_MakeCurrent(window, device.context);
    // The UI first, then the images and the meshes' CPU copies, then the GPU objects in
    // reverse order of making.
    ui.Shutdown();
    if (device.context == nullptr)
        return;  // no OpenGL object was ever made
    textures.Clear();
    batcher.meshes.clear();
    batcher.ReleaseConstantBuffer();
    glDeleteSamplers(1, &fullSizeSampler);
    glDeleteSamplers(1, &samplerState);
    batcher.ReleaseMeshBuffers();
    shaders.Release();
    device.Release();
}

void Graphics::NewUiFrame()
{
    if (ready)
        ui.BeginFrame();
}

void Graphics::Render()
{
    if (!ready)
        return;
    static constexpr float ClearColour[3] = {0.6f, 1.0f, 1.0f};
    device.BeginWorld(ClearColour);

    const Engine::Camera& camera = *Engine::Camera::Instance();
    const glm::mat4 view = camera.ViewMatrix();
    const glm::mat4 projection = camera.ProjectionMatrix();
    batcher.BeginFrame(view, projection, device.targetWidth, device.targetHeight);
    SpritePass pass(batcher, textures, shaders, view, projection, device.targetWidth, device.targetHeight,
                    static_cast<float>(device.targetWidth) / camera.viewWidth,
                    static_cast<float>(device.targetHeight) / camera.viewHeight);
    pass.QueueSprites();
    pass.QueueParticles();
    batcher.DrawBatches(samplerState, fullSizeSampler);
    device.ShowTargetOnWindow();
}

void Graphics::RenderUi()
{
    if (ready)
        ui.Render();
}

void Graphics::Present()
{
    if (!ready)
        return;
    device.Present();
    textures.UploadPending(UploadsPerFrame);
}
