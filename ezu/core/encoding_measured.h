// Conversion that also tells the size the sizing pass would have given, so
// that a caller with room for the longest possible result can convert in
// one pass and still end up with a block of exactly the defined size.
#ifndef EZU_CORE_ENCODING_MEASURED_H
#define EZU_CORE_ENCODING_MEASURED_H

// As str_convert; when it returns 1, *size holds what str_convert_size gives
// for the same source and encodings. Only for the destinations ENC_UTF8,
// ENC_UTF16BE and ENC_UTF16LE; any other returns 0 and writes nothing.
// `no_zero_inside` promises that no zero unit lies in the `src_len` bytes,
// so the conversion need not look for one first.
int str_convert_measured(const void* src, int src_len, int from, void* dst, int dst_len, int to,
                         int* size, bool no_zero_inside);

#endif
