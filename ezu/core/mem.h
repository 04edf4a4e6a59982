/// @file
/// Guarded memory manager: every lower-tier block comes from here.
///
/// A block is framed by a leading guard word and its rounded payload size in
/// front, and a trailing guard word behind; both guards are checked when the
/// block is released. Payloads are handed out zero-filled, and two process-wide
/// counters track the live blocks and their bytes (payload plus 12 overhead).
#ifndef EZU_CORE_MEM_H
#define EZU_CORE_MEM_H

#include "ezu/ezu_export.h"

/// Returns a zero-filled payload of `size` bytes (rounded up to a multiple of
/// 4), or null when the heap refuses, the size is negative, or the block
/// would carry the bytes counter past the int range; a refused request changes
/// neither counter.
EZU_API void* mem_alloc(int size);

/// Releases a block from mem_alloc and returns its rounded payload size; a null
/// pointer returns 0. A damaged guard stops the process with an assertion
/// report naming c_memmanage.
EZU_API int mem_free(void* payload);

/// Bytes of the live blocks: rounded payloads plus 12 bytes of framing each.
EZU_API int mem_bytes_in_use();
/// Number of live blocks, those of the process-wide objects included.
EZU_API int mem_blocks_in_use();

/// Changes the payload of a block from mem_alloc to `size` bytes (rounded up
/// to a multiple of 4), in place where the heap can, and returns the payload
/// pointer, which may have moved. The block ends up as a new zero-filled block
/// into which the old payload was copied: it keeps its first bytes up to the
/// smaller of `size` and the old rounded size, and every byte behind them is
/// zero. The bytes counter moves by the difference of the rounded sizes; the
/// blocks counter stays. Both guards of the old block are checked first, as
/// mem_free checks them. On failure (a size mem_alloc would refuse, a counter
/// that would overflow, or the heap refusing) the result is null and the old
/// block stays valid and unchanged. A null block is mem_alloc(size).
EZU_API void* mem_resize(void* payload, int size);

/// For tests only: allocation-failure injection. After
/// mem_fail_nth_allocation(n) with n > 0, the nth call of mem_alloc or
/// mem_resize from now that reaches the heap (a valid size the counters can
/// hold) returns null exactly as when the heap refuses: no counter moves and
/// nothing is reported. Only that one call fails; the calls before and after
/// it behave normally. 0 (or a negative n) turns injection off. Each call
/// restarts the count.
EZU_API void mem_fail_nth_allocation(long n);
/// For tests only: the heap requests mem_alloc and mem_resize have made since
/// injection was last armed, the failed one included; 0 while injection is off. A result
/// below the armed n means the failure was never reached.
EZU_API long mem_allocations_since_armed();

#endif
