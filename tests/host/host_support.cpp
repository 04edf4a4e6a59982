#include "host_support.h"

#include "ezu/platform/platform.h"
#include "ezu_test.h"

namespace {

// The part of `path` after the scratch directory and its "\".
std::string insideScratch(const ScratchDir& scratch, const std::string& path) {
    const std::string prefix = scratch.path() + "\\";
    if (path.compare(0, prefix.size(), prefix) != 0) {
        ADD_FAILURE() << path << " is not inside " << scratch.path();
        return std::string();
    }
    return path.substr(prefix.size());
}

} // namespace

TStr hostText(const std::string& utf8) {
    TStr result;
    result.assignUtf8(utf8.c_str());
    return result;
}

std::string hostUtf8(const TStr& text) {
    const StrBuf* buf = text.buffer();
    return buf != nullptr && buf->data != nullptr ? std::string(buf->data) : std::string();
}

std::string inScratch(const ScratchDir& scratch, const std::string& name) {
    return scratch.path() + "\\" + name;
}

std::string makeScratchFile(ScratchDir& scratch, const std::string& name,
                            const std::string& content) {
    const std::string path = scratch.file(name);
    EXPECT_TRUE(ScratchDir::writeFile(path, content)) << path;
    return path;
}

std::string makeScratchDir(ScratchDir& scratch, const std::string& name) {
    const std::string path = scratch.dir(name);
    EXPECT_EQ(plat_wmkdir(ezu_test_wide(path).c_str()), 0) << path;
    return path;
}

void trackScratchFile(ScratchDir& scratch, const std::string& path) {
    scratch.file(insideScratch(scratch, path));
}

void trackScratchDir(ScratchDir& scratch, const std::string& path) {
    scratch.dir(insideScratch(scratch, path));
}

HostEnvOverride::HostEnvOverride(const char* name, const char* value) : name_(name), had_(false) {
    const char* old = plat_getenv(name);
    if (old != nullptr) {
        had_ = true;
        old_ = old;
    }
    EXPECT_EQ(plat_setenv(name, value), 0) << name;
}

HostEnvOverride::~HostEnvOverride() {
    plat_setenv(name_.c_str(), had_ ? old_.c_str() : nullptr);
}

std::string hostProgramDir() {
    std::string dir = ezu_test_program_dir();
    for (size_t at = dir.find("\\.\\"); at != std::string::npos; at = dir.find("\\.\\"))
        dir.erase(at, 2);
    if (dir.size() >= 2 && dir.compare(dir.size() - 2, 2, "\\.") == 0)
        dir.erase(dir.size() - 2);
    return dir;
}

std::string hostHelperPath(const char* name) {
    return hostProgramDir() + "\\" + name + plat_exe_suffix();
}

std::string hostShellPath(const std::string& path) {
    if (kTestingOnWindows)
        return "\"" + path + "\"";
    std::string host = path.size() > 2 && path[1] == ':' ? path.substr(2) : path;
    for (char& c : host) {
        if (c == '\\')
            c = '/';
    }
    return "'" + host + "'";
}

std::string hostShellQuote(const std::string& text) {
    return kTestingOnWindows ? "\"" + text + "\"" : "'" + text + "'";
}

TStr hostCommand(const std::string& command) {
    const bool wrap = kTestingOnWindows && !command.empty() && command[0] == '"';
    return hostText(wrap ? "\"" + command + "\"" : command);
}

std::string hostAscii(const std::string& utf8) {
    const TStr text = hostText(utf8);
    const char* bytes = text.ascii();
    return bytes != nullptr ? bytes : "";
}
