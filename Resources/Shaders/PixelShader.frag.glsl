#version 330 core
// Sprites and particles: the image tinted by the sprite colour, alpha included, so a
// colour alpha of 0 hides the sprite.

uniform sampler2D image;

in vec2 texCoord;
in vec4 tint;

out vec4 target;

void main()
{
    target = texture(image, texCoord) * tint;
}
