#version 330 core
// The fallback for an image that is not loaded: the debug image as it is, untinted and
// never hidden, so a missing texture is plain to see. Its clear texels are dropped like
// the sprite shader's, writing no depth.

uniform sampler2D image;

in vec2 texCoord;

out vec4 target;

void main()
{
    target = texture(image, texCoord);
    if (target.a == 0.0)
        discard;
}
