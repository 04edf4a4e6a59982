// Memory that ends where an inaccessible page begins, for checking that a
// routine reads nothing past the end of what it was promised.
#ifndef EZU_TESTS_SUPPORT_PAGE_EDGE_H
#define EZU_TESTS_SUPPORT_PAGE_EDGE_H

#include <stddef.h>

// `pages` readable and writable pages followed by one that any access
// faults on.
class PageEdge {
  public:
    explicit PageEdge(size_t pages = 1);
    ~PageEdge();
    PageEdge(const PageEdge&) = delete;
    PageEdge& operator=(const PageEdge&) = delete;

    // The first byte of the inaccessible page; null when the memory could
    // not be set up.
    unsigned char* edge() const { return edge_; }
    static const size_t kPage = 4096;

  private:
    size_t size_ = 0;
    void* base_ = nullptr;
    unsigned char* edge_ = nullptr;
};

#endif
