#include "app/HeapTuning.h"

#include <cstdlib>  // says whether this is the GNU C library

#if defined(__GLIBC__)
#include <malloc.h>
#endif

namespace quorvex {

void KeepPictureBuffersInTheHeap() {
#if defined(__GLIBC__)
  mallopt(M_MMAP_THRESHOLD, 64 << 20);
  mallopt(M_TRIM_THRESHOLD, 128 << 20);
#endif
}

void ReleaseFreeHeap() {
#if defined(__GLIBC__)
  malloc_trim(0);
#endif
}

}  // namespace quorvex
