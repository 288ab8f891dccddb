#pragma once
// Picture conversion allocates and frees buffers of several megabytes for
// every picture. The C library's allocator hands out such blocks as fresh
// mappings, or trims them off the heap once freed, unless its adaptive
// thresholds have grown past them; then every picture pays the page faults
// of its buffers anew. In the window, whose own allocations between pictures
// keep those thresholds low, that made picture-heavy helps convert at less
// than half the speed of the command line.

namespace quorvex {

/// Keeps blocks of up to 64 MiB in the heap, and up to 128 MiB of free heap
/// before it is given back. Call once, before the first conversion.
void KeepPictureBuffersInTheHeap();

/// Gives the heap's free memory back to the system, after a conversion.
void ReleaseFreeHeap();

}  // namespace quorvex
