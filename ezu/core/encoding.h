/// @file
/// Encoding core (module c_str): six numbered encodings and conversion between
/// any two of them through 32-bit code points.
///
/// Callers size first (str_convert_size), allocate, then convert (str_convert).
/// Rejected input is recorded in a process-wide last-error record.
#ifndef EZU_CORE_ENCODING_H
#define EZU_CORE_ENCODING_H

#include "ezu/ezu_export.h"

#include <stdint.h>

#include "ezu/ezu_wchar.h"

/// The six encoding numbers; every interface that takes an encoding takes
/// one of these.
enum {
    ENC_ASCII = 0,   ///< 7-bit; above 127 becomes "?"
    ENC_UTF8 = 1,    ///< the internal form of all text
    ENC_UTF16 = 2,   ///< with byte-order mark, machine order when written
    ENC_UTF16BE = 3, ///< UTF-16, big-endian, no mark
    ENC_UTF16LE = 4, ///< UTF-16, little-endian, no mark
    ENC_UTF32 = 5    ///< machine order
};

/// EncodingInfo::flags: characters take a varying number of units.
enum { ENC_VARIABLE = 1 };

/// @name Last-error codes
/// Codes of the last-error record.
//@{
const int STR_ERR_INVALID = int(0x80000001u);  ///< unpaired UTF-16 surrogate
const int STR_ERR_OVERFLOW = int(0x80000002u); ///< input ended inside a character, or room ran out
//@}

/// Per-encoding operations. `state` is the conversion's state word for this
/// side (only encoding 2 uses it).
/// decode: reads one character from at most `avail` bytes; returns the bytes
/// consumed, or 0 when no character could be read.
typedef int (*EncDecodeFn)(const unsigned char* src, int avail, uint32_t* code, int* state);
/// encode: writes one code point into at most `room` bytes; returns the bytes
/// written, or 0 when it cannot be written or does not fit.
typedef int (*EncEncodeFn)(uint32_t code, unsigned char* dst, int room, int* state);
/// char_size: the bytes encode writes for a code point.
typedef int (*EncCharSizeFn)(uint32_t code);
/// text_length: byte length of a zero-terminated text, terminator excluded,
/// never looking at more than `limit` bytes (a negative limit means no bound);
/// 0 for a null text.
typedef int (*EncTextLengthFn)(const unsigned char* text, int limit);

/// What the conversions know about one encoding.
struct EncodingInfo {
    int id;                      ///< the encoding number
    int unit_size;               ///< bytes of one code unit (1, 2 or 4)
    int max_char_size;           ///< most bytes one character takes
    int terminator_size;         ///< bytes of the terminating zero unit
    unsigned flags;              ///< ENC_VARIABLE
    EncEncodeFn encode;          ///< writes one code point
    EncDecodeFn decode;          ///< reads one character
    EncCharSizeFn char_size;     ///< null for encodings 0 and 5
    EncTextLengthFn text_length; ///< length of a zero-terminated text
};

/// One record per encoding, indexed by the encoding number.
extern EZU_API const EncodingInfo str_encodings[6];

/// True for the encoding numbers 0 to 5.
EZU_API bool str_encoding_valid(int encoding);

/// Bytes that converting at most `src_len` bytes of `src` (encoding `from`)
/// into encoding `to` needs, terminator included; 0 when a decoder rejects
/// the input (or the size would not fit an int). The text ends at its first
/// zero unit or after `src_len` bytes; nothing past them is read. A UTF-32
/// destination gets 4 x (characters + 1); encoding 2 always has room for its
/// mark.
EZU_API int str_convert_size(const void* src, int src_len, int from, int to);

/// Converts into `dst` (room `dst_len` bytes) and writes the terminator.
/// Returns 1 on success, 0 on failure (bytes written so far stay in dst).
EZU_API int str_convert(const void* src, int src_len, int from, void* dst, int dst_len, int to);

/// The UTF-16 encoding number of the machine's byte order: 4 little-endian, 3 big.
EZU_API int str_native_utf16();

/// Length of a UTF-8 sequence from its lead byte (1 to 6).
EZU_API int str_utf8_seq_len(unsigned char lead);

/// The UTF-8 text as a new guarded block of zero-terminated UTF-16 in machine
/// order, made by the platform's converter; null on failure, including text
/// the encoding core rejects (a sequence cut off by the terminator). Release
/// with mem_free.
EZU_API EzuWChar* str_to_platform_wide(const char* utf8);

/// @name Well-formedness check
/// Well-formedness check. str_validate answers whether the `src_len` bytes at
/// `src` are well-formed text of `encoding`, reading every byte (a zero
/// character is text like any other). It returns STR_WELL_FORMED or the
/// fault of the first ill-formed sequence, whose byte offset from `src` goes
/// to *offset (when given; the length checked on success). UTF-8 follows the
/// Unicode standard's table of well-formed sequences; UTF-16 needs paired
/// surrogates and whole units, encoding 2 reading a leading mark as the
/// conversion does; UTF-32 (machine order) needs whole units holding scalar
/// values; ASCII needs bytes below 128. A null `src` or a length below 1 is
/// empty text.
//@{
/// The results of str_validate(): STR_WELL_FORMED or the fault found.
enum {
    STR_WELL_FORMED = 0,                 ///< no fault
    STR_FAULT_UNKNOWN_ENCODING,          ///< the encoding number is not 0 to 5
    STR_FAULT_ASCII_HIGH_BYTE,           ///< ASCII: a byte above 127
    STR_FAULT_UTF8_INVALID_BYTE,         ///< FE or FF, never part of UTF-8
    STR_FAULT_UTF8_STRAY_CONTINUATION,   ///< 80 to BF where a character starts
    STR_FAULT_UTF8_MISSING_CONTINUATION, ///< a lead byte without its continuation bytes
    STR_FAULT_UTF8_OVERLONG,             ///< a longer form than the value needs
    STR_FAULT_UTF8_SURROGATE,            ///< U+D800 to U+DFFF encoded
    STR_FAULT_UTF8_TOO_LARGE,            ///< a value above U+10FFFF
    STR_FAULT_UTF8_LONG_FORM,            ///< a five- or six-byte form
    STR_FAULT_UTF8_CUT_OFF,              ///< the input ends inside a sequence
    STR_FAULT_UTF16_UNPAIRED_HIGH,       ///< a high surrogate without a low one
    STR_FAULT_UTF16_UNPAIRED_LOW,        ///< a low surrogate without a high one before it
    STR_FAULT_UTF16_ODD_BYTE,            ///< the input ends in half a unit
    STR_FAULT_UTF32_TOO_LARGE,           ///< a unit above 0x10FFFF
    STR_FAULT_UTF32_SURROGATE,           ///< a unit from 0xD800 to 0xDFFF
    STR_FAULT_UTF32_PARTIAL_UNIT,        ///< the input ends inside a unit
    STR_FAULT_COUNT                      ///< the number of results above
};
/// Checks the `src_len` bytes at `src` as text of `encoding`; returns
/// STR_WELL_FORMED or the first fault, its byte offset (on success the length
/// checked) going to `*offset` when `offset` is given.
EZU_API int str_validate(const void* src, int src_len, int encoding, int* offset);

/// The fault in plain words ("overlong UTF-8 form"); "well-formed" for
/// STR_WELL_FORMED and "unknown fault" for a number outside the list.
EZU_API const char* str_fault_text(int fault);
//@}

/// @name The last-error record
/// The last-error record. The conversions overwrite it with each piece of
/// input they reject (their module name is "c_str"); nothing clears it, so
/// it tells what went wrong last, not whether the last call failed.
//@{
/// Overwrites the record; the texts are kept as pointers, not copied.
EZU_API void str_set_error(int code, const char* message, int line, const char* file);
/// The recorded code (STR_ERR_INVALID, STR_ERR_OVERFLOW), 0 before any.
EZU_API int str_error_code();
/// The recorded message, null before any.
EZU_API const char* str_error_message();
/// The recorded source line, 0 before any.
EZU_API int str_error_line();
/// The recorded module name, null before any.
EZU_API const char* str_error_file();
//@}

#endif
