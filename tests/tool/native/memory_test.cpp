// Peak memory of a 200 MB conversion: the child's VmHWM (peak resident set)
// from /proc, read while it runs. Host only: it starts the program with fork
// and exec and reads the kernel's account of it. (wait4's maximum resident
// set would not do: it includes the forked copy of this test process before
// the exec.)
#include "../tool_test_util.h"

#include <poll.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/wait.h>
#include <unistd.h>

class NativeOnlyToolMemory : public ToolTest {};

namespace {

// One line with ASCII, accented letters, CJK and an emoji, in UTF-8 and in
// UTF-16LE.
const char kLine[] =
    "ASCII text, caf\xC3\xA9, \xE6\xBC\xA2\xE5\xAD\x97, \xF0\x9F\x98\x80 and more\n";
const char16_t kLine16[] = u"ASCII text, caf\u00E9, \u6F22\u5B57, \U0001F600 and more\n";

std::string utf16le(const char16_t* text) {
    std::string bytes;
    for (const char16_t* p = text; *p; ++p) {
        bytes += char(*p & 0xFF);
        bytes += char(*p >> 8);
    }
    return bytes;
}

// Writes `repeats` copies of `unit` to a new host file, a block at a time.
bool write_repeated(const std::string& host_path, const std::string& unit, size_t repeats) {
    FILE* out = fopen(host_path.c_str(), "wb");
    if (!out)
        return false;
    const size_t per_block = 4096;
    std::string block;
    for (size_t i = 0; i < per_block; ++i)
        block += unit;
    bool ok = true;
    for (size_t done = 0; ok && done < repeats; done += per_block) {
        const size_t count = repeats - done < per_block ? repeats - done : per_block;
        ok = fwrite(block.data(), 1, count * unit.size(), out) == count * unit.size();
    }
    return fclose(out) == 0 && ok;
}

// The peak resident set of process `pid` in KiB once it runs `program`
// (before its exec it is a copy of this process); -1 otherwise.
long peak_resident_kib(pid_t pid, const char* program) {
    FILE* status = fopen(("/proc/" + std::to_string(pid) + "/status").c_str(), "r");
    if (!status)
        return -1;
    char line[256];
    bool running_program = false;
    long peak = -1;
    while (fgets(line, sizeof line, status)) {
        if (strncmp(line, "Name:", 5) == 0)
            running_program = strstr(line, program) != nullptr;
        else if (strncmp(line, "VmHWM:", 6) == 0 && running_program)
            peak = atol(line + 6);
    }
    fclose(status);
    return peak;
}

} // namespace

TEST_F(NativeOnlyToolMemory, TwoHundredMegabytesConvertWithinSixtyFourMebibytes) {
    const std::string line(kLine);
    const std::string expected = utf16le(kLine16);
    const size_t repeats = 200u * 1000 * 1000 / line.size() + 1;
    const std::string input = file("big.txt");
    ASSERT_TRUE(write_repeated(shell_path(input), line, repeats));

    int pipe_ends[2];
    ASSERT_EQ(pipe(pipe_ends), 0);
    const std::string program = shell_path(ezutool_path());
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        dup2(pipe_ends[1], 1);
        close(pipe_ends[0]);
        close(pipe_ends[1]);
        execl(program.c_str(), program.c_str(), "convert", "--from", "utf8", "--to", "utf16le",
              input.c_str(), static_cast<char*>(nullptr));
        _exit(127);
    }
    close(pipe_ends[1]);

    // The output, checked as it streams in against the repeated line; the
    // child's peak is read between reads and at least every 20 ms. It only
    // grows, so the last reading before the exit misses nothing that counts.
    size_t total = 0, at = 0;
    bool same = true;
    long peak = -1;
    static char chunk[1 << 16];
    struct pollfd output = {pipe_ends[0], POLLIN, 0};
    for (;;) {
        const int ready = poll(&output, 1, 20);
        peak = std::max(peak, peak_resident_kib(child, "ezutool"));
        if (ready <= 0)
            continue;
        const ssize_t got = read(pipe_ends[0], chunk, sizeof chunk);
        if (got <= 0)
            break;
        for (ssize_t done = 0; done < got && same;) {
            const size_t n = std::min(size_t(got - done), expected.size() - at);
            same = memcmp(chunk + done, expected.data() + at, n) == 0;
            done += ssize_t(n);
            at = (at + n) % expected.size();
        }
        total += size_t(got);
    }
    close(pipe_ends[0]);
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);

    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
    EXPECT_TRUE(same) << "output differs near byte " << total;
    EXPECT_EQ(total, repeats * expected.size());
    EXPECT_GT(peak, 0) << "no reading of the child's peak";
    EXPECT_LT(peak, 64 * 1024) << "peak resident KiB";
}
