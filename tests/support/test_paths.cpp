#include "test_paths.h"

#include <stdint.h>

namespace {

void append_utf8(uint32_t code, std::string* out) {
    if (code < 0x80) {
        out->push_back(char(code));
    } else if (code < 0x800) {
        out->push_back(char(0xC0 | (code >> 6)));
        out->push_back(char(0x80 | (code & 0x3F)));
    } else if (code < 0x10000) {
        out->push_back(char(0xE0 | (code >> 12)));
        out->push_back(char(0x80 | ((code >> 6) & 0x3F)));
        out->push_back(char(0x80 | (code & 0x3F)));
    } else {
        out->push_back(char(0xF0 | (code >> 18)));
        out->push_back(char(0x80 | ((code >> 12) & 0x3F)));
        out->push_back(char(0x80 | ((code >> 6) & 0x3F)));
        out->push_back(char(0x80 | (code & 0x3F)));
    }
}

bool is_separator(char c) {
    return c == '\\' || c == '/';
}

} // namespace

std::string ezu_test_utf8(const EzuWChar* text) {
    std::string out;
    for (const EzuWChar* p = text; *p; ++p) {
        uint32_t code = uint32_t(*p);
        if (code >= 0xD800 && code <= 0xDBFF && p[1] >= 0xDC00 && p[1] <= 0xDFFF) {
            code = 0x10000 + ((code - 0xD800) << 10) + (uint32_t(p[1]) - 0xDC00);
            ++p;
        } else if (code >= 0xD800 && code <= 0xDFFF) {
            code = '?';
        }
        append_utf8(code, &out);
    }
    return out;
}

EzuTestWide ezu_test_wide(const std::string& utf8) {
    EzuTestWide out;
    size_t at = 0;
    while (at < utf8.size()) {
        const unsigned char lead = (unsigned char)utf8[at];
        const size_t length = lead < 0x80    ? 1
                              : lead >= 0xF0 ? 4
                              : lead >= 0xE0 ? 3
                              : lead >= 0xC0 ? 2
                                             : 0;
        if (length == 0 || at + length > utf8.size()) {
            out.push_back('?');
            ++at;
            continue;
        }
        uint32_t code = length == 1 ? lead : lead & (0xFF >> (length + 1));
        for (size_t i = 1; i < length; ++i)
            code = (code << 6) | ((unsigned char)utf8[at + i] & 0x3F);
        if (code >= 0x10000) {
            out.push_back(EzuWChar(0xD800 + ((code - 0x10000) >> 10)));
            out.push_back(EzuWChar(0xDC00 + ((code - 0x10000) & 0x3FF)));
        } else {
            out.push_back(EzuWChar(code));
        }
        at += length;
    }
    return out;
}

EzuTestWide ezu_test_wide(const char16_t* text) {
    EzuTestWide out;
    for (const char16_t* p = text; *p; ++p)
        out.push_back(EzuWChar(*p));
    return out;
}

std::string ezu_test_current_dir() {
    EzuWChar buffer[4096];
    if (!plat_wgetcwd(buffer, 4096))
        return "";
    return ezu_test_utf8(buffer);
}

std::string ezu_test_program_dir() {
    int count = 0;
    EzuWChar** args = plat_command_line_args(&count);
    if (!args)
        return "";
    const std::string program = count > 0 ? ezu_test_utf8(args[0]) : "";
    plat_free_args(args);
    const std::string cwd = ezu_test_current_dir();
    if (program.empty() || cwd.size() < 3)
        return "";
    std::string complete;
    if (program.size() > 2 && program[1] == ':' && is_separator(program[2]))
        complete = program;
    else if (is_separator(program[0]))
        complete = cwd.substr(0, 2) + program; // root of the current drive
    else
        complete = cwd + (is_separator(cwd.back()) ? "" : "\\") + program;
    for (char& c : complete)
        if (c == '/')
            c = '\\';
    const size_t leaf = complete.find_last_of('\\');
    return leaf == std::string::npos ? "" : complete.substr(0, leaf);
}
