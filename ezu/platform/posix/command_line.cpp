// The process command line from /proc/self/cmdline. Element 0 is the program
// as typed, except that an absolute host path is given in the Windows view;
// the other elements are given unchanged.
#include "ezu/platform/platform.h"

#include <errno.h>
#include <fcntl.h>
#include <limits.h>
#include <stdlib.h>
#include <string.h>
#include <unistd.h>

#include <vector>

#include "ezu/platform/posix/host_path.h"

namespace {

bool read_whole_file(const char* name, std::string* out) {
    const int fd = open(name, O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return false;
    char chunk[4096];
    ssize_t got;
    while ((got = read(fd, chunk, sizeof chunk)) > 0)
        out->append(chunk, size_t(got));
    close(fd);
    return got == 0;
}

// The elements, each zero-terminated in the file. A process whose command
// line is empty gets the path of its executable as its one element.
bool read_elements(std::vector<std::string>* elements) {
    std::string raw;
    if (!read_whole_file("/proc/self/cmdline", &raw))
        return false;
    size_t at = 0;
    while (at < raw.size()) {
        const size_t end = raw.find('\0', at);
        const size_t stop = end == std::string::npos ? raw.size() : end;
        elements->push_back(raw.substr(at, stop - at));
        at = stop + 1;
    }
    if (elements->empty()) {
        char exe[PATH_MAX];
        const ssize_t length = readlink("/proc/self/exe", exe, sizeof exe - 1);
        if (length <= 0)
            return false;
        elements->push_back(std::string(exe, size_t(length)));
    }
    return true;
}

bool element_to_wide(const std::string& element, bool program, PosixWide* out) {
    if (program && element[0] == '/' && posix_windows_view(element.c_str(), out))
        return true;
    return posix_utf8_to_wide(element.data(), element.size(), false, out);
}

// One block holding the pointer array (with its closing null) followed by
// the texts, so that one release frees everything, as with the Windows call.
EzuWChar** pack(const std::vector<PosixWide>& texts) {
    const size_t pointers = (texts.size() + 1) * sizeof(EzuWChar*);
    size_t units = 0;
    for (const PosixWide& text : texts)
        units += text.size() + 1;
    EzuWChar** block = static_cast<EzuWChar**>(malloc(pointers + units * sizeof(EzuWChar)));
    if (!block)
        return nullptr;
    EzuWChar* next = reinterpret_cast<EzuWChar*>(reinterpret_cast<char*>(block) + pointers);
    for (size_t i = 0; i < texts.size(); ++i) {
        block[i] = next;
        memcpy(next, texts[i].c_str(), (texts[i].size() + 1) * sizeof(EzuWChar));
        next += texts[i].size() + 1;
    }
    block[texts.size()] = nullptr;
    return block;
}

} // namespace

EzuWChar** plat_command_line_args(int* count) {
    std::vector<std::string> elements;
    if (!count || !read_elements(&elements) || elements.size() > INT_MAX) {
        errno = EINVAL;
        return nullptr;
    }
    std::vector<PosixWide> texts(elements.size());
    for (size_t i = 0; i < elements.size(); ++i)
        if (!element_to_wide(elements[i], i == 0, &texts[i]))
            return nullptr;
    EzuWChar** args = pack(texts);
    if (args)
        *count = int(elements.size());
    return args;
}

void plat_free_args(EzuWChar** args) {
    free(args);
}
