// The pixel art of the game's characters and the shared palette of the image generator.
#pragma once

#include "Canvas.h"

#include <string>
#include <vector>

namespace Palette {
inline const Colour Clear = {0, 0, 0, 0};
inline const Colour Ink = Rgb(24, 28, 48);
inline const Colour Navy = Rgb(29, 43, 83);
inline const Colour NavyLight = Rgb(52, 72, 130);
inline const Colour Cream = Rgb(255, 241, 232);
inline const Colour Gold = Rgb(255, 204, 51);
inline const Colour GoldDark = Rgb(214, 150, 20);
inline const Colour Teal = Rgb(41, 173, 255);
inline const Colour TealDark = Rgb(20, 100, 170);
inline const Colour Coral = Rgb(255, 110, 89);
inline const Colour Grass = Rgb(88, 190, 70);
inline const Colour GrassDark = Rgb(46, 130, 52);
inline const Colour Dirt = Rgb(150, 96, 58);
inline const Colour DirtDark = Rgb(112, 68, 42);
inline const Colour Skin = Rgb(255, 214, 170);
inline const Colour White = Rgb(255, 255, 255);
inline const Colour Purple = Rgb(126, 37, 83);
inline const Colour Violet = Rgb(170, 70, 200);
}  // namespace Palette

// One pose of the player: 16 x 20 blocks.
enum class Pose { Idle0, Idle1, Run0, Run1, Run2, Run3, Jump, Fall, Dash };

// Draws the player in a pose at (x, y), blocks of size pixels, facing right unless mirrored.
void DrawPlayer(Canvas& canvas, int x, int y, int size, Pose pose, bool mirror);
// Draws the flying enemy (20 x 20 blocks), wings up or down.
void DrawEnemy(Canvas& canvas, int x, int y, int size, bool wingsUp);
