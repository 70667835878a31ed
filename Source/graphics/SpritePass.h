// SpritePass: the renderer's walk over the world. Every object with a Sprite in id order,
// then every live particle, each becomes a queued draw with its world matrix, texture cell,
// image and colour. It is the only renderer code that reads components, the animation
// table and the particles; Graphics::Render runs it between clearing and drawing.
#pragma once

#include <string>

#include <glm/mat4x4.hpp>
#include <glm/vec2.hpp>

#include "graphics/SpriteBatcher.h"

class ShaderPrograms;
class TextureList;
struct TextureRecord;

class SpritePass {
public:
    // The frame's view and projection, the target's size in pixels, and its pixels per world
    // unit this frame.
    SpritePass(SpriteBatcher& batcher, TextureList& textures, const ShaderPrograms& shaders, const glm::mat4& view,
               const glm::mat4& projection, int targetWidth, int targetHeight, float pixelsPerUnitX,
               float pixelsPerUnitY);

    void QueueSprites();
    void QueueParticles();

private:
    // Texture lookup, fallback and program choice for one draw of a mesh scaled by
    // (scaleX, scaleY) showing columns x rows cells of the image.
    void Queue(int mesh, const std::string& textureName, const glm::mat4& world, const glm::mat4& textureTransform,
               const float colour[4], float scaleX, float scaleY, float columns, float rows);

    // The target pixels outside which an upright, uncut quad's image has only clear texels,
    // and in `gap` a box inside them where it has only clear texels too.
    PixelRect VisibleBox(const TextureRecord& record, const glm::mat4& world, float texelsPerPixel,
                         PixelRect& gap) const;
    // Where the point (x, y) of object space lands on the target, in pixels from the bottom left.
    glm::vec2 OnTarget(const glm::mat4& world, float x, float y) const;
    // The pixels of the box between two target points, widened for rounding.
    static PixelRect Outward(const glm::vec2& a, const glm::vec2& b);
    // The pixels any mesh with this world matrix may touch.
    PixelRect Bounds(const glm::mat4& world) const;
    // The pixels an upright quad surely covers.
    PixelRect SolidBox(const glm::mat4& world) const;

    SpriteBatcher& batcher;
    TextureList& textures;
    const ShaderPrograms& shaders;
    glm::mat4 viewProjection;
    int targetWidth;
    int targetHeight;
    float pixelsPerUnitX;
    float pixelsPerUnitY;
};
