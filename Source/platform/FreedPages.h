// Gives the pages of freed memory back to the system. The C library keeps the pages of large
// freed blocks (the start-up's decoded images, freed once their textures took them) in its
// heaps for reuse; the texture list asks for them to be returned after each batch of uploads.
#pragma once

namespace Platform {

void ReturnFreedPages();

}  // namespace Platform
