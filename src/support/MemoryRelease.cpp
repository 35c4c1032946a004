#include "support/MemoryRelease.h"

// Any C library header defines __GLIBC__; without one the check below is always false.
#include <cstddef>

#if defined(__GLIBC__)
#include <malloc.h>
#endif

void ReleaseFreedMemory() {
#if defined(__GLIBC__)
    malloc_trim(0);
#endif
}
