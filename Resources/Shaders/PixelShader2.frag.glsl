#version 330 core
// The fallback for an image that is not loaded: the debug image as it is, untinted and
// never hidden, so a missing texture is plain to see.

uniform sampler2D image;

in vec2 texCoord;

out vec4 target;

void main()
{
    target = texture(image, texCoord);
}
