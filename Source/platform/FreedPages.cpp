#include "platform/FreedPages.h"

#include <malloc.h>

namespace Platform {

void KeepFreedPagesBetweenFrames()
{
    // The renderer's driver (Mesa's software rasteriser above all) takes and frees megabytes
    // of working memory every frame. With the C library's defaults each free at the heap's top
    // gives the pages back and the next frame faults them in again, and a block past the
    // adapting mmap threshold is a mapping of its own, made and unmade frame after frame.
    mallopt(M_TRIM_THRESHOLD, 1 << 30);  // never trimmed by a free; ReturnFreedPages still does
    mallopt(M_MMAP_THRESHOLD, 32 << 20);  // the largest the C library takes
    mallopt(M_TOP_PAD, 64 << 20);  // the heap grows in large steps, untouched pages cost nothing
}

void ReturnFreedPages()
{
    // The images were decoded on other threads, so their blocks sit in those threads' heaps,
    // where the main thread's later allocations cannot reuse them; without this the decoded
    // images would stay resident as a whole beside the textures made from them.
    malloc_trim(0);
}

}  // namespace Platform
