#include "Canvas.h"

#define STB_TRUETYPE_IMPLEMENTATION
#include <stb_truetype.h>
#define STB_IMAGE_WRITE_IMPLEMENTATION
#include <stb_image_write.h>

#include <algorithm>
#include <cmath>
#include <fstream>
#include <iterator>

Colour Rgb(int r, int g, int b, int a)
{
    return {static_cast<float>(r) / 255.0f, static_cast<float>(g) / 255.0f, static_cast<float>(b) / 255.0f,
            static_cast<float>(a) / 255.0f};
}

Colour Mix(const Colour& a, const Colour& b, float t)
{
    Colour out{};
    for (std::size_t i = 0; i < 4; ++i)
        out[i] = a[i] + (b[i] - a[i]) * t;
    return out;
}

Canvas::Canvas(int w, int h, Colour fill) : width(w), height(h), pixels(static_cast<std::size_t>(w * h), fill) {}

void Canvas::Set(int x, int y, const Colour& colour)
{
    if (x >= 0 && y >= 0 && x < width && y < height)
        pixels[static_cast<std::size_t>(y * width + x)] = colour;
}

Colour Canvas::At(int x, int y) const { return pixels[static_cast<std::size_t>(y * width + x)]; }

void Canvas::Blend(int x, int y, const Colour& colour, float coverage)
{
    if (x < 0 || y < 0 || x >= width || y >= height || coverage <= 0.0f)
        return;
    Colour& dst = pixels[static_cast<std::size_t>(y * width + x)];
    const float a = colour[3] * std::min(coverage, 1.0f);
    const float outA = a + dst[3] * (1.0f - a);
    if (outA <= 0.0f) {
        dst = {0, 0, 0, 0};
        return;
    }
    for (std::size_t i = 0; i < 3; ++i)
        dst[i] = (colour[i] * a + dst[i] * dst[3] * (1.0f - a)) / outA;
    dst[3] = outA;
}

void Canvas::Fill(const Colour& colour) { std::fill(pixels.begin(), pixels.end(), colour); }

void Canvas::Rect(int x0, int y0, int x1, int y1, const Colour& colour)
{
    for (int y = std::max(0, y0); y < std::min(height, y1); ++y)
        for (int x = std::max(0, x0); x < std::min(width, x1); ++x)
            Blend(x, y, colour);
}

void Canvas::VerticalGradient(int x0, int y0, int x1, int y1, const Colour& top, const Colour& bottom)
{
    for (int y = std::max(0, y0); y < std::min(height, y1); ++y) {
        const float t = y1 - 1 > y0 ? static_cast<float>(y - y0) / static_cast<float>(y1 - 1 - y0) : 0.0f;
        const Colour c = Mix(top, bottom, t);
        for (int x = std::max(0, x0); x < std::min(width, x1); ++x)
            Blend(x, y, c);
    }
}

void Canvas::RoundRect(float x0, float y0, float x1, float y1, float radius, const Colour& colour)
{
    radius = std::min({radius, (x1 - x0) * 0.5f, (y1 - y0) * 0.5f});
    const int ix0 = static_cast<int>(std::floor(x0)), iy0 = static_cast<int>(std::floor(y0));
    const int ix1 = static_cast<int>(std::ceil(x1)), iy1 = static_cast<int>(std::ceil(y1));
    for (int y = iy0; y < iy1; ++y)
        for (int x = ix0; x < ix1; ++x) {
            // Signed distance from the pixel centre to the rounded box.
            const float px = static_cast<float>(x) + 0.5f, py = static_cast<float>(y) + 0.5f;
            const float qx = std::abs(px - (x0 + x1) * 0.5f) - ((x1 - x0) * 0.5f - radius);
            const float qy = std::abs(py - (y0 + y1) * 0.5f) - ((y1 - y0) * 0.5f - radius);
            const float outside = std::hypot(std::max(qx, 0.0f), std::max(qy, 0.0f));
            const float distance = outside + std::min(std::max(qx, qy), 0.0f) - radius;
            Blend(x, y, colour, std::clamp(0.5f - distance, 0.0f, 1.0f));
        }
}

void Canvas::Disc(float cx, float cy, float radius, const Colour& colour)
{
    for (int y = static_cast<int>(cy - radius - 1); y <= static_cast<int>(cy + radius + 1); ++y)
        for (int x = static_cast<int>(cx - radius - 1); x <= static_cast<int>(cx + radius + 1); ++x) {
            const float d = std::hypot(static_cast<float>(x) + 0.5f - cx, static_cast<float>(y) + 0.5f - cy) - radius;
            Blend(x, y, colour, std::clamp(0.5f - d, 0.0f, 1.0f));
        }
}

void Canvas::Ring(float cx, float cy, float radius, float thickness, const Colour& colour)
{
    for (int y = static_cast<int>(cy - radius - 1); y <= static_cast<int>(cy + radius + 1); ++y)
        for (int x = static_cast<int>(cx - radius - 1); x <= static_cast<int>(cx + radius + 1); ++x) {
            const float r = std::hypot(static_cast<float>(x) + 0.5f - cx, static_cast<float>(y) + 0.5f - cy);
            const float d = std::abs(r - (radius - thickness * 0.5f)) - thickness * 0.5f;
            Blend(x, y, colour, std::clamp(0.5f - d, 0.0f, 1.0f));
        }
}

void Canvas::Polygon(const std::vector<std::array<float, 2>>& points, const Colour& colour)
{
    if (points.size() < 3)
        return;
    float minX = points[0][0], maxX = minX, minY = points[0][1], maxY = minY;
    for (const auto& p : points) {
        minX = std::min(minX, p[0]);
        maxX = std::max(maxX, p[0]);
        minY = std::min(minY, p[1]);
        maxY = std::max(maxY, p[1]);
    }
    const auto inside = [&](float x, float y) {
        bool in = false;
        for (std::size_t i = 0, j = points.size() - 1; i < points.size(); j = i++) {
            const auto& a = points[i];
            const auto& b = points[j];
            if ((a[1] > y) != (b[1] > y) && x < (b[0] - a[0]) * (y - a[1]) / (b[1] - a[1]) + a[0])
                in = !in;
        }
        return in;
    };
    for (int y = std::max(0, static_cast<int>(minY)); y <= std::min(height - 1, static_cast<int>(maxY)); ++y)
        for (int x = std::max(0, static_cast<int>(minX)); x <= std::min(width - 1, static_cast<int>(maxX)); ++x) {
            int hits = 0;
            for (int sy = 0; sy < 4; ++sy)
                for (int sx = 0; sx < 4; ++sx)
                    hits += inside(static_cast<float>(x) + (static_cast<float>(sx) + 0.5f) / 4.0f,
                                   static_cast<float>(y) + (static_cast<float>(sy) + 0.5f) / 4.0f);
            Blend(x, y, colour, static_cast<float>(hits) / 16.0f);
        }
}

void Canvas::PixelArt(int x, int y, int size, const std::vector<std::string>& rows, const std::string& keys,
                      const std::vector<Colour>& palette, bool mirror)
{
    for (std::size_t row = 0; row < rows.size(); ++row) {
        const std::string& line = rows[row];
        for (std::size_t column = 0; column < line.size(); ++column) {
            const std::size_t key = keys.find(line[column]);
            if (key == std::string::npos || key >= palette.size())
                continue;
            const int cx = mirror ? static_cast<int>(line.size() - 1 - column) : static_cast<int>(column);
            Rect(x + cx * size, y + static_cast<int>(row) * size, x + (cx + 1) * size,
                 y + (static_cast<int>(row) + 1) * size, palette[key]);
        }
    }
}

void Canvas::Paste(const Canvas& other, int x, int y)
{
    for (int sy = 0; sy < other.height; ++sy)
        for (int sx = 0; sx < other.width; ++sx) {
            const Colour c = other.At(sx, sy);
            Blend(x + sx, y + sy, c);
        }
}

float Canvas::FitHeight(const Font& font, const std::string& text, float pixelHeight, float maxWidth)
{
    float size = pixelHeight;
    while (size > 6.0f && font.Measure(text, size) > maxWidth)
        size -= 1.0f;
    return size;
}

float Canvas::Text(const Font& font, const std::string& text, float pixelHeight, float cx, float cy, const Colour& ink,
                   float outline, const Colour& outlineInk)
{
    int w = 0, h = 0;
    const std::vector<std::uint8_t> coverage = font.Rasterise(text, pixelHeight, w, h);
    if (w == 0 || h == 0)
        return 0.0f;
    // Centre the inked rows, so capitals and digits sit in the middle of their box.
    int top = h, bottom = -1, left = w, right = -1;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            if (coverage[static_cast<std::size_t>(y * w + x)] > 0) {
                top = std::min(top, y);
                bottom = std::max(bottom, y);
                left = std::min(left, x);
                right = std::max(right, x);
            }
    if (bottom < 0)
        return 0.0f;
    const int ox = static_cast<int>(std::lround(cx - static_cast<float>(left + right + 1) * 0.5f));
    const int oy = static_cast<int>(std::lround(cy - static_cast<float>(top + bottom + 1) * 0.5f));
    const auto at = [&](int x, int y) -> float {
        if (x < 0 || y < 0 || x >= w || y >= h)
            return 0.0f;
        return static_cast<float>(coverage[static_cast<std::size_t>(y * w + x)]) / 255.0f;
    };
    if (outline > 0.0f) {
        const int r = static_cast<int>(std::ceil(outline));
        for (int y = -r; y < h + r; ++y)
            for (int x = -r; x < w + r; ++x) {
                float best = 0.0f;
                for (int dy = -r; dy <= r; ++dy)
                    for (int dx = -r; dx <= r; ++dx) {
                        const float d = std::hypot(static_cast<float>(dx), static_cast<float>(dy));
                        if (d <= outline + 0.5f)
                            best = std::max(best, at(x + dx, y + dy) * std::clamp(outline + 0.5f - d, 0.0f, 1.0f));
                    }
                Blend(ox + x, oy + y, outlineInk, best);
            }
    }
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            Blend(ox + x, oy + y, ink, at(x, y));
    return static_cast<float>(right - left + 1);
}

bool Canvas::Save(const std::string& path) const
{
    std::vector<std::uint8_t> bytes(pixels.size() * 4);
    for (std::size_t i = 0; i < pixels.size(); ++i)
        for (std::size_t c = 0; c < 4; ++c)
            bytes[i * 4 + c] = static_cast<std::uint8_t>(std::lround(std::clamp(pixels[i][c], 0.0f, 1.0f) * 255.0f));
    // Fully clear pixels carry no colour, which keeps the files small.
    for (std::size_t i = 0; i < pixels.size(); ++i)
        if (bytes[i * 4 + 3] == 0)
            bytes[i * 4] = bytes[i * 4 + 1] = bytes[i * 4 + 2] = 0;
    stbi_write_png_compression_level = 9;
    return stbi_write_png(path.c_str(), width, height, 4, bytes.data(), width * 4) != 0;
}

Font::Font(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    data.assign(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
    auto* fontInfo = new stbtt_fontinfo;
    info = fontInfo;
    loaded = !data.empty() && stbtt_InitFont(fontInfo, data.data(), stbtt_GetFontOffsetForIndex(data.data(), 0)) != 0;
}

Font::~Font() { delete static_cast<stbtt_fontinfo*>(info); }

float Font::Measure(const std::string& text, float pixelHeight) const
{
    const auto* font = static_cast<const stbtt_fontinfo*>(info);
    const float scale = stbtt_ScaleForPixelHeight(font, pixelHeight);
    float x = 0.0f;
    for (std::size_t i = 0; i < text.size(); ++i) {
        int advance = 0, bearing = 0;
        stbtt_GetCodepointHMetrics(font, static_cast<unsigned char>(text[i]), &advance, &bearing);
        x += static_cast<float>(advance) * scale;
        if (i + 1 < text.size())
            x += static_cast<float>(stbtt_GetCodepointKernAdvance(font, static_cast<unsigned char>(text[i]),
                                                                  static_cast<unsigned char>(text[i + 1]))) * scale;
    }
    return x;
}

std::vector<std::uint8_t> Font::Rasterise(const std::string& text, float pixelHeight, int& outWidth, int& outHeight) const
{
    const auto* font = static_cast<const stbtt_fontinfo*>(info);
    const float scale = stbtt_ScaleForPixelHeight(font, pixelHeight);
    int ascent = 0, descent = 0, gap = 0;
    stbtt_GetFontVMetrics(font, &ascent, &descent, &gap);
    const int baseline = static_cast<int>(std::ceil(static_cast<float>(ascent) * scale));
    outHeight = baseline + static_cast<int>(std::ceil(static_cast<float>(-descent) * scale)) + 2;
    outWidth = static_cast<int>(std::ceil(Measure(text, pixelHeight))) + static_cast<int>(pixelHeight);
    std::vector<std::uint8_t> bitmap(static_cast<std::size_t>(outWidth * outHeight), 0);
    float x = pixelHeight * 0.25f;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const int codepoint = static_cast<unsigned char>(text[i]);
        int advance = 0, bearing = 0;
        stbtt_GetCodepointHMetrics(font, codepoint, &advance, &bearing);
        int x0 = 0, y0 = 0, x1 = 0, y1 = 0;
        const float shift = x - std::floor(x);
        stbtt_GetCodepointBitmapBoxSubpixel(font, codepoint, scale, scale, shift, 0.0f, &x0, &y0, &x1, &y1);
        const int gw = x1 - x0, gh = y1 - y0;
        if (gw > 0 && gh > 0) {
            std::vector<std::uint8_t> glyph(static_cast<std::size_t>(gw * gh));
            stbtt_MakeCodepointBitmapSubpixel(font, glyph.data(), gw, gh, gw, scale, scale, shift, 0.0f, codepoint);
            for (int gy = 0; gy < gh; ++gy)
                for (int gx = 0; gx < gw; ++gx) {
                    const int bx = static_cast<int>(std::floor(x)) + x0 + gx, by = baseline + y0 + gy;
                    if (bx < 0 || by < 0 || bx >= outWidth || by >= outHeight)
                        continue;
                    std::uint8_t& cell = bitmap[static_cast<std::size_t>(by * outWidth + bx)];
                    cell = static_cast<std::uint8_t>(std::min(255, cell + glyph[static_cast<std::size_t>(gy * gw + gx)]));
                }
        }
        x += static_cast<float>(advance) * scale;
        if (i + 1 < text.size())
            x += static_cast<float>(stbtt_GetCodepointKernAdvance(font, codepoint, static_cast<unsigned char>(text[i + 1]))) *
                 scale;
    }
    return bitmap;
}
