#pragma once

// Full pictures come and go in blocks of megabytes. Given their own mappings
// they go back to the system as soon as they are released, instead of
// staying with the allocator after the cams are stopped.
void MapLargeBlocksSeparately();

// Hands back to the system the memory kept for the next picture or bitmap of
// the same size, and the free memory the allocator still keeps.
void ReturnFreeMemory();
