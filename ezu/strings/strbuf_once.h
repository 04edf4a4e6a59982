// One-pass conversion into a new block of exactly the size the sizing pass
// would give: the text is converted into room for the longest result it
// may take and, when that room was too large, a block of up to 256 KiB is
// shrunk to the exact size (in place where the heap allows) and a larger one
// copied into an exact block.
#ifndef EZU_STRINGS_STRBUF_ONCE_H
#define EZU_STRINGS_STRBUF_ONCE_H

// Converts `nbytes` bytes of `data` (encoding `from`) into encoding `to`
// (ENC_UTF8, ENC_UTF16BE or ENC_UTF16LE), given `bound` bytes of room. The
// result is a new guarded block of `front` + size + `back` bytes with the
// converted text and its terminator at offset `front`, everything else
// zero, where size is what str_convert_size gives; *size is set to it.
// Null when one pass cannot tell (the text needs more than `bound`, the
// conversion fails): the last-error record is then as it was before the
// call, and the caller takes the sizing road instead. Null with
// *out_of_memory set when an allocation fails: the caller then fails as
// when its own allocation fails.
// `no_zero_inside` is passed on to str_convert_measured.
char* str_convert_once(const void* data, int nbytes, int from, int to, long long bound, int front,
                       int back, int* size, bool* out_of_memory, bool no_zero_inside = false);

// The same for text whose size is not known to be `bound`: the text is
// converted into a scratch area the process keeps (up to a few hundred
// kilobytes; longer texts get a block of their own) and copied into the
// exact block, so that no block of the longest possible size is made and
// released on every call.
char* str_convert_via_scratch(const void* data, int nbytes, int from, int to, long long bound,
                              int front, int back, int* size, bool* out_of_memory,
                              bool no_zero_inside);

#endif
