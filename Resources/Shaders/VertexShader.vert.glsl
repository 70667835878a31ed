#version 330 core
// Places one vertex of a sprite's mesh. Each instance of a draw is one sprite or particle,
// whose 272-byte constants are record gl_InstanceID of the bound block. Matrices act on row
// vectors: position x world x view x projection.

struct FrameConstants {
    mat4 world;
    mat4 view;
    mat4 projection;
    mat4 textureTransform;
    vec4 colour;
};

layout(std140) uniform FrameConstantsBlock {
    FrameConstants draws[60];
};

in vec2 POSITION;
in vec4 COLOR;
in vec2 TEXCOORD;

out vec2 texCoord;
out vec4 tint;

void main()
{
    vec4 clip = vec4(POSITION, 0.0, 1.0) * draws[gl_InstanceID].world * draws[gl_InstanceID].view
              * draws[gl_InstanceID].projection;
    // The projection gives depth 0..1 (z = -10 .. 90 with the game's camera); OpenGL clips
    // depth at -w..w and maps that back onto 0..1, so 0..w is moved onto -w..w.
    gl_Position = vec4(clip.xy, 2.0 * clip.z - clip.w, clip.w);
    texCoord = (vec4(TEXCOORD, 0.0, 1.0) * draws[gl_InstanceID].textureTransform).xy;
    tint = COLOR * draws[gl_InstanceID].colour;
}
