#include "scratch_dir.h"

#include "ezu/platform/platform.h"

#include <gtest/gtest.h>

namespace {

std::vector<EzuWChar> wide(const std::string& utf8) {
    const int units = plat_utf8_to_wide(utf8.c_str(), -1, nullptr, 0);
    std::vector<EzuWChar> result(units > 0 ? size_t(units) : 1, 0);
    if (units > 0)
        plat_utf8_to_wide(utf8.c_str(), -1, result.data(), units);
    return result;
}

bool is_dir(const std::string& path) {
    PlatStat info;
    return plat_wstat(wide(path).data(), &info) == 0 && (info.mode & PLAT_MODE_DIR) != 0;
}

// Backslashes, no trailing separator, and a drive in front: the temporary
// directory may be given in the host's own form ("/tmp").
std::string complete_windows_form(std::string path) {
    for (char& c : path) {
        if (c == '/')
            c = '\\';
    }
    while (!path.empty() && path.back() == '\\')
        path.pop_back();
    if (path.size() >= 2 && path[1] == ':')
        return path;
    char cwd[1024] = {0};
    if (!plat_getcwd(cwd, int(sizeof cwd)))
        return path;
    std::string current(cwd);
    if (!path.empty() && path[0] == '\\')
        return current.substr(0, 2) + path;
    while (!current.empty() && current.back() == '\\')
        current.pop_back();
    return path.empty() ? current : current + "\\" + path;
}

std::string temporary_base() {
    for (const char* name : {"TMPDIR", "TEMP", "TMP"}) {
        const char* value = plat_getenv(name);
        if (value && *value) {
            const std::string candidate = complete_windows_form(value);
            if (is_dir(candidate))
                return candidate;
        }
    }
    return complete_windows_form("");
}

} // namespace

ScratchDir::ScratchDir() {
    const std::string pattern = temporary_base() + "\\ezuXXXXXX";
    // The name template gives the first letter that is free; a directory
    // made by a concurrent run under the same name makes the next try pick
    // another letter.
    for (int attempt = 0; attempt < 26 && path_.empty(); ++attempt) {
        std::vector<char> name(pattern.begin(), pattern.end());
        name.push_back(0);
        if (!plat_mktemp(name.data()))
            break;
        if (plat_wmkdir(wide(name.data()).data()) == 0)
            path_ = name.data();
    }
    if (path_.empty())
        ADD_FAILURE() << "cannot create a scratch directory under " << pattern;
}

ScratchDir::~ScratchDir() {
    for (auto it = entries_.rbegin(); it != entries_.rend(); ++it) {
        const std::vector<EzuWChar> name = wide(it->path);
        if (it->isDir) {
            plat_wrmdir(name.data());
        } else {
            plat_set_read_only(name.data(), 0);
            plat_wremove(name.data());
        }
    }
    if (!path_.empty() && plat_wrmdir(wide(path_).data()) != 0)
        ADD_FAILURE() << "scratch directory left behind (unregistered entries?): " << path_;
}

std::string ScratchDir::file(const std::string& name) {
    entries_.push_back({path_ + "\\" + name, false});
    return entries_.back().path;
}

std::string ScratchDir::dir(const std::string& name) {
    entries_.push_back({path_ + "\\" + name, true});
    return entries_.back().path;
}

std::string ScratchDir::readFile(const std::string& path, bool* ok) {
    std::string content;
    FILE* file = plat_wfopen(wide(path).data(), wide("rb").data());
    if (ok)
        *ok = file != nullptr;
    if (!file)
        return content;
    char chunk[256];
    size_t n;
    while ((n = fread(chunk, 1, sizeof chunk, file)) > 0)
        content.append(chunk, n);
    fclose(file);
    return content;
}

bool ScratchDir::writeFile(const std::string& path, const std::string& content) {
    FILE* file = plat_wfopen(wide(path).data(), wide("wb").data());
    if (!file)
        return false;
    const bool written = fwrite(content.data(), 1, content.size(), file) == content.size();
    return fclose(file) == 0 && written;
}

bool ScratchDir::exists(const std::string& path) {
    PlatStat info;
    return plat_wstat(wide(path).data(), &info) == 0;
}

bool ScratchDir::setReadOnly(const std::string& path, bool readOnly) {
    return plat_set_read_only(wide(path).data(), readOnly ? 1 : 0) == 0;
}
