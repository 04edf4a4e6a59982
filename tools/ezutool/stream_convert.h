// Converting a whole stream between two encodings, one chunk at a time.
#ifndef EZUTOOL_STREAM_CONVERT_H
#define EZUTOOL_STREAM_CONVERT_H

#include "ezu/ezu.h"

// What a conversion did.
struct ConvertReport {
    TStr reason;           // why it failed, in plain words
    long long written = 0; // bytes the output accepted
    long long nulAt = -1;  // where a NUL character cut off more input, else -1
};

// Reads everything `in` delivers as text in encoding `from` and writes it to
// `out` in encoding `to`, without terminator. The text ends at its first NUL
// character. `strict` checks each chunk before converting it and refuses
// ill-formed input, naming the fault and its byte offset from the start of
// the input; otherwise the encoding core's permissive reading applies, and
// only what it rejects is named. Returns
// false with `report.reason` set when the input is refused or cannot be
// read, or the output cannot be written; what was converted before the
// failure has been written by then.
bool convertStream(TEzuIODevice& in, TEzuIODevice& out, int from, int to, bool strict,
                   ConvertReport& report);

#endif
