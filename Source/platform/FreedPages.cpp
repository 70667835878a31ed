#include "platform/FreedPages.h"

#include <malloc.h>

namespace Platform {

void ReturnFreedPages()
{
    // The images were decoded on other threads, so their blocks sit in those threads' heaps,
    // where the main thread's later allocations cannot reuse them; without this the decoded
    // images would stay resident as a whole beside the textures made from them.
    malloc_trim(0);
}

}  // namespace Platform
