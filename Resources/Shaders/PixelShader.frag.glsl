#version 330 core
// Sprites and particles: the image tinted by the sprite colour, alpha included, so a
// colour alpha of 0 hides the sprite. A fragment that ends fully transparent is dropped:
// it neither shows nor writes depth, so clear texels cut no hole into what comes after.

uniform sampler2D image;

in vec2 texCoord;
flat in vec4 tint;

out vec4 target;

void main()
{
    target = texture(image, texCoord) * tint;
    if (target.a == 0.0)
        discard;
}
