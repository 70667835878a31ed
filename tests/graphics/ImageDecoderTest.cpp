// The image decoder: a folder's entries in file-name order, each decoded image handed over
// once, in any order, with its own size or its own failure; an unlistable folder says why;
// a decoder let go with images still queued or untaken leaves nothing behind.
#include "RenderFixture.h"

#include "TestSupport.h"
#include "graphics/ImageDecoder.h"

#include <fmt/format.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

using namespace RenderTest;

TEST(ImageDecoder, HandsEachEntryOverOnceInAnyOrder)
{
    const std::filesystem::path folder = TestSupport::TemporaryHome() / "Images";
    std::filesystem::create_directories(folder / "sub");
    WritePng(folder / "b.png", 3, 5, Rgba{1, 2, 3, 255});
    WritePng(folder / "A.png", 7, 2, Rgba{4, 5, 6, 255});
    TestSupport::WriteFile(folder / "c.txt", "not an image");

    Render::ImageDecoder decoder(folder);
    EXPECT_TRUE(decoder.ListingError().empty());
    EXPECT_EQ(decoder.FileNames(), (std::vector<std::filesystem::path>{"A.png", "b.png", "c.txt", "sub"}));

    const Render::DecodedImage folderEntry = decoder.Take(3);
    EXPECT_TRUE(folderEntry.unreadable);
    const Render::DecodedImage text = decoder.Take(2);
    EXPECT_EQ(text.pixels, nullptr);
    EXPECT_EQ(text.error, "Image " + (folder / "c.txt").string() + " could not be decoded: unknown image type");
    const Render::DecodedImage b = decoder.Take(1);
    ASSERT_NE(b.pixels, nullptr);
    EXPECT_EQ(b.width, 3);
    EXPECT_EQ(b.height, 5);
    EXPECT_EQ(b.pixels[0], 1);
    const Render::DecodedImage a = decoder.Take(0);
    ASSERT_NE(a.pixels, nullptr);
    EXPECT_EQ(a.width, 7);
    EXPECT_EQ(a.pixels[2], 6);

    const Render::DecodedImage again = decoder.Take(1);
    EXPECT_EQ(again.pixels, nullptr) << "handed over once";
    EXPECT_EQ(decoder.Take(4).pixels, nullptr) << "past the last entry";
}

TEST(ImageDecoder, AFolderThatCannotBeListedSaysWhy)
{
    Render::ImageDecoder decoder(TestSupport::TemporaryHome() / "no such folder");
    EXPECT_FALSE(decoder.ListingError().empty());
    EXPECT_TRUE(decoder.FileNames().empty());
}

// Under the sanitizers a lost image or a thread left running fails this.
TEST(ImageDecoder, LettingGoEarlyLeavesNothingBehind)
{
    const std::filesystem::path folder = TestSupport::TemporaryHome() / "Images";
    std::filesystem::create_directories(folder);
    for (int i = 0; i < 40; ++i)
        WritePng(folder / fmt::format("i{}.png", 100 + i), 64, 64, Rgba{9, 9, 9, 255});
    {
        Render::ImageDecoder untouched(folder);
    }
    Render::ImageDecoder decoder(folder);
    EXPECT_EQ(decoder.Take(0).width, 64);
}
