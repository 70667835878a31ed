#include "RenderFixture.h"

#include "TestSupport.h"
#include "core/ComponentStore.h"
#include "core/GameObjectTable.h"
#include "core/Log.h"
#include "core/Sprite.h"
#include "core/Transform.h"
#include "editor/Editor.h"

#include <SDL.h>
#include <cstdlib>
#include <epoxy/gl.h>
#include <stb_image_write.h>

namespace RenderTest {

void WritePng(const std::filesystem::path& path, int width, int height, Rgba colour)
{
    std::vector<std::uint8_t> pixels;
    for (int i = 0; i < width * height; ++i)
        pixels.insert(pixels.end(), colour.begin(), colour.end());
    ASSERT_NE(stbi_write_png(path.string().c_str(), width, height, 4, pixels.data(), width * 4), 0);
}

void WritePng(const std::filesystem::path& path, int width, int height, Rgba (*colourAt)(int x, int y))
{
    std::vector<std::uint8_t> pixels;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const Rgba colour = colourAt(x, y);
            pixels.insert(pixels.end(), colour.begin(), colour.end());
        }
    ASSERT_NE(stbi_write_png(path.string().c_str(), width, height, 4, pixels.data(), width * 4), 0);
}

void ExpectColour(const Rgba& actual, const Rgba& expected, const char* where)
{
    for (std::size_t i = 0; i < 3; ++i)
        EXPECT_LE(std::abs(actual[i] - expected[i]), 2)
            << where << ": channel " << i << " is " << int(actual[i]) << ", expected " << int(expected[i]);
}

std::filesystem::path GameShaderFolder() { return std::filesystem::path(VANTREL_SOURCE_DIR) / "Resources" / "Shaders"; }

std::vector<std::string> ErrorLines()
{
    std::vector<std::string> lines;
    const std::string tag = "[error] ";
    for (const std::string& line : Engine::Editor::Instance().logLines) {
        const std::size_t at = line.find(tag);
        if (at == std::string::npos)
            continue;
        std::string message = line.substr(at + tag.size());
        while (!message.empty() && (message.back() == '\n' || message.back() == '\r'))
            message.pop_back();
        lines.push_back(message);
    }
    return lines;
}

bool QuitQueued()
{
    SDL_Event event;
    return SDL_PeepEvents(&event, 1, SDL_GETEVENT, SDL_QUIT, SDL_QUIT) == 1;
}

void RenderFixture::SetUp()
{
    InitializeLogging({.repeatWindow = {}});  // every line: the tests compare what start-up logs, repeats too
    imageFolder = TestSupport::TemporaryHome() / "Images";
    std::filesystem::create_directories(imageFolder);
    window = TestSupport::OpenRenderWindow(1280, 720);
    ASSERT_NE(window, nullptr) << SDL_GetError();
}

void RenderFixture::TearDown()
{
    graphics.reset();
    if (window != nullptr)
        SDL_DestroyWindow(window);
    SDL_Quit();
}

void RenderFixture::StartGraphics(const std::filesystem::path& shaders, const std::filesystem::path& images)
{
    graphics = std::make_unique<Graphics>(window, shaders, images);
}

void RenderFixture::RenderFrame()
{
    ASSERT_TRUE(graphics && graphics->IsReady());
    graphics->Render();
}

Rgba RenderFixture::PixelAtWorld(float x, float y)
{
    Rgba pixel{};
    // Mesa's software rasteriser can hand back a read of the previous frame unless the
    // frame is finished first.
    glFinish();
    glBindFramebuffer(GL_READ_FRAMEBUFFER, graphics->device.WorldFramebuffer());
    glReadPixels(static_cast<GLint>(x + 640.0f), static_cast<GLint>(y + 360.0f), 1, 1, GL_RGBA, GL_UNSIGNED_BYTE,
                 pixel.data());
    return pixel;
}

std::vector<std::uint8_t> RenderFixture::ReadWorldFrame()
{
    const int width = graphics->device.targetWidth;
    const int height = graphics->device.targetHeight;
    std::vector<std::uint8_t> pixels(static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 4);
    glFinish();
    glBindFramebuffer(GL_READ_FRAMEBUFFER, graphics->device.WorldFramebuffer());
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, width, height, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
    return pixels;
}

void RenderFixture::ReopenWindow(int width, int height)
{
    ASSERT_FALSE(graphics) << "the renderer holds the old window";
    SDL_DestroyWindow(window);
    window = SDL_CreateWindow("Project Vantrel", 100, 50, width, height, SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN);
    ASSERT_NE(window, nullptr) << SDL_GetError();
}

std::vector<Rgba> RenderFixture::ReadWindow(int& width, int& height) { return TestSupport::ReadDrawable(window, width, height); }

std::uint32_t RenderFixture::AddSprite(float x, float y, float z, float scaleX, float scaleY,
                                       const std::string& texture, Rgba colour, int mesh)
{
    Engine::ComponentStore& store = Engine::ComponentStore::Instance();
    const std::uint32_t id = Engine::GameObjectTable::Instance().CreateGameObject("Sprite");
    store.AddComponent<Engine::Transform>(id);
    store.AddComponent<Engine::Sprite>(id);
    Engine::Transform& transform = *store.GetComponent<Engine::Transform>(id);
    transform.x_pos = x;
    transform.y_pos = y;
    transform.z_pos = z;
    transform.x_sca = scaleX;
    transform.y_sca = scaleY;
    Engine::Sprite& sprite = *store.GetComponent<Engine::Sprite>(id);
    sprite.Texture = texture;
    sprite.MeshIndex = mesh;
    for (int i = 0; i < 4; ++i)
        sprite.Color[i] = static_cast<float>(colour[static_cast<std::size_t>(i)]) / 255.0f;
    return id;
}

}  // namespace RenderTest
