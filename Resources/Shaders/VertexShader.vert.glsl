#version 330 core
// Places one vertex of a sprite's mesh. A draw is a run of copies of the mesh, one per
// sprite or particle; SPRITE is the copy a vertex belongs to and the entry of the bound block
// that holds its 64-byte record. The view and projection are the frame's. Matrices act on
// row vectors: position x world x view x projection.

struct SpriteInstance {
    vec4 turn;      // world m00, m01, m10, m11: scale and rotation
    vec4 position;  // world row 3: x, y, z
    vec4 cell;      // texture transform: s scale, t scale, s offset, t offset
    vec4 colour;
};

layout(std140) uniform SpriteInstanceBlock {
    SpriteInstance sprites[256];
};

layout(std140) uniform FrameConstantsBlock {
    mat4 view;
    mat4 projection;
};

in vec2 POSITION;
in vec4 COLOR;
in vec2 TEXCOORD;
in int SPRITE;

out vec2 texCoord;
flat out vec4 tint;  // one colour over the whole sprite: nothing to interpolate per pixel

void main()
{
    SpriteInstance sprite = sprites[SPRITE];
    // The whole matrices, column by column as vector * matrix reads them, with their zeros
    // and ones, so every product is the one the full records gave.
    mat4 world = mat4(vec4(sprite.turn.x, sprite.turn.z, 0.0, sprite.position.x),
                      vec4(sprite.turn.y, sprite.turn.w, 0.0, sprite.position.y),
                      vec4(0.0, 0.0, 1.0, sprite.position.z),
                      vec4(0.0, 0.0, 0.0, 1.0));
    mat4 textureTransform = mat4(vec4(sprite.cell.x, 0.0, 0.0, sprite.cell.z),
                                 vec4(0.0, sprite.cell.y, 0.0, sprite.cell.w),
                                 vec4(0.0, 0.0, 1.0, 0.0),
                                 vec4(0.0, 0.0, 0.0, 1.0));
    vec4 clip = vec4(POSITION, 0.0, 1.0) * world * view * projection;
    // The projection gives depth 0..1 (z = -10 .. 90 with the game's camera); OpenGL clips
    // depth at -w..w and maps that back onto 0..1, so 0..w is moved onto -w..w.
    gl_Position = vec4(clip.xy, 2.0 * clip.z - clip.w, clip.w);
    texCoord = (vec4(TEXCOORD, 0.0, 1.0) * textureTransform).xy;
    tint = COLOR * sprite.colour;
}
