#include "page_edge.h"

#if EZU_TEST_WINDOWS
#include <windows.h>
#else
#include <sys/mman.h>
#endif

// Both systems hand out whole pages; the last is made inaccessible.
PageEdge::PageEdge(size_t pages) : size_((pages + 1) * kPage) {
    const size_t open = pages * kPage;
#if EZU_TEST_WINDOWS
    base_ = VirtualAlloc(nullptr, size_, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE);
    DWORD old;
    if (base_ && VirtualProtect(static_cast<char*>(base_) + open, kPage, PAGE_NOACCESS, &old))
        edge_ = static_cast<unsigned char*>(base_) + open;
#else
    void* p = mmap(nullptr, size_, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (p != MAP_FAILED) {
        base_ = p;
        if (mprotect(static_cast<char*>(p) + open, kPage, PROT_NONE) == 0)
            edge_ = static_cast<unsigned char*>(p) + open;
    }
#endif
}

PageEdge::~PageEdge() {
    if (!base_)
        return;
#if EZU_TEST_WINDOWS
    VirtualFree(base_, 0, MEM_RELEASE);
#else
    munmap(base_, size_);
#endif
}
