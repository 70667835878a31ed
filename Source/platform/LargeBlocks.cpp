#include "platform/LargeBlocks.h"

#include <malloc.h>

namespace Platform {

void ReturnLargeBlocksWhenFreed()
{
    // By default the threshold rises to the size of each large block freed, so that after the
    // first image the later ones come from the heap and their pages stay with the process after
    // the textures took them: the start-up's decoded images would then stay resident as a whole.
    // A fixed threshold keeps every block from a quarter of a megabyte up in its own mapping.
    constexpr int Threshold = 256 * 1024;
    mallopt(M_MMAP_THRESHOLD, Threshold);
}

}  // namespace Platform
