#include "graphics/TextureList.h"

#include "core/Log.h"
#include "graphics/GlSupport.h"
#include "graphics/ImageDecoder.h"
#include "platform/FreedPages.h"

#include <epoxy/gl.h>

#include <algorithm>
#include <iterator>

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
    Render::ImageDecoder images(folder);
    return Load(images);
}

bool TextureList::Load(Render::ImageDecoder& images)
{
    BuildExpectedImageList();
    const std::filesystem::path& folder = images.Folder();
    if (!images.ListingError().empty()) {
        LogError("Image folder {} could not be listed: {}", folder.string(), images.ListingError());
        return false;
    }

    imageFolder = folder;
    GLint largest = 0;
    glGetIntegerv(GL_MAX_TEXTURE_SIZE, &largest);

    for (std::size_t i = 0; i < images.FileNames().size(); ++i) {
        Render::DecodedImage image = images.Take(i);
        const std::string fileName = images.FileNames()[i].string();
        const std::string path = (folder / images.FileNames()[i]).string();
        LogInfo("Reading File: {}", path);
        // One broken image must not keep the game from starting: it is drawn as the debug
        // image, as any image that is not there.
        if (image.unreadable) {
            LogError("Failed to read file {}", path);
            LogError("Image {} is drawn as the debug image", fileName);
            continue;
        }
        if (!image.error.empty())
            LogError(image.error);
        // OpenGL would refuse an image past its largest size; that is known now, so the image
        // is left out here rather than at its first draw.
        if (image.pixels != nullptr && (image.width > largest || image.height > largest)) {
            LogError("Image {} ({} x {}) could not be made into a texture", path, image.width, image.height);
            image = Render::DecodedImage();
        }
        GLuint texture = 0;
        if (image.pixels != nullptr)
            glGenTextures(1, &texture);
        if (texture == 0) {
            LogError("Failed to initialize texture!");
            LogError("Image {} is drawn as the debug image", fileName);
            continue;
        }
        TextureRecord record(texture, fileName, image.width, image.height);
        record.oneColour = image.oneColour;
        record.cover = image.cover;
        record.pendingPixels = std::move(image);
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
    nextUpload = 0;
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

TextureRecord* TextureList::FindForDraw(const std::string& name, bool& usePixelShader)
{
    auto* record = const_cast<TextureRecord*>(static_cast<const TextureList&>(*this).Find(name, usePixelShader));
    // A texture that cannot take its pixels is dropped from the names, so this finds the fallback.
    if (record != nullptr && !Upload(*record))
        record = const_cast<TextureRecord*>(static_cast<const TextureList&>(*this).Find(name, usePixelShader));
    if (record != nullptr && !Upload(*record))
        return nullptr;
    return record;
}

bool TextureList::Upload(TextureRecord& record)
{
    if (record.pendingPixels.pixels == nullptr)
        return record.view != 0;
    const Render::DecodedImage image = std::move(record.pendingPixels);
    Render::NoGlError();
    glBindTexture(GL_TEXTURE_2D, record.view);
    // Rows arrive top row first, so texture coordinate v = 0 is the image's top edge.
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, image.width, image.height, 0, GL_RGBA, GL_UNSIGNED_BYTE, image.pixels);
    // Complete with one level until the smaller ones are built (TextureRecord::hasMipmaps).
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAX_LEVEL, 0);
    glBindTexture(GL_TEXTURE_2D, 0);
    if (Render::NoGlError())
        return true;
    LogError("Image {} ({} x {}) could not be made into a texture", (imageFolder / record.name).string(),
             image.width, image.height);
    LogError("Failed to initialize texture!");
    LogError("Image {} is drawn as the debug image", record.name);
    glDeleteTextures(1, &record.view);
    record.view = 0;
    record.hasMipmaps = true;  // nothing left to build
    if (const auto named = indexByName.find(record.name);
        named != indexByName.end() && &records[named->second] == &record)
        indexByName.erase(named);
    return false;
}

void TextureList::UploadPending(std::size_t count)
{
    const std::size_t wanted = count;
    for (; nextUpload < records.size() && count > 0; ++nextUpload) {
        if (records[nextUpload].pendingPixels.pixels == nullptr)
            continue;
        Upload(records[nextUpload]);
        --count;
    }
    // The pixels just freed are no use to anything else; resident they would double the
    // images' share of the game's memory until every texture has its own.
    if (count < wanted)
        Platform::ReturnFreedPages();
}

bool TextureList::ReadsSmallerLevels(float texelsPerPixel, bool axisAligned)
{
    constexpr float MeasureMargin = 1.4143f;
    return axisAligned ? texelsPerPixel > 1.0f : !(texelsPerPixel * MeasureMargin < 1.0f);
}

void TextureList::PrepareForDraw(TextureRecord& record, float texelsPerPixel, bool axisAligned)
{
    if (!record.oneColour && !record.hasMipmaps && ReadsSmallerLevels(texelsPerPixel, axisAligned))
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
    if (!Upload(record))
        return;
    glBindTexture(GL_TEXTURE_2D, record.view);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAX_LEVEL, 1000);  // OpenGL's default: every level
    glGenerateMipmap(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, 0);
    record.hasMipmaps = true;
}
