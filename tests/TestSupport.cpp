#include "TestSupport.h"

#include <SDL.h>
#include <epoxy/gl.h>

#include <fstream>
#include <sstream>

namespace TestSupport {

namespace {
std::filesystem::path gHome;
}

void SetTemporaryHome(const std::filesystem::path& home) { gHome = home; }

const std::filesystem::path& TemporaryHome() { return gHome; }

std::filesystem::path UseScratchGameFolder(const std::filesystem::path& scripts)
{
    namespace fs = std::filesystem;
    const fs::path root = TemporaryHome() / "game";
    const fs::path resources = fs::path(VANTREL_SOURCE_DIR) / "Resources";
    fs::create_directories(root / "Resources");
    for (const char* folder : {"Images", "Animations", "Archetypes", "Audio", "Shaders"})
        fs::create_directory_symlink(resources / folder, root / "Resources" / folder);
    fs::copy(resources / "Levels", root / "Resources" / "Levels", fs::copy_options::recursive);
    fs::copy(scripts.empty() ? resources / "Scripts" : scripts, root / "Resources" / "Scripts",
             fs::copy_options::recursive);
    fs::current_path(root);
    return root;
}

std::string ReadFile(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

void WriteFile(const std::filesystem::path& path, const std::string& text)
{
    if (path.has_parent_path())
        std::filesystem::create_directories(path.parent_path());
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << text;
}

SDL_Window* OpenRenderWindow(int width, int height)
{
    if (SDL_Init(SDL_INIT_VIDEO) != 0)
        return nullptr;
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, 3);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, 3);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_CORE);
    SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 24);
    SDL_GL_SetAttribute(SDL_GL_STENCIL_SIZE, 0);  // nothing draws with a stencil
    return SDL_CreateWindow("Project Vantrel", 100, 50, width, height, SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN);
}

std::vector<std::array<std::uint8_t, 4>> ReadDrawable(SDL_Window* window, int& width, int& height)
{
    SDL_GL_GetDrawableSize(window, &width, &height);
    std::vector<std::array<std::uint8_t, 4>> bottomUp(static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
    // Mesa's software rasteriser can hand back a read of the previous frame unless the
    // frame is finished first.
    glFinish();
    glBindFramebuffer(GL_READ_FRAMEBUFFER, 0);
    glReadBuffer(GL_BACK);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, width, height, GL_RGBA, GL_UNSIGNED_BYTE, bottomUp.data());
    std::vector<std::array<std::uint8_t, 4>> topDown(bottomUp.size());
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            topDown[static_cast<std::size_t>(y * width + x)] = bottomUp[static_cast<std::size_t>((height - 1 - y) * width + x)];
    return topDown;
}

}  // namespace TestSupport
