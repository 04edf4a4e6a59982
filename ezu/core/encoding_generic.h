// The conversion core's table-only path: every character through the
// encoding table's decode and encode. The public str_convert_size and
// str_convert give the same results faster; tests compare the two.
#ifndef EZU_CORE_ENCODING_GENERIC_H
#define EZU_CORE_ENCODING_GENERIC_H

int str_convert_size_generic(const void* src, int src_len, int from, int to);
int str_convert_generic(const void* src, int src_len, int from, void* dst, int dst_len, int to);

#endif
