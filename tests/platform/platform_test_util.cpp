#include "platform_test_util.h"

namespace {

// The temporary directory as the tests see it, without a trailing separator.
std::string temporary_dir() {
    for (const char* name : {"TMPDIR", "TEMP", "TMP"}) {
        const char* value = plat_getenv(name);
        if (value && *value) {
            std::string dir = value;
            while (dir.size() > 3 && (dir.back() == '\\' || dir.back() == '/'))
                dir.pop_back();
            return dir;
        }
    }
    return ezu_test_current_dir();
}

} // namespace

std::string read_all(FILE* stream) {
    std::string text;
    char chunk[256];
    size_t got;
    while ((got = fread(chunk, 1, sizeof chunk, stream)) > 0)
        text.append(chunk, got);
    return text;
}

bool write_file(const WStr& path, const char* text, const char16_t* mode) {
    FILE* f = plat_wfopen(path.c_str(), W(mode).c_str());
    if (!f)
        return false;
    const bool written = fputs(text, f) >= 0;
    return fclose(f) == 0 && written;
}

WStr current_dir_wide() {
    return W(ezu_test_current_dir());
}

void PlatformScratchTest::SetUp() {
    EzuTest::SetUp();
    std::string templ = temporary_dir() + "\\ezuplatXXXXXX";
    std::vector<char> buffer(templ.begin(), templ.end());
    buffer.push_back('\0');
    ASSERT_NE(plat_mktemp(buffer.data()), nullptr) << templ;
    scratch_ = W(std::string(buffer.data()));
    ASSERT_EQ(plat_wmkdir(scratch_.c_str()), 0) << buffer.data();
}

void PlatformScratchTest::TearDown() {
    for (auto it = made_.rbegin(); it != made_.rend(); ++it) {
        PlatStat info;
        if (plat_wstat(it->first.c_str(), &info) != 0)
            continue;
        if (it->second) {
            plat_wrmdir(it->first.c_str());
        } else {
            plat_set_read_only(it->first.c_str(), 0);
            plat_wremove(it->first.c_str());
        }
    }
    if (!scratch_.empty()) {
        EXPECT_EQ(plat_wrmdir(scratch_.c_str()), 0)
            << "scratch directory not empty: " << ezu_test_utf8(scratch_.c_str());
    }
    EzuTest::TearDown();
}

WStr PlatformScratchTest::file(const WStr& name) {
    made_.emplace_back(scratch_ + W(u"\\") + name, false);
    return made_.back().first;
}

WStr PlatformScratchTest::dir(const WStr& name) {
    made_.emplace_back(scratch_ + W(u"\\") + name, true);
    return made_.back().first;
}
