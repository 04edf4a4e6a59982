// The process-wide last-error record of the encoding core.
#include "ezu/core/encoding.h"
#include "ezu/core/encoding_codecs.h"

namespace {

const char kModule[] = "c_str";

struct ErrorRecord {
    int code;
    const char* message;
    int line;
    const char* file;
};

// Starts empty and is overwritten by every report; nothing clears it.
ErrorRecord g_last_error = {0, nullptr, 0, nullptr};

} // namespace

void str_set_error(int code, const char* message, int line, const char* file) {
    g_last_error.code = code;
    g_last_error.message = message;
    g_last_error.line = line;
    g_last_error.file = file;
}

void str_report_error(int code, const char* message, int line) {
    str_set_error(code, message, line, kModule);
}

int str_error_code() {
    return g_last_error.code;
}

const char* str_error_message() {
    return g_last_error.message;
}

int str_error_line() {
    return g_last_error.line;
}

const char* str_error_file() {
    return g_last_error.file;
}
