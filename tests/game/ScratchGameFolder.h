// A working folder of its own for a test that runs the real game and saves from its editor:
// copies of the game's levels and scripts, links to its other resource folders.
#pragma once

namespace EndToEnd {

// Makes the folder (under the test's temporary home) and moves into it; call it before the
// game is made.
void UseScratchGameFolder();

}  // namespace EndToEnd
