// Guarded memory manager: every lower-tier block comes from here.
//
// A block is framed by a leading guard word and its rounded payload size in
// front, and a trailing guard word behind; both guards are checked when the
// block is released. Payloads are handed out zero-filled, and two process-wide
// counters track the live blocks and their bytes (payload plus 12 overhead).
#ifndef EZU_CORE_MEM_H
#define EZU_CORE_MEM_H

// Returns a zero-filled payload of `size` bytes (rounded up to a multiple of
// 4), or null when the heap refuses, the size is negative, or the block
// would carry the bytes counter past the int range; a refused request changes
// neither counter.
void* mem_alloc(int size);

// Releases a block from mem_alloc and returns its rounded payload size; a null
// pointer returns 0. A damaged guard stops the process with an assertion
// report naming c_memmanage.
int mem_free(void* payload);

int mem_bytes_in_use();
int mem_blocks_in_use();

// For tests only: allocation-failure injection. After
// mem_fail_nth_allocation(n) with n > 0, the nth call of mem_alloc from now
// that reaches the heap (a valid size the counters can hold) returns null
// exactly as when the heap refuses: no counter moves and nothing is reported.
// Only that one call fails; the calls before and after it behave normally. 0
// (or a negative n) turns injection off. Each call restarts the count.
void mem_fail_nth_allocation(long n);
// For tests only: the heap requests mem_alloc has made since injection was
// last armed, the failed one included; 0 while injection is off. A result
// below the armed n means the failure was never reached.
long mem_allocations_since_armed();

#endif
