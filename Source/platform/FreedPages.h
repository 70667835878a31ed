// When freed memory goes back to the system. The game's main keeps the C library's freed
// pages for reuse between frames, so a steady frame takes nothing new from the system; the
// texture list and the image decoder give back the start-up's large freed blocks by hand.
#pragma once

namespace Platform {

// Once at start-up, before the window: freed memory stays in the heap rather than being
// trimmed off its top or unmapped, and large blocks come from the heap too.
void KeepFreedPagesBetweenFrames();
// Gives back the pages of freed memory now, whatever the above keeps.
void ReturnFreedPages();

}  // namespace Platform
