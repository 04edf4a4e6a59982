// Converting a whole stream between two encodings, one chunk at a time.
#ifndef EZUTOOL_STREAM_CONVERT_H
#define EZUTOOL_STREAM_CONVERT_H

#include "ezu/ezu.h"

// Reads everything `in` delivers as text in encoding `from` and writes it to
// `out` in encoding `to`, without terminator. The text ends at its first NUL
// character. Returns false with `reason` set when the input is rejected or
// cannot be read, or the output cannot be written; what was converted before
// the failure has been written by then. `written`, when given, receives the
// number of bytes the output accepted.
bool convertStream(TEzuIODevice& in, TEzuIODevice& out, int from, int to, TStr& reason,
                   long long* written = nullptr);

#endif
