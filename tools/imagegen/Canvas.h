// An RGBA picture in memory with the few drawing operations the image generator needs:
// flat and graded fills, anti-aliased rounded boxes, discs and polygons, pixel art from
// strings, and text set from a TrueType font. Pixels are straight (not premultiplied) alpha.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

using Colour = std::array<float, 4>;  // r, g, b, a in 0..1

Colour Rgb(int r, int g, int b, int a = 255);
Colour Mix(const Colour& a, const Colour& b, float t);

class Font;

class Canvas {
public:
    Canvas(int width, int height, Colour fill = {0, 0, 0, 0});

    int Width() const { return width; }
    int Height() const { return height; }

    // Blends colour over pixel (x, y) with the given coverage (0..1).
    void Blend(int x, int y, const Colour& colour, float coverage = 1.0f);
    void Set(int x, int y, const Colour& colour);
    Colour At(int x, int y) const;

    void Fill(const Colour& colour);
    void Rect(int x0, int y0, int x1, int y1, const Colour& colour);  // x1, y1 exclusive
    void VerticalGradient(int x0, int y0, int x1, int y1, const Colour& top, const Colour& bottom);
    // A box with rounded corners; edges are anti-aliased.
    void RoundRect(float x0, float y0, float x1, float y1, float radius, const Colour& colour);
    void Disc(float cx, float cy, float radius, const Colour& colour);
    void Ring(float cx, float cy, float radius, float thickness, const Colour& colour);
    // A filled polygon (any simple or self-overlapping outline), 4 x 4 samples per pixel.
    void Polygon(const std::vector<std::array<float, 2>>& points, const Colour& colour);
    // Pixel art: each string is one row, each character one block of size x size pixels,
    // coloured by palette (a space or a character not in the palette is left alone).
    void PixelArt(int x, int y, int size, const std::vector<std::string>& rows, const std::string& keys,
                  const std::vector<Colour>& palette, bool mirror = false);
    // Copies another canvas in at (x, y), blending it over.
    void Paste(const Canvas& other, int x, int y);

    // Text in one line, its ink box centred on (cx, cy). Returns the width it took.
    float Text(const Font& font, const std::string& text, float pixelHeight, float cx, float cy, const Colour& ink,
               float outline = 0.0f, const Colour& outlineInk = {0, 0, 0, 1});
    // The largest size up to pixelHeight at which the text fits maxWidth.
    static float FitHeight(const Font& font, const std::string& text, float pixelHeight, float maxWidth);

    // Writes the picture as PNG; false when the file cannot be written.
    bool Save(const std::string& path) const;

private:
    int width;
    int height;
    std::vector<Colour> pixels;
};

// A TrueType font file read whole; text is rasterised with stb_truetype.
class Font {
public:
    explicit Font(const std::string& path);
    ~Font();
    Font(const Font&) = delete;
    Font& operator=(const Font&) = delete;

    bool Loaded() const { return loaded; }
    float Measure(const std::string& text, float pixelHeight) const;
    // Coverage of the text in a bitmap; origin = left edge, baseline at ascent.
    std::vector<std::uint8_t> Rasterise(const std::string& text, float pixelHeight, int& outWidth, int& outHeight) const;

private:
    std::vector<unsigned char> data;
    void* info = nullptr;  // stbtt_fontinfo
    bool loaded = false;
};
