// How the C library hands out large blocks (decoded images, texture storage, sound samples):
// each from its own mapping, given back to the system as soon as it is freed. main() sets it
// before anything is allocated.
#pragma once

namespace Platform {

void ReturnLargeBlocksWhenFreed();

}  // namespace Platform
