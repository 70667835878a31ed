#include "graphics/Graphics.h"

#include "core/Animation.h"
#include "core/ComponentStore.h"
#include "core/GameObjectTable.h"
#include "core/Log.h"
#include "core/Sprite.h"
#include "core/SystemManager.h"
#include "core/Transform.h"
#include "gameplay/AnimationUpdate.h"
#include "gameplay/ParticleSystem.h"
#include "graphics/Camera.h"

#include <SDL.h>
#include <epoxy/gl.h>
#include <imgui.h>
#include <imgui_impl_opengl3.h>
#include <imgui_impl_sdl.h>
#include <stb_image.h>

#include <algorithm>
#include <cstring>
#include <fstream>
#include <iterator>
#include <limits>
#include <optional>
#include <system_error>
#include <utility>

namespace {

constexpr const char* VertexShaderFile = "VertexShader.vert.glsl";
constexpr const char* PixelShaderFile = "PixelShader.frag.glsl";
constexpr const char* PixelShader2File = "PixelShader2.frag.glsl";
constexpr const char* ConstantBlockName = "FrameConstantsBlock";
constexpr GLuint ConstantBlockBinding = 0;

// The whole file as bytes; nothing when it cannot be opened or read (a folder, for one).
std::optional<std::vector<char>> ReadWholeFile(const std::filesystem::path& path)
{
    std::error_code error;
    if (!std::filesystem::is_regular_file(path, error))
        return std::nullopt;
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return std::nullopt;
    std::vector<char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad())
        return std::nullopt;
    return bytes;
}

bool NoGlError()
{
    bool clean = true;
    while (glGetError() != GL_NO_ERROR)
        clean = false;
    return clean;
}

// A mipmapped RGBA texture of the decoded image, or 0 when the bytes are no image.
GLuint MakeTexture(const std::vector<char>& bytes, const std::string& path)
{
    if (bytes.empty() || bytes.size() > static_cast<std::size_t>(std::numeric_limits<int>::max())) {
        LogError("Image {} is empty or too large to decode", path);
        return 0;
    }
    int width = 0;
    int height = 0;
    int channels = 0;
    stbi_uc* pixels = stbi_load_from_memory(reinterpret_cast<const stbi_uc*>(bytes.data()), static_cast<int>(bytes.size()),
                                            &width, &height, &channels, 4);
    if (pixels == nullptr) {
        LogError("Image {} could not be decoded: {}", path, stbi_failure_reason());
        return 0;
    }
    NoGlError();
    GLuint texture = 0;
    glGenTextures(1, &texture);
    glBindTexture(GL_TEXTURE_2D, texture);
    // Rows arrive top row first, so texture coordinate v = 0 is the image's top edge.
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, width, height, 0, GL_RGBA, GL_UNSIGNED_BYTE, pixels);
    glGenerateMipmap(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, 0);
    stbi_image_free(pixels);
    if (!NoGlError()) {
        LogError("Image {} ({} x {}) could not be made into a texture", path, width, height);
        glDeleteTextures(1, &texture);
        return 0;
    }
    return texture;
}

std::size_t RoundUp(std::size_t value, std::size_t multiple) { return (value + multiple - 1) / multiple * multiple; }

}  // namespace

Graphics::Graphics(SDL_Window* gameWindow) : Graphics(gameWindow, "Resources/Shaders/", "Resources/Images/") {}

Graphics::Graphics(SDL_Window* gameWindow, std::filesystem::path shaders, std::filesystem::path images)
    : window(gameWindow), shaderFolder(std::move(shaders)), imageFolder(std::move(images))
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
            return Failure;
        }
    }
    return InitUiBackends();
}

std::int32_t Graphics::InitDeviceAndSwapChain()
{
    // The window was made with SDL_WINDOW_OPENGL and the 3.3 core, 24-bit depth and 8-bit
    // stencil attributes; the context inherits them.
    context = window != nullptr ? SDL_GL_CreateContext(window) : nullptr;
    if (context == nullptr) {
        LogError("OpenGL 3.3 core context could not be made: {}", window != nullptr ? SDL_GetError() : "no window");
        LogError("Failed to initialize device and swap chain!");
        return Failure;
    }
    if (epoxy_gl_version() < 33) {
        LogError("OpenGL {}.{} is too old: 3.3 is needed", epoxy_gl_version() / 10, epoxy_gl_version() % 10);
        LogError("Failed to initialize device and swap chain!");
        return Failure;
    }
    SDL_GL_MakeCurrent(window, context);
    SDL_GL_SetSwapInterval(0);  // present without waiting for the vertical blank
    SetFullScreen(true);        // the game starts in full screen
    SetPipelineDefaults();
    GLint alignment = 16;
    glGetIntegerv(GL_UNIFORM_BUFFER_OFFSET_ALIGNMENT, &alignment);
    recordAlignment = static_cast<std::uint32_t>(std::max(alignment, 1));
    return CreateRenderTarget();
}

// Direct3D's device defaults, which the sprite pass relies on: back faces culled with
// clockwise triangles in front, depth test "less" with writes on.
void Graphics::SetPipelineDefaults()
{
    glEnable(GL_CULL_FACE);
    glCullFace(GL_BACK);
    glFrontFace(GL_CW);
    glEnable(GL_DEPTH_TEST);
    glDepthFunc(GL_LESS);
    glDepthMask(GL_TRUE);
    glDisable(GL_STENCIL_TEST);
    glDisable(GL_SCISSOR_TEST);
}

std::int32_t Graphics::CreateRenderTarget()
{
    const Engine::Camera& camera = *Engine::Camera::Instance();
    targetWidth = static_cast<int>(camera.viewWidth);
    targetHeight = static_cast<int>(camera.viewHeight);
    NoGlError();
    glGenFramebuffers(1, &renderTarget);
    glBindFramebuffer(GL_FRAMEBUFFER, renderTarget);
    glGenRenderbuffers(1, &colorBuffer);
    glBindRenderbuffer(GL_RENDERBUFFER, colorBuffer);
    glRenderbufferStorage(GL_RENDERBUFFER, GL_RGBA8, targetWidth, targetHeight);
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, colorBuffer);

    glGenRenderbuffers(1, &depthStencilBuffer);
    glBindRenderbuffer(GL_RENDERBUFFER, depthStencilBuffer);
    glRenderbufferStorage(GL_RENDERBUFFER, GL_DEPTH24_STENCIL8, targetWidth, targetHeight);
    if (!NoGlError() || targetWidth <= 0 || targetHeight <= 0) {
        LogError("Depth buffer of {} x {} could not be made", targetWidth, targetHeight);
        LogError("Failed to initialize depth buffer!");
        return Failure;
    }
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_STENCIL_ATTACHMENT, GL_RENDERBUFFER, depthStencilBuffer);
    if (glCheckFramebufferStatus(GL_FRAMEBUFFER) != GL_FRAMEBUFFER_COMPLETE || !NoGlError()) {
        LogError("Failed to initialize depth stencil view!");
        return Failure;
    }
    return Success;
}

std::int32_t Graphics::InitViewport()
{
    // Set once: the target keeps its start-up size when the camera's view size changes.
    glViewport(0, 0, static_cast<GLsizei>(Engine::Camera::Instance()->viewWidth),
               static_cast<GLsizei>(Engine::Camera::Instance()->viewHeight));
    glDepthRange(0.0, 1.0);
    return Success;
}

unsigned int Graphics::CompileStage(unsigned int stage, const char* fileName, const char* failureMessage)
{
    const std::filesystem::path path = shaderFolder / fileName;
    const std::optional<std::vector<char>> source = ReadWholeFile(path);
    if (!source || source->empty()) {
        LogError("Shader file {} could not be read", path.string());
        LogError(failureMessage);
        return 0;
    }
    const GLuint shader = glCreateShader(stage);
    const GLchar* text = source->data();
    const GLint length = static_cast<GLint>(source->size());
    glShaderSource(shader, 1, &text, &length);
    glCompileShader(shader);
    GLint compiled = GL_FALSE;
    glGetShaderiv(shader, GL_COMPILE_STATUS, &compiled);
    if (compiled != GL_TRUE) {
        GLchar info[1024] = {};
        glGetShaderInfoLog(shader, sizeof info, nullptr, info);
        LogError("Shader {} did not compile: {}", path.string(), info);
        LogError(failureMessage);
        glDeleteShader(shader);
        return 0;
    }
    return shader;
}

unsigned int Graphics::LinkProgram(unsigned int pixelStage, const char* failureMessage)
{
    const GLuint program = glCreateProgram();
    glAttachShader(program, vertexShader);
    glAttachShader(program, pixelStage);
    // The vertex layout: POSITION float2 at byte 0, COLOR float4 at 8, TEXCOORD float2 at 24.
    glBindAttribLocation(program, 0, "POSITION");
    glBindAttribLocation(program, 1, "COLOR");
    glBindAttribLocation(program, 2, "TEXCOORD");
    glLinkProgram(program);
    GLint linked = GL_FALSE;
    glGetProgramiv(program, GL_LINK_STATUS, &linked);
    if (linked != GL_TRUE) {
        GLchar info[1024] = {};
        glGetProgramInfoLog(program, sizeof info, nullptr, info);
        LogError("Shader program did not link: {}", info);
        LogError(failureMessage);
        glDeleteProgram(program);
        return 0;
    }
    const GLuint block = glGetUniformBlockIndex(program, ConstantBlockName);
    GLint blockSize = 0;
    if (block != GL_INVALID_INDEX)
        glGetActiveUniformBlockiv(program, block, GL_UNIFORM_BLOCK_DATA_SIZE, &blockSize);
    if (block == GL_INVALID_INDEX || blockSize != static_cast<GLint>(BatchCapacity * sizeof(FrameConstants))) {
        LogError("Vertex shader has no uniform block {} of {} FrameConstants records ({} bytes)", ConstantBlockName,
                 BatchCapacity, BatchCapacity * sizeof(FrameConstants));
        LogError("Failed to initialize vertex shader!");
        glDeleteProgram(program);
        return 0;
    }
    glUniformBlockBinding(program, block, ConstantBlockBinding);
    glUseProgram(program);
    glUniform1i(glGetUniformLocation(program, "image"), 0);  // texture unit 0, sampler 0
    return program;
}

std::int32_t Graphics::InitShaders()
{
    vertexShader = CompileStage(GL_VERTEX_SHADER, VertexShaderFile, "Failed to initialize vertex shader!");
    if (vertexShader == 0)
        return Failure;
    pixelShader = CompileStage(GL_FRAGMENT_SHADER, PixelShaderFile, "Failed to initialize pixel shader!");
    if (pixelShader == 0)
        return Failure;
    pixelShader2 = CompileStage(GL_FRAGMENT_SHADER, PixelShader2File, "Failed to initialize pixel shader 2!");
    if (pixelShader2 == 0)
        return Failure;
    spriteProgram = LinkProgram(pixelShader, "Failed to initialize pixel shader!");
    if (spriteProgram == 0)
        return Failure;
    fallbackProgram = LinkProgram(pixelShader2, "Failed to initialize pixel shader 2!");
    if (fallbackProgram == 0)
        return Failure;
    glUseProgram(spriteProgram);
    return Success;
}

void Graphics::BuildMeshes()
{
    for (Mesh& mesh : BuildStandardMeshes())
        meshes.push_back(std::move(mesh));
}

std::int32_t Graphics::InitMeshes()
{
    BuildMeshes();
    NoGlError();
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
        if (!NoGlError()) {
            glDeleteBuffers(1, &vertexBuffer);
            LogError("Failed to initialize vertex buffer!");
            return Failure;
        }
        vertexBuffers.push_back(vertexBuffer);
        glBufferSubData(GL_ARRAY_BUFFER, 0, static_cast<GLsizeiptr>(sizeof(Vertex) * mesh.vertices.size()),
                        mesh.vertices.data());

        GLuint indexBuffer = 0;
        glGenBuffers(1, &indexBuffer);
        glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, indexBuffer);
        glBufferData(GL_ELEMENT_ARRAY_BUFFER, static_cast<GLsizeiptr>(sizeof(Triangle) * mesh.triangles.size()),
                     mesh.triangles.data(), GL_STATIC_DRAW);
        if (!NoGlError()) {
            glDeleteBuffers(1, &indexBuffer);
            LogError("Failed to initialize index buffer!");
            return Failure;
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
    constantBufferBytes = BatchCapacity * sizeof(FrameConstants);
    glBufferData(GL_UNIFORM_BUFFER, static_cast<GLsizeiptr>(constantBufferBytes), nullptr, GL_DYNAMIC_DRAW);
    if (!NoGlError()) {
        LogError("Failed to initialize constant buffer!");
        return Failure;
    }
    return Success;
}

std::int32_t Graphics::InitSampler()
{
    NoGlError();
    glGenSamplers(1, &samplerState);
    glSamplerParameteri(samplerState, GL_TEXTURE_MIN_FILTER, GL_LINEAR_MIPMAP_LINEAR);
    glSamplerParameteri(samplerState, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glSamplerParameteri(samplerState, GL_TEXTURE_WRAP_S, GL_REPEAT);
    glSamplerParameteri(samplerState, GL_TEXTURE_WRAP_T, GL_REPEAT);
    glSamplerParameteri(samplerState, GL_TEXTURE_WRAP_R, GL_REPEAT);
    glSamplerParameterf(samplerState, GL_TEXTURE_LOD_BIAS, 0.0f);
    glSamplerParameterf(samplerState, GL_TEXTURE_MIN_LOD, 0.0f);
    glSamplerParameterf(samplerState, GL_TEXTURE_MAX_LOD, std::numeric_limits<float>::max());
    const GLfloat border[4] = {0.0f, 0.0f, 0.0f, 0.0f};
    glSamplerParameterfv(samplerState, GL_TEXTURE_BORDER_COLOR, border);
    glBindSampler(0, samplerState);
    if (!NoGlError()) {
        LogError("Failed to initialize sampler state!");
        return Failure;
    }
    return Success;
}

std::int32_t Graphics::InitBlending()
{
    NoGlError();
    glDisable(GL_SAMPLE_ALPHA_TO_COVERAGE);
    glEnable(GL_BLEND);
    glBlendEquationSeparate(GL_FUNC_ADD, GL_FUNC_ADD);
    glBlendFuncSeparate(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA, GL_ONE, GL_ZERO);
    glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
    if (!NoGlError()) {
        LogError("Failed to initialize alpha blending!");
        return Failure;
    }
    return Success;
}

void Graphics::BuildExpectedImageList()
{
    static const char* const names[] = {
        "AreYouSure.png", "CreditA.png", "QuillmereLogo.png", "CreditB.png", "QMProduction.png", "CreditC.png",
        "Legalia.png", "Morlith.png", "KTPresents.png", "KTWebsite.png", "Executives.png", "FMOD.png",
        "FullscreenB.png", "FullscreenW.png", "LAB317_Morlith_LettersTest.png", "LAB317_Morlith_LettersTest2.png",
        "LAB317_Morlith_NumbersTest.png", "LAB317_Morlith_NumbersTest2.png", "GodModeB.png", "GodModeW.png",
        "Instructors.png", "CreditD.png", "CreditE.png", "CreditF.png", "CreditG.png", "Minus.png", "MusicB.png",
        "MusicW.png", "Paused.png", "Plus.png", "CreditH.png", "CreditI.png", "YouLoseW.png", "YouLoseB.png",
        "YouWinW.png", "YouWinB.png", "Tree1A_1.png", "Tree1A_2.png", "Tree1A_3.png", "Tree1B_1.png", "Tree1B_2.png",
        "Tree1C_1.png", "Tree1C_2.png", "TreeRow_1.png", "TreeRow_2.png", "TreeRow_3.png", "HowToPlayScreen.png",
        "PressEnter.png", "Score.png", "AirDashDiagonal.png", "AirDashDiagonalL.png", "AirDashDiagonalR.png",
        "Diagonal_Dash_Tutorial.png", "Jump.png", "Jump_Tutorial.png", "Left_Right_Tutorial.png", "Movement.png",
        "MovementFinal.png", "Right_AirDash_Tutorial.png", "SlideAfterJumping.png", "WaterSlide.png",
        "OptionsText.png", "DashReset.png", "Level1Complete.png", "Level2Complete.png", "Level3Complete.png",
        "Level4Complete.png",
    };
    expectedImages.insert(expectedImages.end(), std::begin(names), std::end(names));
}

std::int32_t Graphics::InitTextureList()
{
    BuildExpectedImageList();

    std::vector<std::filesystem::path> entries;
    std::error_code error;
    for (std::filesystem::directory_iterator it(imageFolder, error), end; !error && it != end; it.increment(error))
        entries.push_back(it->path().filename());
    if (error) {
        LogError("Image folder {} could not be listed: {}", imageFolder.string(), error.message());
        return Failure;
    }
    std::sort(entries.begin(), entries.end());

    for (const std::filesystem::path& fileName : entries) {
        const std::string path = (imageFolder / fileName).string();
        LogInfo("Reading File: {}", path);
        const std::optional<std::vector<char>> bytes = ReadWholeFile(imageFolder / fileName);
        if (!bytes) {
            LogError("Failed to read file {}", path);
            return Failure;
        }
        const GLuint texture = MakeTexture(*bytes, path);
        if (texture == 0) {
            LogError("Failed to initialize texture!");
            return Failure;
        }
        TextureRecord record(texture, fileName.string());
        const auto expected = std::find(expectedImages.begin(), expectedImages.end(), record.name);
        if (expected != expectedImages.end())
            expectedImages.erase(expected);
        textureIndexByName.try_emplace(record.name, textures.size());
        textures.push_back(std::move(record));
        if (textures.back().name == "debug.png")
            debugTextureIndex = static_cast<std::uint32_t>(textures.size() - 1);
    }
    return Success;
}

std::int32_t Graphics::InitUiBackends()
{
    // The editor makes the UI context when it is created; a renderer started before it
    // (tools, tests) makes its own.
    if (ImGui::GetCurrentContext() == nullptr)
        ImGui::CreateContext();
    ImGui_ImplSDL2_InitForOpenGL(window, context);
    ImGui_ImplOpenGL3_Init("#version 330 core");
    uiBackendsReady = true;
    return Success;
}

Graphics::~Graphics()
{
    if (context != nullptr)
        SDL_GL_MakeCurrent(window, context);
    if (uiBackendsReady) {
        ImGui_ImplOpenGL3_Shutdown();
        ImGui_ImplSDL2_Shutdown();
    }
    if (ImGui::GetCurrentContext() != nullptr)
        ImGui::DestroyContext();
    if (context == nullptr)
        return;  // no OpenGL object was ever made

    expectedImages.clear();
    textures.clear();
    meshes.clear();
    glDeleteBuffers(1, &constantBuffer);
    glDeleteSamplers(1, &samplerState);
    glDeleteBuffers(static_cast<GLsizei>(indexBuffers.size()), indexBuffers.data());
    glDeleteBuffers(static_cast<GLsizei>(vertexBuffers.size()), vertexBuffers.data());
    glDeleteVertexArrays(static_cast<GLsizei>(vertexArrays.size()), vertexArrays.data());
    glDeleteProgram(fallbackProgram);
    glDeleteProgram(spriteProgram);
    glDeleteShader(pixelShader2);
    glDeleteShader(pixelShader);
    glDeleteShader(vertexShader);
    glDeleteRenderbuffers(1, &depthStencilBuffer);
    glDeleteRenderbuffers(1, &colorBuffer);
    glDeleteFramebuffers(1, &renderTarget);
    SDL_GL_MakeCurrent(window, nullptr);
    SDL_GL_DeleteContext(context);
}

bool Graphics::IsFullScreen() const
{
    return window != nullptr && (SDL_GetWindowFlags(window) & SDL_WINDOW_FULLSCREEN) != 0;
}

void Graphics::SetFullScreen(bool fullScreen)
{
    if (window == nullptr)
        return;
    if (SDL_SetWindowFullscreen(window, fullScreen ? SDL_WINDOW_FULLSCREEN_DESKTOP : 0) != 0)
        LogWarn("Full-screen mode could not be {}: {}", fullScreen ? "entered" : "left", SDL_GetError());
}

const TextureRecord* Graphics::FindTexture(const std::string& name, bool& usePixelShader) const
{
    const auto found = textureIndexByName.find(name);
    if (found != textureIndexByName.end()) {
        const TextureRecord& record = textures[found->second];
        usePixelShader = record.usePixelShader;
        return &record;
    }
    usePixelShader = false;
    return debugTextureIndex < textures.size() ? &textures[debugTextureIndex] : nullptr;
}

void Graphics::NewUiFrame()
{
    if (!ready)
        return;
    ImGui_ImplOpenGL3_NewFrame();
    ImGui_ImplSDL2_NewFrame();
    ImGui::NewFrame();
}

void Graphics::QueueDraw(int mesh, const std::string& textureName, const glm::mat4& world,
                         const glm::mat4& textureTransform, const float colour[4])
{
    bool usePixelShader = false;
    const TextureRecord* record = FindTexture(textureName, usePixelShader);
    const GLuint texture = record != nullptr ? record->view : 0;
    const GLuint program = usePixelShader ? spriteProgram : fallbackProgram;

    // A draw joins the previous batch only when nothing would change between them, so the
    // instances of a batch keep the draw order that depth test and blending depend on.
    if (batches.empty() || batches.back().mesh != mesh || batches.back().program != program ||
        batches.back().texture != texture || batches.back().count == BatchCapacity) {
        const std::size_t firstByte = RoundUp(frameRecords.size(), recordAlignment);
        batches.push_back({mesh, program, texture, firstByte, 0});
        frameRecords.resize(firstByte);
    }
    FrameConstants constants{frameDefaults};
    constants.world = world;
    constants.textureTransform = textureTransform;
    constants.colour = glm::vec4(colour[0], colour[1], colour[2], colour[3]);
    const std::size_t at = frameRecords.size();
    frameRecords.resize(at + sizeof(FrameConstants));
    std::memcpy(frameRecords.data() + at, &constants, sizeof(FrameConstants));
    ++batches.back().count;
}

void Graphics::Render()
{
    if (!ready)
        return;
    glBindFramebuffer(GL_FRAMEBUFFER, renderTarget);
    glClearColor(0.6f, 1.0f, 1.0f, 1.0f);
    glClearDepth(1.0);
    glClearStencil(0);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT | GL_STENCIL_BUFFER_BIT);

    const Engine::Camera& camera = *Engine::Camera::Instance();
    frameDefaults.view = camera.ViewMatrix();
    frameDefaults.projection = camera.ProjectionMatrix();
    frameRecords.clear();
    batches.clear();

    // Sprites in object-id order, then particles: nothing is sorted, as the depth test and
    // blending make the order visible where sprites overlap.
    Engine::ComponentStore& store = Engine::ComponentStore::Instance();
    Engine::AnimationUpdate* animation = Engine::GetSystem<Engine::AnimationUpdate>();
    static const glm::mat4 identity(1.0f);
    static const std::string noTexture;
    const std::uint32_t highest = Engine::GameObjectTable::Instance().highestUsed;
    for (std::uint32_t id = 0; id <= highest && id < Engine::MaxGameObjects; ++id) {
        const Engine::Sprite* sprite = store.GetComponent<Engine::Sprite>(id);
        if (sprite == nullptr)
            continue;
        const Engine::Transform* transform = store.GetComponent<Engine::Transform>(id);
        // Without a Transform there is nowhere to draw; other mesh indices have no mesh.
        if (transform == nullptr || sprite->MeshIndex < 0 || sprite->MeshIndex >= MeshCount)
            continue;
        const glm::mat4 world = WorldMatrix(transform->x_pos, transform->y_pos, transform->z_pos, transform->x_sca,
                                            transform->y_sca, transform->rot);
        const Engine::Animation* cell = store.GetComponent<Engine::Animation>(id);
        if (cell == nullptr || animation == nullptr) {
            QueueDraw(sprite->MeshIndex, sprite->Texture, world, identity, sprite->Color);
            continue;
        }
        const Engine::AnimationData& sheet = animation->animations.try_emplace(cell->Handle).first->second;
        const auto columns = static_cast<std::uint32_t>(sheet.columns);
        const auto rows = static_cast<std::uint32_t>(sheet.rows);
        if (columns == 0 || rows == 0) {
            // An animation without cells has no sheet to show: the whole fallback image is drawn.
            QueueDraw(sprite->MeshIndex, noTexture, world, identity, sprite->Color);
            continue;
        }
        QueueDraw(sprite->MeshIndex, sheet.spriteSheet, world, SheetCellTransform(columns, rows, cell->u, cell->v),
                  sprite->Color);
    }

    if (const Engine::ParticleSystem* particles = Engine::GetSystem<Engine::ParticleSystem>()) {
        for (const Engine::Particle& particle : particles->particles) {
            if (!particle.alive)
                continue;
            QueueDraw(QuadMesh, particle.texture,
                      WorldMatrix(particle.x, particle.y, particle.z, particle.scaleX, particle.scaleY, particle.rotation),
                      identity, particle.color);
        }
    }

    DrawBatches();
    ShowTargetOnWindow();
}

void Graphics::DrawBatches()
{
    if (batches.empty())
        return;
    // Every batch binds a whole block's worth of records, so the last one is padded out.
    constexpr std::size_t blockBytes = BatchCapacity * sizeof(FrameConstants);
    frameRecords.resize(std::max(frameRecords.size(), batches.back().firstByte + blockBytes));
    glBindBuffer(GL_UNIFORM_BUFFER, constantBuffer);
    // The store only grows, so a steady frame writes into memory the driver already has.
    if (frameRecords.size() > constantBufferBytes) {
        constantBufferBytes = frameRecords.size() + frameRecords.size() / 2;
        glBufferData(GL_UNIFORM_BUFFER, static_cast<GLsizeiptr>(constantBufferBytes), nullptr, GL_DYNAMIC_DRAW);
    }
    glBufferSubData(GL_UNIFORM_BUFFER, 0, static_cast<GLsizeiptr>(frameRecords.size()), frameRecords.data());
    int boundMesh = -1;
    GLuint boundProgram = 0;
    GLuint boundTexture = std::numeric_limits<GLuint>::max();
    glActiveTexture(GL_TEXTURE0);
    glBindSampler(0, samplerState);
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
        // Records past the batch's count are bound but never read.
        glBindBufferRange(GL_UNIFORM_BUFFER, ConstantBlockBinding, constantBuffer,
                          static_cast<GLintptr>(batch.firstByte), static_cast<GLsizeiptr>(blockBytes));
        glDrawElementsInstanced(GL_TRIANGLES, static_cast<GLsizei>(3 * TriangleCount(batch.mesh)), GL_UNSIGNED_INT,
                                nullptr, static_cast<GLsizei>(batch.count));
        if (++sinceFlush == FlushInterval) {
            glFlush();
            sinceFlush = 0;
        }
    }
}

void Graphics::ShowTargetOnWindow()
{
    int drawableWidth = 0;
    int drawableHeight = 0;
    SDL_GL_GetDrawableSize(window, &drawableWidth, &drawableHeight);
    glBindFramebuffer(GL_DRAW_FRAMEBUFFER, 0);
    if (drawableWidth == targetWidth && drawableHeight == targetHeight) {
        glBindFramebuffer(GL_READ_FRAMEBUFFER, renderTarget);
        glBlitFramebuffer(0, 0, targetWidth, targetHeight, 0, 0, targetWidth, targetHeight, GL_COLOR_BUFFER_BIT,
                          GL_NEAREST);
    } else if (drawableWidth > 0 && drawableHeight > 0) {
        // Scaled to fit, keeping the target's aspect; black bars fill the rest of the window.
        const float scale = std::min(static_cast<float>(drawableWidth) / static_cast<float>(targetWidth),
                                     static_cast<float>(drawableHeight) / static_cast<float>(targetHeight));
        const int width = static_cast<int>(static_cast<float>(targetWidth) * scale);
        const int height = static_cast<int>(static_cast<float>(targetHeight) * scale);
        const int left = (drawableWidth - width) / 2;
        const int bottom = (drawableHeight - height) / 2;
        glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
        glClear(GL_COLOR_BUFFER_BIT);
        glBindFramebuffer(GL_READ_FRAMEBUFFER, renderTarget);
        glBlitFramebuffer(0, 0, targetWidth, targetHeight, left, bottom, left + width, bottom + height,
                          GL_COLOR_BUFFER_BIT, GL_LINEAR);
    }
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
}

void Graphics::RenderUi()
{
    if (!ready)
        return;
    ImGui::Render();
    ImGui_ImplOpenGL3_RenderDrawData(ImGui::GetDrawData());
}

void Graphics::Present()
{
    if (!ready)
        return;
    SDL_GL_SwapWindow(window);
}
