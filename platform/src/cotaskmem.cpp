// Task memory: blocks that one module allocates and another frees, on the C heap.
#include <orvdocs/platform/combase.h>

#include <cstdlib>

LPVOID CoTaskMemAlloc(SIZE_T cb) {
    // A zero-byte request still yields a distinct block that CoTaskMemFree accepts.
    return std::malloc(cb ? cb : 1);
}

LPVOID CoTaskMemRealloc(LPVOID pv, SIZE_T cb) {
    if (!pv) return CoTaskMemAlloc(cb);
    if (cb == 0) {  // shrinking to nothing frees the block
        std::free(pv);
        return nullptr;
    }
    return std::realloc(pv, cb);  // on failure the old block stays valid
}

void CoTaskMemFree(LPVOID pv) { std::free(pv); }
