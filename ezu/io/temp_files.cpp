#include "ezu/io/temp_files.h"

#include <string.h>

#include "ezu/io/ezupath.h"
#include "ezu/strings/strlist.h"
#include "ezu/platform/platform.h"

namespace {

// Room for a candidate name and its terminator, as the template call takes it.
const int kNameBytes = 256;

// Text that names a file is handed to and taken from the system as UTF-8, so
// that a directory such as "C:\Users\José\Temp" keeps its name.
TStr fromUtf8(const char* text) {
    TStr result;
    result.assignUtf8(text);
    return result;
}

const char* utf8Of(const TStr& text) {
    const StrBuf* buf = text.buffer();
    return buf != nullptr && buf->data != nullptr ? buf->data : "";
}

// The directories to try, each ending in "\": the environment's choice, the
// fixed fallbacks, and the current directory last.
TEzuStrList candidateDirectories() {
    TEzuStrList dirs;
    const TEzuStrList names = TEzuStrList::splitAny("|", "TMPDIR|TEMP|TMP");
    for (int i = 0; i < names.size(); ++i) {
        const char* value = plat_getenv(names.at(i)->ascii());
        if (value == nullptr)
            continue;
        TStr dir = fromUtf8(value);
        ensureTrailingBackslash(dir);
        dirs.append(dir);
    }
    const TEzuStrList fixed = TEzuStrList::splitAny("|", "C:\\TEMP\\|C:\\TMP\\");
    for (int i = 0; i < fixed.size(); ++i)
        dirs.append(*fixed.at(i));
    char cwd[kNameBytes];
    if (plat_getcwd(cwd, kNameBytes) != nullptr) {
        TStr dir = fromUtf8(cwd);
        ensureTrailingBackslash(dir);
        dirs.append(dir);
    }
    return dirs;
}

// Turns `dir` + `tail` into a free name and probes it. A name whose UTF-8
// form does not fit the template buffer is refused rather than cut or overrun.
bool tryDirectory(const TStr& dir, const TStr& tail, bool keep, TStr& result) {
    const TStr candidate = dir + tail;
    const char* text = utf8Of(candidate);
    const size_t length = strlen(text);
    if (length == 0 || length >= static_cast<size_t>(kNameBytes))
        return false;
    char name[kNameBytes];
    memcpy(name, text, length + 1);
    if (plat_mktemp(name) == nullptr || !probeNewFile(name, keep))
        return false;
    result = fromUtf8(name);
    return true;
}

} // namespace

TStr tempFileName(const char* prefix, bool keep) {
    TStr tail = fromUtf8(prefix != nullptr ? prefix : "");
    tail += "XXXXXX";
    const TEzuStrList dirs = candidateDirectories();
    TStr result;
    for (int i = 0; i < dirs.size(); ++i) {
        if (tryDirectory(*dirs.at(i), tail, keep, result))
            return result;
    }
    return ezuEmptyStr;
}

bool probeNewFile(const char* name, bool keep) {
    TEzuPath path(fromUtf8(name));
    if (path.exists())
        return path.isWritable();
    if (!path.open(ioWrite))
        return false;
    path.close();
    if (!keep)
        path.remove();
    return true;
}

bool ensureTrailingBackslash(TStr& text) {
    if (text.charAt(text.length() - 1) == '\\')
        return false;
    text += "\\";
    return true;
}
