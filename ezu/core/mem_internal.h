// Pieces of the memory manager shared by its source files and the library's
// own text blocks; not part of the public interface.
#ifndef EZU_CORE_MEM_INTERNAL_H
#define EZU_CORE_MEM_INTERNAL_H

// Checks both guard words of the block behind `payload`, leading guard first,
// and stops the process with the manager's assertion report when one is
// damaged. Returns the block start (8 bytes before the payload).
unsigned char* mem_checked_block(void* payload);

// Counts one heap request for the allocation-failure switch; true for the
// request that must fail as if the heap had refused it.
bool mem_heap_request_fails();

// Writes the leading guard, the size word `rounded` and the trailing guard of
// a block whose payload is `rounded` bytes.
void mem_frame_block(unsigned char* block, int rounded);

// Moves the bytes counter by `delta` for a block that changed size in place.
void mem_count_resized(int delta);

// mem_alloc for a caller that writes every one of the `size` payload bytes
// itself before the block is seen: the same block and counters, without
// the zero fill of the payload (the rounding slack behind it is zero).
void* mem_alloc_unfilled(int size);

#endif
