// Guarded memory manager: every lower-tier block comes from here.
//
// A block is framed by a leading guard word and its rounded payload size in
// front, and a trailing guard word behind; both guards are checked when the
// block is released. Payloads are handed out zero-filled, and two process-wide
// counters track the live blocks and their bytes (payload plus 12 overhead).
#ifndef EZU_CORE_MEM_H
#define EZU_CORE_MEM_H

// Returns a zero-filled payload of `size` bytes (rounded up to a multiple of
// 4), or null when the heap refuses or the size is negative or too large.
void* mem_alloc(int size);

// Releases a block from mem_alloc and returns its rounded payload size; a null
// pointer returns 0. A damaged guard stops the process with an assertion
// report naming c_memmanage.
int mem_free(void* payload);

int mem_bytes_in_use();
int mem_blocks_in_use();

#endif
