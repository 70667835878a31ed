#include "RenderFixture.h"

#include "TestSupport.h"
#include "editor/Editor.h"
#include "graphics/GlSupport.h"

#include <fmt/format.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <optional>
#include <string_view>

using namespace RenderTest;

namespace {

// A copy of the game's shader folder that a test may break.
std::filesystem::path CopyOfGameShaders()
{
    const std::filesystem::path copy = TestSupport::TemporaryHome() / "Shaders";
    std::filesystem::create_directories(copy);
    for (const auto& entry : std::filesystem::directory_iterator(GameShaderFolder()))
        std::filesystem::copy_file(entry.path(), copy / entry.path().filename());
    return copy;
}

}  // namespace

using GraphicsStartup = RenderFixture;

TEST_F(GraphicsStartup, SucceedsWithEveryObjectMade)
{
    WritePng(imageFolder / "debug.png", 2, 2, Rgba{255, 0, 255, 255});
    StartGraphics();
    ASSERT_TRUE(graphics->IsReady());
    EXPECT_TRUE(ErrorLines().empty());
    EXPECT_FALSE(QuitQueued());
    EXPECT_EQ(graphics->batcher.meshes.size(), 3u);
    EXPECT_EQ(graphics->batcher.vertexBuffers.size(), 3u);
    EXPECT_EQ(graphics->batcher.indexBuffers.size(), 3u);
    EXPECT_NE(graphics->samplerState, 0u);
    EXPECT_NE(graphics->batcher.constantBuffer, 0u);
    // The target keeps the camera's start-up size whatever the window's size.
    EXPECT_EQ(graphics->device.targetWidth, 1280);
    EXPECT_EQ(graphics->device.targetHeight, 720);
    EXPECT_TRUE(graphics->IsFullScreen()) << "the game starts in full screen";
    graphics->SetFullScreen(false);
    EXPECT_FALSE(graphics->IsFullScreen());
}

// Each failing step logs its own line, then the start-up step's, then the renderer's, and
// posts the quit message; nothing is drawn afterwards and nothing crashes.
TEST_F(GraphicsStartup, FailingStepsLogThreeLinesAndQuit)
{
    struct Case {
        const char* name;
        std::function<void(const std::filesystem::path& shaders, const std::filesystem::path& images)> breakIt;
        const char* stepLine;  // the step's own line, or how it begins when it names a path
        const char* initializeLine;
        bool meshesMade;
    };
    const std::vector<Case> cases = {
        {"missing second pixel shader",
         [](const auto& shaders, const auto&) { std::filesystem::remove(shaders / "PixelShader2.frag.glsl"); },
         "Failed to initialize pixel shader 2!", "Failed to initialize shaders!", false},
        {"vertex shader that does not compile",
         [](const auto& shaders, const auto&) { TestSupport::WriteFile(shaders / "VertexShader.vert.glsl", "#version 330 core\nvoid main( {"); },
         "Failed to initialize vertex shader!", "Failed to initialize shaders!", false},
        {"pixel shader that does not compile",
         [](const auto& shaders, const auto&) { TestSupport::WriteFile(shaders / "PixelShader.frag.glsl", "#version 330 core\nout vec4 target;\nvoid main() { target = ; }\n"); },
         "Failed to initialize pixel shader!", "Failed to initialize shaders!", false},
        {"vertex shader without the constant block",
         [](const auto& shaders, const auto&) {
             TestSupport::WriteFile(shaders / "VertexShader.vert.glsl",
                                    "#version 330 core\nin vec2 POSITION;\nout vec2 texCoord;\nflat out vec4 tint;\n"
                                    "void main() { gl_Position = vec4(POSITION, 0.0, 1.0); texCoord = POSITION; tint = vec4(1.0); }\n");
         },
         "Failed to initialize vertex shader!", "Failed to initialize shaders!", false},
        {"no image folder",
         [](const auto&, const auto& images) { std::filesystem::remove_all(images); },
         "Image folder ", "Failed to initialize texture list!", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::filesystem::path shaders = CopyOfGameShaders();
        WritePng(imageFolder / "debug.png", 2, 2, Rgba{255, 0, 255, 255});
        c.breakIt(shaders, imageFolder);

        StartGraphics(shaders, imageFolder);
        EXPECT_FALSE(graphics->IsReady());
        EXPECT_TRUE(QuitQueued());
        const std::vector<std::string> errors = ErrorLines();
        ASSERT_GE(errors.size(), 3u);
        const std::string& stepLine = errors[errors.size() - 3];
        if (c.stepLine[std::string(c.stepLine).size() - 1] == ' ')
            EXPECT_EQ(stepLine.rfind(c.stepLine, 0), 0u) << stepLine;
        else
            EXPECT_EQ(stepLine, c.stepLine);
        EXPECT_EQ(errors[errors.size() - 2], c.initializeLine);
        EXPECT_EQ(errors.back(), "Failed to initialize Graphics!");
        EXPECT_EQ(graphics->batcher.meshes.empty(), !c.meshesMade) << "the steps after the failing one are not run";
        EXPECT_EQ(graphics->samplerState != 0, c.meshesMade);

        // The frame loop goes on until the quit arrives; it must draw nothing and not crash.
        graphics->NewUiFrame();
        graphics->Render();
        graphics->RenderUi();
        graphics->Present();

        graphics.reset();
        std::filesystem::remove_all(shaders);
        std::filesystem::remove_all(imageFolder);
        std::filesystem::create_directories(imageFolder);
    }
}

TEST_F(GraphicsStartup, WithoutAWindowTheDeviceStepFails)
{
    graphics = std::make_unique<Graphics>(nullptr, GameShaderFolder(), imageFolder);
    EXPECT_FALSE(graphics->IsReady());
    EXPECT_TRUE(QuitQueued());
    const std::vector<std::string> errors = ErrorLines();
    ASSERT_GE(errors.size(), 3u);
    EXPECT_EQ(errors[errors.size() - 3], "Failed to initialize device and swap chain!");
    EXPECT_EQ(errors[errors.size() - 2], "Failed to initialize swap chain and/or device!");
    EXPECT_EQ(errors.back(), "Failed to initialize Graphics!");
    graphics->Render();
    graphics->Present();
}

// An entry of the image folder that cannot be read or decoded is named in the log and left
// out, so whatever names it draws the debug image; the start-up goes on and succeeds.
TEST_F(GraphicsStartup, BrokenImagesStandAsTheDebugImageAndTheStartUpSucceeds)
{
    WritePng(imageFolder / "debug.png", 2, 2, Rgba{255, 0, 255, 255});
    WritePng(imageFolder / "ochre.png", 2, 2, Rgba{200, 100, 50, 255});
    TestSupport::WriteFile(imageFolder / "Broken.png", "");  // zero bytes
    TestSupport::WriteFile(imageFolder / "notes.txt", "not an image");
    std::filesystem::create_directories(imageFolder / "more");
    StartGraphics();
    ASSERT_TRUE(graphics->IsReady());
    EXPECT_FALSE(QuitQueued());

    std::vector<std::string> names;
    for (const TextureRecord& record : graphics->textures.records)
        names.push_back(record.name);
    EXPECT_EQ(names, (std::vector<std::string>{"debug.png", "ochre.png"}));
    EXPECT_EQ(graphics->textures.debugTextureIndex, 0u);
    for (const char* broken : {"Broken.png", "notes.txt", "more"}) {
        SCOPED_TRACE(broken);
        bool usePixelShader = true;
        EXPECT_EQ(graphics->FindTexture(broken, usePixelShader)->name, "debug.png");
        EXPECT_FALSE(usePixelShader);
    }
    const std::vector<std::string> errors = ErrorLines();
    for (const std::string& line :
         {"Image " + (imageFolder / "Broken.png").string() + " is empty or too large to decode",
          std::string("Image Broken.png is drawn as the debug image"), "Failed to read file " + (imageFolder / "more").string(),
          std::string("Image more is drawn as the debug image"), std::string("Image notes.txt is drawn as the debug image")})
        EXPECT_NE(std::find(errors.begin(), errors.end(), line), errors.end()) << line;
    EXPECT_EQ(std::find(errors.begin(), errors.end(), "Failed to initialize Graphics!"), errors.end());
}

// The images are decoded on several threads, yet the log and the list read as if one image
// was taken after another: each broken image's lines, with its own reason, right after its
// "Reading File" line, and every good image at its place with its own size.
TEST_F(GraphicsStartup, ImagesDecodedTogetherKeepFileOrderAndTheirOwnFailureReasons)
{
    WritePng(imageFolder / "debug.png", 2, 2, Rgba{255, 0, 255, 255});
    WritePng(imageFolder / "whole.png", 3, 3, Rgba{1, 2, 3, 255});
    const std::optional<std::vector<char>> whole = Render::ReadWholeFile(imageFolder / "whole.png");
    ASSERT_TRUE(whole);
    std::filesystem::remove(imageFolder / "whole.png");

    std::vector<std::string> expectedLines;
    std::vector<std::string> expectedNames{"debug.png"};
    std::vector<int> expectedWidths{2};
    for (int i = 0; i < 12; ++i) {  // few enough that the editor log keeps every line
        const std::string name = fmt::format("f{:02}.png", i);
        const std::string path = (imageFolder / name).string();
        expectedLines.push_back("Reading File: " + path);
        if (i % 3 == 0) {
            WritePng(imageFolder / name, i + 1, 2, Rgba{10, 20, 30, 255});
            expectedNames.push_back(name);
            expectedWidths.push_back(i + 1);
            continue;
        }
        // Text is no image at all; a PNG cut off after its signature fails for another reason.
        const bool text = i % 3 == 1;
        TestSupport::WriteFile(imageFolder / name, text ? std::string("not an image") : std::string(whole->data(), 8));
        expectedLines.push_back("Image " + path + " could not be decoded: " + (text ? "unknown image type" : "first not IHDR"));
        expectedLines.push_back("Failed to initialize texture!");
        expectedLines.push_back("Image " + name + " is drawn as the debug image");
    }
    StartGraphics();
    ASSERT_TRUE(graphics->IsReady());

    std::vector<std::string> names;
    std::vector<int> widths;
    for (const TextureRecord& record : graphics->textures.records) {
        names.push_back(record.name);
        widths.push_back(record.width);
    }
    EXPECT_EQ(names, expectedNames);
    EXPECT_EQ(widths, expectedWidths);

    std::vector<std::string> lines;
    for (const std::string& line : Engine::Editor::Instance().logLines) {
        std::size_t at = std::string::npos;
        for (const char* tag : {"[info] ", "[error] "})
            if (const std::size_t found = line.find(tag); found != std::string::npos)
                at = found + std::string_view(tag).size();
        const std::string message = at == std::string::npos ? "" : line.substr(at, line.find_last_not_of("\r\n") + 1 - at);
        if (message.find(imageFolder.string() + "/f") != std::string::npos || message.starts_with("Image f") ||
            message == "Failed to initialize texture!")
            lines.push_back(message);
    }
    EXPECT_EQ(lines, expectedLines);
}

TEST_F(GraphicsStartup, TextureListFollowsFileNameOrderAndTracksExpectedImages)
{
    struct Case {
        std::vector<std::string> files;
        std::vector<std::string> order;
        std::uint32_t debugIndex;
        std::size_t expectedLeft;
    };
    const std::vector<Case> cases = {
        {{"debug.png"}, {"debug.png"}, 0, 67},
        // Upper case sorts before lower case; an expected image leaves the list when loaded.
        {{"debug.png", "Paused.png", "Zebra.png"}, {"Paused.png", "Zebra.png", "debug.png"}, 2, 66},
        // Names compare with case: "Debug.png" is not the debug image, so it stays unset.
        {{"Debug.png", "Plus.png"}, {"Debug.png", "Plus.png"}, 0, 66},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.files.front());
        for (const std::string& file : c.files)
            WritePng(imageFolder / file, 2, 2, Rgba{10, 20, 30, 255});
        StartGraphics();
        ASSERT_TRUE(graphics->IsReady());
        std::vector<std::string> order;
        for (const TextureRecord& record : graphics->textures.records) {
            order.push_back(record.name);
            EXPECT_TRUE(record.usePixelShader);
            EXPECT_NE(record.view, 0u);
        }
        EXPECT_EQ(order, c.order);
        EXPECT_EQ(graphics->textures.debugTextureIndex, c.debugIndex);
        EXPECT_EQ(graphics->textures.expectedImages.size(), c.expectedLeft);
        EXPECT_EQ(graphics->textures.expectedImages.front() == "AreYouSure.png", true);

        // Every file was announced with its path, in the same order.
        std::vector<std::string> announced;
        for (const std::string& line : Engine::Editor::Instance().logLines) {
            const std::size_t at = line.find("Reading File: ");
            if (at != std::string::npos)
                announced.push_back(line.substr(at + 14, line.find_last_not_of("\r\n") - at - 13));
        }
        ASSERT_GE(announced.size(), c.order.size());
        for (std::size_t i = 0; i < c.order.size(); ++i)
            EXPECT_EQ(announced[announced.size() - c.order.size() + i], (imageFolder / c.order[i]).string());

        graphics.reset();
        std::filesystem::remove_all(imageFolder);
        std::filesystem::create_directories(imageFolder);
    }
}

// The game's own folders: its shaders build and its images include every expected one.
TEST_F(GraphicsStartup, GameResourcesStartTheRenderer)
{
    graphics = std::make_unique<Graphics>(window);
    ASSERT_TRUE(graphics->IsReady());
    EXPECT_TRUE(graphics->textures.expectedImages.empty()) << graphics->textures.expectedImages.front();
    ASSERT_LT(graphics->textures.debugTextureIndex, graphics->textures.records.size());
    EXPECT_EQ(graphics->textures.records[graphics->textures.debugTextureIndex].name, "debug.png");
    bool usePixelShader = true;
    EXPECT_EQ(graphics->FindTexture("Empty.png", usePixelShader)->name, "Empty.png");
    EXPECT_TRUE(usePixelShader);
}
