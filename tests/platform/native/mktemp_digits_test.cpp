// The digits of a unique name come from the calling thread's identifier on
// the host (gettid), lowest digit last. Under wine they come from the process
// identifier instead, so this is checked on the host build only.
#include "ezu_test.h"

#include <stdio.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <string>
#include <thread>

#include "ezu/platform/platform.h"

EZU_TEST_SUITE(NativeOnlyUniqueNameDigits);

namespace {

// The five lowest decimal digits of this thread's identifier.
std::string thread_digits() {
    char digits[16];
    snprintf(digits, sizeof digits, "%05ld", (long)(syscall(SYS_gettid) % 100000));
    return digits;
}

// A template under a directory that does not exist, so the letter is "a".
std::string make_name() {
    char templ[] = "\\ezu-no-such-directory\\nXXXXXX";
    return plat_mktemp(templ) ? std::string(templ) : std::string();
}

} // namespace

TEST_F(NativeOnlyUniqueNameDigits, AreTheLowestFiveDigitsOfTheThreadId) {
    EXPECT_EQ(make_name(), "\\ezu-no-such-directory\\na" + thread_digits());
    std::string from_thread, expected;
    std::thread worker([&] {
        from_thread = make_name();
        expected = "\\ezu-no-such-directory\\na" + thread_digits();
    });
    worker.join();
    EXPECT_EQ(from_thread, expected);
}
