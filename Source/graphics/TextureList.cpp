#include "graphics/TextureList.h"

#include "core/Log.h"
#include "graphics/GlSupport.h"

#include <epoxy/gl.h>
#include <stb_image.h>

#include <algorithm>
#include <iterator>
#include <limits>
#include <optional>
#include <system_error>

namespace {

struct DecodedImage {
    stbi_uc* pixels = nullptr;  // RGBA, top row first
    int width = 0;
    int height = 0;
};

// The image in the bytes, or no pixels (logged with the path) when they are none.
DecodedImage Decode(const std::vector<char>& bytes, const std::string& path)
{
    DecodedImage image;
    if (bytes.empty() || bytes.size() > static_cast<std::size_t>(std::numeric_limits<int>::max())) {
        LogError("Image {} is empty or too large to decode", path);
        return image;
    }
    int channels = 0;
    image.pixels = stbi_load_from_memory(reinterpret_cast<const stbi_uc*>(bytes.data()), static_cast<int>(bytes.size()),
                                         &image.width, &image.height, &channels, 4);
    if (image.pixels == nullptr)
        LogError("Image {} could not be decoded: {}", path, stbi_failure_reason());
    return image;
}

// A texture of the image's full-size level only, or 0 when OpenGL refuses it.
GLuint Upload(const DecodedImage& image, const std::string& path)
{
    Render::NoGlError();
    GLuint texture = 0;
    glGenTextures(1, &texture);
    glBindTexture(GL_TEXTURE_2D, texture);
    // Rows arrive top row first, so texture coordinate v = 0 is the image's top edge.
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, image.width, image.height, 0, GL_RGBA, GL_UNSIGNED_BYTE, image.pixels);
    // Complete with one level until the smaller ones are built (TextureRecord::hasMipmaps).
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAX_LEVEL, 0);
    glBindTexture(GL_TEXTURE_2D, 0);
    if (!Render::NoGlError()) {
        LogError("Image {} ({} x {}) could not be made into a texture", path, image.width, image.height);
        glDeleteTextures(1, &texture);
        return 0;
    }
    return texture;
}

}  // namespace

void TextureList::BuildExpectedImageList()
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

bool TextureList::Load(const std::filesystem::path& folder)
{
    BuildExpectedImageList();

    std::vector<std::filesystem::path> entries;
    std::error_code error;
    for (std::filesystem::directory_iterator it(folder, error), end; !error && it != end; it.increment(error))
        entries.push_back(it->path().filename());
    if (error) {
        LogError("Image folder {} could not be listed: {}", folder.string(), error.message());
        return false;
    }
    std::sort(entries.begin(), entries.end());

    for (const std::filesystem::path& fileName : entries) {
        const std::string path = (folder / fileName).string();
        LogInfo("Reading File: {}", path);
        // One broken image must not keep the game from starting: it is drawn as the debug
        // image, as any image that is not there.
        const std::optional<std::vector<char>> bytes = Render::ReadWholeFile(folder / fileName);
        if (!bytes) {
            LogError("Failed to read file {}", path);
            LogError("Image {} is drawn as the debug image", fileName.string());
            continue;
        }
        const DecodedImage image = Decode(*bytes, path);
        const GLuint texture = image.pixels != nullptr ? Upload(image, path) : 0;
        stbi_image_free(image.pixels);
        if (texture == 0) {
            LogError("Failed to initialize texture!");
            LogError("Image {} is drawn as the debug image", fileName.string());
            continue;
        }
        TextureRecord record(texture, fileName.string(), image.width, image.height);
        const auto expected = std::find(expectedImages.begin(), expectedImages.end(), record.name);
        if (expected != expectedImages.end())
            expectedImages.erase(expected);
        indexByName.try_emplace(record.name, records.size());
        records.push_back(std::move(record));
        if (records.back().name == "debug.png")
            debugTextureIndex = static_cast<std::uint32_t>(records.size() - 1);
    }
    return true;
}

void TextureList::Clear()
{
    expectedImages.clear();
    records.clear();
    indexByName.clear();
    nextPending = 0;
}

const TextureRecord* TextureList::Find(const std::string& name, bool& usePixelShader) const
{
    const auto found = indexByName.find(name);
    if (found != indexByName.end()) {
        const TextureRecord& record = records[found->second];
        usePixelShader = record.usePixelShader;
        return &record;
    }
    usePixelShader = false;
    return debugTextureIndex < records.size() ? &records[debugTextureIndex] : nullptr;
}

TextureRecord* TextureList::Find(const std::string& name, bool& usePixelShader)
{
    return const_cast<TextureRecord*>(static_cast<const TextureList&>(*this).Find(name, usePixelShader));
}

void TextureList::PrepareForDraw(TextureRecord& record, float texelsPerPixel)
{
    // Below one texel per pixel the sampler magnifies from the full-size level. A rotated
    // draw may be measured up to a factor of the square root of two larger by the driver.
    constexpr float MeasureMargin = 1.4143f;
    if (!record.hasMipmaps && !(texelsPerPixel * MeasureMargin < 1.0f))
        BuildMipmaps(record);
}

void TextureList::BuildPendingMipmaps(std::size_t count)
{
    for (; nextPending < records.size() && count > 0; ++nextPending) {
        if (records[nextPending].hasMipmaps)
            continue;
        BuildMipmaps(records[nextPending]);
        --count;
    }
}

void TextureList::BuildMipmaps(TextureRecord& record)
{
    glBindTexture(GL_TEXTURE_2D, record.view);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAX_LEVEL, 1000);  // OpenGL's default: every level
    glGenerateMipmap(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, 0);
    record.hasMipmaps = true;
}
