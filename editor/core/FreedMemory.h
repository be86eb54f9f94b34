#pragma once
// The check and the map's layout run on threads of their own, and each thread's heap keeps what a run freed
// (a whole story parsed, built and walked, tens of megabytes). Given back to the system after each run, it
// is not counted again beside the next run of another thread.

#include <malloc.h>

namespace editor {

inline void ReturnFreedMemory() {
    ::malloc_trim(0);
}

} // namespace editor
